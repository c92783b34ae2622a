#include "support/core/zip_entries.h"

#include <zip.h>

namespace brevio::test {

std::map<std::string, std::string> unzipped(const std::string& archive)
{
    std::map<std::string, std::string> files;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!zip) {
        zip_source_free(source);
        return files;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, bytes.data(), bytes.size());
        zip_fclose(file);
        files[zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW)] = bytes;
    }
    zip_discard(zip);
    return files;
}

} // namespace brevio::test

#include "core/exchange/jtv_writer.h"

#include "core/store/cp1251.h"
#include "core/store/errors.h"

#include <algorithm>
#include <map>
#include <memory>
#include <zip.h>

namespace brevio::exchange {

namespace {

constexpr std::string_view kPdtHeader = "JTV 3.x TV Program Data\n\n\n";
constexpr std::uint64_t kLimit16 = 0xFFFF;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kFileTimeEpochDays = 134774;
constexpr std::int64_t kTicksPerMinute = 60LL * 10'000'000;

void put16(std::string& out, std::uint64_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put64(std::string& out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool refusedInFileNames(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
}

[[noreturn]] void zipFailed(zip_error_t* error)
{
    const std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    throw Error("The archive could not be made: " + text);
}

} // namespace

std::uint64_t jtvFileTime(std::chrono::sys_days day, long long minutes)
{
    const std::int64_t days = day.time_since_epoch().count() + kFileTimeEpochDays;
    return static_cast<std::uint64_t>((days * 24 * 60 + minutes) * kTicksPerMinute);
}

std::optional<JtvFiles> jtvChannelFiles(const std::vector<JtvShow>& shows)
{
    if (shows.size() > kLimit16)
        return std::nullopt;
    JtvFiles files;
    files.pdt = kPdtHeader;
    put16(files.ndx, shows.size());
    std::map<std::string_view, std::uint64_t> offsets; // a title already written, and where
    for (const JtvShow& show : shows) {
        auto known = offsets.find(show.title);
        if (known == offsets.end()) {
            const std::uint64_t offset = files.pdt.size();
            if (offset > kLimit16 || show.title.size() > kLimit16)
                return std::nullopt;
            put16(files.pdt, show.title.size());
            files.pdt += show.title;
            known = offsets.emplace(show.title, offset).first;
        }
        put16(files.ndx, 0);
        put64(files.ndx, show.start);
        put16(files.ndx, known->second);
    }
    return files;
}

std::string jtvFileStem(std::string_view channelName, std::vector<std::string>& taken)
{
    std::string stem(channelName);
    for (char& c : stem)
        if (refusedInFileNames(c))
            c = '_';
    while (!stem.empty() && (stem.back() == '.' || stem.back() == ' '))
        stem.pop_back();
    if (stem.empty())
        stem = "_";
    std::string unique = stem;
    for (int n = 2;; ++n) {
        const std::string folded = foldCase1251(unique);
        bool used = false;
        for (const std::string& name : taken)
            used = used || foldCase1251(name) == folded;
        if (!used)
            break;
        unique = stem + " (" + std::to_string(n) + ")";
    }
    taken.push_back(unique);
    return unique;
}

std::string zipArchive(const std::vector<std::pair<std::string, std::string>>& files,
                       std::chrono::sys_seconds modified)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        zipFailed(&error);
    const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> owned(buffer, &zip_source_free);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive)
        zipFailed(&error);
    zip_source_keep(buffer); // it outlives the archive: the bytes are read from it afterwards
    const auto fail = [archive] {
        const std::string text = zip_strerror(archive);
        zip_discard(archive);
        throw Error("The archive could not be made: " + text);
    };
    const auto time = static_cast<time_t>(modified.time_since_epoch().count());
    for (const auto& [name, bytes] : files) {
        zip_source_t* file = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (!file)
            fail();
        // Names as given: the format's own texts are windows-1251, and so are its names.
        const zip_int64_t index = zip_file_add(archive, name.c_str(), file, ZIP_FL_ENC_CP437);
        if (index < 0) {
            zip_source_free(file);
            fail();
        }
        if (zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), time, 0) < 0)
            fail();
    }
    if (zip_close(archive) < 0)
        fail();

    std::string bytes;
    if (zip_source_open(buffer) < 0)
        throw Error("The archive could not be read back: "
                    + std::string(zip_error_strerror(zip_source_error(buffer))));
    zip_source_seek(buffer, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(buffer);
    zip_source_seek(buffer, 0, SEEK_SET);
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    const zip_int64_t read = bytes.empty() ? 0 : zip_source_read(buffer, bytes.data(), bytes.size());
    zip_source_close(buffer);
    if (read != static_cast<zip_int64_t>(bytes.size()))
        throw Error("The archive could not be read back.");
    return bytes;
}

JtvExport weekToJtv(const WeekListing& week)
{
    JtvExport result;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> taken;
    for (const ListedChannel& channel : week.channels) {
        std::vector<JtvShow> shows;
        shows.reserve(channel.shows.size());
        for (const ListedShow& show : channel.shows)
            shows.push_back(
                {jtvFileTime(week.monday, show.airMinutes), show.title.empty() ? "\x97" : show.title});
        std::stable_sort(shows.begin(), shows.end(),
                         [](const JtvShow& a, const JtvShow& b) { return a.start < b.start; });
        auto channelFiles = jtvChannelFiles(shows);
        if (!channelFiles) {
            result.refused.push_back(channel.name);
            continue;
        }
        const std::string stem = jtvFileStem(channel.name, taken);
        files.emplace_back(stem + ".pdt", std::move(channelFiles->pdt));
        files.emplace_back(stem + ".ndx", std::move(channelFiles->ndx));
        ++result.channels;
        result.shows += shows.size();
    }
    if (!files.empty())
        result.archive = zipArchive(files, std::chrono::sys_seconds(week.monday));
    return result;
}

} // namespace brevio::exchange

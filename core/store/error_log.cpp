#include "core/store/error_log.h"

#include "core/store/file_io.h"
#include "core/store/file_names.h"

namespace brevio::store {

std::string errorLogRecord(std::string_view header, std::string_view body)
{
    std::string record(50, '=');
    record += "\r\n\r\n";
    record += header;
    record += "\r\n\r\n";
    if (body.size() <= kErrorLogBodyLimit) {
        record += body;
    } else {
        // One huge error page must not grow the log by its whole size.
        record += body.substr(0, kErrorLogBodyLimit);
        record += "\r\n[cut: " + std::to_string(body.size() - kErrorLogBodyLimit)
            + " more bytes of the reply are not recorded]";
    }
    record += "\r\n\r\n";
    return record;
}

void appendErrorLog(std::string_view header, std::string_view body)
{
    appendToFile(kErrorLogFile, errorLogRecord(header, body));
}

} // namespace brevio::store

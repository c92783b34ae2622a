#include "store/error_log.h"

#include "store/file_io.h"
#include "store/file_names.h"

namespace brevio::store {

std::string errorLogRecord(std::string_view header, std::string_view body)
{
    std::string record(50, '=');
    record += "\r\n\r\n";
    record += header;
    record += "\r\n\r\n";
    record += body;
    record += "\r\n\r\n";
    return record;
}

void appendErrorLog(std::string_view header, std::string_view body)
{
    appendToFile(kErrorLogFile, errorLogRecord(header, body));
}

} // namespace brevio::store

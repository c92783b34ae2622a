#include "core/exchange/exchange_errors.h"

namespace brevio::exchange {

XmltvError::XmltvError(std::string_view file, long line, std::string_view message)
    : Error(std::string(file) + ", line " + std::to_string(line) + ": " + std::string(message))
{
}

XmltvError::XmltvError(std::string_view file, std::string_view message)
    : Error(std::string(file) + ": " + std::string(message))
{
}

} // namespace brevio::exchange

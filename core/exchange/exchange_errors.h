#pragma once

#include "core/store/errors.h"

#include <exception>
#include <string>
#include <string_view>

namespace brevio::exchange {

// A listing file that cannot be read as XMLTV: what() names the file and the line.
class XmltvError : public Error
{
public:
    XmltvError(std::string_view file, long line, std::string_view message);
    // A fault of the file as a whole (it cannot be opened or unpacked).
    XmltvError(std::string_view file, std::string_view message);
};

// A programme or channel that is well-formed XML but makes no sense as a listing (an unknown
// channel id, for instance). The reader adds the file and the line.
class ListingError : public Error
{
public:
    using Error::Error;
};

// The user stopped a long step; whatever it had begun is undone.
class Cancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace brevio::exchange

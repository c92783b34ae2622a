#include "store/errors.h"

#include "store/cp1251.h"

#include <cerrno>

namespace brevio {

namespace {

std::string ioText(int code)
{
    return code == 2 ? std::string("File not found") : "I/O error " + std::to_string(code);
}

} // namespace

IoError::IoError(int code)
    : Error(ioText(code))
    , m_code(code)
{
}

IoError IoError::fromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return IoError(2);
    case ENOTDIR:
        return IoError(3);
    case EMFILE:
    case ENFILE:
        return IoError(4);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return IoError(5);
    case ENOSPC:
        return IoError(112);
    case EEXIST:
        return IoError(183);
    case ENAMETOOLONG:
        return IoError(206);
    default:
        return IoError(err);
    }
}

ConvertError::ConvertError(std::string_view text)
    : Error("'" + cp1251ToUtf8(text) + "' is not a valid integer value")
{
}

InvalidTimeError::InvalidTimeError(std::string_view text)
    : Error("'" + cp1251ToUtf8(text) + "' is not a valid time")
{
}

ListIndexError::ListIndexError(long index)
    : Error("List index out of bounds (" + std::to_string(index) + ")")
{
}

UnsafeNameError::UnsafeNameError(std::string_view name)
    : Error(name.empty()
                ? std::string("An empty name cannot name a file or a folder; nothing was written or deleted.")
                : "The name '" + cp1251ToUtf8(name)
                    + "' would lead outside the working folder; nothing was written or deleted.")
{
}

UnsafeNameError::UnsafeNameError(std::string message, bool)
    : Error(std::move(message))
{
}

UnsafeNameError UnsafeNameError::noWeekFolder()
{
    return UnsafeNameError(
        "No week is chosen, so there is no week folder to write to; nothing was written or deleted.", true);
}

} // namespace brevio

#include "store/errors.h"

#include "store/cp1251.h"

#include <cerrno>

namespace brevio {

namespace {

std::string ioText(int code, std::string_view file)
{
    std::string text = code == 2 ? std::string("File not found") : "I/O error " + std::to_string(code);
    if (!file.empty())
        text += "\n" + cp1251ToUtf8(file);
    return text;
}

} // namespace

IoError::IoError(int code, std::string_view file)
    : Error(ioText(code, file))
    , m_code(code)
    , m_file(file)
{
}

IoError IoError::fromErrno(int err, std::string_view file)
{
    switch (err) {
    case ENOENT:
        return IoError(2, file);
    case ENOTDIR:
        return IoError(3, file);
    case EMFILE:
    case ENFILE:
        return IoError(4, file);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return IoError(5, file);
    case ENOSPC:
        return IoError(112, file);
    case EEXIST:
        return IoError(183, file);
    case ENAMETOOLONG:
        return IoError(206, file);
    default:
        return IoError(err, file);
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

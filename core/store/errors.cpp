#include "core/store/errors.h"

#include "core/store/cp1251.h"

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

std::string unsafeNameText(std::string_view name, UnsafeNameError::Reason reason)
{
    using Reason = UnsafeNameError::Reason;
    constexpr std::string_view kNothingDone = "; nothing was written or deleted.";
    if (name.empty() || reason == Reason::Empty)
        return "An empty name cannot name a file or a folder" + std::string(kNothingDone);
    const std::string quoted = "'" + quotedData(name) + "'";
    switch (reason) {
    case Reason::WeekOwnFile:
        return "The name " + quoted + " is one of the week's own files" + std::string(kNothingDone);
    case Reason::ControlCharacter:
        return "The name " + quoted + " holds a control character" + std::string(kNothingDone);
    case Reason::NotAWeekDate:
        return "The week date " + quoted + " cannot name a week folder" + std::string(kNothingDone);
    default:
        return "The name " + quoted + " would lead outside the working folder" + std::string(kNothingDone);
    }
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
    : Error("'" + quotedData(text) + "' is not a valid integer value")
{
}

InvalidTimeError::InvalidTimeError(std::string_view text)
    : Error("'" + quotedData(text) + "' is not a valid time")
{
}

ListIndexError::ListIndexError(long index)
    : Error("List index out of bounds (" + std::to_string(index) + ")")
{
}

UnsafeNameError::UnsafeNameError(std::string_view name, Reason reason)
    : Error(unsafeNameText(name, reason))
    , m_reason(name.empty() ? Reason::Empty : reason)
{
}

UnsafeNameError::UnsafeNameError(std::string message, Reason reason)
    : Error(std::move(message))
    , m_reason(reason)
{
}

UnsafeNameError UnsafeNameError::noWeekFolder()
{
    return UnsafeNameError(
        std::string(
            "No week is chosen, so there is no week folder to write to; nothing was written or deleted."),
        Reason::Empty);
}

} // namespace brevio

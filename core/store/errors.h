#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace brevio {

// Every failure the core reports to the user. what() is UTF-8 text ready for a message box;
// the wording is that of the runtime the program's users know.
class Error : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read, written, renamed or deleted.
class IoError : public Error
{
public:
    // `code` is a Windows-style I/O error number; 2 reads "File not found". `file` (windows-1251
    // bytes, as the program names it) is shown on a line under that text, so that the user
    // knows which file it is about.
    explicit IoError(int code, std::string_view file = {});
    // Maps an errno value (ENOENT, EACCES, ...) to the matching error.
    static IoError fromErrno(int err, std::string_view file = {});
    int code() const { return m_code; }
    const std::string& file() const { return m_file; }

private:
    int m_code;
    std::string m_file;
};

// Text that should hold a decimal integer does not. `text` is raw windows-1251 bytes.
class ConvertError : public Error
{
public:
    explicit ConvertError(std::string_view text);
};

// A time text that is no time of day (hours above 23 or minutes above 59).
class InvalidTimeError : public Error
{
public:
    explicit InvalidTimeError(std::string_view text);
};

// An index into a list that holds no such item (nothing selected, for instance).
class ListIndexError : public Error
{
public:
    explicit ListIndexError(long index);
};

// A name from a server or a file that must not become a file or folder name: it would reach
// outside the working folder, or overwrite something else than what it names.
class UnsafeNameError : public Error
{
public:
    enum class Reason {
        LeadsOutside, // a path separator, "." or ".."
        Empty,
        WeekOwnFile, // a week folder's channel list or selected list
        ControlCharacter, // a line break, NUL, Ctrl-Z or any other control byte
        NotAWeekDate // a week date that is not "dd.mm.yyyy" with some separator
    };

    explicit UnsafeNameError(std::string_view name, Reason reason = Reason::LeadsOutside);
    // An empty week date where a week folder is about to be written or deleted.
    static UnsafeNameError noWeekFolder();
    Reason reason() const { return m_reason; }

private:
    UnsafeNameError(std::string message, Reason reason);

    Reason m_reason;
};

} // namespace brevio

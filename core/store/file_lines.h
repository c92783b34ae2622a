#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brevio::store {

// A file read line by line (the lines of splitLines), in pieces as the lines are asked for, so
// that a reader that stops early has not read the rest. For reading many files quickly: the
// bytes go into a buffer the caller keeps from file to file. Throws IoError.
class FileLines
{
public:
    enum class IfMissing {
        Throw, // IoError "File not found"
        Skip, // found() is false, and so is one that is no regular file
    };
    // `piece`: bytes read at a time.
    FileLines(const std::filesystem::path& p, std::string& buffer, IfMissing ifMissing = IfMissing::Throw,
              std::size_t piece = 32 * 1024);
    ~FileLines();
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;

    bool found() const { return m_fd >= 0; }
    // The next line, valid until the next call; false after the last one (or none found).
    bool next(std::string_view& line) { return nextCut(line, true); }
    // The same before it is cut at its first CR (see cutRawLine).
    bool nextRaw(std::string_view& rawLine) { return nextCut(rawLine, false); }

private:
    bool nextCut(std::string_view& line, bool atCr);
    // Reads the next piece; false when the text has ended (end of file or a Ctrl-Z).
    bool readMore();

    std::filesystem::path m_path;
    std::string& m_buffer;
    std::size_t m_piece;
    int m_fd;
    std::size_t m_loaded = 0; // bytes of text in the buffer
    std::size_t m_pos = 0; // where the next line starts
    bool m_ended = false;
};

} // namespace brevio::store

#include "core/store/error_log.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_lines.h"
#include "core/store/line_reader.h"
#include "core/store/side_thread.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <functional>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace brevio::store {

namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

std::set<std::string> entries(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

int ioCode(const std::function<void()>& action)
{
    try {
        action();
    } catch (const IoError& e) {
        return e.code();
    }
    return 0;
}

// Runs `action` as an unprivileged user when we are root, so that permissions apply.
// Returns the IoError code it raised (0 when none).
int ioCodeWithoutPrivileges(const fs::path& reachable, const std::function<void()>& action)
{
    if (::geteuid() != 0)
        return ioCode(action);
    fs::permissions(reachable, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(255);
        ::_exit(ioCode(action) & 0xff);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ReadFile, ReturnsTheBytesUnchanged)
{
    TempDir dir;
    const std::string bytes("\xCA\xE0\0\r\n\x1a\xFF", 7);
    dir.write("f", bytes);
    EXPECT_EQ(readFile(dir / "f"), bytes);
    EXPECT_EQ(readLines(dir / "f"), (std::vector<std::string>{std::string("\xCA\xE0\0", 3)}));
    EXPECT_TRUE(fileExists(dir / "f"));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir / "missing"));
}

TEST(FileErrors, EachNamesTheFileUnderTheRuntimeText)
{
    TempDir dir;
    dir.write("file", "");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero");
    std::string buffer;
    const std::string missing = (dir / "missing").string();
    const struct
    {
        std::function<void()> action;
        std::string text;
    } cases[] = {
        {[&] { readFile(dir / "missing"); }, "File not found\n" + missing},
        {[&] { readLines(dir / "missing"); }, "File not found\n" + missing},
        {[&] { readFile(dir.path()); }, "I/O error 5\n" + dir.path().string()},
        {[&] { appendToFile(dir / "missing/error.dat", "x"); }, "File not found\n" + missing + "/error.dat"},
        {[&] { replaceFile(dir / "missing/times.dat", "x"); }, "File not found\n" + missing + "/times.dat"},
        {[&] { createFolder(dir / "file"); }, "I/O error 183\n" + (dir / "file").string()},
        // A pipe or a device would stall or flood the window: only plain files are read.
        {[&] { readFile(dir / "pipe"); }, "I/O error 5\n" + (dir / "pipe").string()},
        {[&] { readFile(dir / "zero"); }, "I/O error 5\n" + (dir / "zero").string()},
        {[&] { FileLines(dir / "pipe", buffer); }, "I/O error 5\n" + (dir / "pipe").string()},
    };
    for (const auto& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const IoError& e) {
            EXPECT_EQ(e.what(), c.text);
        }
    }
}

// A file read in pieces gives the lines of the whole text, wherever a line, a CR before its
// LF, or a Ctrl-Z falls against the pieces; reading into a kept buffer gives the bytes.
TEST(FileLines, GiveTheLinesOfTheWholeTextAcrossPieces)
{
    const std::size_t piece = 32 * 1024;
    std::string many;
    for (int i = 0; many.size() < 3 * piece; ++i)
        many += "line " + std::to_string(i) + (i % 7 ? "\r\n" : "\n");
    const std::string crAtEnd = std::string(piece - 1, 'a') + "\r" + std::string(300, 's') + "\nnext\r\n";
    const std::string lfAtEnd = std::string(piece - 1, 'a') + "\nnext";
    const std::string eotLater = many.substr(0, piece + 5000) + "\x1a" + "hidden\r\n";
    const std::string oneLine(3 * piece + 17, 'x');
    const std::string texts[] = {many, crAtEnd, lfAtEnd, eotLater, oneLine, "", "\r\n", "a\rb"};

    TempDir dir;
    std::string buffer;
    std::string whole;
    for (const std::string& text : texts) {
        dir.write("f", text);
        for (const std::size_t size : {piece, std::size_t(7)}) {
            FileLines file(dir / "f", buffer, FileLines::IfMissing::Throw, size);
            EXPECT_TRUE(file.found());
            Lines lines;
            for (std::string_view line; file.next(line);)
                lines.emplace_back(line);
            EXPECT_EQ(lines, splitLines(text)) << text.size() << " bytes in pieces of " << size;
        }
        EXPECT_EQ(readFileInto(dir / "f", whole), text);
    }
}

// A line far longer than a piece is searched once, not again for every piece read: with
// pieces of 64 bytes, searching again takes half a minute.
TEST(FileLines, AVeryLongLineIsSearchedOnce)
{
    TempDir dir;
    dir.write("long", std::string(8u << 20, 'x') + "\r\nnext");
    std::string buffer;
    const std::clock_t start = std::clock(); // the processor's time: the machine may be busy
    FileLines file(dir / "long", buffer, FileLines::IfMissing::Throw, 64);
    std::string_view line;
    ASSERT_TRUE(file.nextRaw(line));
    EXPECT_EQ(line.size(), (8u << 20) + 1); // up to the LF, the CR still in
    ASSERT_TRUE(file.next(line));
    EXPECT_EQ(line, "next");
    EXPECT_FALSE(file.next(line));
    EXPECT_LT(double(std::clock() - start) / CLOCKS_PER_SEC, 3.0);
}

TEST(FileLines, MissingFilesThrowOrAreSkippedAsAsked)
{
    TempDir dir;
    std::string buffer;
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(FileLines(dir / "pipe", buffer, FileLines::IfMissing::Skip).found()); // no wait
    EXPECT_FALSE(FileLines(dir / "missing", buffer, FileLines::IfMissing::Skip).found());
    EXPECT_FALSE(FileLines(dir / "folder", buffer, FileLines::IfMissing::Skip).found());
    std::string_view line;
    EXPECT_FALSE(FileLines(dir / "folder", buffer, FileLines::IfMissing::Skip).next(line));
    try {
        FileLines(dir / "missing", buffer);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.file(), (dir / "missing").string());
    }
}

TEST(ReplaceFile, WritesNewAndOldFilesAndLeavesNothingBeside)
{
    TempDir dir;
    replaceFile(dir / "times.dat", "a\r\n");
    EXPECT_EQ(dir.read("times.dat"), "a\r\n");
    replaceFile(dir / "times.dat", "");
    EXPECT_EQ(dir.read("times.dat"), "");
    EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"times.dat"}));

    const test::ScopedCurrentDir here(dir.path());
    replaceFile("dats.dat", "12.01.2004\r\n"); // relative to the working folder
    EXPECT_EQ(dir.read("dats.dat"), "12.01.2004\r\n");
}

TEST(ReplaceFile, KeepsPermissionBitsAndWritesThroughALink)
{
    TempDir dir;
    dir.write("real", "old");
    fs::permissions(dir / "real", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real", dir / "link");
    replaceFile(dir / "link", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(dir.read("real"), "new");
    EXPECT_EQ(fs::status(dir / "real").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"real", "link"}));
}

TEST(ReplaceFile, ReadOnlyFolderKeepsTheOldFile)
{
    TempDir dir;
    dir.write("ro/aplp.dat", "Kanal:k.txt\r\n");
    fs::permissions(dir / "ro",
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                        | fs::perms::others_exec);
    const int code = ioCodeWithoutPrivileges(dir.path(), [&] { replaceFile(dir / "ro/aplp.dat", "x"); });
    fs::permissions(dir / "ro", fs::perms::owner_all);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(dir.read("ro/aplp.dat"), "Kanal:k.txt\r\n");
    EXPECT_EQ(entries(dir / "ro"), (std::set<std::string>{"aplp.dat"}));
}

TEST(ReplaceFile, FailedWriteRemovesTheHalfWrittenTempFile)
{
    TempDir dir;
    dir.write("times.dat", "old\r\n");
    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int code = ioCode([&] { replaceFile(dir / "times.dat", std::string(100000, 'x')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(code, 0);
    EXPECT_EQ(dir.read("times.dat"), "old\r\n");
    EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"times.dat"}));
}

TEST(ReplaceFile, FailedRenameRemovesTheTempFile)
{
    TempDir dir;
    fs::create_directory(dir / "dats.dat");
    EXPECT_NE(ioCode([&] { replaceFile(dir / "dats.dat", "x"); }), 0);
    EXPECT_TRUE(fs::is_directory(dir / "dats.dat"));
    EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"dats.dat"}));
}

TEST(SmallFileOps, AppendCreateAndRemove)
{
    TempDir dir;
    appendToFile(dir / "a", "1");
    appendToFile(dir / "a", "2");
    EXPECT_EQ(dir.read("a"), "12");

    createEmptyIfMissing(dir / "a");
    EXPECT_EQ(dir.read("a"), "12");
    createEmptyIfMissing(dir / "ag_news.dat");
    EXPECT_TRUE(fileExists(dir / "ag_news.dat"));
    EXPECT_EQ(dir.read("ag_news.dat"), "");
    EXPECT_EQ(ioCode([&] { createEmptyIfMissing(dir.path()); }), 5);
    EXPECT_EQ(ioCode([&] { appendToFile(dir / "no/such", "x"); }), 2);

    EXPECT_TRUE(removeFile(dir / "a"));
    EXPECT_FALSE(dir.exists("a"));
    EXPECT_TRUE(removeFile(dir / "a"));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(removeFile(dir / "folder"));
    EXPECT_TRUE(dir.exists("folder"));
}

TEST(Folders, CreateIsIdempotentButRefusesAFileInTheWay)
{
    TempDir dir;
    createFolder(dir / "12012004");
    createFolder(dir / "12012004");
    EXPECT_TRUE(fs::is_directory(dir / "12012004"));
    dir.write("file", "");
    EXPECT_NE(ioCode([&] { createFolder(dir / "file"); }), 0);
    EXPECT_NE(ioCode([&] { createFolder(dir / "missing/sub"); }), 0);
}

TEST(Folders, RemoveTreeTakesReadOnlyContentsButNeverFollowsLinks)
{
    TempDir dir;
    dir.write("keep/outside.txt", "keep");
    dir.write("week/aplp.dat", "x");
    dir.write("week/sub/deep/k1.txt", "x");
    fs::permissions(dir / "week/aplp.dat", fs::perms::owner_read);
    fs::permissions(dir / "week/sub/deep", fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_directory_symlink(dir / "keep", dir / "week/linked");

    EXPECT_TRUE(removeFolderTree(dir / "week"));
    EXPECT_FALSE(dir.exists("week"));
    EXPECT_EQ(dir.read("keep/outside.txt"), "keep");

    EXPECT_FALSE(removeFolderTree(dir / "week")); // nothing there
    EXPECT_FALSE(removeFolderTree(dir / "keep/outside.txt"));
    EXPECT_TRUE(dir.exists("keep/outside.txt"));
    EXPECT_FALSE(removeFolderTree(""));
}

TEST(Folders, RemoveTreeReportsWhatCouldNotGo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand a folder to a user who may not delete it";
    TempDir dir;
    dir.write("week/locked/k1.txt", "x");
    const fs::path week = dir / "week";
    // Someone else's folder: its mode cannot be changed and nothing in it can go.
    const int result = ioCodeWithoutPrivileges(dir.path(), [&] {
        if (removeFolderTree(week))
            throw IoError(99);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(dir.exists("week/locked/k1.txt"));
}

// A flush of the file system on a thread of its own: the window's pump runs until it has ended,
// and what it throws reaches the caller.
TEST(SideThread, PumpsUntilTheWorkEndsAndPassesOnItsError)
{
    std::atomic<int> pumped{0};
    bool ended = false;
    runBesidePump(
        [&] {
            while (pumped < 3) // the work cannot end without the pump running meanwhile
                std::this_thread::yield();
            ended = true;
        },
        [&] { ++pumped; });
    EXPECT_TRUE(ended);
    EXPECT_THROW(runBesidePump([] { throw IoError(5, "disk"); }, [] {}), IoError);
}

TEST(ErrorLog, RecordBytesAndAppending)
{
    const std::string line(50, '=');
    EXPECT_EQ(errorLogRecord("HTTP/1.0 404 Not Found\r\nServer: x\r\n", "gone"),
              line + "\r\n\r\nHTTP/1.0 404 Not Found\r\nServer: x\r\n\r\n\r\ngone\r\n\r\n");
    EXPECT_EQ(errorLogRecord("", ""), line + "\r\n\r\n\r\n\r\n\r\n\r\n");

    TempDir dir;
    const test::ScopedCurrentDir here(dir.path());
    appendErrorLog("h1", "b1");
    appendErrorLog("h2", "b2");
    EXPECT_EQ(dir.read("error.dat"), errorLogRecord("h1", "b1") + errorLogRecord("h2", "b2"));
}

TEST(ErrorRecord, KeepsSmallBodiesWholeAndCutsHugeOnesAtTheLimit)
{
    const std::string head = std::string(50, '=') + "\r\n\r\nHTTP/1.0 404 Not Found\r\n\r\n\r\n\r\n";
    const std::string small(kErrorLogBodyLimit, 'x');
    EXPECT_EQ(errorLogRecord("HTTP/1.0 404 Not Found\r\n\r\n", small), head + small + "\r\n\r\n");
    const std::string huge(3 * kErrorLogBodyLimit + 5, 'y');
    EXPECT_EQ(errorLogRecord("HTTP/1.0 404 Not Found\r\n\r\n", huge),
              head + std::string(kErrorLogBodyLimit, 'y')
                  + "\r\n[cut: " + std::to_string(2 * kErrorLogBodyLimit + 5)
                  + " more bytes of the reply are not recorded]\r\n\r\n");
}

} // namespace brevio::store

// Whole-file rewrites and listing-source refreshes killed at random moments: the target stays
// whole, the store is as before or as after, and what a kill left behind (of a rewrite or of an
// import) goes at the next start's sweep, which touches nothing else.
#include "core/reminders/reminder_file.h"
#include "core/sources/refresh_lock.h"
#include "core/sources/source_refresh.h"
#include "core/store/cp1251.h"
#include "core/store/file_io.h"
#include "core/store/temp_files.h"
#include "support/core/file_tree.h"
#include "support/core/processes.h"
#include "support/core/source_listing.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace brevio::store {

namespace {

using test::TempDir;

std::set<std::string> entries(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

struct KillRound
{
    int kills = 0;
    int leftOvers = 0; // files the sweeps removed
};

// Kills a process that writes `target` over and over, `write(true)` giving `a` and
// `write(false)` giving `b`, `kills` times, each at a random moment; after each kill the target
// must hold one whole version and a sweep must leave it alone.
KillRound killRewrites(const TempDir& dir, const std::string& target, const std::string& a,
                       const std::string& b, const std::function<void(bool first)>& write, int kills)
{
    write(true);
    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<int> moment(0, 4000);
    KillRound round;
    for (int i = 0; i < kills; ++i) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            for (unsigned n = 0;; ++n)
                write(n % 2 != 0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment(rng)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";
        ++round.kills;

        const std::string now = dir.read(target);
        EXPECT_TRUE(now == a || now == b) << "torn target after kill " << i << ": " << now.size() << " bytes";
        round.leftOvers += removeStaleTempFiles(dir.path());
        EXPECT_EQ(entries(dir.path()), std::set<std::string>{target}) << "after kill " << i;
        if (::testing::Test::HasFailure())
            break;
    }
    return round;
}

} // namespace

TEST(TempFileNames, OnlyTheStoresOwnFormsNameAWriter)
{
    EXPECT_EQ(tempSiblingName("times.dat", 123, 4, 5), ".times.dat.123-4-5.tmp");
    const struct
    {
        const char* name;
        pid_t owner; // 0: not ours
    } cases[] = {
        {".times.dat.123-4-5.tmp", 123},
        {".aplp.dat.7-0-0.tmp", 7},
        {".selpn.42-3999999999-17.tmp", 42},
        {"times.dat.123-4-5.tmp", 0}, // not hidden
        {".123-4-5.tmp", 0}, // no target in front
        {".a.12x-4-5.tmp", 0},
        {".a.1-2.tmp", 0},
        {".a.1-2-3-4.tmp", 0},
        {".a.1--3.tmp", 0},
        {".a.1-2-3.tmp~", 0},
        {".a.1-2-3.TMP", 0},
        {".a.0-1-2.tmp", 0},
        {".a.99999999999999999999-1-2.tmp", 0},
        {".times.tmp", 0},
        {"times.tmp", 0},
        {"aplp.tmp", 0},
        // A commit's journal of moves.
        {".moves.123-4.journal", 123},
        {".moves.123-4.journal.tmp", 0},
        {".moves.123.journal", 0},
        {"moves.123-4.journal", 0},
        // What an import stages.
        {".07.12.2026.import-123-4", 123},
        {".a.import-1-2.import-3-4", 3},
        {"07.12.2026.import-123-4", 0},
        {".import-1-2", 0},
        {".a.import-1", 0},
        {".a.import-1-", 0},
        {".a.import-1-2-3", 0},
        {".a.import-0-2", 0},
    };
    for (const auto& c : cases) {
        const auto owner = tempSiblingOwner(c.name);
        EXPECT_EQ(owner.value_or(stagingOwner(c.name).value_or(movesJournalOwner(c.name).value_or(0))),
                  c.owner)
            << c.name;
    }
    EXPECT_EQ(movesJournalName(123, 4), ".moves.123-4.journal");
    EXPECT_EQ(stagingName("07.12.2026", 123, 4), ".07.12.2026.import-123-4");
    EXPECT_EQ(stagingName(std::string(300, 'k'), 123, 4).size(), 255u); // the target's part gives way
}

TEST(TempFileNames, SweepTakesDeadWritersFilesInTheStoreAndNothingElse)
{
    TempDir dir;
    const test::ScopedCurrentDir here(dir.path());
    const pid_t dead = test::endedProcessId();
    const std::string stale = tempSiblingName("times.dat", dead, 1, 2);
    const std::string mine = tempSiblingName("dats.dat", ::getpid(), 1, 2);
    const std::string live = tempSiblingName("selpn", ::getppid(), 1, 2);
    for (const std::string& name : {stale, mine, live, std::string("times.tmp"), std::string(".hidden")})
        dir.write(name, "x");
    dir.write("12012004/aplp.dat", "K:k.txt\r\n");
    dir.write("12012004/" + stale, "x");
    dir.write("12012004/deeper/aplp.dat", "");
    dir.write("12012004/deeper/" + stale, "x");
    dir.write("docs/" + stale, "x"); // no channel list: not a week folder
    fs::create_directory(dir / tempSiblingName("folder", dead, 1, 2));
    fs::create_symlink("times.tmp", dir / tempSiblingName("link", dead, 1, 2));
    // What a killed import staged: a whole week folder, the week list, a channel file; a living
    // import's folder stays, and so does a link of that form.
    const std::string staged = stagingName("19012004", dead, 0);
    const std::string importing = stagingName("26012004", ::getppid(), 0);
    dir.write(staged + "/aplp.dat", "K:k.txt\r\n");
    dir.write(staged + "/k.txt", "x");
    dir.write(staged + "/" + stale, "x");
    dir.write(importing + "/aplp.dat", "K:k.txt\r\n");
    dir.write(stagingName("dats.dat", dead, 1), "x");
    dir.write("12012004/" + stagingName("k.txt", dead, 2), "x");
    fs::create_directory_symlink("docs", dir / stagingName("docs", dead, 3));

    EXPECT_EQ(removeStaleStoreTempFiles(), 6);
    EXPECT_EQ(entries(dir.path()),
              (std::set<std::string>{
                  live, "times.tmp", ".hidden", "12012004", "docs", tempSiblingName("folder", dead, 1, 2),
                  tempSiblingName("link", dead, 1, 2), importing, stagingName("docs", dead, 3)}));
    EXPECT_EQ(entries(dir / importing), std::set<std::string>{"aplp.dat"});
    EXPECT_EQ(entries(dir / "12012004"), (std::set<std::string>{"aplp.dat", "deeper"}));
    EXPECT_TRUE(dir.exists("12012004/deeper/" + stale));
    EXPECT_TRUE(dir.exists("docs/" + stale));
    EXPECT_EQ(removeStaleTempFiles(dir / "missing"), 0);
}

// A commit killed among its moves: the sweep completes them from the journal before it removes
// what is staged, and leaves a living process's journal alone.
TEST(TempFileNames, SweepCompletesTheMovesOfAKilledCommit)
{
    TempDir dir;
    const test::ScopedCurrentDir here(dir.path());
    const pid_t dead = test::endedProcessId();
    dir.write("dats.dat", "old\r\n");
    dir.write("12012004/aplp.dat", "K:k.txt\r\n");
    dir.write("12012004/k.txt", "old");
    dir.write("12012004/" + stagingName("k.txt", dead, 1), "new"); // moved before the kill? no
    dir.write(stagingName("dats.dat", dead, 2), "new\r\n");
    dir.write(stagingName("19012004", dead, 3) + "/aplp.dat", "");
    const std::vector<std::pair<fs::path, fs::path>> moves{
        {dir / "12012004" / stagingName("k.txt", dead, 0), dir / "12012004/k.txt"}, // already moved
        {dir / "12012004" / stagingName("k.txt", dead, 1), dir / "12012004/k.txt"},
        {dir / stagingName("19012004", dead, 3), dir / "19012004"},
        {dir / stagingName("dats.dat", dead, 2), dir / "dats.dat"}};
    dir.write(movesJournalName(dead, 0), movesJournalText(moves));
    dir.write(movesJournalName(::getppid(), 0), movesJournalText({{dir / "x", dir / "y"}}));
    dir.write("x", "living");

    removeStaleStoreTempFiles();
    EXPECT_EQ(dir.read("dats.dat"), "new\r\n");
    EXPECT_EQ(dir.read("12012004/k.txt"), "new");
    EXPECT_TRUE(dir.exists("19012004/aplp.dat"));
    EXPECT_EQ(
        entries(dir.path()),
        (std::set<std::string>{"dats.dat", "12012004", "19012004", "x", movesJournalName(::getppid(), 0)}));
    EXPECT_EQ(entries(dir / "12012004"), (std::set<std::string>{"aplp.dat", "k.txt"}));
}

// A refresh of a listing source killed at random moments, in every phase (reading, staging,
// moving into place): after the next start's sweep the store is exactly as before or as after.
TEST(KilledRefresh, TheStoreIsAsBeforeOrAsAfter)
{
    const test::ScopedTimeZone zone("Europe/Moscow");
    TempDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i)
        names.push_back("Канал " + std::to_string(i));
    dir.write("guide.xml", test::sourceListing(names, "new", 14));
    dir.write("store/dats.dat", "07.12.2026\r\n");
    dir.write("store/07122026/aplp.dat", utf8ToCp1251("Канал 1:k1.txt\r\n"));
    dir.write("store/07122026/k1.txt",
              utf8ToCp1251("Канал 1\r\n\r\n06:00 Старое\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    const fs::path store = dir / "store";
    const test::ScopedCurrentDir here(store);
    sources::RefreshLock::acquire().reset(); // the lock file, which stays
    const test::FileTree before = test::fileTree(store);

    const auto refresh = [&] {
        std::vector<sources::ListingSource> list(1);
        list[0].address = (dir / "guide.xml").string();
        const auto lock = sources::RefreshLock::acquire(std::chrono::seconds(5));
        return sources::refreshSource(list, 0, std::chrono::sys_seconds{}, {}, *lock).outcome;
    };
    const auto restore = [&] {
        for (const auto& entry : fs::directory_iterator(store))
            fs::remove_all(entry.path());
        for (const auto& [path, content] : before) {
            if (content)
                dir.write("store/" + path, *content);
            else
                fs::create_directories(store / path);
        }
    };
    // A refresh of its own process, started as each killed one will be: how long it takes.
    const auto refresher = [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
            try {
                ::_exit(refresh() == sources::RefreshReport::Outcome::Merged ? 0 : 1);
            } catch (...) {
                ::_exit(2);
            }
        }
        return pid;
    };
    const auto started = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(refresher(), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto took
        = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const test::FileTree after = test::fileTree(store);
    ASSERT_NE(after, before);

    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<long> moment(0, took.count() * 5 / 4);
    int asBefore = 0, asAfter = 0;
    for (int i = 0; i < 40 && !::testing::Test::HasFailure(); ++i) {
        restore();
        const pid_t pid = refresher();
        std::this_thread::sleep_for(std::chrono::microseconds(moment(rng)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        removeStaleStoreTempFiles();
        const test::FileTree now = test::fileTree(store);
        EXPECT_TRUE(now == before || now == after)
            << "after kill " << i << ": " << test::changedPaths(before, now).size() << " paths changed, "
            << test::changedPaths(after, now).size() << " differ from the refreshed store";
        ++(now == before ? asBefore : asAfter);
    }
    EXPECT_GT(asBefore, 0) << "every kill came too late";
    EXPECT_GT(asAfter, 0) << "every kill came too early";
}

// The unnamed way leaves a name only between naming and renaming; the named way all through
// the write. Either way every kill leaves a whole target and the sweep clears the rest.
TEST(KilledRewrite, TargetStaysWholeAndTheSweepLeavesOnlyIt)
{
    for (const TempFileKind kind : {TempFileKind::Unnamed, TempFileKind::Named}) {
        SCOPED_TRACE(kind == TempFileKind::Unnamed ? "unnamed" : "named");
        TempDir dir;
        // Two versions of different sizes and bytes, so a torn or mixed file shows.
        const std::string a(100000, 'a');
        const std::string b(250000, 'b');
        const KillRound round = killRewrites(
            dir, "aplp.dat", a, b,
            [&](bool first) { replaceFile(dir / "aplp.dat", first ? a : b, FileSync::Now, kind); }, 50);
        EXPECT_EQ(round.kills, 50);
        if (kind == TempFileKind::Named) {
            EXPECT_GT(round.leftOvers, 0) << "no kill fell into a write: the moments are too late";
        }
    }
}

TEST(KilledRewrite, TheRemindersFileStaysWhole)
{
    TempDir dir;
    const test::ScopedCurrentDir here(dir.path());
    reminders::ReminderFile first, second;
    for (int i = 0; i < 3000; ++i) {
        const reminders::ShowKey show{"12.01.2004", "Channel " + std::to_string(i), i % 7, i % 1440, "Film"};
        first.reminders.push_back({show});
        second.reminders.push_back({show, reminders::ReminderState::Shown});
    }
    const auto text = [&](const reminders::ReminderFile& file) {
        reminders::writeReminderFile(file);
        return dir.read(reminders::kReminderFile);
    };
    const std::string a = text(first), b = text(second);
    killRewrites(
        dir, std::string(reminders::kReminderFile), a, b,
        [&](bool isFirst) { reminders::writeReminderFile(isFirst ? first : second); }, 20);
    EXPECT_EQ(reminders::readReminderFile().reminders.size(), 3000u);
}

} // namespace brevio::store

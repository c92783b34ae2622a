#include "core/exchange/staged_changes.h"

#include "core/exchange/exchange_errors.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/side_thread.h"
#include "core/store/temp_files.h"

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace brevio::exchange {

namespace {

fs::path folderOf(const fs::path& target)
{
    const fs::path parent = target.has_filename() ? target.parent_path() : target.parent_path().parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

std::string nameOf(const fs::path& target)
{
    return target.has_filename() ? target.filename().string() : target.parent_path().filename().string();
}

// A copy of the file the commit is about to replace, so that the replacement can be undone.
fs::path keepBackup(const fs::path& target, const fs::path& backup)
{
    if (::link(target.c_str(), backup.c_str()) == 0)
        return backup;
    store::replaceFile(backup, store::readFile(target)); // file systems without hard links
    return backup;
}

} // namespace

StagedChanges::~StagedChanges()
{
    if (m_committed)
        return;
    for (const Item& item : m_items) {
        if (item.folder)
            store::removeFolderTree(item.staged);
        else
            store::removeFile(item.staged);
    }
}

fs::path StagedChanges::stagedName(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    return folderOf(target) / store::stagingName(nameOf(target), ::getpid(), counter++);
}

void StagedChanges::stageFile(const fs::path& target, std::string_view bytes)
{
    Item item{stagedName(target), target, false};
    m_items.push_back(item);
    store::replaceFile(item.staged, bytes, store::FileSync::Later);
}

fs::path StagedChanges::stageFolder(const fs::path& target)
{
    Item item{stagedName(target), target, true};
    if (::mkdir(item.staged.c_str(), 0777) != 0)
        throw IoError::fromErrno(errno);
    m_items.push_back(item);
    return item.staged;
}

void StagedChanges::commit(const std::function<bool()>& whileFlushing)
{
    if (m_items.empty()) {
        m_committed = true;
        return;
    }
    // Everything staged reaches the disk before anything takes its place, and so does the list of
    // the moves: a kill among them leaves the next start's sweep a journal to complete them by.
    std::vector<std::pair<fs::path, fs::path>> moves;
    for (const Item& item : m_items)
        moves.emplace_back(fs::absolute(item.staged), fs::absolute(item.target));
    static std::atomic<unsigned> journals{0};
    const fs::path journal
        = fs::absolute(folderOf(m_items.back().target) / store::movesJournalName(::getpid(), journals++));
    struct JournalScope
    {
        const fs::path& file;
        ~JournalScope() { store::removeFile(file); }
    } journalScope{journal};
    const fs::path flushed = fs::absolute(folderOf(m_items.front().target));
    const auto flush = [&] {
        store::syncFileSystem(flushed);
        store::replaceFile(journal, store::movesJournalText(moves));
    };
    if (whileFlushing) {
        bool stop = false;
        store::runBesidePump(flush, [&] { stop = !whileFlushing() || stop; });
        if (stop)
            throw Cancelled();
    } else {
        flush();
    }
    std::vector<Undo> done;
    try {
        for (const Item& item : m_items) {
            Undo step{item.target, {}, item.staged, item.folder};
            struct stat st;
            const bool replacing = !item.folder && ::stat(item.target.c_str(), &st) == 0;
            if (replacing) {
                ::chmod(item.staged.c_str(), st.st_mode & 07777);
                step.backup = keepBackup(item.target, stagedName(item.target));
            }
            // A folder never replaces one that appeared meanwhile: rename refuses a full one,
            // and an empty one is checked here.
            if (item.folder && fs::exists(item.target))
                throw IoError::fromErrno(EEXIST);
            if (::rename(item.staged.c_str(), item.target.c_str()) != 0) {
                const int err = errno;
                if (!step.backup.empty())
                    store::removeFile(step.backup);
                throw IoError::fromErrno(err);
            }
            done.push_back(step);
        }
    } catch (...) {
        undo(done);
        throw;
    }
    m_committed = true;
    for (const Undo& step : done)
        if (!step.backup.empty())
            store::removeFile(step.backup);
}

void StagedChanges::undo(const std::vector<Undo>& done) noexcept
{
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        if (it->folder)
            ::rename(it->target.c_str(), it->staged.c_str());
        else if (!it->backup.empty())
            ::rename(it->backup.c_str(), it->target.c_str());
        else
            ::unlink(it->target.c_str());
    }
}

} // namespace brevio::exchange

#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace brevio::exchange {

// Changes to the week store that all happen or none: every new file and folder is written in
// full beside its place first (which may take long and may be cancelled), and commit() then
// only moves them into place, in the order they were staged. Whatever is staged but not
// committed is removed when the object goes, so a cancelled or failed change leaves the store
// as it was; what a killed process staged bears a name (store::stagingName) that the next
// start's sweep removes.
class StagedChanges
{
public:
    StagedChanges() = default;
    ~StagedChanges();
    StagedChanges(const StagedChanges&) = delete;
    StagedChanges& operator=(const StagedChanges&) = delete;

    // Writes the new content of `target` beside it now (through the store's file replacement;
    // files written into a staged folder should use FileSync::Later as these do: commit()
    // flushes them all at once).
    void stageFile(const std::filesystem::path& target, std::string_view bytes);
    // Creates an empty folder beside `target`, to be filled now and to become `target`.
    std::filesystem::path stageFolder(const std::filesystem::path& target);

    // Flushes what is staged to disk, then moves everything into place. A file that is
    // replaced keeps its permissions. When a move fails, the ones before it are undone and
    // IoError is thrown. A kill among the moves leaves a journal of them (store::movesJournalName)
    // by which the next start's sweep completes them, so the store is as before or as after.
    // With `whileFlushing`, the flush and the journal are written on a thread of their own while
    // this one calls it every few milliseconds (the window turns its event loop there); false
    // from it cancels the commit before the first move (Cancelled), and nothing changes.
    void commit(const std::function<bool()>& whileFlushing = {});

private:
    struct Item
    {
        std::filesystem::path staged;
        std::filesystem::path target;
        bool folder = false;
    };
    struct Undo
    {
        std::filesystem::path target;
        std::filesystem::path backup; // empty: the target was new
        std::filesystem::path staged; // folders go back here
        bool folder = false;
    };

    std::filesystem::path stagedName(const std::filesystem::path& target);
    void undo(const std::vector<Undo>& done) noexcept;

    std::vector<Item> m_items;
    bool m_committed = false;
};

} // namespace brevio::exchange

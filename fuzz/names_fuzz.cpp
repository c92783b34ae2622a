// Week folders and file names from a server or a file: a week date and a file name that pass
// their checks never lead outside the working folder, and the checked folder is the rule's.
#include "core/store/errors.h"
#include "core/store/week_folder.h"
#include "fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>

using namespace brevio;

namespace {

bool insideWorkingFolder(const std::filesystem::path& path)
{
    const auto normal = path.lexically_normal();
    if (normal.is_absolute() || normal.has_root_name())
        return false;
    for (const auto& part : normal) {
        if (part == "..")
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string weekDate = input.ConsumeRandomLengthString(64);
    const std::string fileName = input.ConsumeRemainingBytesAsString();
    const auto use = weekDate.size() % 2 ? store::FolderUse::Read : store::FolderUse::Write;

    std::string folder;
    try {
        folder = store::checkedWeekFolder(weekDate, use);
    } catch (const UnsafeNameError&) {
        return 0;
    }
    fuzz::check(folder == store::weekFolderName(weekDate), "a checked folder is the rule's folder");
    fuzz::check(use == store::FolderUse::Read || !folder.empty(),
                "a folder to write is never the working folder");
    fuzz::check(folder.empty()
                    || (folder.find('/') == folder.size() - 1 && folder != "./" && folder != "../"),
                "a week folder is one folder");
    fuzz::check(folder.find('\0') == std::string::npos && folder.find('\\') == std::string::npos,
                "a week folder holds no NUL or backslash");

    try {
        store::checkBareFileName(fileName);
    } catch (const UnsafeNameError&) {
        return 0;
    }
    const std::filesystem::path path(folder + fileName);
    fuzz::check(insideWorkingFolder(path), "a checked name never leads outside");
    fuzz::check(std::distance(path.begin(), path.end()) == (folder.empty() ? 1 : 2),
                "a checked file lies directly in its week folder");
    return 0;
}

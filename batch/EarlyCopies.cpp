#include "batch/EarlyCopies.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

std::string copyTarget(const std::string& folder, const std::string& path) {
    return folder + PathSeparator + fileNameOf(path);
}

// Names are compared by their hashes: two names that merely share a hash count as one, which only
// makes those copies wait for their turn.
std::vector<char> namesSeenOnce(const std::vector<std::string>& paths) {
    std::vector<size_t> hashes;
    hashes.reserve(paths.size());
    for (const std::string& path : paths)
        hashes.push_back(std::hash<std::string>{}(asciiUpper(fileNameOf(path))));
    std::vector<size_t> sorted = hashes;
    std::sort(sorted.begin(), sorted.end());
    std::vector<char> once;
    once.reserve(paths.size());
    for (size_t hash : hashes) {
        const auto same = std::equal_range(sorted.begin(), sorted.end(), hash);
        once.push_back(same.second - same.first == 1 ? 1 : 0);
    }
    return once;
}

}  // namespace

bool copyIntoResultFolder(const JudgedPhoto& photo, const ResultFolders& folders) {
    return copyFileNoOverwrite(photo.path,
                               copyTarget(photo.passed ? folders.passed : folders.failed, photo.path));
}

EarlyCopies::EarlyCopies(const std::vector<std::string>& paths, const ResultFolders& folders)
    : paths_(paths), folders_(folders), unique_(namesSeenOnce(paths)), made_(paths.size(), None) {}

void EarlyCopies::copy(const JudgedPhoto& photo, size_t index) {
    if (!copiesEarly(index) || !copyIntoResultFolder(photo, folders_)) return;
    made_[index] = photo.passed ? Passed : Failed;
}

void EarlyCopies::takeBackFrom(size_t index) {
    for (size_t i = index; i < made_.size(); ++i) {
        if (made_[i] == None) continue;
        const std::string target =
            copyTarget(made_[i] == Passed ? folders_.passed : folders_.failed, paths_[i]);
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
        made_[i] = None;
    }
}

}  // namespace photocheck

#include "batch/EarlyCopies.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

#include "platform/Paths.h"

namespace photocheck {
namespace {

const char* const TargetTakenReason = "结果文件夹中已有同名的文件或文件夹，不是本次检测复制的";

std::string copyTarget(const std::string& folder, std::string_view fileName) {
    std::string target = folder + PathSeparator;
    target.append(fileName);
    return target;
}

// Names are compared by their hashes: two names that merely share a hash count as one, which only
// makes those copies wait for their turn.
std::vector<char> namesSeenOnce(const FileList& paths) {
    std::vector<size_t> hashes;
    hashes.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        hashes.push_back(std::hash<std::string>{}(asciiUpper(std::string(paths.name(i)))));
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

std::string copyTargetOf(const JudgedPhoto& photo, const ResultFolders& folders) {
    return copyTarget(photo.passed ? folders.passed : folders.failed, fileNameOf(photo.path));
}

CopyOutcome copyIntoResultFolder(const JudgedPhoto& photo, const ResultFolders& folders) {
    return copyFileNoOverwrite(photo.path, copyTargetOf(photo, folders));
}

EarlyCopies::EarlyCopies(const FileList& paths, const ResultFolders& folders)
    : paths_(paths), folders_(folders), unique_(namesSeenOnce(paths)), made_(paths.size(), None) {}

std::optional<std::string> EarlyCopies::missingOf(const JudgedPhoto& photo, const CopyOutcome& outcome,
                                                  bool targetMayBeOurs) const {
    using Kind = CopyOutcome::Kind;
    if (outcome.kind == Kind::Made) return std::nullopt;
    if (outcome.kind == Kind::Failed) return outcome.reason;
    if (targetMayBeOurs && madeAtTurn_.count(copyTargetOf(photo, folders_)) != 0) return std::nullopt;
    return std::string(TargetTakenReason);
}

void EarlyCopies::copy(const JudgedPhoto& photo, size_t index) {
    if (!copiesEarly(index)) return;
    const CopyOutcome outcome = copyIntoResultFolder(photo, folders_);
    if (outcome.made()) {
        made_[index] = photo.passed ? Passed : Failed;
        return;
    }
    // No other file of the run has this name: whatever stands at the target is not a copy of it.
    std::optional<std::string> missing = missingOf(photo, outcome, false);
    const std::lock_guard<std::mutex> lock(mutex_);
    missingEarly_.emplace(index, std::move(*missing));
}

std::optional<std::string> EarlyCopies::copyAtItsTurn(const JudgedPhoto& photo, size_t index) {
    if (copiesEarly(index)) {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = missingEarly_.find(index);
        if (found == missingEarly_.end()) return std::nullopt;
        std::string missing = std::move(found->second);
        missingEarly_.erase(found);
        return missing;
    }
    const CopyOutcome outcome = copyIntoResultFolder(photo, folders_);
    if (outcome.made()) madeAtTurn_.insert(copyTargetOf(photo, folders_));
    return missingOf(photo, outcome, true);
}

void EarlyCopies::takeBackFrom(size_t index) {
    for (size_t i = index; i < made_.size(); ++i) {
        if (made_[i] == None) continue;
        const std::string target =
            copyTarget(made_[i] == Passed ? folders_.passed : folders_.failed, paths_.name(i));
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
        made_[i] = None;
    }
}

}  // namespace photocheck

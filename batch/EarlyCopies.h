#pragma once
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"
#include "platform/FileSystem.h"

namespace photocheck {

// The target of a photo's copy: the passed or the failed folder + the full file name.
std::string copyTargetOf(const JudgedPhoto& photo, const ResultFolders& folders);

// The copy of a photo into the passed or the failed folder: full file name kept, an existing file
// never replaced.
CopyOutcome copyIntoResultFolder(const JudgedPhoto& photo, const ResultFolders& folders);

// The copies of a run. Only a photo whose file name no other file of the list has (letter case
// aside, as on Windows) is copied by the thread that judged it, ahead of its turn: where names
// repeat, the first in the list must win, so those copies are made at their turn. A copy whose
// target already holds a copy of this run (two files of one name) is not made, as intended, and is
// no missing copy; a target that holds anything else (an old file that could not be deleted, a
// folder of that name) and every other failure is one. When a run ends in an error, the early
// copies of the photos after the one it ended at are taken back, so the result folders hold what a
// run that judges one photo at a time leaves.
class EarlyCopies {
  public:
    EarlyCopies(const FileList& paths, const ResultFolders& folders);

    bool copiesEarly(size_t index) const { return unique_[index] != 0; }
    // On the judging thread; each index from one thread only.
    void copy(const JudgedPhoto& photo, size_t index);
    // On the run's thread, in list order: the copy made now (when it was not made early); when the
    // copy is missing, why (in Chinese).
    std::optional<std::string> copyAtItsTurn(const JudgedPhoto& photo, size_t index);
    // Once no thread judges any more: the early copies of the photos from this index on.
    void takeBackFrom(size_t index);

  private:
    enum Made : char { None, Passed, Failed };

    std::optional<std::string> missingOf(const JudgedPhoto& photo, const CopyOutcome& outcome,
                                         bool targetMayBeOurs) const;

    const FileList& paths_;
    const ResultFolders& folders_;
    std::vector<char> unique_;
    std::vector<char> made_;
    std::mutex mutex_;
    std::map<size_t, std::string> missingEarly_;
    std::unordered_set<std::string> madeAtTurn_;  // targets of the repeated names, once made
};

}  // namespace photocheck

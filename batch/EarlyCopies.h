#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"

namespace photocheck {

// The copy of a photo into the passed or the failed folder: full file name kept, an existing file
// never replaced.
bool copyIntoResultFolder(const JudgedPhoto& photo, const ResultFolders& folders);

// Copies made by the thread that judged the photo, ahead of its turn. Only a photo whose file name
// no other file of the list has (letter case aside, as on Windows) may be copied early: where names
// repeat, the first in the list must win, so those copies wait for their turn. When a run ends in
// an error, the early copies of the photos after the one it ended at are taken back, so the result
// folders hold what a run that judges one photo at a time leaves.
class EarlyCopies {
  public:
    EarlyCopies(const std::vector<std::string>& paths, const ResultFolders& folders);

    bool copiesEarly(size_t index) const { return unique_[index] != 0; }
    // On the judging thread; each index from one thread only.
    void copy(const JudgedPhoto& photo, size_t index);
    // Once no thread judges any more: the early copies of the photos from this index on.
    void takeBackFrom(size_t index);

  private:
    enum Made : char { None, Passed, Failed };

    const std::vector<std::string>& paths_;
    const ResultFolders& folders_;
    std::vector<char> unique_;
    std::vector<char> made_;
};

}  // namespace photocheck

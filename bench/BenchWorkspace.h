#pragma once
#include <optional>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"
#include "batch/Workspace.h"
#include "bench/PhotoFolder.h"

namespace photocheck::bench {

// Everything the benchmarks work on: the working folder started as the command line starts it
// (Workspace::open: the working files from the data package beside the executable, the open database,
// the thresholds of the installed parameter file) and the generated photo folder of the batch run, whose
// runs put their copies into result folders of their own. All of it is made once per run in a scratch
// folder that is removed at the end: in the memory file system /dev/shm (the build folder where there
// is none) unless another parent is given. Not on the disk by default: on an ext4 file system without a
// journal, as the development machine has, each new file walks past every inode freed nearby in the
// last minutes, so the copies of a batch run cost several times as much after thousands of deletions
// (by the run before, or by any other program) as on a quiet disk, and the figures would measure what
// happened before the run rather than the program.
class BenchWorkspace {
  public:
    BenchWorkspace(const PhotoFolderPlan& plan, const std::string& scratchParent);
    ~BenchWorkspace();
    BenchWorkspace(const BenchWorkspace&) = delete;
    BenchWorkspace& operator=(const BenchWorkspace&) = delete;

    const CheckSettings& settings() const { return settings_; }
    Database& database() { return workspace_->database(); }
    const std::string& workFolder() const { return workspace_->folder(); }  // with its final separator
    const std::string& photoFolder() const { return photoFolder_; }
    const std::vector<std::string>& folderPhotos() const { return folderPhotos_; }
    // A pair of result folders that no run has used yet, named after `what`, in a new folder of the
    // scratch folder (which the run creates).
    ResultFolders freshResultFolders(const std::string& what) const;

    // A photo of the bundled sample set in samples/.
    static std::string samplePhoto(const std::string& fileName);

  private:
    std::string root_;
    std::string photoFolder_;
    std::vector<std::string> folderPhotos_;
    std::optional<Workspace> workspace_;
    CheckSettings settings_;
};

}  // namespace photocheck::bench

#pragma once
#include <optional>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "batch/ResultFolders.h"
#include "batch/Workspace.h"
#include "bench/PhotoFolder.h"

namespace photocheck::bench {

// Everything the benchmarks work on, made once per run in a scratch folder that is removed at the
// end (inside the build folder unless another parent is given): the working folder started as the
// command line starts it (Workspace::open: the working files from the data package beside the
// executable, the open database, the thresholds of the installed parameter file), and the generated photo
// folder of the batch run. The batch runs put their copies into result folders of their own.
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

#include "bench/BenchWorkspace.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "platform/ExecutableFolder.h"

namespace photocheck::bench {
namespace {

// Where the scratch folder goes when none is given: the memory file system where there is one, else
// the build folder (beside bin/).
std::string defaultScratchParent() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm/";
    return executableFolder() + "../";
}

// A new folder inside the given one, or inside the default parent when none is given.
std::string makeScratchRoot(const std::string& parent) {
    const std::string base = parent.empty() ? defaultScratchParent() : parent + "/";
    std::string name = base + "bench-scratch-XXXXXX";
    if (!mkdtemp(name.data())) throw std::runtime_error("Cannot create a scratch folder " + name);
    return name + "/";
}

// A message of the start-up ends the benchmarks: they would measure something else.
[[noreturn]] void stop(const std::string& message) {
    throw std::runtime_error(message);
}

}  // namespace

BenchWorkspace::BenchWorkspace(const PhotoFolderPlan& plan, const std::string& scratchParent)
    : root_(makeScratchRoot(scratchParent)) {
    try {
        WorkspacePrompts prompts;
        prompts.tell = stop;
        workspace_.emplace(Workspace::open(root_ + "work", prompts));
        settings_.params = workspace_->readThresholds(stop);
        photoFolder_ = root_ + "photos";
        std::cerr << "Writing " << plan.count << " photos (" << plan.distinct << " painted) into "
                  << photoFolder_ << "\n";
        folderPhotos_ = writePhotoFolder(photoFolder_, plan);
    } catch (...) {
        std::filesystem::remove_all(root_);
        throw;
    }
}

BenchWorkspace::~BenchWorkspace() {
    workspace_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

ResultFolders BenchWorkspace::freshResultFolders(const std::string& what) const {
    const std::string folder = root_ + "results-" + what + "/";
    std::filesystem::create_directories(folder);
    return {folder + PassedFolderName, folder + FailedFolderName};
}

std::string BenchWorkspace::samplePhoto(const std::string& fileName) {
    return std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/" + fileName;
}

}  // namespace photocheck::bench

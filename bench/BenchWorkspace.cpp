#include "bench/BenchWorkspace.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "platform/ExecutableFolder.h"
#include "store/PackageInstall.h"
#include "store/Parameters.h"

namespace photocheck::bench {
namespace {

// A new folder inside the given one, or inside the build folder (beside bin/) when none is given.
std::string makeScratchRoot(const std::string& parent) {
    const std::string base = parent.empty() ? executableFolder() + "../" : parent + "/";
    std::string name = base + "bench-scratch-XXXXXX";
    if (!mkdtemp(name.data())) throw std::runtime_error("Cannot create a scratch folder " + name);
    return name + "/";
}

// Private, as the window and the command line take only such a working folder.
std::string installWorkFolder(const std::string& root) {
    const std::string work = root + "work/";
    std::filesystem::create_directories(work);
    std::filesystem::permissions(work, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    InstallWorkFiles(work, executableFolder() + PackageFileName, [](const std::string&) { return false; });
    return work;
}

CheckSettings packageSettings(const std::string& work) {
    CheckSettings settings;
    LoadParametersFromFile(work + ParameterFileName, settings.params);
    return settings;
}

}  // namespace

BenchWorkspace::BenchWorkspace(const PhotoFolderPlan& plan, const std::string& scratchParent)
    : root_(makeScratchRoot(scratchParent)) {
    try {
        workFolder_ = installWorkFolder(root_);
        database_ = openWorkDatabase(workFolder_);
        settings_ = packageSettings(workFolder_);
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
    database_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string BenchWorkspace::samplePhoto(const std::string& fileName) {
    return std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/" + fileName;
}

}  // namespace photocheck::bench

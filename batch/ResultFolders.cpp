#include "batch/ResultFolders.h"

#include <optional>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

const std::string Up = std::string(1, PathSeparator) + ".." + PathSeparator;

bool isSameOrInside(const std::string& inner, const std::string& outer) {
    if (inner == outer) return true;
    const std::string prefix = withFinalSeparator(outer);
    return inner.compare(0, prefix.size(), prefix) == 0;
}

// A folder that no longer exists cannot be climbed out of by the file system; its ".." is then
// resolved on the text, as a Windows path would be.
std::string beside(const std::string& photoFolder, const char* name) {
    std::string path = photoFolder + Up + name;
    if (folderExists(photoFolder)) return path;
    return cleanPath(path);
}

// Whether one of the folders of a canonical path is named like a result folder.
bool hasResultFolderOnTheWay(const std::string& canonical) {
    size_t start = 0;
    while (start < canonical.size()) {
        size_t end = canonical.find_first_of(PathSeparators, start);
        if (end == std::string::npos) end = canonical.size();
        const std::string name = canonical.substr(start, end - start);
        if (name == PassedFolderName || name == FailedFolderName) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

ResultFolders resultFoldersBeside(const std::string& photoFolder) {
    return {beside(photoFolder, PassedFolderName), beside(photoFolder, FailedFolderName)};
}

bool liesInResultFolder(const std::string& photoFolder, const ResultFolders& folders) {
    const std::optional<std::string> photos = canonicalPath(photoFolder);
    if (!photos) return false;
    if (hasResultFolderOnTheWay(*photos)) return true;
    const auto holdsPhotos = [&photos](const std::string& folder) {
        const std::optional<std::string> result = canonicalPath(folder);
        return result && isSameOrInside(*photos, *result);
    };
    return holdsPhotos(folders.passed) || holdsPhotos(folders.failed);
}

std::optional<std::string> linkedResultFolder(const ResultFolders& folders) {
    for (const std::string* folder : {&folders.failed, &folders.passed})
        if (isLink(*folder)) return *folder;
    return std::nullopt;
}

}  // namespace photocheck

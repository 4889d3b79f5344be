#pragma once
#include <optional>
#include <string>

namespace photocheck {

inline const char* const PassedFolderName = "合格照片";
inline const char* const FailedFolderName = "不合格照片";

// The two folders that receive the copies of a run.
struct ResultFolders {
    std::string passed;
    std::string failed;
};

// PhotoFolder + "/../合格照片" and PhotoFolder + "/../不合格照片", formed by plain concatenation and
// left to the file system to resolve: the siblings of the photo folder, or folders inside a root.
// For a photo folder that does not exist the ".." is resolved on the text.
ResultFolders resultFoldersBeside(const std::string& photoFolder);

// True when the photo folder is one of the result folders or lies inside one of them, its own ones
// or any folder named "合格照片" or "不合格照片" on its way (the result folders of a run over another
// folder): emptying the result folders could then delete the photos before they are read, and a run
// over the copies of a run would mix them with its own. Links are resolved first.
bool liesInResultFolder(const std::string& photoFolder, const ResultFolders& folders);

// The first result folder that is a link, if any. A run refuses one: emptying it would empty
// whatever folder it points to.
std::optional<std::string> linkedResultFolder(const ResultFolders& folders);

}  // namespace photocheck

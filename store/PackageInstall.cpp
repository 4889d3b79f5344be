#include "store/PackageInstall.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "platform/FileSystem.h"
#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "platform/WorkFolderLock.h"
#include "store/Database.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

void deleteIgnoringFailure(const std::string& path) {
    removeFile(path);
}

// The database with its journal files, so that an old journal is never replayed into a new database.
void deleteDatabase(const std::string& workFolder) {
    const std::string database = workFolder + DatabaseFileName;
    deleteIgnoringFailure(database);
    deleteIgnoringFailure(database + "-wal");
    deleteIgnoringFailure(database + "-shm");
}

void createFolderOneLevel(const std::string& workFolder) {
    const std::string folder = withoutFinalSeparator(workFolder);
    if (!folderExists(folder)) createFolder(folder, FolderAccess::Private);
}

}  // namespace

std::vector<std::string> missingWorkFiles(const std::string& workFolder) {
    std::vector<std::string> missing;
    for (const char* name : {ReadmeFileName, VersionsFileName, DatabaseFileName, ParameterFileName})
        if (!pathExists(workFolder + name)) missing.emplace_back(name);
    return missing;
}

void InstallWorkFiles(const std::string& workFolder, const std::string& packagePath,
                      const OverwritePrompt& prompt, const ZipErrorReport& report) {
    createFolderOneLevel(workFolder);
    if (missingWorkFiles(workFolder).empty()) return;

    deleteIgnoringFailure(workFolder + ReadmeFileName);
    deleteIgnoringFailure(workFolder + VersionsFileName);
    deleteDatabase(workFolder);
    deleteIgnoringFailure(workFolder + ParameterFileName);

    ZipExtractor extractor;
    extractor.ZipName = packagePath;
    extractor.DestDir = workFolder;
    extractor.Password = PackagePassword;
    extractor.RecreateDirs = true;
    extractor.onOverwrite = prompt;
    extractor.onError = report;
    extractor.UnZip();
}

void CleanUpWorkFiles(const std::string& workFolder) {
    deleteIgnoringFailure(workFolder + ReadmeFileName);
    deleteIgnoringFailure(workFolder + VersionsFileName);
    deleteIgnoringFailure(workFolder + ParameterFileName);
    deleteDatabase(workFolder);
}

bool isWorkingFile(const std::string& path, const std::string& workFolder) {
    const std::string database = DatabaseFileName;
    const std::initializer_list<std::string> names = {
        ReadmeFileName,    VersionsFileName,      database,          database + "-wal",
        database + "-shm", database + "-journal", ParameterFileName, LockFileName};
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return sameEntry(path, workFolder + name); });
}

}  // namespace photocheck

#include "store/PackageInstall.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/OperatorError.h"
#include "platform/WorkFolderLock.h"
#include "store/Database.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void deleteIgnoringFailure(const std::string& path) {
    ::unlink(path.c_str());
}

// The database with its journal files, so that an old journal is never replayed into a new database.
void deleteDatabase(const std::string& workFolder) {
    const std::string database = workFolder + DatabaseFileName;
    deleteIgnoringFailure(database);
    deleteIgnoringFailure(database + "-wal");
    deleteIgnoringFailure(database + "-shm");
}

void createFolderOneLevel(const std::string& workFolder) {
    std::string folder = workFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
    if (::mkdir(folder.c_str(), 0700) != 0)
        throw OperatorError("无法创建文件夹 " + folder + "：" + std::strerror(errno));
}

}  // namespace

std::vector<std::string> missingWorkFiles(const std::string& workFolder) {
    std::vector<std::string> missing;
    for (const char* name : {ReadmeFileName, VersionsFileName, DatabaseFileName, ParameterFileName})
        if (!exists(workFolder + name)) missing.emplace_back(name);
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
    for (const std::string& name : {std::string(ReadmeFileName), std::string(VersionsFileName), database,
                                    database + "-wal", database + "-shm", database + "-journal",
                                    std::string(ParameterFileName), std::string(LockFileName)})
        if (sameEntry(path, workFolder + name)) return true;
    return false;
}

}  // namespace photocheck

#include "cli/WorkingFolder.h"

#include <exception>

#include "platform/ExecutableFolder.h"
#include "platform/WorkFolder.h"
#include "platform/WorkFolderLock.h"
#include "store/PackageInstall.h"

namespace photocheck {
namespace {

// Like the window at start, a working file that is already there is kept, and an installation
// error is shown and passed over: the database may still be there.
void installWorkFiles(const std::string& work, std::ostream& err) {
    try {
        InstallWorkFiles(work, executableFolder() + PackageFileName,
                         [](const std::string&) { return false; });
    } catch (const std::exception& e) {
        err << "无法从数据包 " << PackageFileName << " 安装工作文件：" << e.what() << '\n';
    }
}

std::unique_ptr<Database> openDatabase(const std::string& work) {
    try {
        return openWorkDatabase(work);
    } catch (const std::exception& e) {
        throw CommandFailed(e.what());  // "找不到数据库，程序将退出" and the engine's reason
    }
}

}  // namespace

WorkingFolder openWorkingFolder(const std::string& workFolderOption, std::ostream& err) {
    WorkingFolder working;
    working.folder = prepareWorkFolder(workFolderOption);
    {
        // The installation may delete the database: never under a run that works on it.
        const WorkFolderLock installing(working.folder);
        installWorkFiles(working.folder, err);
    }
    working.database = openDatabase(working.folder);
    return working;
}

void refuseWorkingFileAsOutput(const std::string& path, const char* what,
                               const std::string& workFolderOption) {
    if (path.empty()) return;
    const std::string work = prepareWorkFolder(workFolderOption);
    if (isWorkingFile(path, work))
        throw CommandFailed(std::string(what) + " " + path + " 是工作文件夹 " + work +
                            " 中的工作文件（数据库等），写入会毁掉它；请换一个文件名");
}

}  // namespace photocheck

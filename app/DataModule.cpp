#include "app/DataModule.h"

#include <exception>

#include "app/Messages.h"
#include "platform/WorkFolder.h"
#include "platform/WorkFolderLock.h"
#include "store/PackageInstall.h"

namespace photocheck {
namespace {

std::string workFolderOf(const std::string& requested) {
    try {
        return prepareWorkFolder(requested);
    } catch (const std::exception& e) {
        showErrorReport(nullptr, e);
        throw ProgramEnds(e.what());
    }
}

void installWorkFiles(const std::string& workFolder, const std::string& packagePath) {
    const OverwritePrompt replace = [](const std::string& fileName) {
        return askYesNo(nullptr, OverwriteCaption, overwriteQuestion(fileName));
    };
    const ZipErrorReport report = [](const std::string& caption, const std::string& text) {
        showMessage(nullptr, text, caption);
    };
    try {
        // The installation may delete the database: never under a run that works on it.
        const WorkFolderLock installing(workFolder);
        InstallWorkFiles(workFolder, packagePath, replace, report);
    } catch (const std::exception& e) {
        showErrorReport(nullptr, e);
    }
}

std::unique_ptr<Database> openDatabase(const std::string& workFolder) {
    try {
        return openWorkDatabase(workFolder);
    } catch (const std::exception& e) {
        showMessage(nullptr, e.what());  // "找不到数据库，程序将退出" and the engine's reason
        throw ProgramEnds(e.what());
    }
}

}  // namespace

Tdm::Tdm(const std::string& requestedWorkFolder, const std::string& packagePath)
    : workFolder_(workFolderOf(requestedWorkFolder)) {
    installWorkFiles(workFolder_, packagePath);
    connection_ = openDatabase(workFolder_);
}

}  // namespace photocheck

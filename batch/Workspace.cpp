#include "batch/Workspace.h"

#include <exception>

#include "batch/OperatorMessage.h"
#include "platform/ExecutableFolder.h"
#include "platform/OperatorError.h"
#include "platform/WorkFolder.h"
#include "platform/WorkFolderLock.h"
#include "store/Parameters.h"

namespace photocheck {
namespace {

void tellIfAny(const std::function<void(const std::string&)>& tell, const std::string& message) {
    if (tell) tell(message);
}

std::string installFailedMessage(const std::exception& error) {
    return std::string("无法从数据包 ") + PackageFileName + " 安装工作文件：" + operatorMessage(error);
}

void installWorkFiles(const std::string& folder, const std::string& packagePath,
                      const WorkspacePrompts& prompts) {
    if (missingWorkFiles(folder).empty()) return;  // nothing to install: no lock needed
    const OverwritePrompt replace = [&prompts](const std::string& fileName) {
        return prompts.replaceFile && prompts.replaceFile(fileName);
    };
    try {
        // The installation may delete the database: never under a run that works on it.
        const WorkFolderLock installing(folder);
        InstallWorkFiles(folder, packagePath, replace, prompts.zipError);
    } catch (const std::exception& e) {
        tellIfAny(prompts.tell, installFailedMessage(e));
    }
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "、") + name;
    return text;
}

[[noreturn]] void refuseIncomplete(const std::string& folder, const std::vector<std::string>& missing) {
    throw OperatorError("工作文件夹 " + folder + " 中缺少工作文件 " + joined(missing) +
                        "，查询只读取，不会安装或改动任何文件：请先用窗口程序或 photocheck-cli batch "
                        "做一次检测，它们会安装工作文件");
}

}  // namespace

std::string packageBesideProgram() {
    return executableFolder() + PackageFileName;
}

Workspace::Workspace(std::string folder, std::unique_ptr<Database> database)
    : folder_(std::move(folder)), database_(std::move(database)) {}

Workspace Workspace::open(const std::string& requestedFolder, const WorkspacePrompts& prompts,
                          const std::string& packagePath) {
    std::string folder = prepareWorkFolder(requestedFolder);
    installWorkFiles(folder, packagePath, prompts);
    std::unique_ptr<Database> database = openWorkDatabaseRepairing(folder);
    return Workspace(std::move(folder), std::move(database));
}

Workspace Workspace::openForReading(const std::string& requestedFolder) {
    std::string folder = workFolderAsItStands(requestedFolder);
    if (const auto missing = missingWorkFiles(folder); !missing.empty()) refuseIncomplete(folder, missing);
    std::unique_ptr<Database> database = openWorkDatabase(folder);
    return Workspace(std::move(folder), std::move(database));
}

void Workspace::refuseAsOutput(const std::string& path, const char* what) const {
    if (!path.empty() && isWorkingFile(path, folder_))
        throw OperatorError(std::string(what) + " " + path + " 是工作文件夹 " + folder_ +
                            " 中的工作文件（数据库等），写入会毁掉它；请换一个文件名");
}

std::string Workspace::parameterFile() const {
    return folder_ + ParameterFileName;
}

DetectionParameters Workspace::readThresholds(const std::function<void(const std::string&)>& tell) const {
    DetectionParameters params;
    try {
        LoadParametersFromFile(parameterFile(), params, tell);
    } catch (const std::exception& e) {
        tellIfAny(tell, operatorMessage(e));
    }
    return params;
}

}  // namespace photocheck

#include "app/DataModule.h"

#include <exception>

#include "app/Messages.h"

namespace photocheck {
namespace {

WorkspacePrompts messageBoxes() {
    WorkspacePrompts prompts;
    prompts.replaceFile = [](const std::string& fileName) {
        return askYesNo(nullptr, OverwriteCaption, overwriteQuestion(fileName));
    };
    prompts.zipError = [](const std::string& caption, const std::string& text) {
        showMessage(nullptr, text, caption);
    };
    prompts.tell = [](const std::string& message) { showErrorReport(nullptr, message); };
    return prompts;
}

Workspace openWorkspace(const std::string& requestedWorkFolder, const std::string& packagePath) {
    try {
        return Workspace::open(requestedWorkFolder, messageBoxes(), packagePath);
    } catch (const DatabaseMissing& e) {
        showMessage(nullptr, e.what());  // "找不到数据库，程序将退出" and the engine's reason
        throw ProgramEnds(e.what());
    } catch (const std::exception& e) {  // a working folder that is refused
        showErrorReport(nullptr, e);
        throw ProgramEnds(e.what());
    }
}

}  // namespace

Tdm::Tdm(const std::string& requestedWorkFolder, const std::string& packagePath)
    : workspace_(openWorkspace(requestedWorkFolder, packagePath)) {}

}  // namespace photocheck

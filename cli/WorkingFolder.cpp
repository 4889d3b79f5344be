#include "cli/WorkingFolder.h"

#include <exception>

#include "platform/ExecutableFolder.h"
#include "platform/WorkFolder.h"
#include "store/PackageInstall.h"

namespace photocheck {
namespace {

std::string workFolderOf(const std::string& option) {
    return option.empty() ? defaultWorkFolder() : prepareWorkFolder(option);
}

// Like the window at start, a working file that is already there is kept, and an installation
// error is shown and passed over: the database may still be there.
void installWorkFiles(const std::string& work, std::ostream& err) {
    try {
        InstallWorkFiles(work, executableFolder() + PackageFileName,
                         [](const std::string&) { return false; });
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
}

std::unique_ptr<Database> openDatabase(const std::string& work) {
    try {
        return openWorkDatabase(work);
    } catch (const std::exception&) {
        throw CommandFailed(DatabaseMissingMessage);
    }
}

}  // namespace

WorkingFolder openWorkingFolder(const std::string& workFolderOption, std::ostream& err) {
    WorkingFolder working;
    working.folder = workFolderOf(workFolderOption);
    installWorkFiles(working.folder, err);
    working.database = openDatabase(working.folder);
    return working;
}

}  // namespace photocheck

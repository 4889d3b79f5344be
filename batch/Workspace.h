#pragma once
#include <functional>
#include <memory>
#include <string>

#include "store/Database.h"
#include "store/DetectionParameters.h"
#include "store/PackageInstall.h"

namespace photocheck {

// What the start-up asks the operator and tells them, in the words of the window or the command line.
// Each may be left empty: a question then gets No, a message is dropped.
struct WorkspacePrompts {
    OverwritePrompt replaceFile;  // a file the package would write is there still: Yes replaces it
    ZipErrorReport zipError;      // a member of the package that cannot be extracted ("Zip Error")
    std::function<void(const std::string& message)> tell;  // a message for the operator, already in words
};

// The package "xl.oef" beside the running program.
std::string packageBesideProgram();

// The working folder of a program: the folder, its working files and the one database connection.
// The window and the command line start through it alike.
class Workspace {
  public:
    // Start-up of the window and of a command that writes. Prepares the working folder
    // (prepareWorkFolder: the system's one when `requestedFolder` is empty); then, under the folder's
    // lock, so never while a run works there, installs the working files when one of the four is
    // missing: all four afresh from the package, so the last run's rows and an edited parameter file
    // are replaced too. An installation error (a busy folder included) is told, in Chinese with its
    // reason, and passed over, as the database may still be there. Then opens the database, removing
    // journal files left read-only where they keep it from opening (openWorkDatabaseRepairing).
    // Raises WorkFolderError for a folder that is refused, and DatabaseMissing when the database does
    // not open.
    static Workspace open(const std::string& requestedFolder, const WorkspacePrompts& prompts,
                          const std::string& packagePath = packageBesideProgram());

    // For a command that only reads: the working folder as it stands, with all four working files,
    // and its database. Nothing is created, installed, locked or changed. A folder that is missing
    // or lacks a working file raises OperatorError saying which files are missing and what to do;
    // a folder that is refused raises WorkFolderError, a database that does not open DatabaseMissing.
    static Workspace openForReading(const std::string& requestedFolder);

    // Refuses, with OperatorError, an output file the operator named (`what` says which: "CSV 文件")
    // that is one of the working files here: writing it would destroy the database or another one.
    void refuseAsOutput(const std::string& path, const char* what) const;

    const std::string& folder() const { return folder_; }  // with its final separator
    Database& database() const { return *database_; }
    std::string parameterFile() const;

    // The thresholds of the parameter file. A value that is not a whole number is told, and the
    // thresholds read before it are kept (the later ones stay 0).
    DetectionParameters readThresholds(const std::function<void(const std::string& message)>& tell) const;

  private:
    Workspace(std::string folder, std::unique_ptr<Database> database);
    std::string folder_;
    std::unique_ptr<Database> database_;
};

}  // namespace photocheck

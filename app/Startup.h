#pragma once
#include <memory>
#include <string>

#include "app/DataModule.h"
#include "app/MainWindow.h"
#include "app/ParametersDialog.h"

class QApplication;

namespace photocheck {

// photocheck [FOLDER] [--work-folder DIR]
struct CommandLine {
    std::string photoFolder;  // taken as the chosen photo folder; empty when none is given
    std::string workFolder;   // the system's working folder when empty
};

// Prints the usage and ends the program when the command line asks for --help; done before the
// window system is reached, so it works without a display.
void answerHelp(int argc, char** argv);

// The command line without the options the application took for itself; a usage error prints its
// text and ends the program with status 1.
CommandLine parseCommandLine(const QStringList& arguments);

// The program's look: its name and icon, the Fusion style (whose window colour is the button face
// of the form) and the CJK font at the form's 11-pixel height, so every Chinese text renders; Qt's
// Chinese translation; and large blocks of memory mapped apart (mapLargeBlocksApart), so the grid's
// list of rows grows without leaving its old copies behind.
void prepareApplication(QApplication& app);

// The three objects of the running program, created in this order: the data module, the main
// window, and the settings dialog, hidden (its creation loads the thresholds the checks read).
struct Desktop {
    explicit Desktop(const CommandLine& commandLine);
    Tdm dm;
    TFrmMain frmMain;
    TfrmPreParameters frmPreParameters;
};

// Creates the three objects; nothing when the program cannot start (the operator has been told why,
// for instance "找不到数据库，程序将退出").
std::unique_ptr<Desktop> startDesktop(const CommandLine& commandLine);

// Starts the program, shows the main window and runs until it closes. Returns the exit status: 1
// when the program could not start.
int runDesktop(const CommandLine& commandLine);

}  // namespace photocheck

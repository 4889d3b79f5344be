#include <QApplication>

#include "app/Startup.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
    const photocheck::ConsoleStreams console;  // the help and usage errors in Chinese, on Windows too
    photocheck::answerHelp(argc, argv);
    QApplication app(argc, argv);  // takes the options of the window system (-platform, -style, ...)
    const photocheck::CommandLine commandLine = photocheck::parseCommandLine(QApplication::arguments());
    photocheck::prepareApplication(app);
    return photocheck::runDesktop(commandLine);
}

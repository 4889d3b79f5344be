#include "app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "app/Messages.h"
#include "app/ToolbarIcons.h"
#include "batch/BatchRun.h"
#include "batch/Workspace.h"
#include "platform/ProcessMemory.h"

namespace photocheck {
namespace {

const char* const CjkFont = "WenQuanYi Micro Hei";
constexpr int FormFontPixels = 11;

QCommandLineOption describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Varnel电子照片检测: checks candidates' ID photos in a window. FOLDER is taken as the chosen photo "
        "folder; the toolbar's run button then checks every file below it.");
    parser.addOption({{"h", "help"}, "Shows this help."});
    parser.addPositionalArgument("FOLDER", "The photo folder, as if chosen with the folder button",
                                 "[FOLDER]");
    const QCommandLineOption workFolder(
        "work-folder", "Working folder for the database and the parameter file (default: the system's)",
        "DIR");
    parser.addOption(workFolder);
    return workFolder;
}

QString usage() {
    QCommandLineParser parser;
    describeCommandLine(parser);
    return parser.helpText().replace("<executable_name>", "photocheck");
}

}  // namespace

void answerHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(qPrintable(usage()), stdout);
            std::exit(0);
        }
    }
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption workFolder = describeCommandLine(parser);
    const bool understood = parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();
    if (!understood || positional.size() > 1) {
        const QString error = understood ? QString("Only one FOLDER can be given.") : parser.errorText();
        std::fputs(qPrintable(error + "\n\n" + usage()), stderr);
        std::exit(1);
    }
    return {chosenPhotoFolder(positional.value(0).toStdString()), parser.value(workFolder).toStdString()};
}

namespace {

// Qt's own texts (the folder and file dialogs, the standard buttons) in Chinese, from Qt's translation
// qtbase_zh_CN.qm (Debian: qt6-translations-l10n). Without it they stay English, and stderr says why.
void loadQtChinese(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_", folder)) {
        QApplication::installTranslator(translator);
        return;
    }
    std::fputs(qPrintable("找不到 Qt 的中文翻译 qtbase_zh_CN.qm（" + folder +
                          "），对话框和标准按钮将显示为英文；请安装 qt6-translations-l10n\n"),
               stderr);
}

}  // namespace

void prepareApplication(QApplication& app) {
    mapLargeBlocksApart();
    loadQtChinese(app);
    app.setApplicationName("photocheck");
    app.setDesktopFileName("photocheck");
    app.setWindowIcon(programIcon());
    app.setStyle("Fusion");
    QFont font(CjkFont);
    font.setPixelSize(FormFontPixels);
    app.setFont(font);
}

Desktop::Desktop(const CommandLine& commandLine)
    : dm(commandLine.workFolder, packageBesideProgram()),
      frmMain(dm, commandLine.photoFolder),
      frmPreParameters(dm, frmMain.parameters(), &frmMain) {
    frmMain.attachSettingsDialog(frmPreParameters);
}

std::unique_ptr<Desktop> startDesktop(const CommandLine& commandLine) {
    try {
        return std::make_unique<Desktop>(commandLine);
    } catch (const ProgramEnds&) {
        return nullptr;
    }
}

int runDesktop(const CommandLine& commandLine) {
    const std::unique_ptr<Desktop> desktop = startDesktop(commandLine);
    if (!desktop) return 1;
    desktop->frmMain.show();
    return QApplication::exec();
}

}  // namespace photocheck

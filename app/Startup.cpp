#include "app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/Messages.h"
#include "app/ToolbarIcons.h"
#include "batch/BatchRun.h"
#include "batch/Workspace.h"
#include "platform/ProcessMemory.h"

namespace photocheck {
namespace {

// The form's CJK font: on Windows the UI font of a Chinese system (Microsoft YaHei, SimSun before Vista),
// elsewhere Debian's fonts-wqy-microhei.
#ifdef Q_OS_WIN
const QStringList CjkFonts = {"Microsoft YaHei", "SimSun"};
#else
const QStringList CjkFonts = {"WenQuanYi Micro Hei"};
#endif
constexpr int FormFontPixels = 11;

// The help in the operator's language, as photocheck-cli gives its own.
const char* const Usage =
    "用法：photocheck [选项] [FOLDER]\n"
    "Varnel电子照片检测：在窗口中检测考生的电子证件照。\n"
    "\n"
    "位置参数：\n"
    "  FOLDER             照片文件夹，如同用工具栏的文件夹按钮选定；工具栏的检测按钮随后检测其下的每个文件\n"
    "\n"
    "选项：\n"
    "  -h, --help         显示此帮助并退出\n"
    "  --work-folder DIR  存放数据库和参数文件的工作文件夹（默认：系统临时文件夹中的）\n"
    "\n"
    "Qt 的窗口系统选项（例如 -platform offscreen）也可以使用。\n";

QCommandLineOption describeCommandLine(QCommandLineParser& parser) {
    parser.addOption({{"h", "help"}, {}});
    const QCommandLineOption workFolder("work-folder", {}, "DIR");
    parser.addOption(workFolder);
    return workFolder;
}

// A usage error in the operator's words, Qt's own text after it.
[[noreturn]] void refuseCommandLine(const QString& detail) {
    std::cerr << ("命令行有误（" + detail + "）。用 --help 查看用法。\n").toStdString() << std::flush;
    std::exit(1);
}

}  // namespace

void answerHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::cout << Usage << std::flush;
            std::exit(0);
        }
    }
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption workFolder = describeCommandLine(parser);
    const bool understood = parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();
    if (!understood) refuseCommandLine(parser.errorText());
    if (positional.size() > 1) refuseCommandLine("只能给出一个照片文件夹 FOLDER");
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
    QApplication::setApplicationName("photocheck");
    QApplication::setDesktopFileName("photocheck");
    QApplication::setWindowIcon(programIcon());
    QApplication::setStyle("Fusion");
    QFont font(CjkFonts.first());
    font.setFamilies(CjkFonts);  // the next where the first is missing
    font.setPixelSize(FormFontPixels);
    QApplication::setFont(font);
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

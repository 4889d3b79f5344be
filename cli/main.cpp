#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>
#include <thread>

#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"

namespace {

using photocheck::BatchCommandOptions;
using photocheck::CheckCommandOptions;

const char* const Description =
    "photocheck-cli: checks candidates' ID photos without the window.\n"
    "Every photo is judged \"合格\" (passed) or \"不合格\" (failed) by the file check (JPG, 390*567 pixels, "
    "file size), the background and clarity check and the face feature check, in this order; the first "
    "failed check gives the reason.";

const char* const CheckFooter =
    "Output: one JSON object per file and line, in the order of the files:\n"
    "  {\"file\": <path as given>, \"insert\": <the INSERT statement of its row>, \"verdict\": \"合格\" or "
    "\"不合格\", \"log\": [<log pane lines of this photo>]}\n"
    "A file that cannot be read or checked gives {\"file\": <path>, \"error\": <message>} and the next file "
    "follows. Bytes of a file name that are not UTF-8 appear as U+FFFD.\n"
    "Thresholds are 0 unless --params or the single options set them; the single options win. The hair top "
    "row found in one photo carries over to the next, as in a batch run.\n"
    "Exit status: 0 when every file was judged, 1 when a file gave an error or the parameter file is bad.";

const char* const BatchFooter =
    "Like the window at start, the working folder receives the working files from the package xl.oef beside "
    "this program when one is missing (existing ones are kept), the database there is opened and the "
    "thresholds are read from its SetParameters.ini. Then every file below FOLDER is judged: one row per "
    "file in the table pictureMsg (emptied first), a copy in the folder 合格照片 or 不合格照片 beside FOLDER "
    "(both emptied of files first; a copy never replaces a file). The log lines (the count, unreadable "
    "files, the pass rate) are printed; on a terminal a progress bar shows the photos done, elsewhere one "
    "line per photo. The working files stay in place.\n"
    "Exit status: 0 after a completed run, 1 after a refusal or an error (the message says which).";

void addCheckCommand(CLI::App& app, CheckCommandOptions& o) {
    CLI::App* check = app.add_subcommand("check", "Judge single photos and print their rows as JSON lines");
    check->footer(CheckFooter);
    check->add_option("FILE", o.files, "Photo files to judge")->required();
    check->add_flag("--debug", o.debug,
                    "Debug mode (调试模式): the checks write their measurements to \"log\"");
    check->add_flag("--pupils", o.pupils,
                    "Judge the pupils (是否判断瞳孔): too few pupil marks fail a photo");
    check->add_option("--params", o.paramsFile,
                      "Read the thresholds from a parameter file like SetParameters.ini");
    check->add_option("--size-kb", o.sizeKb, "Smallest accepted file size in KB");
    check->add_option("--blue", o.blue, "Smallest accepted blue background percentage");
    check->add_option("--clarity", o.clarity, "Largest accepted clarity count");
    check->add_option("--regular", o.regular, "Smallest accepted uprightness percentage");
    check->add_option("--head", o.head, "Smallest accepted head height percentage");
}

void addBatchCommand(CLI::App& app, BatchCommandOptions& o) {
    CLI::App* batch = app.add_subcommand("batch", "Run the batch check over a folder and its subfolders");
    batch->footer(BatchFooter);
    batch->add_option("FOLDER", o.folder, "The photo folder")->required();
    batch->add_flag("--pupils", o.pupils,
                    "Judge the pupils (是否判断瞳孔): too few pupil marks fail a photo");
    batch->add_option("--verdict", o.verdict, "The results shown after the run (and written by --csv)")
        ->check(CLI::IsMember({"全部", "合格", "不合格"}))
        ->capture_default_str();
    batch->add_option("--csv", o.csvFile,
                      "Write the results as CSV (UTF-8 with BOM, header row, every column of pictureMsg, "
                      "trimmed text; one row per file with --verdict 全部)");
    batch->add_flag("--show-results", o.showResults,
                    "After the summary, list the results as the window's grid shows them: file name, "
                    "verdict, reason");
    batch->add_option("--work-folder", o.workFolder,
                      "Working folder for the database and the parameter file (default: the system's)");
    batch
        ->add_option("-j,--jobs", o.threads,
                     "Photos judged side by side (default: one per core, at most 8); the output is the same "
                     "for any number")
        ->check(CLI::Range(1, 256))
        ->capture_default_str();
}

// A usage error in the operator's words, CLI11's own text after it.
std::string usageMessage(const CLI::ParseError& e) {
    const char* what = "命令行有误";
    if (dynamic_cast<const CLI::RequiredError*>(&e))
        what = "缺少必需的参数";
    else if (dynamic_cast<const CLI::ExtrasError*>(&e))
        what = "有多余的或不认识的参数";
    else if (dynamic_cast<const CLI::ValidationError*>(&e))
        what = "参数值不在允许的范围内";
    else if (dynamic_cast<const CLI::ConversionError*>(&e))
        what = "参数值的格式不对";
    else if (dynamic_cast<const CLI::ArgumentMismatch*>(&e))
        what = "参数值的个数不对";
    return std::string(what) + "（" + e.what() + "）。用 --help 查看用法。";
}

// One thread per core, but not so many that the photos in work outgrow a small memory.
int defaultThreads() {
    constexpr unsigned MostThreadsByDefault = 8;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, MostThreadsByDefault));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(Description, "photocheck-cli");
    app.require_subcommand(1);
    CheckCommandOptions check;
    BatchCommandOptions batch;
    batch.threads = defaultThreads();
    addCheckCommand(app, check);
    addBatchCommand(app, batch);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help
    } catch (const CLI::ParseError& e) {
        std::cerr << usageMessage(e) << '\n';
        return 1;
    }

    if (app.got_subcommand("check")) return photocheck::runCheckCommand(check, std::cout, std::cerr);
    batch.terminal = isatty(STDOUT_FILENO) != 0;
    return photocheck::runBatchCommand(batch, std::cout, std::cerr);
}

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "batch/BatchRun.h"
#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"
#include "cli/QueryCommand.h"

namespace {

using photocheck::BatchCommandOptions;
using photocheck::CheckCommandOptions;
using photocheck::QueryCommandOptions;

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

const char* const QueryFooter =
    "Builds the statement from the filter as the window's query button does and opens it on the table "
    "pictureMsg of the working database (the working files are installed first where one is missing, as "
    "for batch). Every text is trimmed. A range is FROM-TO, split at the last \"-\": \"20-80\", \"20-\" "
    "(FROM only), \"-80\" (TO only; write --blue=-80); both ends are needed, each a whole number from 0 "
    "to 100. The first range given leads, the others and the verdict follow; without a range the file "
    "name is looked for inside the names; without either the verdict alone is asked for. The verdict "
    "全部, the default as in the window, gives every row whatever else is given: --name takes effect "
    "with another verdict, for instance --verdict ''.\n"
    "Output: the rows as the window's grid shows them (file name, verdict, reason; control characters "
    "escaped), or --csv FILE (as for batch), or --json (one object per row, every column, text trimmed, "
    "NULL as null), or --sql (the statement only; nothing is opened).\n"
    "Exit status: 0 when the rows (or the statement) were printed, 1 where the window shows a message "
    "instead (the message is printed), and after an error.";

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
    check
        ->add_option("--overlay", o.overlayFolder,
                     "Write each judged photo's overlay to DIR/<name>.png (DIR is made when missing): the "
                     "photo with the measured places marked, green passed, red failed, yellow looked at, "
                     "each labelled with its value, and the verdict in a caption strip below")
        ->type_name("DIR");
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
    batch
        ->add_option("--report", o.reportFile,
                     "Write the run report, one self-contained HTML page: summary, thresholds, reasons "
                     "with their counts, and every failed photo's overlay thumbnail grouped by reason")
        ->type_name("FILE.html");
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

void addQueryCommand(CLI::App& app, QueryCommandOptions& o) {
    CLI::App* query = app.add_subcommand("query", "Filter the results of the last run as the window does");
    query->footer(QueryFooter);
    query->add_option("--verdict", o.verdict, "The verdict box (全部, 合格, 不合格 or any text)")
        ->capture_default_str();
    query->add_option("--name", o.name, "The file-name box: part of a file name");
    query->add_option("--blue", o.blue, "Range of the blue percentage, FROM-TO")->type_name("FROM-TO");
    query->add_option("--clarity", o.clarity, "Range of the clarity, FROM-TO")->type_name("FROM-TO");
    query->add_option("--head", o.head, "Range of the head height percentage, FROM-TO")->type_name("FROM-TO");
    query->add_option("--regular", o.regular, "Range of the uprightness percentage, FROM-TO")
        ->type_name("FROM-TO");
    CLI::Option* csv =
        query->add_option("--csv", o.csvFile, "Write the rows as CSV into FILE")->type_name("FILE");
    CLI::Option* json = query->add_flag("--json", o.json, "Print the rows as JSON lines");
    query->add_flag("--sql", o.sql, "Print the statement instead of the rows")->excludes(csv)->excludes(json);
    csv->excludes(json);
    query->add_option("--work-folder", o.workFolder, "Working folder of the database (default: the system's)")
        ->type_name("DIR");
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(Description, "photocheck-cli");
    app.require_subcommand(1);
    CheckCommandOptions check;
    BatchCommandOptions batch;
    QueryCommandOptions query;
    batch.threads = photocheck::defaultBatchThreads();
    addCheckCommand(app, check);
    addBatchCommand(app, batch);
    addQueryCommand(app, query);
    CLI11_PARSE(app, argc, argv);

    if (app.got_subcommand("check")) return photocheck::runCheckCommand(check, std::cout, std::cerr);
    if (app.got_subcommand("query")) return photocheck::runQueryCommand(query, std::cout, std::cerr);
    batch.terminal = isatty(STDOUT_FILENO) != 0;
    return photocheck::runBatchCommand(batch, std::cout, std::cerr);
}

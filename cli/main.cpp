#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "batch/BatchRun.h"
#include "batch/OperatorMessage.h"
#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"
#include "cli/QueryCommand.h"
#include "platform/Console.h"

namespace {

using photocheck::AllVerdicts;
using photocheck::BatchCommandOptions;
using photocheck::CheckCommandOptions;
using photocheck::QueryCommandOptions;
using photocheck::VerdictFailed;
using photocheck::VerdictPassed;

const char* const Description =
    "photocheck-cli：不用窗口检测考生的电子证件照。\n"
    "每张照片依次经过文件检测（JPG 格式、390*567 像素、文件大小）、背景和清晰度检测、面部特征检测，"
    "判为“合格”或“不合格”；第一项未通过的检测给出原因。";

const char* const CheckFooter =
    "输出：按文件的顺序，每个文件一行 JSON：\n"
    "  {\"file\": <给出的路径>, \"insert\": <这一行的 INSERT 语句>, \"verdict\": \"合格\" 或 \"不合格\", "
    "\"log\": [<这张照片的日志行>]}\n"
    "无法读取或检测的文件（文件夹、管道等不是普通文件的也一样，不会被打开）给出 "
    "{\"file\": <路径>, \"error\": <原因>}，然后接着检测下一个文件。文件名中不是 UTF-8 的字节显示为 "
    "U+FFFD。\n"
    "阈值默认为 0，可由 --params 或单项选项设定，单项选项优先。一张照片找到的头发顶行会沿用到下一张，"
    "与批量检测相同。\n"
    "退出状态：每个文件都检测了为 0；有文件出错或参数文件有误为 1；命令行用法有误为 1。";

const char* const BatchFooter =
    "和窗口启动时一样，工作文件夹中四个工作文件（qob.trd、SetParameters.ini、readme.doc、versions.doc）"
    "缺少任何一个时，四个都从本程序旁边的数据包 xl.oef 重新安装：上次检测的各行和改过的参数文件也被替换。"
    "然后打开其中的数据库，并从 SetParameters.ini 读取阈值。工作文件夹必须是私有的：不是链接、属于自己、"
    "其他用户无权访问；--work-folder 指定的文件夹若不存在，则新建为 0700。检测期间工作文件夹被锁定，"
    "同一工作文件夹上的第二个检测会被拒绝。\n"
    "然后检测 FOLDER 下的每个文件：表 pictureMsg（先清空）中每个文件一行，并复制到 FOLDER 旁边的"
    "“合格照片”或“不合格照片”文件夹（两者先删除其中的文件；复制从不覆盖文件）。FOLDER 不存在或不是文件夹、"
    "位于结果文件夹中、结果文件夹是链接、数据库的表无法读写时，检测不会开始，什么也不改动。\n"
    "打印日志行（总数、无法读取的文件、跳过的项目、未能复制的照片、合格率）；在终端上用进度条显示，"
    "否则每张照片一行。工作文件保留在原处。\n"
    "退出状态：检测完成为 0；检测完成但有照片未能复制或旧文件未能删除为 2；被拒绝或出错为 1（消息说明原因）；"
    "命令行用法有误为 1。";

const char* const QueryFooter =
    "像窗口的查询按钮那样由筛选条件组成查询语句，在工作数据库的表 pictureMsg 上执行。"
    "查询只读取：不安装、不改动任何文件；工作文件不全时说明缺少哪些，退出状态为 "
    "1。每段文字都去掉首尾空格。范围写作 FROM-TO，在最后一个 \"-\" 处分开：\"20-80\"、"
    "\"20-\"（只填 FROM）、\"-80\"（只填 TO，写作 --blue=-80）；两端都要填，各为 0 到 100 的整数。"
    "先给出的范围在前，其余范围和结果跟在后面；没有范围时在文件名中查找 --name "
    "的文字；两者都没有时只按结果查询。"
    "结果为“全部”（默认，与窗口相同）时，无论其他条件如何都显示所有行：--name 要和别的结果一起才起作用，"
    "例如 --verdict ''。\n"
    "输出：像窗口的表格那样列出各行（文件名、结果、原因；控制字符转义显示），或 --csv FILE（与 batch 相同），"
    "或 --json（每行一个对象，含每一列，文字去掉首尾空格，NULL 为 null），或 --sql（只打印语句，不执行）。\n"
    "退出状态：打印了各行（或语句）为 0；窗口会显示提示的情况下为 1（打印该提示）；出错为 1。";

// The help in the operator's language; CLI11's own words where it has no label for them.
void useChineseLabels(CLI::App& app) {
    const auto formatter = app.get_formatter();
    formatter->label("Usage", "用法");
    formatter->label("OPTIONS", "选项");
    formatter->label("SUBCOMMAND", "子命令");
    formatter->label("Positionals", "位置参数");
    formatter->label("REQUIRED", "必需");
    app.option_defaults()->group("选项");
    app.set_help_flag("-h,--help", "显示此帮助并退出");
    app.group("子命令");
}

void addCheckCommand(CLI::App& app, CheckCommandOptions& o) {
    CLI::App* check = app.add_subcommand("check", "检测单张照片，以 JSON 行输出它们的结果行");
    useChineseLabels(*check);
    check->footer(CheckFooter);
    check->add_option("FILE", o.files, "要检测的照片文件")->required();
    check->add_flag("--debug", o.debug, "调试模式：各项检测把测量值写入 \"log\"");
    check->add_flag("--pupils", o.pupils, "是否判断瞳孔：瞳孔光点太少的照片不合格");
    check->add_option("--params", o.paramsFile, "从类似 SetParameters.ini 的参数文件读取阈值");
    check->add_option("--size-kb", o.sizeKb, "允许的最小文件大小（KB）");
    check->add_option("--blue", o.blue, "允许的最小蓝色背景百分比");
    check->add_option("--clarity", o.clarity, "允许的最大清晰度计数");
    check->add_option("--regular", o.regular, "允许的最小端正度百分比");
    check->add_option("--head", o.head, "允许的最小头部高度百分比");
    check
        ->add_option(
            "--overlay", o.overlayFolder,
            "把每张检测过的照片的测量图写到 DIR/<名称>.png（DIR 不存在时新建）：照片上标出测量的位置，"
            "绿色为通过，红色为未通过，黄色为查看过的位置，各标有测量值，下方的说明条写明结果")
        ->type_name("DIR");
}

void addBatchCommand(CLI::App& app, BatchCommandOptions& o) {
    CLI::App* batch = app.add_subcommand("batch", "对一个文件夹及其子文件夹做批量检测");
    useChineseLabels(*batch);
    batch->footer(BatchFooter);
    batch->add_option("FOLDER", o.folder, "照片文件夹")->required();
    batch->add_flag("--pupils", o.pupils, "是否判断瞳孔：瞳孔光点太少的照片不合格");
    batch->add_option("--verdict", o.verdict, "检测后显示（以及 --csv 写出）的结果")
        ->check(CLI::IsMember({AllVerdicts, VerdictPassed, VerdictFailed}))
        ->capture_default_str();
    batch->add_option("--csv", o.csvFile,
                      "把结果写成 CSV（带 BOM 的 UTF-8，有标题行，pictureMsg 的每一列，文字去掉首尾空格；"
                      "--verdict 全部 时每个文件一行）；检测开始前先确认它可以写入");
    batch
        ->add_option("--report", o.reportFile,
                     "写出检测报告，一个独立的 HTML 页面：汇总、阈值、各原因及其数目，以及按原因分组的"
                     "每张不合格照片的测量图缩略图")
        ->type_name("FILE.html");
    batch->add_flag("--show-results", o.showResults,
                    "在合格率之后，像窗口的表格那样列出结果：文件名、结果、原因");
    batch->add_option("--work-folder", o.workFolder,
                      "存放数据库和参数文件的工作文件夹（默认：系统临时文件夹中的）");
    batch
        ->add_option("-j,--jobs", o.threads,
                     "同时检测的照片数（默认：每个核一张，最多 8 张）；任何数目的输出都相同")
        ->check(CLI::Range(1, 256))
        ->capture_default_str();
}

void addQueryCommand(CLI::App& app, QueryCommandOptions& o) {
    CLI::App* query = app.add_subcommand("query", "像窗口那样筛选上一次检测的结果");
    useChineseLabels(*query);
    query->footer(QueryFooter);
    query->add_option("--verdict", o.verdict, "结果框（全部、合格、不合格或任意文字）")
        ->capture_default_str();
    query->add_option("--name", o.name, "文件名框：文件名的一部分");
    query->add_option("--blue", o.blue, "蓝比的范围，FROM-TO")->type_name("FROM-TO");
    query->add_option("--clarity", o.clarity, "清晰度的范围，FROM-TO")->type_name("FROM-TO");
    query->add_option("--head", o.head, "头部比的范围，FROM-TO")->type_name("FROM-TO");
    query->add_option("--regular", o.regular, "端正比的范围，FROM-TO")->type_name("FROM-TO");
    CLI::Option* csv = query->add_option("--csv", o.csvFile, "把各行写成 CSV 文件 FILE")->type_name("FILE");
    CLI::Option* json = query->add_flag("--json", o.json, "以 JSON 行打印各行");
    query->add_flag("--sql", o.sql, "只打印查询语句，不打印各行")->excludes(csv)->excludes(json);
    csv->excludes(json);
    query->add_option("--work-folder", o.workFolder, "数据库所在的工作文件夹（默认：系统临时文件夹中的）")
        ->type_name("DIR");
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

// CLI11 reads the arguments as a C program gets them; here they are UTF-8 on every system.
std::vector<char*> argumentPointers(std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return pointers;
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> arguments = photocheck::commandLineArguments(argc, argv);
    std::vector<char*> utf8Argv = argumentPointers(arguments);
    CLI::App app(Description, "photocheck-cli");
    app.allow_windows_style_options(false);  // "/photos" is a path on every system, never an option
    useChineseLabels(app);
    app.require_subcommand(1);
    CheckCommandOptions check;
    BatchCommandOptions batch;
    QueryCommandOptions query;
    batch.threads = photocheck::defaultBatchThreads();
    addCheckCommand(app, check);
    addBatchCommand(app, batch);
    addQueryCommand(app, query);
    try {
        app.parse(static_cast<int>(arguments.size()), utf8Argv.data());
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help
    } catch (const CLI::ParseError& e) {
        std::cerr << usageMessage(e) << '\n';
        return 1;
    }

    if (app.got_subcommand("check")) return photocheck::runCheckCommand(check, std::cout, std::cerr);
    if (app.got_subcommand("query")) return photocheck::runQueryCommand(query, std::cout, std::cerr);
    batch.terminal = photocheck::standardOutputIsTerminal();
    return photocheck::runBatchCommand(batch, std::cout, std::cerr);
}

}  // namespace

// Whatever error reaches here is shown as every other: in the operator's words, exit status 1.
int main(int argc, char** argv) {
    const photocheck::ConsoleStreams console;
    try {
        return runCommandLine(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << photocheck::operatorMessage(e) << '\n';
        return 1;
    }
}

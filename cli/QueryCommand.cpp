#include "cli/QueryCommand.h"

#include <exception>
#include <optional>

#include "batch/OperatorMessage.h"
#include "batch/Workspace.h"
#include "cli/CsvFile.h"
#include "cli/JsonLine.h"
#include "cli/ResultsTable.h"
#include "platform/Files.h"
#include "platform/OperatorError.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace photocheck {
namespace {

Json jsonValue(const SqlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return trimmed(*text);
    if (const auto* number = std::get_if<int64_t>(&value)) return *number;
    return nullptr;
}

void printRowsJson(const Query& results, std::ostream& out) {
    const std::vector<std::string>& columns = results.columnNames();
    results.forEachRow([&](const SqlRow& row) {
        Json object = Json::object();
        for (size_t i = 0; i < columns.size(); ++i) object[columns[i]] = jsonValue(row[i]);
        out << jsonLine(object) << '\n';
    });
}

void openResults(Query& adoPicMsg, const std::string& statement) {
    try {
        OpenSql(adoPicMsg, statement);
    } catch (const DatabaseError& e) {
        throw OperatorError(std::string("查询语句无法执行：") + e.what());
    }
}

}  // namespace

RangeEnds rangeEnds(const std::string& text) {
    const auto dash = text.rfind('-');
    if (dash == std::string::npos) return {text, ""};
    return {text.substr(0, dash), text.substr(dash + 1)};
}

ResultsFilter filterOf(const QueryCommandOptions& options) {
    ResultsFilter filter;
    const RangeEnds blue = rangeEnds(options.blue), clarity = rangeEnds(options.clarity),
                    head = rangeEnds(options.head), regular = rangeEnds(options.regular);
    filter.blueFrom = blue.from;
    filter.blueTo = blue.to;
    filter.clarityFrom = clarity.from;
    filter.clarityTo = clarity.to;
    filter.headFrom = head.from;
    filter.headTo = head.to;
    filter.regularFrom = regular.from;
    filter.regularTo = regular.to;
    filter.verdict = options.verdict;
    filter.fileName = options.name;
    return filter;
}

int runQueryCommand(const QueryCommandOptions& options, std::ostream& out, std::ostream& err) {
    const ResultsQuery query = buildResultsQuery(filterOf(options));
    if (!query.statement) {
        err << query.message << '\n';
        return 1;
    }
    if (options.sql) {
        out << *query.statement << '\n';
        return 0;
    }
    try {
        const Workspace workspace = Workspace::openForReading(options.workFolder);
        workspace.refuseAsOutput(options.csvFile, "CSV 文件");
        std::optional<CsvFile> csv;
        if (!options.csvFile.empty()) csv.emplace(options.csvFile);
        Query adoPicMsg(workspace.database());
        openResults(adoPicMsg, *query.statement);
        if (csv) {
            csv->write(adoPicMsg);
        } else if (options.json) {
            printRowsJson(adoPicMsg, out);
        } else {
            printResultsTable(adoPicMsg, out);
        }
        return 0;
    } catch (const std::exception& e) {
        out.flush();
        err << withControlsEscaped(operatorMessage(e)) << '\n';
        return 1;
    }
}

}  // namespace photocheck

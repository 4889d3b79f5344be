#include "batch/ResultsRun.h"

namespace photocheck {
namespace {

bool hasRunTable(Database& db) {
    const auto found =
        db.firstValue("select count(*) from sqlite_master where type = 'table' and name = 'resultsRun'", {});
    return found && std::get<int64_t>(*found) > 0;
}

}  // namespace

ResultsRun currentResultsRun(Database& db) {
    if (!hasRunTable(db)) return 0;
    const auto run = db.firstValue("select coalesce(max(generation), 0) from resultsRun", {});
    return run ? std::get<int64_t>(*run) : 0;
}

void beginNewResultsRun(Database& db) {
    const ResultsRun next = currentResultsRun(db) + 1;
    db.execute("create table if not exists resultsRun (generation integer not null)");
    db.run("delete from resultsRun", {});
    db.run("insert into resultsRun values (?)", {next});
}

}  // namespace photocheck

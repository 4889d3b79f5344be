#include <benchmark/benchmark.h>

#include "bench/Benchmarks.h"
#include "bench/PeakAllocation.h"
#include "bench/RatioReport.h"
#include "bench/ResultRows.h"
#include "store/ResultsSchema.h"

namespace photocheck::bench {
namespace {

// Fills the table unless it holds that many rows already: the benchmarks of one size fill it once.
void holdRows(Database& db, int rows) {
    const std::optional<SqlValue> held = db.firstValue("select count(*) from pictureMsg", {});
    if (held && *held == SqlValue{int64_t{rows}}) return;
    fillResultsTable(db, rows);
}

// What the window does when it reopens the results: open the statement and fetch the first page, of
// the grid's own size.
size_t openFirstPage(Database& db, const std::string& statement) {
    Query adoPicMsg(db);
    OpenSql(adoPicMsg, statement);
    adoPicMsg.fetchMore(ResultsPageRows - adoPicMsg.fetchedCount());
    return adoPicMsg.fetchedCount();
}

// What the CSV and the command line's table do: every row once, none kept.
size_t goThroughAllRows(Database& db, const std::string& statement) {
    Query adoPicMsg(db);
    OpenSql(adoPicMsg, statement);
    size_t rows = 0;
    adoPicMsg.forEachRow([&rows](const SqlRow&) { ++rows; });
    return rows;
}

using Reading = size_t (*)(Database&, const std::string&);

// The memory one reading allocates at most, in KB.
double peakKb(Reading read, Database& db, const std::string& statement) {
    const PeakAllocation peak;
    benchmark::DoNotOptimize(read(db, statement));
    return peak.kb();
}

void timedReading(benchmark::State& state, BenchWorkspace* workspace, int rows, Reading read,
                  const std::string& statement) {
    Database& db = workspace->database();
    holdRows(db, rows);
    for (auto _ : state) benchmark::DoNotOptimize(read(db, statement));
    state.counters["peak_kb"] = peakKb(read, db, statement);
}

// The statement that reopens every row, and a name filter that finds a single row near the end of the
// table, so that the engine reads the whole table before the first row shows: the slowest first page.
std::string oneNameNearTheEnd(int rows) {
    return RowsWhereStatement + ("Name like '%IMG_" + std::to_string(1000000 + rows).substr(1) + "%'");
}

}  // namespace

void registerResultsBenchmarks(BenchWorkspace& workspace) {
    for (const int rows : ResultsTableSizes) {
        benchmark::RegisterBenchmark(names::firstPage(rows).c_str(), timedReading, &workspace, rows,
                                     openFirstPage, std::string(AllRowsStatement))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(names::firstPageOfOneName(rows).c_str(), timedReading, &workspace, rows,
                                     openFirstPage, oneNameNearTheEnd(rows))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(names::allRows(rows).c_str(), timedReading, &workspace, rows,
                                     goThroughAllRows, std::string(AllRowsStatement))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

}  // namespace photocheck::bench

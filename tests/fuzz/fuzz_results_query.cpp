// Whatever the operator types into the ten filter boxes, the results query is either refused with a
// message or one statement that only reads, which the engine accepts and runs to its end: no quote
// or wildcard typed can break the statement or add another.
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "batch/ResultsQuery.h"
#include "store/Database.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace photocheck;

// A results table with a few rows, made once per fuzzing process.
Database& resultsDatabase() {
    static const std::unique_ptr<Database> db = [] {
        const std::string path = (fuzz::scratchFolder() / "qob.trd").string();
        std::ifstream schema(PHOTOCHECK_SCHEMA);
        std::stringstream sql;
        sql << schema.rdbuf();
        Database::create(path, DatabaseKey).execute(sql.str());
        auto opened = std::make_unique<Database>(path, DatabaseKey);
        opened->execute(
            "insert into pictureMsg (name, mode, bluePercent, result, reason) values "
            "(' a''b%_ ', ' jpg ', 50, '合格', null), (' 照片 ', ' jpg ', 10, '不合格', '照片格式必须是JPG'),"
            "(' x ', ' txt ', null, '不合格', 'r')");
        return opened;
    }();
    return *db;
}

void refuseUnlessOneReadingStatement(Database& db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &raw, &tail) != SQLITE_OK || !raw) std::abort();
    const bool reads = sqlite3_stmt_readonly(raw) != 0;
    sqlite3_finalize(raw);
    if (!reads || std::string(tail).find_first_not_of(" \t\r\n") != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    ResultsFilter filter;
    for (std::string* text :
         {&filter.blueFrom, &filter.blueTo, &filter.clarityFrom, &filter.clarityTo, &filter.headFrom,
          &filter.headTo, &filter.regularFrom, &filter.regularTo, &filter.verdict, &filter.fileName})
        *text = fuzz::withoutZeros(input.ConsumeRandomLengthString(40));
    const ResultsQuery query = buildResultsQuery(filter);
    if (!query.statement) {
        if (query.message.empty()) std::abort();
        return 0;
    }
    Database& db = resultsDatabase();
    refuseUnlessOneReadingStatement(db, *query.statement);
    Query results(db);
    try {
        OpenSql(results, *query.statement);
        results.fetchAll();
    } catch (const DatabaseError&) {
        std::abort();  // the engine refused a statement the filter built
    }
    return 0;
}

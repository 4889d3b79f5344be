#include "store/Database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <regex>

namespace photocheck {
namespace {

std::string engineMessage(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

Statement prepare(sqlite3* db, const std::string& sql, const char** tail = nullptr) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, tail) != SQLITE_OK)
        throw DatabaseError(engineMessage(db));
    return Statement(raw);
}

// Runs "PRAGMA key" and proves that the encrypting engine answered it: the plain SQLite library
// would ignore the key silently and write the file in the clear.
void applyKey(sqlite3* db, const std::string& key) {
    std::string quoted;
    for (char c : key) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    char* err = nullptr;
    if (sqlite3_exec(db, ("PRAGMA key = '" + quoted + "';").c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "PRAGMA key failed";
        sqlite3_free(err);
        throw DatabaseError(msg);
    }
    Statement version = prepare(db, "PRAGMA cipher_version;");
    if (sqlite3_step(version.get()) != SQLITE_ROW || sqlite3_column_text(version.get(), 0) == nullptr)
        throw DatabaseError("the database engine does not encrypt (PRAGMA cipher_version gave no answer)");
}

void configure(sqlite3* db) {
    // Another connection writing (the window's settings while a run stores rows) is waited for a
    // while instead of failing at once with "database is locked".
    sqlite3_busy_timeout(db, 5000);
    // Committed rows survive a crash of the program; no wait for the disk on every row.
    char* err = nullptr;
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, &err);
    sqlite3_free(err);
}

sqlite3* openHandle(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::string msg = engineMessage(db);
        sqlite3_close(db);
        throw DatabaseError(msg);
    }
    return db;
}

SqlValue columnValue(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_NULL:
            return std::monostate{};
        case SQLITE_INTEGER:
            return static_cast<int64_t>(sqlite3_column_int64(s, i));
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            return std::string(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(s, i)));
        }
    }
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Database::Database(const std::string& path, const std::string& key) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) throw DatabaseError("unable to open database file " + path + ": " + std::strerror(errno));
    db_ = openHandle(path, SQLITE_OPEN_READWRITE);
    try {
        applyKey(db_, key);
        // A wrong key shows only when the first page is read. The statement ends before the journal
        // mode changes: the engine refuses that while a statement is active.
        {
            Statement check = prepare(db_, "select count(*) from sqlite_master;");
            if (sqlite3_step(check.get()) != SQLITE_ROW) throw DatabaseError(engineMessage(db_));
        }
        configure(db_);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

Database Database::create(const std::string& path, const std::string& key) {
    sqlite3* db = openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        applyKey(db, key);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    return Database(db);
}

Database::~Database() {
    if (db_) sqlite3_close(db_);
}

void Database::execute(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : engineMessage(db_);
        sqlite3_free(err);
        throw DatabaseError(msg);
    }
}

std::unique_ptr<Database> openWorkDatabase(const std::string& workFolder) {
    try {
        return std::make_unique<Database>(workFolder + DatabaseFileName, DatabaseKey);
    } catch (const DatabaseError& e) {
        throw DatabaseError(std::string(DatabaseMissingMessage) + "（" + e.what() + "）");
    }
}

std::string translateSql(const std::string& sql) {
    static const std::regex deleteStar(R"(^(\s*delete)\s*\*\s*(from\b))", std::regex::icase);
    return std::regex_replace(sql, deleteStar, "$1 $2", std::regex_constants::format_first_only);
}

const SqlValue& Query::value(size_t row, const std::string& column) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (sameIgnoringCase(columns_[i], column)) return rows_.at(row).at(i);
    throw DatabaseError("Field '" + column + "' not found");
}

std::string Query::text(size_t row, const std::string& column) const {
    const SqlValue& v = value(row, column);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* n = std::get_if<int64_t>(&v)) return std::to_string(*n);
    return {};
}

void Query::close() {
    open_ = false;
    columns_.clear();
    rows_.clear();
}

void ExecSql(Query& query, const std::string& sql) {
    query.close();
    query.db_->execute(translateSql(sql));
}

bool OpenSql(Query& query, const std::string& sql) {
    query.close();
    sqlite3* db = query.db_->handle();
    Statement stmt = prepare(db, translateSql(sql));
    const int n = sqlite3_column_count(stmt.get());
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.emplace_back(sqlite3_column_name(stmt.get(), i));
    std::vector<std::vector<SqlValue>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        std::vector<SqlValue> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) row.push_back(columnValue(stmt.get(), i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) throw DatabaseError(engineMessage(db));
    query.columns_ = std::move(names);
    query.rows_ = std::move(rows);
    query.open_ = true;
    return !query.rows_.empty();
}

}  // namespace photocheck

#include "store/Database.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <regex>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/WorkFolderLock.h"
#include "store/LikeMatch.h"

namespace photocheck {
namespace {

std::string engineMessage(sqlite3* db) {
    return db ? sqlite3_errmsg(db) : "out of memory";
}

Statement prepare(sqlite3* db, const std::string& sql, const char** tail = nullptr) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, tail) != SQLITE_OK)
        throw DatabaseError(engineMessage(db));
    if (!raw) throw DatabaseError("the statement is empty");
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

// like(pattern, text [, escape]), which "text LIKE pattern [ESCAPE escape]" calls: the engine's own
// matcher takes exponential time on some patterns (see LikeMatch.h). Texts end at a zero byte, as the
// engine's own reads them.
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const auto* escape = argc == 3 ? reinterpret_cast<const char*>(sqlite3_value_text(argv[2])) : "";
    if (!pattern || !text || !escape) return;  // NULL
    if (sqlite3_value_bytes(argv[0]) >
        sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1))
        return sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
    if (argc == 3 && *escape == '\0')
        return sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
    try {
        sqlite3_result_int(context, likeMatches(pattern, text, escape) ? 1 : 0);
    } catch (const std::exception& e) {
        sqlite3_result_error(context, e.what(), -1);
    }
}

void useOwnLike(sqlite3* db) {
    for (const int arguments : {2, 3})
        if (sqlite3_create_function(db, "like", arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                    likeFunction, nullptr, nullptr) != SQLITE_OK)
            throw DatabaseError(engineMessage(db));
}

sqlite3* openHandle(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::string msg = engineMessage(db);
        sqlite3_close(db);
        throw DatabaseError(msg);
    }
    try {
        useOwnLike(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
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

void bind(sqlite3* db, sqlite3_stmt* s, const std::vector<SqlValue>& parameters) {
    for (size_t i = 0; i < parameters.size(); ++i) {
        const int at = static_cast<int>(i) + 1;
        const SqlValue& v = parameters[i];
        int rc;
        if (const auto* text = std::get_if<std::string>(&v))
            rc = sqlite3_bind_text(s, at, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
        else if (const auto* number = std::get_if<int64_t>(&v))
            rc = sqlite3_bind_int64(s, at, *number);
        else
            rc = sqlite3_bind_null(s, at);
        if (rc != SQLITE_OK) throw DatabaseError(engineMessage(db));
    }
}

// Prepares the statement with the row id asked for first; falls back to the statement as given where
// the engine cannot name a row id (a view, a join), and reports the caller's statement's error.
Statement prepareQuery(sqlite3* db, const std::string& sql, bool& rowIdFirst) {
    const QuerySql engine = translateQuerySql(sql);
    rowIdFirst = engine.rowIdFirst;
    if (rowIdFirst) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, engine.sql.c_str(), static_cast<int>(engine.sql.size()), &raw, nullptr) ==
            SQLITE_OK)
            return Statement(raw);
        rowIdFirst = false;
    }
    return prepare(db, translateSql(sql));
}

// Whether the statement's first letters, after any blanks, are the word (lower case) in any case: the
// patterns below can only match such a statement.
bool beginsWithWord(const std::string& sql, const char* word) {
    size_t at = 0;
    while (at < sql.size() && std::isspace(static_cast<unsigned char>(sql[at]))) ++at;
    for (; *word; ++word, ++at)
        if (at >= sql.size() || std::tolower(static_cast<unsigned char>(sql[at])) != *word) return false;
    return true;
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
    if (const PathStatus status = statusOf(path); !status.found())
        throw DatabaseError("unable to open database file " + path + ": " + status.systemText);
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
    close();
}

void Database::close() {
    // A statement still open on a query keeps the connection until it is finalized.
    if (db_) sqlite3_close_v2(std::exchange(db_, nullptr));
}

sqlite3* Database::handle() const {
    if (!db_) throw DatabaseError("the database connection is closed");
    return db_;
}

void Database::execute(const std::string& sql) {
    sqlite3* db = handle();
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : engineMessage(db);
        sqlite3_free(err);
        throw DatabaseError(msg);
    }
}

void Database::interrupt() {
    if (db_) sqlite3_interrupt(db_);
}

int64_t Database::run(const std::string& sql, const std::vector<SqlValue>& parameters) {
    sqlite3* db = handle();
    Statement stmt = prepare(db, sql);
    bind(db, stmt.get(), parameters);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw DatabaseError(engineMessage(db));
    return sqlite3_changes(db);
}

std::optional<SqlValue> Database::firstValue(const std::string& sql,
                                             const std::vector<SqlValue>& parameters) {
    sqlite3* db = handle();
    Statement stmt = prepare(db, sql);
    bind(db, stmt.get(), parameters);
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) return columnValue(stmt.get(), 0);
    if (rc != SQLITE_DONE) throw DatabaseError(engineMessage(db));
    return std::nullopt;
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.execute("begin immediate");
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.execute("rollback");
    } catch (const DatabaseError&) {
        // The engine has rolled back already when a statement failed that way.
    }
}

void Transaction::commit() {
    db_.execute("commit");
    done_ = true;
}

namespace {

// The engine's shared-memory index and log beside the database, left read-only by a time when the
// database itself was read-only, keep it from opening once the database is writable again. Under the
// working folder's lock, so that no run works on them meanwhile: the index is removed (the engine
// builds it again from the log), the log only when it is empty (it holds nothing then). True when one
// was removed.
bool removeStaleJournalFiles(const std::string& workFolder) {
    std::optional<WorkFolderLock> lock;
    try {
        lock.emplace(workFolder);
    } catch (const std::exception&) {
        return false;  // a run works there: what it uses is not stale
    }
    const std::string database = workFolder + DatabaseFileName;
    const bool index = removeUnwritableFile(database + "-shm", std::nullopt);
    const bool log = removeUnwritableFile(database + "-wal", 0);
    return index || log;
}

}  // namespace

std::string explainedEngineText(const std::string& text) {
    static const std::pair<const char*, const char*> known[] = {
        {"file is encrypted or is not a database", "数据库文件已损坏，或不是本程序的数据库"},
        {"database disk image is malformed", "数据库文件已损坏"},
        {"unable to open database file", "无法打开数据库文件"},
        {"attempt to write a readonly database", "数据库文件是只读的，无法写入"},
        {"database or disk is full", "磁盘空间已满"},
        {"disk I/O error", "读写磁盘出错"},
        {"database is locked", "数据库正被另一个程序使用"},
        {"database table is locked", "数据库正被另一个程序使用"},
        {"no such table", "数据库中缺少所需的表"},
        {"no such column", "数据库中缺少所需的列"},
        {"syntax error", "查询语句无效"},
        {"unrecognized token", "查询语句无效"},
    };
    for (const auto& [english, chinese] : known)
        if (text.find(english) != std::string::npos) return std::string(chinese) + "：" + text;
    return text;
}

std::unique_ptr<Database> openWorkDatabase(const std::string& workFolder) {
    try {
        return std::make_unique<Database>(workFolder + DatabaseFileName, DatabaseKey);
    } catch (const DatabaseError& e) {
        throw DatabaseMissing(std::string(DatabaseMissingMessage) + "（" + explainedEngineText(e.what()) +
                              "）");
    }
}

std::unique_ptr<Database> openWorkDatabaseRepairing(const std::string& workFolder) {
    try {
        return openWorkDatabase(workFolder);
    } catch (const DatabaseMissing&) {
        if (!removeStaleJournalFiles(workFolder)) throw;
        return openWorkDatabase(workFolder);
    }
}

void StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

std::string translateSql(const std::string& sql) {
    static const std::regex deleteStar(R"(^(\s*delete)\s*\*\s*(from\b))", std::regex::icase);
    if (!beginsWithWord(sql, "delete")) return sql;  // every INSERT of a run: no pattern to try
    return std::regex_replace(sql, deleteStar, "$1 $2", std::regex_constants::format_first_only);
}

QuerySql translateQuerySql(const std::string& sql) {
    static const std::regex selectStar(R"(^(\s*select)\s*\*\s*(from\b))", std::regex::icase);
    const std::string translated = translateSql(sql);
    if (!beginsWithWord(translated, "select") || !std::regex_search(translated, selectStar))
        return {translated, false};
    return {
        std::regex_replace(translated, selectStar, "$1 rowid, * $2", std::regex_constants::format_first_only),
        true};
}

size_t Query::columnIndex(const std::string& column) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (sameIgnoringCase(columns_[i], column)) return i;
    throw DatabaseError("Field '" + column + "' not found");
}

const SqlValue& Query::value(size_t row, const std::string& column) const {
    const size_t at = columnIndex(column);
    return held(row).values.at(at);
}

std::string Query::text(size_t row, const std::string& column) const {
    const SqlValue& v = value(row, column);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* n = std::get_if<int64_t>(&v)) return std::to_string(*n);
    return {};
}

RowId Query::rowId(size_t row) const {
    if (!rowIdFirst_) throw DatabaseError("the statement \"" + statement_ + "\" gives no row ids");
    return ids_.at(row);
}

void Query::keepRow(size_t row) {
    if (!kept_.count(row)) kept_.emplace(row, held(row));
}

void Query::setFetchedValue(size_t row, size_t column, const SqlValue& value) {
    if (row >= fetched_) throw std::out_of_range("no fetched row " + std::to_string(row));
    if (const auto kept = kept_.find(row); kept != kept_.end()) kept->second.values.at(column) = value;
    if (row >= heldFrom_ && row - heldFrom_ < held_.size()) held_[row - heldFrom_].values.at(column) = value;
}

void Query::removeFetchedRow(size_t row) {
    if (row >= fetched_) throw std::out_of_range("no fetched row " + std::to_string(row));
    if (rowIdFirst_) ids_.erase(row);
    --fetched_;
    if (row < heldFrom_)
        --heldFrom_;
    else if (row - heldFrom_ < held_.size())
        held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(row - heldFrom_));
    std::map<size_t, FetchedRow> kept;
    for (auto& [at, keptRow] : kept_)
        if (at != row) kept.emplace(at > row ? at - 1 : at, std::move(keptRow));
    kept_ = std::move(kept);
}

RowsChangedElsewhere::RowsChangedElsewhere()
    : DatabaseError("结果表已被另一个程序改变，表格将重新读取结果") {}

namespace {

// The values of the statement's current row without the row id asked for first.
void readRow(sqlite3_stmt* s, bool rowIdFirst, SqlRow& values) {
    const int first = rowIdFirst ? 1 : 0;
    const int n = sqlite3_column_count(s);
    values.resize(static_cast<size_t>(n - first));
    for (int i = first; i < n; ++i) values[static_cast<size_t>(i - first)] = columnValue(s, i);
}

std::vector<std::string> columnNamesOf(sqlite3_stmt* s, bool rowIdFirst) {
    std::vector<std::string> names;
    for (int i = rowIdFirst ? 1 : 0; i < sqlite3_column_count(s); ++i)
        names.emplace_back(sqlite3_column_name(s, i));
    return names;
}

std::string quotedName(const char* name) {
    std::string quoted = "\"";
    for (; *name; ++name) quoted += *name == '"' ? std::string("\"\"") : std::string(1, *name);
    return quoted + "\"";
}

// Every column of the statement comes from the same table, as "select *" over one table gives them.
const char* onlyTableOf(sqlite3_stmt* s, const char*& database) {
    const int n = sqlite3_column_count(s);
    if (n < 2) return nullptr;
    const char* table = sqlite3_column_table_name(s, 1);
    database = sqlite3_column_database_name(s, 1);
    if (!table || !database) return nullptr;
    for (int i = 2; i < n; ++i) {
        const char* other = sqlite3_column_table_name(s, i);
        const char* otherDatabase = sqlite3_column_database_name(s, i);
        if (!other || !otherDatabase || std::strcmp(other, table) != 0 ||
            std::strcmp(otherDatabase, database) != 0)
            return nullptr;
    }
    return table;
}

}  // namespace

// The engine's time on the statements a query reads is bounded (QueryTimeLimit): a pattern the engine
// matches by backtracking ("a%a%a%b" on long names) would otherwise keep it busy for hours. The
// engine asks the progress handler every few thousand instructions while it steps; the handler is set
// only around the steps, so the time between them (a grid, a CSV writer) does not count.
class EngineTimeLimit {
  public:
    explicit EngineTimeLimit(sqlite3* db) : db_(db) {}

    // sqlite3_step within the limit; raises QueryTooSlow when the engine was stopped by it.
    int step(sqlite3_stmt* statement) {
        stepStart_ = Clock::now();
        sqlite3_progress_handler(db_, ProgressInstructions, &EngineTimeLimit::onProgress, this);
        const int rc = sqlite3_step(statement);
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        spent_ += Clock::now() - stepStart_;
        if (exceeded_) throw QueryTooSlow(QueryTooSlowMessage);
        if (rc == SQLITE_ROW) ++rows_;
        return rc;
    }

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr int ProgressInstructions = 10000;

    static int onProgress(void* self) {
        auto& limit = *static_cast<EngineTimeLimit*>(self);
        const Clock::duration allowed = QueryTimeLimit + QueryTimePerRow * limit.rows_;
        limit.exceeded_ = limit.spent_ + (Clock::now() - limit.stepStart_) > allowed;
        return limit.exceeded_ ? 1 : 0;
    }

    sqlite3* db_;
    Clock::time_point stepStart_;
    Clock::duration spent_{};
    int64_t rows_ = 0;
    bool exceeded_ = false;
};

void Query::readAhead(EngineTimeLimit& limit) {
    int rc = SQLITE_ERROR;
    try {
        rc = limit.step(cursor_.get());
    } catch (const QueryTooSlow&) {
        pending_.reset();
        cursor_.reset();
        throw;
    }
    if (rc == SQLITE_ROW) {
        FetchedRow next;
        if (rowIdFirst_) next.id = sqlite3_column_int64(cursor_.get(), 0);
        readRow(cursor_.get(), rowIdFirst_, next.values);
        pending_ = std::move(next);
        return;
    }
    pending_.reset();
    const std::string message =
        rc == SQLITE_DONE ? std::string() : engineMessage(sqlite3_db_handle(cursor_.get()));
    cursor_.reset();  // lets go of the engine's snapshot
    if (rc != SQLITE_DONE) throw DatabaseError(message);
}

// The rows fetched join the window of held rows, which follows them (rows fetched are the ones a grid
// shows next).
size_t Query::fetchMore(size_t count) {
    EngineTimeLimit limit(db_->handle());
    size_t fetched = 0;
    while (fetched < count && pending_) {
        if (heldFrom_ + held_.size() != fetched_) {
            held_.clear();
            heldFrom_ = fetched_;
        }
        if (rowIdFirst_) ids_.append(pending_->id);
        held_.push_back(std::move(*pending_));
        ++fetched_;
        if (!holdsEveryRow() && held_.size() > HeldRows) {
            held_.pop_front();
            ++heldFrom_;
        }
        pending_.reset();
        ++fetched;
        readAhead(limit);
    }
    return fetched;
}

size_t Query::fetchAll() {
    while (canFetchMore()) fetchMore(1024);
    return fetchedCount();
}

void Query::prepareReadBack() {
    if (!rowIdFirst_) return;
    const char* database = nullptr;
    const char* table = onlyTableOf(cursor_.get(), database);
    if (!table) return;
    const std::string sql = "select rowid, * from " + quotedName(database) + "." + quotedName(table) +
                            " where rowid between ?1 and ?2 order by rowid";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_->handle(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK)
        return;
    Statement readBack(raw);
    if (columnNamesOf(readBack.get(), true) != columns_) return;
    readBack_ = std::move(readBack);
    openedVersion_ = dataVersion();
}

int64_t Query::dataVersion() const {
    const std::optional<SqlValue> version = db_->firstValue("PRAGMA data_version", {});
    const auto* number = version ? std::get_if<int64_t>(&*version) : nullptr;
    return number ? *number : 0;
}

const Query::FetchedRow& Query::held(size_t index) const {
    if (const auto kept = kept_.find(index); kept != kept_.end()) return kept->second;
    if (index >= fetched_) throw std::out_of_range("no fetched row " + std::to_string(index));
    if (index < heldFrom_ || index - heldFrom_ >= held_.size()) moveWindowTo(index);
    return held_.at(index - heldFrom_);
}

// A row just before or after the window extends it by a run of rows read again, letting go of as many
// at the far end; a row farther away starts a new window around it.
void Query::moveWindowTo(size_t index) const {
    if (holdsEveryRow()) throw std::out_of_range("no fetched row " + std::to_string(index));
    if (cursor_ == nullptr && dataVersion() != openedVersion_) throw RowsChangedElsewhere();
    const size_t heldTo = heldFrom_ + held_.size();
    if (!held_.empty() && index < heldFrom_ && heldFrom_ - index <= ReadBackRows) {
        const size_t first = heldFrom_ - std::min(ReadBackRows, heldFrom_);
        std::vector<FetchedRow> rows = readBack(first, heldFrom_ - first);
        held_.insert(held_.begin(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
        heldFrom_ = first;
        while (held_.size() > HeldRows) held_.pop_back();
    } else if (!held_.empty() && index >= heldTo && index - heldTo < ReadBackRows) {
        std::vector<FetchedRow> rows = readBack(heldTo, std::min(ReadBackRows, fetched_ - heldTo));
        held_.insert(held_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        while (held_.size() > HeldRows) {
            held_.pop_front();
            ++heldFrom_;
        }
    } else {
        const size_t first = index - index % ReadBackRows;
        std::vector<FetchedRow> rows = readBack(first, std::min(ReadBackRows, fetched_ - first));
        held_.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        heldFrom_ = first;
    }
}

// The rows at these positions, read by their ids in runs of consecutive ids. A row no longer in the
// table comes back with every value NULL, at its place.
std::vector<Query::FetchedRow> Query::readBack(size_t first, size_t count) const {
    const std::vector<RowId> ids = ids_.slice(first, count);
    std::vector<FetchedRow> rows;
    rows.reserve(ids.size());
    size_t run = 0;
    while (run < ids.size()) {
        size_t end = run + 1;
        while (end < ids.size() && isNextId(ids[end - 1], ids[end])) ++end;
        readBackRun(ids.data() + run, end - run, rows);
        run = end;
    }
    return rows;
}

void Query::readBackRun(const RowId* ids, size_t count, std::vector<FetchedRow>& rows) const {
    sqlite3* db = db_->handle();
    sqlite3_stmt* s = readBack_.get();
    sqlite3_reset(s);
    if (sqlite3_bind_int64(s, 1, ids[0]) != SQLITE_OK ||
        sqlite3_bind_int64(s, 2, ids[count - 1]) != SQLITE_OK)
        throw DatabaseError(engineMessage(db));
    const auto missing = [this](RowId id) { return FetchedRow{id, SqlRow(columns_.size())}; };
    size_t next = 0;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        const RowId id = sqlite3_column_int64(s, 0);
        while (next < count && ids[next] < id) rows.push_back(missing(ids[next++]));
        if (next < count && ids[next] == id) {
            FetchedRow row{id, {}};
            readRow(s, true, row.values);
            rows.push_back(std::move(row));
            ++next;
        }
    }
    const std::string message = rc == SQLITE_DONE ? std::string() : engineMessage(db);
    sqlite3_reset(s);  // no statement left running between two readings
    if (rc != SQLITE_DONE) throw DatabaseError(message);
    while (next < count) rows.push_back(missing(ids[next++]));
}

void Query::forEachRow(const std::function<void(const SqlRow&)>& visit) const {
    if (!open_) return;
    sqlite3* db = db_->handle();
    Statement stmt = prepare(db, engineSql_);
    // Running a statement again must not write again.
    if (!sqlite3_stmt_readonly(stmt.get()))
        throw DatabaseError("the statement \"" + statement_ + "\" changes the database and is not run again");
    SqlRow values;
    EngineTimeLimit limit(db);
    int rc;
    while ((rc = limit.step(stmt.get())) == SQLITE_ROW) {
        readRow(stmt.get(), rowIdFirst_, values);
        visit(values);
    }
    if (rc != SQLITE_DONE) throw DatabaseError(engineMessage(db));
}

void Query::close() {
    open_ = false;
    hasRow_ = false;
    rowIdFirst_ = false;
    statement_.clear();
    engineSql_.clear();
    cursor_.reset();
    readBack_.reset();
    columns_.clear();
    pending_.reset();
    fetched_ = 0;
    ids_.clear();
    held_.clear();
    heldFrom_ = 0;
    kept_.clear();
}

void ExecSql(Query& query, const std::string& sql) {
    query.close();
    query.db_->execute(translateSql(sql));
}

bool OpenSql(Query& query, const std::string& sql) {
    query.close();
    try {
        query.cursor_ = prepareQuery(query.db_->handle(), sql, query.rowIdFirst_);
        query.statement_ = sql;
        query.engineSql_ = sqlite3_sql(query.cursor_.get());
        query.columns_ = columnNamesOf(query.cursor_.get(), query.rowIdFirst_);
        query.prepareReadBack();
        EngineTimeLimit limit(query.db_->handle());
        query.readAhead(limit);
        query.hasRow_ = query.fetchMore(1) > 0;
    } catch (...) {
        query.close();
        throw;
    }
    query.open_ = true;
    return query.hasRow_;
}

}  // namespace photocheck

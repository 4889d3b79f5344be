#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/OperatorError.h"
#include "store/RowIdIndex.h"

struct sqlite3;
struct sqlite3_stmt;

namespace photocheck {

// An error of the database engine; the message is the engine's own.
class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline const char* const DatabaseFileName = "qob.trd";
inline const char* const DatabaseKey = "lowbrine";
inline const char* const DatabaseMissingMessage = "找不到数据库，程序将退出";

// Rows a query had let go of cannot be read again as they were: another program has changed the
// database since the query was opened. The statement has to be opened again.
class RowsChangedElsewhere : public DatabaseError {
  public:
    RowsChangedElsewhere();
};

// The working database does not open: DatabaseMissingMessage with the engine's reason after it.
class DatabaseMissing : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// What a query may cost the engine (see Query): this long for each reading, and this much more for
// every row it has handed out, so that going through a large table is never cut short.
inline constexpr std::chrono::seconds QueryTimeLimit{5};
inline constexpr std::chrono::microseconds QueryTimePerRow{50};
inline const char* const QueryTooSlowMessage =
    "查询超过 5 秒仍未完成，已经取消：筛选条件太复杂（例如文件名中有很多“%”或“_”）。"
    "请换一个简单些的条件再查询";

// A query stopped because the engine worked on it for longer than allowed.
class QueryTooSlow : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// An error text of the database engine as the operator reads it: a Chinese explanation first where the
// text is a known one, then the engine's own text, for example
// "数据库文件已损坏，或不是本程序的数据库：file is encrypted or is not a database".
std::string explainedEngineText(const std::string& text);

using SqlValue = std::variant<std::monostate, int64_t, std::string>;
using SqlRow = std::vector<SqlValue>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The one password-protected database connection. Opening never creates a file.
class Database {
  public:
    // Opens an existing encrypted database; throws DatabaseError when the file is missing, the key is
    // wrong or the engine is not the encrypting one.
    Database(const std::string& path, const std::string& key);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Creates a new encrypted database file (the package builder and tests use it).
    static Database create(const std::string& path, const std::string& key);

    // Runs statements that return no rows (several may be separated by semicolons).
    void execute(const std::string& sql);
    // Runs one statement with its "?" parameters bound to the values, in order; returns the number of
    // rows it changed.
    int64_t run(const std::string& sql, const std::vector<SqlValue>& parameters);
    // The first value of the first row that one statement gives with its parameters bound; none when it
    // gives no row.
    std::optional<SqlValue> firstValue(const std::string& sql, const std::vector<SqlValue>& parameters);

    // Stops what the engine works on for this connection as soon as it can, from any thread; the
    // statement that was stepping fails with "interrupted".
    void interrupt();

    // Ends the connection, so that the file can be deleted (Windows deletes no open file). A statement
    // still open on a query keeps the file open until the query is closed or gone. Every later use
    // raises DatabaseError.
    void close();

    // The engine's connection; DatabaseError once closed.
    sqlite3* handle() const;

  private:
    Database(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

// A transaction that writes, on the connection, rolled back unless committed. It takes the write lock
// at its start ("begin immediate"), so that what it reads is what it writes against: no other
// connection can write between.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

// Opens WorkFolder + "qob.trd" with the key; any failure raises DatabaseMissing.
std::unique_ptr<Database> openWorkDatabase(const std::string& workFolder);
// The same for a program that may change the working folder: when the first try fails, the engine's
// journal files that this program cannot open for writing (left read-only by a time when the database
// was read-only: the index "-shm", and the log "-wal" when it is empty) are removed under the working
// folder's lock, and the database is opened once more.
std::unique_ptr<Database> openWorkDatabaseRepairing(const std::string& workFolder);

class EngineTimeLimit;  // the bound on one reading's time (Database.cpp)

// A query object: bound to the connection, it keeps the result set of the statement it last opened,
// for a grid to show. The rows are read from the engine a page at a time, as the grid asks for them
// (canFetchMore, fetchMore); fetchedCount() counts the rows read so far.
//
// Row ids: a statement that begins "select * from" a table also reads each row's row id, kept apart
// from the columns, so that an edit can be written back into its row; other statements have none.
//
// Held rows: a query with row ids holds at most HeldRows of its fetched rows, a window of consecutive
// positions around the last one asked for, and the ids of all of them (about a byte a row). A row
// outside the window is read again by its id, with the rows around it (ReadBackRows), when it is asked
// for; the window moves there and lets go of the rows at its far end. So the memory does not grow with
// the rows a grid scrolls through. Rows kept with keepRow() (a row with edits the grid has not
// written yet) stay held wherever the window goes. A query without row ids holds every row fetched.
//
// What the rows show: the result set is read from the state of the table when its first row was read
// (the engine keeps that snapshot for the open statement), whatever other connections write meanwhile.
// Writes through this same connection while the query is open (an edit from the grid) succeed, but may
// or may not show in rows fetched after them; a grid that writes shows the value it wrote
// (setFetchedValue, removeFetchedRow) or opens the statement again. The snapshot, and the engine's read
// lock that holds it, is let go when the last row has been read, on close and on the next opening.
// While it is held, a write through this connection fails with "database is locked" if another
// connection has written since the snapshot was taken; after the query is opened again it succeeds.
// Rows read again see the same snapshot while it is held, and afterwards the table as this connection
// left it; when another connection has changed the database since the opening, reading a row again
// raises RowsChangedElsewhere instead of mixing two states of the table.
//
// Time: every reading (the opening, each fetchMore, forEachRow) may keep the engine busy for
// QueryTimeLimit and QueryTimePerRow more for each row it hands out; beyond that the engine is stopped
// and QueryTooSlow raised, the rows fetched before stay, and no more can be fetched. The statements an
// operator can start (a filter of the grid, "photocheck-cli query") thus end within seconds however
// they backtrack.
//
// Threads: a query and its connection are used by one thread at a time. The query may be opened on one
// thread and paged on another (a worker opens the results at the end of a run, the window pages them),
// as long as the hand-over orders the two, as a queued signal or a joined thread does.
class Query {
  public:
    static constexpr size_t HeldRows = 1024;
    static constexpr size_t ReadBackRows = 256;

    explicit Query(Database& db) : db_(&db) {}
    Query(Query&&) noexcept = default;  // a grid can open a fresh query and take it over on success
    Query& operator=(Query&&) noexcept = default;

    bool isOpen() const { return open_; }
    // Whether the result set has at least one row, known from its opening, as OpenSql returned it.
    bool hasRow() const { return open_ && hasRow_; }
    // The statement as the caller gave it.
    const std::string& statement() const { return statement_; }
    Database& database() const { return *db_; }
    const std::vector<std::string>& columnNames() const { return columns_; }
    // The position of a column among columnNames(), found without regard to letter case; throws
    // DatabaseError when unknown.
    size_t columnIndex(const std::string& column) const;

    // Whether the engine has rows that have not been fetched yet; exact, the next row is read ahead.
    bool canFetchMore() const { return pending_.has_value(); }
    // Reads up to count more rows from the engine; returns how many it read. An engine error raises
    // DatabaseError and ends the reading; the rows fetched before it stay.
    size_t fetchMore(size_t count);
    // Reads every remaining row; returns fetchedCount().
    size_t fetchAll();
    size_t fetchedCount() const { return fetched_; }

    // A fetched row: its values in the order of columnNames(); throws std::out_of_range beyond them.
    // A row the query let go of is read again (an engine error raises DatabaseError). The reference
    // is good until the next call on the query.
    const SqlRow& row(size_t index) const { return held(index).values; }
    // The value of a column of a fetched row, found without regard to letter case; throws when unknown.
    const SqlValue& value(size_t row, const std::string& column) const;
    // The value as text ("" for NULL).
    std::string text(size_t row, const std::string& column) const;
    // Whether the rows carry their row ids (see above).
    bool hasRowIds() const { return rowIdFirst_; }
    // The row id of a fetched row; throws DatabaseError when the statement has none.
    RowId rowId(size_t row) const;

    // Keeps a fetched row held until letGoKeptRows(), wherever the window of held rows moves.
    void keepRow(size_t row);
    void letGoKeptRows() { kept_.clear(); }
    // How many rows are held now, kept ones included (for the tests of the window).
    size_t heldCount() const { return held_.size() + kept_.size(); }
    // Whether a fetched row is held, so that reading it does not reach the engine.
    bool holds(size_t row) const {
        return row < fetched_ && (holdsEveryRow() || (row >= heldFrom_ && row - heldFrom_ < held_.size()) ||
                                  kept_.count(row) > 0);
    }

    // For a grid that wrote a change back into the table: the fetched row shows the stored value, or
    // is dropped from the fetched rows after its deletion.
    void setFetchedValue(size_t row, size_t column, const SqlValue& value);
    void removeFetchedRow(size_t row);

    // Goes once through every row of the open statement, from its first, without keeping any: the
    // statement is run afresh beside the result set, which stays as it is. Each row is passed in the
    // order of columnNames() and is valid only during the call. Nothing happens on a closed query; a
    // statement that writes is not run again (DatabaseError).
    void forEachRow(const std::function<void(const SqlRow&)>& visit) const;

    void close();

  private:
    friend void ExecSql(Query& query, const std::string& sql);
    friend bool OpenSql(Query& query, const std::string& sql);

    struct FetchedRow {
        RowId id = 0;
        SqlRow values;
    };
    // Reads the next row into pending_; at the end, or when the time is up, the statement is let go.
    void readAhead(EngineTimeLimit& limit);
    // Prepares the statement that reads rows again by id, where the result set's rows are those of
    // one table in all its columns; otherwise every row fetched is held.
    void prepareReadBack();
    const FetchedRow& held(size_t index) const;
    void moveWindowTo(size_t index) const;
    std::vector<FetchedRow> readBack(size_t first, size_t count) const;
    void readBackRun(const RowId* ids, size_t count, std::vector<FetchedRow>& rows) const;
    int64_t dataVersion() const;
    bool holdsEveryRow() const { return !readBack_; }

    Database* db_;
    bool open_ = false;
    bool hasRow_ = false;
    bool rowIdFirst_ = false;
    std::string statement_;
    std::string engineSql_;
    Statement cursor_;
    std::vector<std::string> columns_;
    std::optional<FetchedRow> pending_;
    size_t fetched_ = 0;
    RowIdIndex ids_;
    Statement readBack_;         // the rows of a range of row ids, none when rows cannot be read again
    int64_t openedVersion_ = 0;  // the database's data version when the result set was opened
    // The window of held rows: positions heldFrom_ to heldFrom_ + held_.size() - 1. It moves as rows
    // are asked for, which does not change what the query shows.
    mutable std::deque<FetchedRow> held_;
    mutable size_t heldFrom_ = 0;
    std::map<size_t, FetchedRow> kept_;
};

// Runs a statement that returns no rows; closes the query's result set first.
void ExecSql(Query& query, const std::string& sql);
// Opens a statement's result set on the query, positioned on its first row (fetched, and the next one
// read ahead); true when it has at least one row. The result set open before is closed first, also
// when the engine rejects the statement.
bool OpenSql(Query& query, const std::string& sql);

// The statements as the engine accepts them ("delete * from t" becomes "delete from t").
std::string translateSql(const std::string& sql);

// A statement opened on a query, as the engine runs it: translated, and when it begins "select * from",
// asking for the row id first ("select rowid, * from ..."), which the query keeps apart. What the
// statement returns is unchanged.
struct QuerySql {
    std::string sql;
    bool rowIdFirst = false;
};
QuerySql translateQuerySql(const std::string& sql);

}  // namespace photocheck

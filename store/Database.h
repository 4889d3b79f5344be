#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace photocheck {

// An error of the database engine; the message is the engine's own.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline const char* const DatabaseFileName = "qob.trd";
inline const char* const DatabaseKey = "lowbrine";
inline const char* const DatabaseMissingMessage = "找不到数据库，程序将退出";

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

    sqlite3* handle() const { return db_; }

private:
    Database(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

// Opens WorkFolder + "qob.trd" with the key; any failure raises DatabaseError with
// DatabaseMissingMessage followed by the engine's reason in brackets.
std::unique_ptr<Database> openWorkDatabase(const std::string& workFolder);

using SqlValue = std::variant<std::monostate, int64_t, std::string>;

// A query object: bound to the connection, it keeps the result set of the statement it last opened,
// for a grid to show.
class Query {
public:
    explicit Query(Database& db) : db_(&db) {}

    bool isOpen() const { return open_; }
    bool hasRow() const { return open_ && !rows_.empty(); }
    const std::vector<std::string>& columnNames() const { return columns_; }
    const std::vector<std::vector<SqlValue>>& rows() const { return rows_; }
    // The value of a column of one row, found without regard to letter case; throws when unknown.
    const SqlValue& value(size_t row, const std::string& column) const;
    // The value as text ("" for NULL).
    std::string text(size_t row, const std::string& column) const;

    void close();

private:
    friend void ExecSql(Query& query, const std::string& sql);
    friend bool OpenSql(Query& query, const std::string& sql);
    Database* db_;
    bool open_ = false;
    std::vector<std::string> columns_;
    std::vector<std::vector<SqlValue>> rows_;
};

// Runs a statement that returns no rows; closes the query's result set first.
void ExecSql(Query& query, const std::string& sql);
// Opens a statement's result set on the query; true when it has at least one row.
bool OpenSql(Query& query, const std::string& sql);

// The statements as the engine accepts them ("delete * from t" becomes "delete from t").
std::string translateSql(const std::string& sql);

}  // namespace photocheck

#include "batch/ResultsEdits.h"

#include <cctype>
#include <optional>
#include <utility>

#include "platform/Paths.h"
#include "store/IntConversion.h"
#include "store/ResultsSchema.h"

namespace photocheck {
namespace {

bool sameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

const ResultsColumn& resultColumn(const std::string& name) {
    for (const ResultsColumn& column : ResultsColumns)
        if (sameIgnoringCase(name, column.field)) return column;
    throw EditNotSaved("结果表中没有“" + name + "”这一列，无法修改");
}

SqlValue storedValue(const ResultsColumn& column, const std::string& text) {
    const std::string typed = trimmed(text);
    switch (column.kind) {
        case ColumnKind::PaddedText:
            return " " + typed + " ";
        case ColumnKind::Text:
            if (typed.empty()) return std::monostate{};
            return typed;
        case ColumnKind::Number:
            if (typed.empty()) return std::monostate{};
            try {
                return static_cast<int64_t>(StrToInt(typed));
            } catch (const ConversionError&) {
                throw EditNotSaved("“" + typed + "”不是整数：" + column.title + "只能填写整数，或者留空");
            }
    }
    return std::monostate{};
}

// Within the transaction that writes, which holds the write lock: no run can start between the
// comparison and the writes.
void refuseStaleRows(Database& db, ResultsRun run, const char* whatFailed) {
    if (currentResultsRun(db) != run)
        throw StaleResults(std::string("表格中的记录已被另一次批量检测替换，") + whatFailed +
                           "；表格将重新显示结果表中现在的记录");
}

using ColumnWrites = std::vector<std::pair<std::string, SqlValue>>;  // the schema's names, never the caller's

// The values written and read back in one transaction; none when the row is no longer in the table.
std::optional<std::vector<SqlValue>> writeRow(Database& db, ResultsRun run, RowId row,
                                              const ColumnWrites& writes) {
    Transaction transaction(db);
    refuseStaleRows(db, run, "修改未能保存");
    for (const auto& [name, value] : writes)
        if (db.run("update pictureMsg set " + name + " = ? where rowid = ?", {value, row}) == 0)
            return std::nullopt;
    std::vector<SqlValue> stored;
    for (const auto& write : writes)
        stored.push_back(db.firstValue("select " + write.first + " from pictureMsg where rowid = ?", {row})
                             .value_or(SqlValue{}));
    transaction.commit();
    return stored;
}

}  // namespace

std::vector<SqlValue> updateResultRow(Database& db, ResultsRun run, RowId row,
                                      const std::vector<CellEdit>& edits) {
    ColumnWrites writes;
    for (const CellEdit& edit : edits) {
        const ResultsColumn& target = resultColumn(edit.column);
        writes.emplace_back(target.field, storedValue(target, edit.text));
    }
    std::optional<std::vector<SqlValue>> stored;
    try {
        stored = writeRow(db, run, row, writes);
    } catch (const DatabaseError& e) {
        throw EditNotSaved(std::string("修改未能保存：") + e.what());
    }
    if (!stored) throw EditNotSaved("要修改的记录已不在结果表中，修改未能保存");
    return *stored;
}

size_t deleteResultRows(Database& db, ResultsRun run, const std::vector<RowId>& rows) {
    try {
        Transaction transaction(db);
        refuseStaleRows(db, run, "记录未能删除");
        size_t deleted = 0;
        for (const RowId row : rows)
            deleted += static_cast<size_t>(db.run("delete from pictureMsg where rowid = ?", {row}));
        transaction.commit();
        return deleted;
    } catch (const DatabaseError& e) {
        throw EditNotSaved(std::string("记录未能删除：") + e.what());
    }
}

}  // namespace photocheck

#include "batch/ResultsEdits.h"

#include <array>
#include <cctype>
#include <optional>
#include <utility>

#include "platform/Paths.h"
#include "store/IntConversion.h"

namespace photocheck {
namespace {

enum class Kind { Number, PaddedText, Text };

struct ResultColumn {
    const char* name;
    const char* title;  // as the grid's column title says it
    Kind kind;
};

constexpr std::array<ResultColumn, 13> ResultColumns{{
    {"name", "文件名", Kind::PaddedText},
    {"mode", "格式", Kind::PaddedText},
    {"pix", "像素", Kind::PaddedText},
    {"Picsize", "大小", Kind::Number},
    {"bluePercent", "蓝比", Kind::Number},
    {"clarityPercent", "清晰度", Kind::Number},
    {"headPercent", "头部比", Kind::Number},
    {"regularPercent", "端正度", Kind::Number},
    {"eyeLeftlet", "左眼孔", Kind::Number},
    {"eyeRightlet", "右眼孔", Kind::Number},
    {"reason", "原因", Kind::Text},
    {"result", "结果", Kind::Text},
    {"folderPath", "文件夹", Kind::PaddedText},
}};

bool sameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

const ResultColumn& resultColumn(const std::string& name) {
    for (const ResultColumn& column : ResultColumns)
        if (sameIgnoringCase(name, column.name)) return column;
    throw DatabaseError("结果表中没有“" + name + "”这一列，无法修改");
}

SqlValue storedValue(const ResultColumn& column, const std::string& text) {
    const std::string typed = trimmed(text);
    switch (column.kind) {
        case Kind::PaddedText:
            return " " + typed + " ";
        case Kind::Text:
            if (typed.empty()) return std::monostate{};
            return typed;
        case Kind::Number:
            if (typed.empty()) return std::monostate{};
            try {
                return static_cast<int64_t>(StrToInt(typed));
            } catch (const ConversionError&) {
                throw DatabaseError("“" + typed + "”不是整数：" + column.title + "只能填写整数，或者留空");
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

using ColumnWrites = std::vector<std::pair<std::string, SqlValue>>;  // the columns' own names

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
        const ResultColumn& target = resultColumn(edit.column);
        writes.emplace_back(target.name, storedValue(target, edit.text));
    }
    std::optional<std::vector<SqlValue>> stored;
    try {
        stored = writeRow(db, run, row, writes);
    } catch (const StaleResults&) {
        throw;
    } catch (const DatabaseError& e) {
        throw DatabaseError(std::string("修改未能保存：") + e.what());
    }
    if (!stored) throw DatabaseError("要修改的记录已不在结果表中，修改未能保存");
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
    } catch (const StaleResults&) {
        throw;
    } catch (const DatabaseError& e) {
        throw DatabaseError(std::string("记录未能删除：") + e.what());
    }
}

}  // namespace photocheck

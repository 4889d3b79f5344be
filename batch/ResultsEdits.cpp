#include "batch/ResultsEdits.h"

#include <cctype>

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

}  // namespace

SqlValue updateResultCell(Database& db, RowId row, const std::string& column, const std::string& text) {
    const ResultsColumn& target = resultColumn(column);
    const SqlValue value = storedValue(target, text);
    const std::string name = target.field;  // from the schema, never from the caller
    int64_t changed = 0;
    try {
        changed = db.run("update pictureMsg set " + name + " = ? where rowid = ?", {value, row});
    } catch (const DatabaseError& e) {
        throw EditNotSaved(std::string("修改未能保存：") + e.what());
    }
    if (changed == 0) throw EditNotSaved("要修改的记录已不在结果表中，修改未能保存");
    return db.firstValue("select " + name + " from pictureMsg where rowid = ?", {row}).value_or(SqlValue{});
}

size_t deleteResultRows(Database& db, const std::vector<RowId>& rows) {
    try {
        Transaction transaction(db);
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

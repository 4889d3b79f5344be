#include "check/ResultRow.h"

namespace photocheck {

void ResultRow::clear() {
    line.clear();
    columns.clear();
    values.clear();
    reason.clear();
}

void ResultRow::beginWithName(const std::string& name) {
    columns += "name";
    values += " ' " + quoteSql(name) + " ' ";
}

void ResultRow::addText(const std::string& column, const std::string& text) {
    columns += "," + column;
    values += ", ' " + quoteSql(text) + " ' ";
}

void ResultRow::addNumber(const std::string& column, int64_t number) {
    columns += "," + column;
    values += "," + std::to_string(number);
}

bool ResultRow::fail(const std::string& reason, Blank blank) {
    columns += ",reason";
    values += ",'" + quoteSql(reason) + "'" + (blank == Blank::After ? " " : "");
    this->reason = reason;
    return false;
}

void ResultRow::addVerdict(bool passed) {
    columns += ",result";
    values += std::string(",'") + (passed ? VerdictPassed : VerdictFailed) + "' ";
}

std::string ResultRow::insertStatement() const {
    return InsertRowStatement + columns + ") values (" + values + ")";
}

}  // namespace photocheck

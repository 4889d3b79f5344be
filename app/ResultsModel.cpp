#include "app/ResultsModel.h"

#include <QTextDocument>
#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

#include "batch/OperatorMessage.h"
#include "batch/ResultsEdits.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

bool hasField(const Query& query, const char* field) {
    const auto& names = query.columnNames();
    return std::any_of(names.begin(), names.end(),
                       [field](const std::string& name) { return asciiUpper(name) == asciiUpper(field); });
}

}  // namespace

ResultsModel::ResultsModel(Database& db, Query& adoPicMsg, QObject* parent)
    : QAbstractTableModel(parent), db_(db), query_(adoPicMsg) {}

// The run is read before the statement is opened: a batch run elsewhere in between makes the rows newer
// than the run kept, and a write is refused where it would otherwise land on a row of another run.
void ResultsModel::open(const std::string& statement) {
    const ResultsRun run = currentResultsRun(db_);
    Query opened(db_);
    OpenSql(opened, statement);
    adopt(std::move(opened), run);
}

void ResultsModel::adopt(Query&& opened, ResultsRun run) {
    beginResetModel();
    dropEdits();
    query_ = std::move(opened);
    run_ = run;
    attached_ = true;
    showFetchedRows();
    endResetModel();
    emit reopened();
}

void ResultsModel::setQuerying(bool querying) {
    querying_ = querying;
}

void ResultsModel::detach() {
    beginResetModel();
    dropEdits();
    attached_ = false;
    showFetchedRows();
    endResetModel();
}

void ResultsModel::attach() {
    beginResetModel();
    attached_ = true;
    showFetchedRows();
    endResetModel();
}

void ResultsModel::closeQuery() {
    detach();
    query_.close();
}

StoredPhoto ResultsModel::storedPhoto(int row) const {
    try {
        return {text(row, "name"), text(row, "mode"), text(row, "folderPath")};
    } catch (const RowsChangedElsewhere& e) {
        readFailed(e);
        return {};
    }
}

void ResultsModel::post() {
    if (editedRow_ < 0) return;
    const int row = editedRow_;
    const std::map<int, QString> edits = std::exchange(edits_, {});
    editedRow_ = -1;
    const auto showRow = [this, row] {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    };
    try {
        std::vector<CellEdit> cells;
        cells.reserve(edits.size());
        for (const auto& [column, typed] : edits)
            cells.push_back({GridColumns[column].field, typed.toStdString()});
        std::vector<SqlValue> stored =
            updateResultRow(db_, run_, query_.rowId(static_cast<size_t>(row)), cells);
        for (size_t i = 0; i < cells.size(); ++i)
            query_.setFetchedValue(static_cast<size_t>(row), query_.columnIndex(cells[i].column), stored[i]);
    } catch (...) {
        query_.letGoKeptRows();
        showRow();
        throw;
    }
    query_.letGoKeptRows();
    showRow();
}

void ResultsModel::revert() {
    if (editedRow_ < 0) return;
    const int row = editedRow_;
    dropEdits();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void ResultsModel::deleteRows(const std::vector<int>& rows) {
    std::vector<int> doomed = rows;
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    std::vector<RowId> ids;
    ids.reserve(doomed.size());
    for (const int row : doomed) ids.push_back(query_.rowId(static_cast<size_t>(row)));
    deleteResultRows(db_, run_, ids);
    beginResetModel();
    dropEdits();
    for (auto row = doomed.rbegin(); row != doomed.rend(); ++row)
        query_.removeFetchedRow(static_cast<size_t>(*row));
    shown_ = query_.fetchedCount();
    endResetModel();
}

void ResultsModel::dropEdits() {
    editedRow_ = -1;
    edits_.clear();
    query_.letGoKeptRows();
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !attached_ || !query_.isOpen()) return 0;
    return static_cast<int>(shown_);
}

// A freshly opened result set shows its first page at once, as Qt's SQL models do.
void ResultsModel::showFetchedRows() {
    shown_ = 0;
    readErrorShown_ = false;
    if (!attached_ || !query_.isOpen()) return;
    if (query_.fetchedCount() < ResultsPageRows) fetch(ResultsPageRows - query_.fetchedCount());
    shown_ = query_.fetchedCount();
}

// An engine error while reading ends the reading; it must not reach the view that asked for the rows.
void ResultsModel::fetch(size_t count) {
    try {
        query_.fetchMore(count);
    } catch (const std::exception& e) {
        emit fetchFailed(QString::fromStdString(operatorMessage(e)));
    }
}

bool ResultsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && attached_ && !querying_ && query_.isOpen() && query_.canFetchMore();
}

void ResultsModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    fetch(ResultsPageRows);
    const size_t fetched = query_.fetchedCount();
    if (fetched <= shown_) return;
    beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(fetched) - 1);
    shown_ = fetched;
    endInsertRows();
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(GridColumns));
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return Qt::AlignCenter;
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
    QString text = cellText(index.row(), index.column());
    if (index.row() == editedRow_)
        if (const auto typed = edits_.find(index.column()); typed != edits_.end()) text = typed->second;
    // The tip shows a text in full where the column cuts it, as plain text: a name such as "<img ...>"
    // would otherwise be taken for markup.
    if (role == Qt::ToolTipRole && !text.isEmpty()) return Qt::convertFromPlainText(text);
    return text;
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::TextAlignmentRole) return Qt::AlignCenter;
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return QString::fromUtf8(GridColumns[section].title);
}

// Rows can be edited where they can be written back: the statement read each row's row id.
Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || querying_ || !query_.hasRowIds()) return flags;
    return flags | Qt::ItemIsEditable;
}

// A cell typed into joins its row's edits; a text the cell already shows changes nothing. Only one row
// has edits at a time: the window posts them before the operator edits another.
bool ResultsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    if (editedRow_ >= 0 && editedRow_ != index.row()) return false;
    const QString typed = value.toString();
    if (!edits_.count(index.column()) && typed == data(index, Qt::DisplayRole).toString()) return true;
    if (editedRow_ < 0) {
        try {
            query_.keepRow(
                static_cast<size_t>(index.row()));  // the row as read, whatever the grid shows meanwhile
        } catch (const std::exception& e) {
            readFailed(e);
            return false;
        }
    }
    editedRow_ = index.row();
    edits_[index.column()] = typed;
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, index.row(), index.row());
    return true;
}

// A statement may leave out a field (the grid then shows its cells empty), and while a statement is
// opened elsewhere a row the query let go of is not read again; any other failure to read a cell
// raises.
std::string ResultsModel::text(int row, const char* field) const {
    if (row < 0 || row >= rowCount() || !hasField(query_, field)) return {};
    if (querying_ && !query_.holds(static_cast<size_t>(row))) return {};
    return query_.text(static_cast<size_t>(row), field);
}

// A cell that cannot be read shows empty; a view asking for a cell must not meet the error.
QString ResultsModel::cellText(int row, int column) const {
    try {
        return QString::fromStdString(trimmed(text(row, GridColumns[column].field)));
    } catch (const std::exception& e) {
        readFailed(e);
        return {};
    }
}

// The operator is told once per opening, after the view has done what it is doing.
void ResultsModel::readFailed(const std::exception& e) const {
    if (readErrorShown_) return;
    readErrorShown_ = true;
    auto* self = const_cast<ResultsModel*>(this);
    if (dynamic_cast<const RowsChangedElsewhere*>(&e)) {
        const QString message = QString::fromUtf8(e.what());  // in the operator's words already
        QMetaObject::invokeMethod(
            self, [self, message] { emit self->changedElsewhere(message); }, Qt::QueuedConnection);
        return;
    }
    const QString message = QString::fromStdString(operatorMessage(e));
    QMetaObject::invokeMethod(
        self, [self, message] { emit self->fetchFailed(message); }, Qt::QueuedConnection);
}

}  // namespace photocheck

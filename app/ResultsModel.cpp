#include "app/ResultsModel.h"

#include <exception>
#include <iterator>

#include "platform/Paths.h"

namespace photocheck {
namespace {

constexpr size_t RowsPerPage = 256;

}  // namespace

ResultsModel::ResultsModel(Query& adoPicMsg, QObject* parent)
    : QAbstractTableModel(parent), query_(adoPicMsg) {}

void ResultsModel::open(const std::string& statement) {
    beginResetModel();
    try {
        OpenSql(query_, statement);
    } catch (...) {
        showFetchedRows();
        endResetModel();
        throw;
    }
    showFetchedRows();
    endResetModel();
    emit reopened();
}

void ResultsModel::detach() {
    beginResetModel();
    attached_ = false;
    showFetchedRows();
    endResetModel();
}

void ResultsModel::attach(Since since) {
    beginResetModel();
    attached_ = true;
    showFetchedRows();
    endResetModel();
    if (since == Since::Reopened) emit reopened();
}

StoredPhoto ResultsModel::storedPhoto(int row) const {
    return {text(row, "name"), text(row, "mode"), text(row, "folderPath")};
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !attached_ || !query_.isOpen()) return 0;
    return static_cast<int>(shown_);
}

// A freshly opened result set shows its first page at once, as Qt's SQL models do.
void ResultsModel::showFetchedRows() {
    shown_ = 0;
    if (!attached_ || !query_.isOpen()) return;
    if (query_.fetchedCount() < RowsPerPage) query_.fetchMore(RowsPerPage - query_.fetchedCount());
    shown_ = query_.fetchedCount();
}

bool ResultsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && attached_ && query_.isOpen() && query_.canFetchMore();
}

void ResultsModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    query_.fetchMore(RowsPerPage);
    const size_t fetched = query_.fetchedCount();
    if (fetched <= shown_) return;
    beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(fetched) - 1);
    shown_ = fetched;
    endInsertRows();
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(ResultsColumns));
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return Qt::AlignCenter;
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(trimmed(text(index.row(), ResultsColumns[index.column()].field)));
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    if (role == Qt::TextAlignmentRole) return Qt::AlignCenter;
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return QString::fromUtf8(ResultsColumns[section].title);
}

std::string ResultsModel::text(int row, const char* field) const {
    if (row < 0 || row >= rowCount()) return {};
    try {
        return query_.text(static_cast<size_t>(row), field);
    } catch (const std::exception&) {
        return {};  // a result set without this field
    }
}

}  // namespace photocheck

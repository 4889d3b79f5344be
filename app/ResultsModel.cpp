#include "app/ResultsModel.h"

#include <exception>
#include <iterator>

#include "platform/Paths.h"

namespace photocheck {

ResultsModel::ResultsModel(Query& adoPicMsg, QObject* parent)
    : QAbstractTableModel(parent), query_(adoPicMsg) {}

void ResultsModel::open(const std::string& statement) {
    beginResetModel();
    try {
        OpenSql(query_, statement);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
    emit reopened();
}

void ResultsModel::detach() {
    beginResetModel();
    attached_ = false;
    endResetModel();
}

void ResultsModel::attach(Since since) {
    beginResetModel();
    attached_ = true;
    endResetModel();
    if (since == Since::Reopened) emit reopened();
}

StoredPhoto ResultsModel::storedPhoto(int row) const {
    return {text(row, "name"), text(row, "mode"), text(row, "folderPath")};
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !attached_ || !query_.isOpen()) return 0;
    return static_cast<int>(query_.rows().size());
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

#include <QHeaderView>
#include <QKeySequence>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <exception>
#include <iterator>
#include <string>
#include <utility>

#include "app/LogPaneView.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/ResultsModel.h"
#include "app/RowIndicator.h"
#include "app/ToolbarIcons.h"
#include "batch/OperatorMessage.h"
#include "batch/RowPhoto.h"
#include "check/ResultRow.h"
#include "ui_MainWindow.h"

namespace photocheck {
namespace {

constexpr int GridFontPixels = 13;
constexpr int RowIndicatorWidth = 12;
const char* const DeleteRowsQuestion = "删除选中的记录吗？";

// The designed width, widened where the cell's margins in this style would cut the longest verdict
// "不合格" (the column was designed for a narrower face).
int columnWidth(const QTableView& grid, const ResultsColumn& column) {
    if (std::string(column.field) != "result") return column.width;
    const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    return std::max(column.width, grid.fontMetrics().horizontalAdvance(VerdictFailed) + margins + 2);
}

// A key of the grid itself; a cell being typed into keeps its own keys.
QShortcut* gridKey(QTableView& grid, QKeyCombination key) {
    auto* shortcut = new QShortcut(QKeySequence(key), &grid);
    shortcut->setContext(Qt::WidgetShortcut);
    return shortcut;
}

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void setText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

}  // namespace

void TFrmMain::connectResultsBrowser() {
    ui->SpeedButton2->setIcon(queryIcon());
    setUpGrid();
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TFrmMain::Button5Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TFrmMain::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TFrmMain::Button6Click);
    connect(dsPicMsg_, &ResultsModel::reopened, this, &TFrmMain::moveToOpenedRow);
    connect(
        dsPicMsg_, &ResultsModel::fetchFailed, this,
        [this](const QString& message) { showErrorReport(this, message.toStdString()); },
        Qt::QueuedConnection);
    connect(ui->DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFrmMain::currentRowChanged);
}

// Column titles, a row indicator, resizable columns, lines between cells, several rows selectable,
// cells editable; the twelve columns of the results with their widths, the unshown ones hidden.
// Ctrl+Delete deletes the selected rows, Esc drops the edits of the row not written yet.
void TFrmMain::setUpGrid() {
    QTableView* grid = ui->DBGrid1;
    grid->setVerticalHeader(new RowIndicator(*dsPicMsg_, grid));
    grid->setModel(dsPicMsg_);
    QFont font = grid->font();
    font.setPixelSize(GridFontPixels);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setFixedWidth(RowIndicatorWidth);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setTabKeyNavigation(true);
    grid->setShowGrid(true);
    for (int column = 0; column < static_cast<int>(std::size(ResultsColumns)); ++column) {
        const int width = columnWidth(*grid, ResultsColumns[column]);
        grid->setColumnHidden(column, width == 0);
        if (width > 0) grid->setColumnWidth(column, width);
    }
    connect(gridKey(*grid, Qt::CTRL | Qt::Key_Delete), &QShortcut::activated, this,
            &TFrmMain::deleteSelectedRows);
    connect(gridKey(*grid, Qt::Key_Escape), &QShortcut::activated, dsPicMsg_, &ResultsModel::revert);
}

// The query button: the statement of the filter typed, or the message instead.
void TFrmMain::Button5Click() {
    const ResultsQuery query = buildResultsQuery(currentFilter());
    if (!query.statement) return showMessage(this, query.message);
    openResults(*query.statement);
}

// The clear button: every filter emptied, the verdict too, then every row.
void TFrmMain::Button6Click() {
    ResultsFilter filter;
    const std::string statement = clearResultsFilter(filter);
    showFilter(filter);
    openResults(statement);
}

ResultsFilter TFrmMain::currentFilter() const {
    ResultsFilter filter;
    filter.blueFrom = textOf(ui->edtBlueFrom);
    filter.blueTo = textOf(ui->edtBlueTo);
    filter.clarityFrom = textOf(ui->edtClarityFrom);
    filter.clarityTo = textOf(ui->edtClarityTo);
    filter.headFrom = textOf(ui->edtHeadFrom);
    filter.headTo = textOf(ui->edtHeadTo);
    filter.regularFrom = textOf(ui->edtRegularFrom);
    filter.regularTo = textOf(ui->edtRegularTo);
    filter.verdict = ui->cbResult->currentText().toStdString();
    filter.fileName = textOf(ui->edtFileName);
    return filter;
}

void TFrmMain::showFilter(const ResultsFilter& filter) {
    setText(ui->edtBlueFrom, filter.blueFrom);
    setText(ui->edtBlueTo, filter.blueTo);
    setText(ui->edtClarityFrom, filter.clarityFrom);
    setText(ui->edtClarityTo, filter.clarityTo);
    setText(ui->edtHeadFrom, filter.headFrom);
    setText(ui->edtHeadTo, filter.headTo);
    setText(ui->edtRegularFrom, filter.regularFrom);
    setText(ui->edtRegularTo, filter.regularTo);
    ui->cbResult->setCurrentText(QString::fromStdString(filter.verdict));
    setText(ui->edtFileName, filter.fileName);
}

// Opening leaves the current row, so its edits are written first. A statement the engine rejects is
// shown and the grid keeps its rows.
void TFrmMain::openResults(const std::string& statement) {
    postRowEdits();
    try {
        dsPicMsg_->open(statement);
    } catch (const std::exception& e) {
        showErrorReport(this, e);
    }
}

// The statement shown, opened again: the grid shows what the table holds, at the row that was current.
void TFrmMain::reloadResults() {
    rowAfterOpening_ = std::max(ui->DBGrid1->currentIndex().row(), 0);
    try {
        dsPicMsg_->open(dsPicMsg_->statement());
    } catch (const std::exception& e) {
        rowAfterOpening_ = 0;
        showErrorReport(this, e);
    }
}

// Every opening of the results moves to their first row (after a reload, to the row that was current),
// which shows that row's photo.
void TFrmMain::moveToOpenedRow() {
    const int wanted = std::exchange(rowAfterOpening_, 0);
    while (dsPicMsg_->rowCount() <= wanted && dsPicMsg_->canFetchMore({})) dsPicMsg_->fetchMore({});
    if (dsPicMsg_->rowCount() == 0) return dsPicMsgDataChange();
    moveToRow(std::min(wanted, dsPicMsg_->rowCount() - 1));
}

void TFrmMain::moveToRow(int row) {
    ui->DBGrid1->setCurrentIndex(dsPicMsg_->index(row, 0));  // a new current row runs dsPicMsgDataChange
}

void TFrmMain::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (previous.isValid() && previous.row() != current.row()) postRowEdits();
    dsPicMsgDataChange();
}

// The edits of the row being left are written into the table. A write that fails is shown, and the
// grid reloads, once the grid has done what it is doing.
bool TFrmMain::postRowEdits() {
    commitOpenEditor();
    try {
        dsPicMsg_->post();
        return true;
    } catch (const std::exception& e) {
        QMetaObject::invokeMethod(
            this, [this, message = operatorMessage(e)] { writeFailed(message); }, Qt::QueuedConnection);
        return false;
    }
}

// A cell still being typed into joins its row's edits, as when the operator leaves it.
void TFrmMain::commitOpenEditor() {
    QTableView* grid = ui->DBGrid1;
    if (QWidget* editor = grid->indexWidget(grid->currentIndex()))
        QMetaObject::invokeMethod(grid, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
}

// A run that has started meanwhile reopens the results itself at its end.
void TFrmMain::writeFailed(const std::string& message) {
    showErrorReport(this, message);
    if (!running_) reloadResults();
}

// Ctrl+Delete: the selected rows (or the current one) leave the table after a Yes.
void TFrmMain::deleteSelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& selected : ui->DBGrid1->selectionModel()->selectedRows())
        rows.push_back(selected.row());
    if (rows.empty() && ui->DBGrid1->currentIndex().isValid())
        rows.push_back(ui->DBGrid1->currentIndex().row());
    if (rows.empty() || !askYesNo(this, ApplicationTitle, DeleteRowsQuestion)) return;
    if (!postRowEdits()) return;
    try {
        dsPicMsg_->deleteRows(rows);
    } catch (const std::exception& e) {
        showErrorReport(this, e);
        return reloadResults();
    }
    if (dsPicMsg_->rowCount() == 0) return dsPicMsgDataChange();
    moveToRow(std::min(*std::min_element(rows.begin(), rows.end()), dsPicMsg_->rowCount() - 1));
}

void TFrmMain::dsPicMsgDataChange() {
    bringToFront(ui->showImage);
    if (!state_.PreviewEnabled) return;
    const QModelIndex current = ui->DBGrid1->currentIndex();
    if (!current.isValid()) return;
    try {
        ShowRowPhoto(ctx_, dsPicMsg_->storedPhoto(current.row()));
    } catch (const std::exception& e) {
        refreshPhotoViews();
        showErrorReport(this, e);
        return;
    }
    memo_->showPane();
    refreshPhotoViews();
    bringToFront(ui->showImage);
}

}  // namespace photocheck

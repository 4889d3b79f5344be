#include "app/ResultsBrowser.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <iterator>
#include <string>
#include <utility>

#include "app/LogPaneView.h"
#include "app/Messages.h"
#include "app/PhotoArea.h"
#include "app/PhotoViews.h"
#include "app/QueryOpening.h"
#include "app/ResultsModel.h"
#include "app/RowIndicator.h"
#include "app/ToolbarIcons.h"
#include "batch/BatchRun.h"
#include "batch/OperatorMessage.h"
#include "batch/RowPhoto.h"
#include "check/ResultRow.h"

namespace photocheck {
namespace {

constexpr int GridFontPixels = 13;
constexpr int RowIndicatorWidth = 12;
const char* const DeleteRowsQuestion = "删除选中的记录吗？";

// The designed width, widened where the cell's margins in this style would cut the longest verdict
// "不合格" (the column was designed for a narrower face).
int columnWidth(const QTableView& grid, const ResultsColumn& column) {
    if (std::string(column.field) != "result") return column.gridWidth;
    const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    return std::max(column.gridWidth, grid.fontMetrics().horizontalAdvance(VerdictFailed) + margins + 2);
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

ResultsBrowser::ResultsBrowser(const Widgets& widgets, Database& db, Query& adoPicMsg, const Showing& showing,
                               QObject* parent)
    : QObject(parent),
      w_(widgets),
      showing_(showing),
      dsPicMsg_(new ResultsModel(db, adoPicMsg, this)),
      opening_(new QueryOpening(db, this)) {
    w_.SpeedButton2->setIcon(queryIcon());
    setUpGrid();
    connect(w_.SpeedButton2, &QAbstractButton::clicked, this, &ResultsBrowser::Button5Click);
    connect(w_.Button5, &QAbstractButton::clicked, this, &ResultsBrowser::Button5Click);
    connect(w_.Button6, &QAbstractButton::clicked, this, &ResultsBrowser::Button6Click);
    connect(dsPicMsg_, &ResultsModel::reopened, this, &ResultsBrowser::moveToOpenedRow);
    connect(opening_, &QueryOpening::finished, this, &ResultsBrowser::queryOpened, Qt::QueuedConnection);
    connect(
        dsPicMsg_, &ResultsModel::fetchFailed, this,
        [this](const QString& message) { showErrorReport(w_.window, message.toStdString()); },
        Qt::QueuedConnection);
    connect(dsPicMsg_, &ResultsModel::changedElsewhere, this, &ResultsBrowser::reopenChangedResults,
            Qt::QueuedConnection);
    connect(w_.DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ResultsBrowser::currentRowChanged);
}

// Column titles, a row indicator, resizable columns, lines between cells, several rows selectable,
// cells editable; the twelve columns of the results with their widths, the unshown ones hidden.
// Ctrl+Delete deletes the selected rows, Esc drops the edits of the row not written yet.
void ResultsBrowser::setUpGrid() {
    QTableView* grid = w_.DBGrid1;
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
    for (int column = 0; column < static_cast<int>(std::size(GridColumns)); ++column) {
        const int width = columnWidth(*grid, GridColumns[column]);
        grid->setColumnHidden(column, width == 0);
        if (width > 0) grid->setColumnWidth(column, width);
    }
    connect(gridKey(*grid, Qt::CTRL | Qt::Key_Delete), &QShortcut::activated, this,
            &ResultsBrowser::deleteSelectedRows);
    connect(gridKey(*grid, Qt::Key_Escape), &QShortcut::activated, dsPicMsg_, &ResultsModel::revert);
}

std::vector<QWidget*> ResultsBrowser::tuningControls() const {
    std::vector<QWidget*> controls = w_.rangeLabels;
    controls.insert(controls.end(),
                    {w_.edtBlueFrom, w_.edtBlueTo, w_.edtClarityFrom, w_.edtClarityTo, w_.edtHeadFrom,
                     w_.edtHeadTo, w_.edtRegularFrom, w_.edtRegularTo, w_.Button5, w_.Button6});
    return controls;
}

std::string ResultsBrowser::verdictFilter() const {
    return w_.cbResult->currentText().toStdString();
}

bool ResultsBrowser::leaveQueryForRun() {
    cancelQuery();
    if (!postRowEdits()) return false;
    dsPicMsg_->detach();
    return true;
}

// The run reopened the results on its own thread, but the rows must come with the run they belong to,
// read before them (see ResultsModel), and a verdict chosen during the run is taken now: so they are
// opened once more, aside. The grid stays empty the few milliseconds that takes.
void ResultsBrowser::queryBack(bool reopened) {
    if (!reopened) return dsPicMsg_->attach();
    rowAfterOpening_ = 0;
    queryAside(resultsStatement(verdictFilter()));
}

void ResultsBrowser::closeResults() {
    cancelQuery();
    dsPicMsg_->closeQuery();
}

void ResultsBrowser::setRunning(bool running) {
    running_ = running;
    enableQueryButtons();
}

void ResultsBrowser::enableQueryButtons() {
    const bool enabled = !running_ && !opening_->isWorking();
    for (QWidget* control : {w_.SpeedButton2, w_.Button5, w_.Button6}) control->setEnabled(enabled);
    w_.DBGrid1->viewport()->setCursor(opening_->isWorking() ? Qt::BusyCursor : Qt::ArrowCursor);
}

// The query button: the statement of the filter typed, or the message instead.
void ResultsBrowser::Button5Click() {
    const ResultsQuery query = buildResultsQuery(currentFilter());
    if (!query.statement) return showMessage(w_.window, query.message);
    queryAside(*query.statement);
}

// The clear button: every filter emptied, the verdict too, then every row.
void ResultsBrowser::Button6Click() {
    ResultsFilter filter;
    const std::string statement = clearResultsFilter(filter);
    showFilter(filter);
    queryAside(statement);
}

ResultsFilter ResultsBrowser::currentFilter() const {
    ResultsFilter filter;
    filter.blueFrom = textOf(w_.edtBlueFrom);
    filter.blueTo = textOf(w_.edtBlueTo);
    filter.clarityFrom = textOf(w_.edtClarityFrom);
    filter.clarityTo = textOf(w_.edtClarityTo);
    filter.headFrom = textOf(w_.edtHeadFrom);
    filter.headTo = textOf(w_.edtHeadTo);
    filter.regularFrom = textOf(w_.edtRegularFrom);
    filter.regularTo = textOf(w_.edtRegularTo);
    filter.verdict = verdictFilter();
    filter.fileName = textOf(w_.edtFileName);
    return filter;
}

void ResultsBrowser::showFilter(const ResultsFilter& filter) {
    setText(w_.edtBlueFrom, filter.blueFrom);
    setText(w_.edtBlueTo, filter.blueTo);
    setText(w_.edtClarityFrom, filter.clarityFrom);
    setText(w_.edtClarityTo, filter.clarityTo);
    setText(w_.edtHeadFrom, filter.headFrom);
    setText(w_.edtHeadTo, filter.headTo);
    setText(w_.edtRegularFrom, filter.regularFrom);
    setText(w_.edtRegularTo, filter.regularTo);
    w_.cbResult->setCurrentText(QString::fromStdString(filter.verdict));
    setText(w_.edtFileName, filter.fileName);
}

// Opening leaves the current row, so its edits are written first. A statement the engine rejects is
// shown and the grid keeps its rows.
void ResultsBrowser::openResults(const std::string& statement) {
    postRowEdits();
    try {
        dsPicMsg_->open(statement);
    } catch (const std::exception& e) {
        showErrorReport(w_.window, e);
    }
}

// The statement shown, opened again: the grid shows what the table holds, at the row that was current.
void ResultsBrowser::reloadResults() {
    rowAfterOpening_ = std::max(w_.DBGrid1->currentIndex().row(), 0);
    queryAside(dsPicMsg_->statement());
}

// Opening leaves the current row, so its edits are written first; then the statement is opened aside
// while the grid keeps its rows.
void ResultsBrowser::queryAside(const std::string& statement) {
    if (opening_->isWorking()) return;
    postRowEdits();
    dsPicMsg_->setQuerying(true);
    opening_->start(statement, ResultsPageRows);
    enableQueryButtons();
}

// A statement the engine rejects (or a query stopped by its time limit) is shown and the grid keeps its
// rows; a cancelled one is dropped quietly.
void ResultsBrowser::queryOpened() {
    std::optional<QueryOpening::Outcome> outcome = opening_->take();
    if (!outcome) return;  // cancelled and taken already
    dsPicMsg_->setQuerying(false);
    enableQueryButtons();
    if (!outcome->query) {
        rowAfterOpening_ = 0;
        if (!outcome->cancelled) showErrorReport(w_.window, outcome->error);
        return;
    }
    dsPicMsg_->adopt(std::move(*outcome->query), outcome->run);
}

void ResultsBrowser::cancelQuery() {
    opening_->cancel();
    if (!opening_->take()) return;
    dsPicMsg_->setQuerying(false);
    rowAfterOpening_ = 0;
    enableQueryButtons();
}

// Another program changed the table under the grid, so the rows it let go of cannot be read again as
// they were: the statement is opened again. Edits not written yet are written first, by their row's
// id, unless another run has replaced the rows meanwhile (then they are refused, see ResultsModel). A
// run that has started meanwhile reopens the results itself at its end.
void ResultsBrowser::reopenChangedResults(const QString& message) {
    showMessage(w_.window, message.toStdString());
    if (running_) return;
    queryAside(dsPicMsg_->statement());
}

// Every opening of the results moves to their first row (after a reload, to the row that was current),
// which shows that row's photo.
void ResultsBrowser::moveToOpenedRow() {
    const int wanted = std::exchange(rowAfterOpening_, 0);
    while (dsPicMsg_->rowCount() <= wanted && dsPicMsg_->canFetchMore({})) dsPicMsg_->fetchMore({});
    if (dsPicMsg_->rowCount() == 0) return dsPicMsgDataChange();
    moveToRow(std::min(wanted, dsPicMsg_->rowCount() - 1));
}

void ResultsBrowser::moveToRow(int row) {
    w_.DBGrid1->setCurrentIndex(dsPicMsg_->index(row, 0));  // a new current row runs dsPicMsgDataChange
}

void ResultsBrowser::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (previous.isValid() && previous.row() != current.row()) postRowEdits();
    dsPicMsgDataChange();
}

// The edits of the row being left are written into the table. A write that fails is shown, and the
// grid reloads, once the grid has done what it is doing.
bool ResultsBrowser::postRowEdits() {
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
void ResultsBrowser::commitOpenEditor() {
    QTableView* grid = w_.DBGrid1;
    if (QWidget* editor = grid->indexWidget(grid->currentIndex()))
        QMetaObject::invokeMethod(grid, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
}

// A run that has started meanwhile reopens the results itself at its end.
void ResultsBrowser::writeFailed(const std::string& message) {
    showErrorReport(w_.window, message);
    if (!running_) reloadResults();
}

// Ctrl+Delete: the selected rows (or the current one) leave the table after a Yes.
void ResultsBrowser::deleteSelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& selected : w_.DBGrid1->selectionModel()->selectedRows())
        rows.push_back(selected.row());
    if (rows.empty() && w_.DBGrid1->currentIndex().isValid())
        rows.push_back(w_.DBGrid1->currentIndex().row());
    if (rows.empty() || opening_->isWorking() || !askYesNo(w_.window, ApplicationTitle, DeleteRowsQuestion))
        return;
    if (!postRowEdits()) return;
    try {
        dsPicMsg_->deleteRows(rows);
    } catch (const std::exception& e) {
        showErrorReport(w_.window, e);
        return reloadResults();
    }
    if (dsPicMsg_->rowCount() == 0) return dsPicMsgDataChange();
    moveToRow(std::min(*std::min_element(rows.begin(), rows.end()), dsPicMsg_->rowCount() - 1));
}

void ResultsBrowser::dsPicMsgDataChange() {
    PhotoArea& area = showing_.photoArea;
    area.bringToFront(area.showImage());
    if (!showing_.state.PreviewEnabled) return;
    const QModelIndex current = w_.DBGrid1->currentIndex();
    if (!current.isValid()) return;
    std::string whyNoPhoto;
    try {
        whyNoPhoto = ShowRowPhoto(showing_.ctx, dsPicMsg_->storedPhoto(current.row()));
    } catch (const std::exception& e) {
        area.refresh();
        area.showNotice(operatorMessage(e));
        showErrorReport(w_.window, e);
        return;
    }
    showing_.memo.showPane();
    area.refresh();
    if (!whyNoPhoto.empty()) area.showNotice(whyNoPhoto);
    area.bringToFront(area.showImage());
}

}  // namespace photocheck

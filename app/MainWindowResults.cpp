#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <exception>
#include <iterator>
#include <string>

#include "app/LogPaneView.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/ResultsModel.h"
#include "app/ToolbarIcons.h"
#include "batch/RowPhoto.h"
#include "check/ResultRow.h"
#include "ui_MainWindow.h"

namespace photocheck {
namespace {

constexpr int GridFontPixels = 13;
constexpr int RowIndicatorWidth = 12;

// The designed width, widened where the cell's margins in this style would cut the longest verdict
// "不合格" (the column was designed for a narrower face).
int columnWidth(const QTableView& grid, const ResultsColumn& column) {
    if (std::string(column.field) != "result") return column.width;
    const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    return std::max(column.width, grid.fontMetrics().horizontalAdvance(VerdictFailed) + margins + 2);
}

}  // namespace

void TFrmMain::connectResultsBrowser() {
    ui->SpeedButton2->setIcon(queryIcon());
    setUpGrid();
    connect(dsPicMsg_, &ResultsModel::reopened, this, &TFrmMain::moveToFirstRow);
    connect(ui->DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFrmMain::dsPicMsgDataChange);
}

// Column titles, a row indicator, resizable columns, lines between cells, several rows selectable;
// the twelve columns of the results with their widths, the unshown ones hidden.
void TFrmMain::setUpGrid() {
    QTableView* grid = ui->DBGrid1;
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
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    for (int column = 0; column < static_cast<int>(std::size(ResultsColumns)); ++column) {
        const int width = columnWidth(*grid, ResultsColumns[column]);
        grid->setColumnHidden(column, width == 0);
        if (width > 0) grid->setColumnWidth(column, width);
    }
}

// Every opening of the results moves to their first row, which shows that row's photo.
void TFrmMain::moveToFirstRow() {
    if (dsPicMsg_->rowCount() == 0) return dsPicMsgDataChange();
    ui->DBGrid1->setCurrentIndex(dsPicMsg_->index(0, 0));  // a new current row runs dsPicMsgDataChange
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

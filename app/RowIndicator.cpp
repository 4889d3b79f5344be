#include "app/RowIndicator.h"

#include <QPainter>
#include <QPolygon>

#include "app/ResultsModel.h"

namespace photocheck {
namespace {

void paintArrow(QPainter& painter, const QRect& rect) {
    const QPoint centre = rect.center();
    const QPolygon arrow({centre + QPoint(-2, -4), centre + QPoint(2, 0), centre + QPoint(-2, 4)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
}

void paintIBeam(QPainter& painter, const QRect& rect) {
    const QPoint centre = rect.center();
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(centre + QPoint(0, -4), centre + QPoint(0, 4));
    painter.drawLine(centre + QPoint(-2, -4), centre + QPoint(2, -4));
    painter.drawLine(centre + QPoint(-2, 4), centre + QPoint(2, 4));
}

}  // namespace

RowIndicator::RowIndicator(const ResultsModel& model, QWidget* parent)
    : QHeaderView(Qt::Vertical, parent), model_(model) {
    setSectionsClickable(true);  // a click selects the row, as on the grid's indicator
}

// The section is drawn as any header section; the painter comes back from it clipped away, so it is
// saved around it.
void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    const int current = selectionModel() ? selectionModel()->currentIndex().row() : -1;
    painter->save();
    if (logicalIndex == model_.editedRow())
        paintIBeam(*painter, rect);
    else if (logicalIndex == current)
        paintArrow(*painter, rect);
    painter->restore();
}

void RowIndicator::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QHeaderView::currentChanged(current, previous);
    viewport()->update();
}

}  // namespace photocheck

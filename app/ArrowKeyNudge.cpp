#include "app/ArrowKeyNudge.h"

#include <QCursor>
#include <QKeyEvent>

namespace photocheck {
namespace {

void movePointer(int dx, int dy) {
    QCursor::setPos(QCursor::pos() + QPoint(dx, dy));
}

void nudge(int key) {
    if (key == Qt::Key_Right) movePointer(1, 0);
    if (key == Qt::Key_Left) movePointer(-1, 0);
    if (key == Qt::Key_Down) movePointer(0, 1);
    if (key == Qt::Key_Up) movePointer(0, -1);
}

}  // namespace

bool ArrowKeyNudge::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWindowType())
        nudge(static_cast<QKeyEvent*>(event)->key());
    return false;
}

}  // namespace photocheck

#include "app/PhotoViews.h"

#include <QMouseEvent>
#include <QPainter>

namespace photocheck {

QImage imageOf(const Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint8_t* bgr = bitmap.row(y);
        uchar* rgb = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x, bgr += 3, rgb += 3) {
            rgb[0] = bgr[2];
            rgb[1] = bgr[1];
            rgb[2] = bgr[0];
        }
    }
    return image;
}

PhotoView::PhotoView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void PhotoView::setView(ImageView* view) {
    view_ = view;
    update();
}

void PhotoView::paintEvent(QPaintEvent*) {
    if (!view_ || !view_->hasPicture() || view_->picture().empty()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, imageOf(view_->picture()));
}

void PhotoView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit pointerMoved(at.x(), at.y());
}

void PhotoView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit pointerPressed(at.x(), at.y());
}

void PhotoView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit pointerReleased(at.x(), at.y());
}

}  // namespace photocheck

#include "app/MeasurementOverlay.h"

#include <QPainter>

#include "app/PhotoViews.h"
#include "report/Overlay.h"

namespace photocheck {
namespace {

QColor qtColour(Colour c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

void drawStroke(QPainter& painter, const OverlayStroke& s) {
    painter.setPen(QPen(qtColour(s.colour), 1));
    switch (s.shape) {
        case OverlayStroke::Shape::Row:
        case OverlayStroke::Shape::Column:
            painter.drawLine(s.x1, s.y1, s.x2, s.y2);
            break;
        case OverlayStroke::Shape::Outline:
            painter.drawLine(s.x1, s.y1, s.x2, s.y1);
            painter.drawLine(s.x1, s.y2, s.x2, s.y2);
            painter.drawLine(s.x1, s.y1, s.x1, s.y2);
            painter.drawLine(s.x2, s.y1, s.x2, s.y2);
            break;
    }
}

}  // namespace

MeasurementOverlay::MeasurementOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void MeasurementOverlay::setMeasurements(std::vector<Measurement> measurements) {
    measurements_ = std::move(measurements);
    update();
}

void MeasurementOverlay::paintEvent(QPaintEvent*) {
    if (measurements_.empty()) return;
    const OverlayLayout layout = layOutOverlay(measurements_, width(), height());
    QPainter painter(this);
    for (const OverlayStroke& stroke : layout.strokes) drawStroke(painter, stroke);
    for (const OverlayLabel& label : layout.labels)
        painter.drawImage(label.x1, label.y1, imageOf(labelPicture(label)));
}

}  // namespace photocheck

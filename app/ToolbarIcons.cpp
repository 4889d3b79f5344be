#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace photocheck {
namespace {

constexpr int Size = 48;

QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int size : {Size, 2 * Size}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / double(Size), size / double(Size));
        draw(p);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(10, 4);
    sheet.lineTo(30, 4);
    sheet.lineTo(38, 12);
    sheet.lineTo(38, 44);
    sheet.lineTo(10, 44);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(30, 4), QPointF(30, 12));
    p.drawLine(QPointF(30, 12), QPointF(38, 12));
    p.setPen(QPen(QColor(150, 150, 150), 2));
    for (int y = 18; y <= 38; y += 5) p.drawLine(15, y, 33, y);
}

void badge(QPainter& p, const QColor& colour) {
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(QPointF(34, 34), 11, 11);
}

}  // namespace

QIcon chooseFolderIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 20), 1.5));
        p.setBrush(QColor(235, 180, 60));
        QPainterPath back;
        back.moveTo(4, 12);
        back.lineTo(17, 12);
        back.lineTo(21, 16);
        back.lineTo(42, 16);
        back.lineTo(42, 40);
        back.lineTo(4, 40);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(252, 212, 100));
        QPainterPath flap;
        flap.moveTo(4, 40);
        flap.lineTo(11, 22);
        flap.lineTo(46, 22);
        flap.lineTo(42, 40);
        flap.closeSubpath();
        p.drawPath(flap);
    });
}

QIcon runBatchIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(20, 110, 40), 1.5));
        p.setBrush(QColor(50, 170, 80));
        p.drawEllipse(QPointF(24, 24), 20, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const QPointF play[] = {{18, 13}, {36, 24}, {18, 35}};
        p.drawPolygon(play, 3);
    });
}

QIcon readmeIcon() {
    return drawn([](QPainter& p) {
        page(p);
        badge(p, QColor(40, 110, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(34, 28), 1.8, 1.8);
        p.drawRoundedRect(QRectF(32.3, 31.5, 3.4, 9), 1, 1);
    });
}

QIcon versionsIcon() {
    return drawn([](QPainter& p) {
        page(p);
        badge(p, QColor(230, 130, 30));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(34, 34), QPointF(34, 27));
        p.drawLine(QPointF(34, 34), QPointF(39, 37));
    });
}

QIcon quitIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(150, 20, 20), 1.5));
        p.setBrush(QColor(210, 50, 50));
        p.drawEllipse(QPointF(24, 24), 20, 20);
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14, 14, 20, 20), 120 * 16, 300 * 16);
        p.drawLine(QPointF(24, 11), QPointF(24, 24));
    });
}

QIcon queryIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(120, 120, 120), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 6, 30, 26));
        for (int y = 12; y < 32; y += 6) p.drawLine(4, y, 34, y);
        p.drawLine(14, 6, 14, 32);
        p.setPen(QPen(QColor(60, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(33, 33), QPointF(43, 43));
        p.setPen(QPen(QColor(40, 90, 170), 3));
        p.setBrush(QColor(200, 225, 250, 200));
        p.drawEllipse(QPointF(27, 27), 10, 10);
    });
}

QIcon programIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(80, 80, 80), 1.5));
        p.setBrush(QColor(150, 200, 240));
        p.drawRoundedRect(QRectF(8, 3, 30, 40), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(36, 46, 72));
        p.drawRoundedRect(QRectF(11, 32, 24, 14), 8, 8);
        p.setBrush(QColor(226, 182, 152));
        p.drawEllipse(QPointF(23, 21), 7, 9);
        p.setBrush(QColor(38, 28, 24));
        p.drawChord(QRectF(16, 11, 14, 12), 0, 180 * 16);
        p.setPen(QPen(QColor(30, 150, 60), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const QPointF tick[] = {{30, 36}, {35, 42}, {45, 28}};
        p.drawPolyline(tick, 3);
    });
}

}  // namespace photocheck

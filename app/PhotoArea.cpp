#include "app/PhotoArea.h"

#include <QGroupBox>
#include <QLabel>

#include "app/MeasurementOverlay.h"
#include "app/PhotoViews.h"

namespace photocheck {
namespace {

constexpr int NoticeFontPixels = 13;
constexpr int NoticeMargin = 24;
// A band in the upper part of the photo, clear of the floating readout's designed place.
constexpr int NoticeTop = 120;
constexpr int NoticeHeight = 110;

QLabel* noticeOver(const QRect& photo, QWidget* area) {
    auto* notice = new QLabel(area);
    notice->setObjectName("lblNoPhoto");
    notice->setGeometry(photo.left() + NoticeMargin, photo.top() + NoticeTop,
                        photo.width() - 2 * NoticeMargin, NoticeHeight);
    notice->setAlignment(Qt::AlignCenter);
    notice->setWordWrap(true);
    notice->setTextFormat(Qt::PlainText);
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont font = notice->font();
    font.setPixelSize(NoticeFontPixels);
    notice->setFont(font);
    notice->hide();
    return notice;
}

}  // namespace

PhotoArea::PhotoArea(const Widgets& widgets)
    : w_(widgets),
      overlay_(new MeasurementOverlay(widgets.GroupBox3)),
      notice_(noticeOver(widgets.showImage->geometry(), widgets.GroupBox3)) {
    overlay_->setGeometry(w_.showImage->geometry());
    overlay_->hide();
}

void PhotoArea::refresh() {
    updateViews();
    notice_->hide();
    showMeasurements({}, false);
}

void PhotoArea::updateViews() {
    for (QWidget* view : {w_.orgImage, w_.showImage, w_.MyImage}) view->update();
}

void PhotoArea::showNotice(const std::string& why) {
    notice_->setText(QString::fromStdString(why));
    notice_->show();
    raiseLayers();
}

bool PhotoArea::showsNotice() const {
    return notice_->isVisible();
}

void PhotoArea::clearPictures(std::initializer_list<ImageView*> views) {
    for (ImageView* view : views) view->clear();
    refresh();
}

void PhotoArea::bringToFront(PhotoView& view) {
    view.raise();
    raiseLayers();
}

void PhotoArea::showMeasurements(std::vector<Measurement> measurements, bool shown) {
    overlay_->setMeasurements(std::move(measurements));
    setMeasurementsShown(shown);
}

void PhotoArea::setMeasurementsShown(bool shown) {
    overlay_->setVisible(shown && overlay_->hasMeasurements());
    raiseLayers();
}

PhotoView* PhotoArea::photoViewAt(const QPoint& inPhotoArea) const {
    const QObjectList& stacked = w_.GroupBox3->children();  // bottom to top
    for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
        auto* view = qobject_cast<PhotoView*>(*it);
        if (view && view->isVisible() && view->geometry().contains(inPhotoArea)) return view;
    }
    return nullptr;
}

void PhotoArea::raiseLayers() {
    overlay_->raise();
    notice_->raise();
    for (QWidget* layer : layersAbove_) layer->raise();
}

}  // namespace photocheck

#include "app/PhotoArea.h"

#include <QGroupBox>

#include "app/MeasurementOverlay.h"
#include "app/PhotoViews.h"

namespace photocheck {

PhotoArea::PhotoArea(const Widgets& widgets)
    : w_(widgets), overlay_(new MeasurementOverlay(widgets.GroupBox3)) {
    overlay_->setGeometry(w_.showImage->geometry());
    overlay_->hide();
}

void PhotoArea::refresh() {
    for (QWidget* view : {w_.orgImage, w_.showImage, w_.MyImage}) view->update();
    showMeasurements({}, false);
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
    for (QWidget* layer : layersAbove_) layer->raise();
}

}  // namespace photocheck

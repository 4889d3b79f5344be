#pragma once
#include <QPoint>
#include <initializer_list>
#include <string>
#include <vector>

#include "check/Measurement.h"

class QGroupBox;
class QLabel;
class QWidget;

namespace photocheck {

class ImageView;
class MeasurementOverlay;
class PhotoView;

// The photo area "电子照片区" (GroupBox3): the three photo views orgImage, showImage and MyImage stacked
// in it, and above them, in this order, the measured places of the last debug check (drawn over
// showImage, never into it) and the layers the tools lay over the photo (the floating readout and the
// tool boxes). Whatever brings a view to the front keeps those layers above it.
class PhotoArea {
  public:
    struct Widgets {
        QGroupBox* GroupBox3;
        PhotoView* orgImage;
        PhotoView* showImage;
        PhotoView* MyImage;
    };
    explicit PhotoArea(const Widgets& widgets);

    PhotoView& orgImage() const { return *w_.orgImage; }
    PhotoView& showImage() const { return *w_.showImage; }
    PhotoView& MyImage() const { return *w_.MyImage; }

    // The widgets that always lie above the views, bottom to top.
    void setLayersAbove(std::vector<QWidget*> layers) { layersAbove_ = std::move(layers); }

    // The views show their pictures anew; the measured places and the notice no longer belong to them.
    void refresh();
    // The views repainted whole, as after a read gave an empty view its blank picture.
    void updateViews();
    // Says in the empty photo area why it shows no photo, until the next refresh().
    void showNotice(const std::string& why);
    bool showsNotice() const;
    // The pictures of these views cleared, then refresh().
    void clearPictures(std::initializer_list<ImageView*> views);
    // A view comes to the front, below what always lies above the views.
    void bringToFront(PhotoView& view);

    // The measured places over showImage, shown when `shown` and there are any.
    void showMeasurements(std::vector<Measurement> measurements, bool shown);
    void setMeasurementsShown(bool shown);

    // The photo view in front at a point of the photo area, if any.
    PhotoView* photoViewAt(const QPoint& inPhotoArea) const;

  private:
    void raiseLayers();

    Widgets w_;
    MeasurementOverlay* overlay_;  // owned by GroupBox3
    QLabel* notice_;               // owned by GroupBox3
    std::vector<QWidget*> layersAbove_;
};

}  // namespace photocheck

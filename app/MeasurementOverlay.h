#pragma once
#include <QWidget>
#include <vector>

#include "check/Measurement.h"

namespace photocheck {

// The measured places of the last debug check, drawn over a photo view by a widget of its own that
// lies above it: the photo views' bitmaps are never drawn into, so the readout and the tools keep
// seeing the photo's pixels. The pointer passes through to the view below.
class MeasurementOverlay : public QWidget {
    Q_OBJECT
  public:
    explicit MeasurementOverlay(QWidget* parent = nullptr);

    // What to draw; none draws nothing.
    void setMeasurements(std::vector<Measurement> measurements);
    bool hasMeasurements() const { return !measurements_.empty(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<Measurement> measurements_;
};

}  // namespace photocheck

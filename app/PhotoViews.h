#pragma once
#include <QImage>
#include <QWidget>

#include "imaging/Bitmap.h"
#include "imaging/ImageView.h"

namespace photocheck {

// The bitmap as a Qt image, pixel for pixel (no image plugin is involved).
QImage imageOf(const Bitmap& bitmap);

// A photo view of the window: paints the picture of a core ImageView at its top-left corner,
// unscaled, so that widget coordinates are photo coordinates; a view without a picture paints
// nothing and lets what lies below show. The pointer's moves, presses and releases over the view
// are passed on in those coordinates.
class PhotoView : public QWidget {
    Q_OBJECT
  public:
    explicit PhotoView(QWidget* parent = nullptr);

    // The view whose picture is painted; it must outlive the widget. Repaint after changing it.
    void setView(ImageView* view);
    ImageView* view() const { return view_; }

  signals:
    void pointerMoved(int x, int y);
    void pointerPressed(int x, int y);
    void pointerReleased(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ImageView* view_ = nullptr;
};

}  // namespace photocheck

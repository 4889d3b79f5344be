#pragma once
#include <QObject>

namespace photocheck {

// The application-wide key hook: each press of an arrow key moves the pointer one pixel in its
// direction, and the key still goes on to the focused control (the grid's current row moves too).
// Installed on the application, it looks at key presses as they reach a window, once per press.
class ArrowKeyNudge : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace photocheck

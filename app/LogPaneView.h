#pragma once
#include <QStringList>
#include <string>

#include "check/CheckContext.h"

class QPlainTextEdit;

namespace photocheck {

// Keeps the log pane widget Memo2 in step with the check context's log pane: the window writes
// through it, and after a core call that wrote into the context's pane it shows that pane again.
// The newest line stays in sight at the top of the widget, as only its first line shows in the
// window.
class LogPaneView {
  public:
    LogPaneView(LogPane& pane, QPlainTextEdit& widget);

    void clear();
    void add(const std::string& line);
    // Several lines at once, in order, shown with one update of the widget.
    void addLines(const QStringList& lines);
    void showPane();  // the widget rewritten from the context's pane
    // A line that says what is going on (the preparation of a run), shown last until the next line is
    // added or the pane is cleared; it is no line of the log.
    void showStatus(const std::string& line);

  private:
    void showNewestLine();
    void dropStatus();
    LogPane& pane_;
    QPlainTextEdit& widget_;
    bool statusShown_ = false;
};

}  // namespace photocheck

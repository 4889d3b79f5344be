#pragma once
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
    void showPane();  // the widget rewritten from the context's pane

  private:
    void showNewestLine();
    LogPane& pane_;
    QPlainTextEdit& widget_;
};

}  // namespace photocheck

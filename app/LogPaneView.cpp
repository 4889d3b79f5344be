#include "app/LogPaneView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace photocheck {

LogPaneView::LogPaneView(LogPane& pane, QPlainTextEdit& widget) : pane_(pane), widget_(widget) {
    widget_.setCenterOnScroll(true);  // lets the last line scroll up to the top
    showPane();
}

void LogPaneView::clear() {
    pane_.clear();
    widget_.clear();
}

void LogPaneView::add(const std::string& line) {
    pane_.add(line);
    widget_.appendPlainText(QString::fromStdString(line));
    showNewestLine();
}

// The lines the widget already shows unchanged stay; lines added after them are appended, and any
// other change rewrites the widget.
void LogPaneView::showPane() {
    const QTextDocument* doc = widget_.document();
    const int lines = pane_.count();
    const int shown = doc->isEmpty() ? 0 : doc->blockCount();
    int same = 0;
    while (same < std::min(lines, shown) &&
           doc->findBlockByNumber(same).text() == QString::fromStdString(pane_.line(same)))
        ++same;
    if (same == lines && same == shown) return;
    if (same < shown) {
        widget_.clear();
        same = 0;
    }
    for (int i = same; i < lines; ++i) widget_.appendPlainText(QString::fromStdString(pane_.line(i)));
    showNewestLine();
}

// The first row of the newest line at the top: a line longer than the pane wraps, and its start is
// what the operator reads first.
void LogPaneView::showNewestLine() {
    QScrollBar* bar = widget_.verticalScrollBar();
    const QTextLayout* layout = widget_.document()->lastBlock().layout();
    const int wrappedRows = layout ? std::max(layout->lineCount(), 1) : 1;
    bar->setValue(bar->maximum() - (wrappedRows - 1));
}

}  // namespace photocheck

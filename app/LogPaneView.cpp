#include "app/LogPaneView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <utility>

namespace photocheck {

LogPaneView::LogPaneView(LogPane& pane, QPlainTextEdit& widget) : pane_(pane), widget_(widget) {
    widget_.setCenterOnScroll(true);  // lets the last line scroll up to the top
    showPane();
}

void LogPaneView::clear() {
    pane_.clear();
    widget_.clear();
    statusShown_ = false;
}

void LogPaneView::add(const std::string& line) {
    dropStatus();
    pane_.add(line);
    widget_.appendPlainText(QString::fromStdString(line));
    showNewestLine();
}

void LogPaneView::addLines(const QStringList& lines) {
    if (lines.isEmpty()) return;
    dropStatus();
    for (const QString& line : lines) pane_.add(line.toStdString());
    widget_.appendPlainText(lines.join(QChar::LineFeed));  // each line a block of its own
    showNewestLine();
}

// The lines the widget already shows unchanged stay; lines added after them are appended, and any
// other change rewrites the widget.
void LogPaneView::showPane() {
    dropStatus();
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

void LogPaneView::showStatus(const std::string& line) {
    dropStatus();
    widget_.appendPlainText(QString::fromStdString(line));
    statusShown_ = true;
    showNewestLine();
}

// The status line is the widget's last block, and the line break before it.
void LogPaneView::dropStatus() {
    if (!std::exchange(statusShown_, false)) return;
    QTextCursor cursor(widget_.document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    if (cursor.block().previous().isValid()) {
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
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

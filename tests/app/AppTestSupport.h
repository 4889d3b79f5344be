#pragma once
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace photocheck::apptest {

std::string binFolder();      // where the executables and the data package were built
std::string samplesFolder();  // the bundled sample photos, absolute, with its final separator

// Makes the application look as the program does and keeps it running when a test closes a window.
void prepareTestApplication();

// Answers every message box the program shows with its default button (or the button given, in a box
// that has it), noting its caption and text.
class MessageBoxes : public QObject {
    Q_OBJECT
  public:
    explicit MessageBoxes(QMessageBox::StandardButton answer = QMessageBox::NoButton);
    struct Shown {
        QString caption;
        QString text;
        Qt::TextFormat format;
    };
    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;

  private:
    void answer();
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    std::vector<Shown> shown_;
};

// The lines of a text, split at line breaks; no lines for an empty text.
QStringList linesOf(const QString& text);

// A photo folder and a working folder in a fresh temporary folder.
struct Folders {
    test::TempDir dir;
    std::string photos = dir.file("photos");
    std::string work = dir.file("work");
    Folders();
    void copySample(const std::string& sample, const std::string& relativeTarget) const;
};

}  // namespace photocheck::apptest

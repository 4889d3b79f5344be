#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

#include "app/Startup.h"

namespace photocheck::apptest {

std::string binFolder() {
    const char* bin = std::getenv("PHOTOCHECK_BIN");
    return bin ? bin : "bin";
}

// Absolute for the system the tests run on: under Wine the build's Linux paths lack their drive (Z:),
// and a file dialog takes a path without one for a name in the folder it shows.
std::string samplesFolder() {
    return QFileInfo(PHOTOCHECK_SOURCE_DIR "/samples").absoluteFilePath().toStdString() + "/";
}

void prepareTestApplication() {
    prepareApplication(*qApp);
    QApplication::setQuitOnLastWindowClosed(false);
}

MessageBoxes::MessageBoxes(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxes::answer);
    timer_.start(10);
}

void MessageBoxes::answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    shown_.push_back({box->windowTitle(), box->text(), box->textFormat()});
    QAbstractButton* button = box->button(answer_);
    if (!button) button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
    if (button) button->click();
}

QStringList MessageBoxes::texts() const {
    QStringList texts;
    for (const Shown& s : shown_) texts << s.text;
    return texts;
}

QStringList linesOf(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split('\n');
}

Folders::Folders() {
    std::filesystem::create_directories(photos);
}

void Folders::copySample(const std::string& sample, const std::string& relativeTarget) const {
    const std::filesystem::path target = photos + "/" + relativeTarget;
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(samplesFolder() + sample, target);
}

}  // namespace photocheck::apptest

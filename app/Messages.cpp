#include "app/Messages.h"

#include <QMessageBox>

#include "batch/OperatorMessage.h"

namespace photocheck {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void showMessage(QWidget* parent, const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, qt(caption), qt(text), QMessageBox::Ok, parent);
    box.exec();
}

void showErrorReport(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, qt(ApplicationTitle), qt(text), QMessageBox::Ok, parent);
    box.exec();
}

void showErrorReport(QWidget* parent, const std::exception& error) {
    showErrorReport(parent, operatorMessage(error));
}

bool askYesNo(QWidget* parent, const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, qt(caption), qt(text), QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace photocheck

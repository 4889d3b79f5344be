#include "app/Messages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <utility>

#include "batch/OperatorMessage.h"

namespace photocheck {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The buttons say what they do in the operator's language, and the text is plain text: a file name
// in it such as "<img ...>" is shown, never taken for markup.
void prepare(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Ok, "确定"}, {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"}};
    for (const auto& [button, name] : names)
        if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(name));
}

}  // namespace

void showMessage(QWidget* parent, const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, qt(caption), qt(text), QMessageBox::Ok, parent);
    prepare(box);
    box.exec();
}

void showErrorReport(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, qt(ApplicationTitle), qt(text), QMessageBox::Ok, parent);
    prepare(box);
    box.exec();
}

void showErrorReport(QWidget* parent, const std::exception& error) {
    showErrorReport(parent, operatorMessage(error));
}

bool askYesNo(QWidget* parent, const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, qt(caption), qt(text), QMessageBox::Yes | QMessageBox::No, parent);
    prepare(box);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace photocheck

#pragma once
#include <exception>
#include <string>

class QWidget;

namespace photocheck {

// The program's title: the caption of its message boxes and its name on the desktop. The main
// window has a caption of its own.
inline const char* const ApplicationTitle = "Tarvel电子_V1.0测试版";

// A plain message for the operator, with an OK button.
void showMessage(QWidget* parent, const std::string& text, const std::string& caption = ApplicationTitle);

// The program's error report: an error that ended what the operator asked for, with its text.
void showErrorReport(QWidget* parent, const std::string& text);
// The same for an error: its text in the operator's words (Chinese, the system's detail after it).
void showErrorReport(QWidget* parent, const std::exception& error);

// A question with the buttons Yes and No; true for Yes.
bool askYesNo(QWidget* parent, const std::string& caption, const std::string& text);

}  // namespace photocheck

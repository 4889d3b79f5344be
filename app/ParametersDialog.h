#pragma once
#include <QDialog>
#include <memory>

#include "store/Database.h"
#include "store/DetectionParameters.h"
#include "store/Parameters.h"

namespace Ui {
class TfrmPreParameters;
}

namespace photocheck {

class Tdm;

// The settings dialog "参数设置" (ParametersDialog.ui): the five thresholds of the table
// preParameters in five edits and the button "确定". Not modal; closing it hides it, and it keeps the
// texts of its edits until the program ends.
//
// The form's size is the client area of the designed 251 x 385 window less the Windows frame; the
// group box and the rows inside it are placed by us (no positions were given). The button's font is
// 19 pixels high.
class TfrmPreParameters : public QDialog {
    Q_OBJECT
  public:
    // FormCreate: the table's row into the edits, then the thresholds from the parameter file into
    // `params`, which the checks read. Errors are shown; the dialog is usable all the same.
    TfrmPreParameters(Tdm& dm, DetectionParameters& params, QWidget* parent);
    ~TfrmPreParameters() override;

    // While a batch run works on the database the confirm button waits.
    void setConfirmEnabled(bool enabled);
    // At the program's close: the dialog's query lets go of the database.
    void closeQuery();

  private:
    void FormCreate();
    void Button1Click();
    ParameterEdits edits() const;
    void showEdits(const ParameterEdits& edits);
    void refuse(const ConfirmResult& refusal);

    std::unique_ptr<Ui::TfrmPreParameters> ui;
    const std::string workFolder_;
    Query ADOpreSet;
    DetectionParameters& params_;
};

}  // namespace photocheck

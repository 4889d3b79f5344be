#include "app/ParametersDialog.h"

#include <exception>

#include "app/DataModule.h"
#include "app/Messages.h"
#include "ui_ParametersDialog.h"

namespace photocheck {
namespace {

constexpr Qt::WindowFlags CloseBoxOnly =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
constexpr int ButtonFontPixels = 19;

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

TfrmPreParameters::TfrmPreParameters(Tdm& dm, DetectionParameters& params, QWidget* parent)
    : QDialog(parent, CloseBoxOnly),
      ui(std::make_unique<Ui::TfrmPreParameters>()),
      workFolder_(dm.workFolder()),
      ADOpreSet(dm.ADOConnection1()),
      params_(params) {
    ui->setupUi(this);
    QFont large = ui->Button1->font();
    large.setPixelSize(ButtonFontPixels);
    ui->Button1->setFont(large);
    move(370, 228);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmPreParameters::Button1Click);
    FormCreate();
}

TfrmPreParameters::~TfrmPreParameters() = default;

void TfrmPreParameters::setConfirmEnabled(bool enabled) {
    ui->Button1->setEnabled(enabled);
}

void TfrmPreParameters::closeQuery() {
    ADOpreSet.close();
}

void TfrmPreParameters::FormCreate() {
    ParameterEdits loaded;
    try {
        LoadParameterSettings(ADOpreSet, workFolder_, loaded, params_,
                              [this](const std::string& message) { showMessage(this, message); });
    } catch (const std::exception& e) {
        showEdits(loaded);
        showErrorReport(this, e);
        return;
    }
    showEdits(loaded);
}

void TfrmPreParameters::Button1Click() {
    ParameterEdits typed = edits();
    try {
        const ConfirmResult result = ConfirmParameterSettings(ADOpreSet, typed, params_);
        showEdits(typed);
        if (!result.ok) return refuse(result);
        showMessage(this, result.message);
    } catch (const std::exception& e) {
        showEdits(typed);
        showErrorReport(this, e);
    }
}

void TfrmPreParameters::refuse(const ConfirmResult& refusal) {
    showMessage(this, refusal.message);
    QLineEdit* edit = refusal.focus == ConfirmResult::Focus::Blue      ? ui->edtPreBlue
                      : refusal.focus == ConfirmResult::Focus::Regular ? ui->edtPreRegular
                                                                       : ui->edtPreHead;
    edit->selectAll();
    edit->setFocus();
}

ParameterEdits TfrmPreParameters::edits() const {
    return {textOf(ui->edtPreSize), textOf(ui->edtPreBlue), textOf(ui->edtPreClarity),
            textOf(ui->edtPreRegular), textOf(ui->edtPreHead)};
}

void TfrmPreParameters::showEdits(const ParameterEdits& e) {
    ui->edtPreSize->setText(QString::fromStdString(e.size));
    ui->edtPreBlue->setText(QString::fromStdString(e.blue));
    ui->edtPreClarity->setText(QString::fromStdString(e.clarity));
    ui->edtPreRegular->setText(QString::fromStdString(e.regular));
    ui->edtPreHead->setText(QString::fromStdString(e.head));
}

}  // namespace photocheck

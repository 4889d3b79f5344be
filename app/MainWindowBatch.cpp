#include <QFileDialog>
#include <algorithm>

#include "app/DataModule.h"
#include "app/LogPaneView.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/ParametersDialog.h"
#include "app/ResultsModel.h"
#include "app/ToolbarIcons.h"
#include "platform/ExecutableFolder.h"
#include "ui_MainWindow.h"

namespace photocheck {

void TFrmMain::connectBatchRun() {
    ui->SpeedButton4->setIcon(chooseFolderIcon());
    ui->SpeedButton1->setIcon(runBatchIcon());
    connect(ui->SpeedButton4, &QToolButton::clicked, this, &TFrmMain::Button2Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TFrmMain::Button2Click);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TFrmMain::Button3Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TFrmMain::Button3Click);

    constexpr auto queued = Qt::QueuedConnection;
    connect(&worker_, &BatchWorker::cleared, this, &TFrmMain::runCleared, queued);
    connect(&worker_, &BatchWorker::logLine, this, &TFrmMain::runLogLine, queued);
    connect(&worker_, &BatchWorker::progressStarted, this, &TFrmMain::runProgressStarted, queued);
    connect(&worker_, &BatchWorker::photoDone, this, &TFrmMain::runPhotoDone, queued);
    connect(&worker_, &BatchWorker::counts, this, &TFrmMain::runCounts, queued);
    connect(&worker_, &BatchWorker::finished, this, &TFrmMain::runFinished, queued);
}

void TFrmMain::Button2Click() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, "请选择一个目录", QString::fromStdString(executableFolder()), QFileDialog::ShowDirsOnly);
    PhotoFolder = chosenPhotoFolder(chosen.toStdString());  // a cancel leaves no folder chosen
}

void TFrmMain::Button3Click() {
    if (running_ || !postRowEdits()) return;
    clearPictures({&ctx_.showImage, &ctx_.orgImage});
    state_.PreviewEnabled = false;
    dsPicMsg_->detach();
    BatchOptions options = batchOptions();
    BatchEvents reportEvents;
    try {
        lastReport_.startRun(ui->cbShowOverlay->isChecked(), dm_.workFolder(), options, reportEvents);
    } catch (const std::exception& e) {
        showErrorReport(this, e);
        lastReport_.startRun(false, dm_.workFolder(), options, reportEvents);  // the run goes on without it
    }
    setRunning(true);
    worker_.start(adoPicMsg_, std::move(options), state_, std::move(reportEvents.onPhotoStored));
}

BatchOptions TFrmMain::batchOptions() const {
    BatchOptions options;
    options.photoFolder = PhotoFolder;
    options.checks.cbDebug = ui->cbDebug->isChecked();
    options.checks.cbEyesLets = ui->cbEyesLets->isChecked();
    options.checks.params = ctx_.params;
    options.verdictFilter = ui->cbResult->currentText().toStdString();
    options.threads = defaultBatchThreads();
    options.workFolder = dm_.workFolder();  // held locked for the whole run
    return options;
}

// While a run works, nothing the operator does may start another one or touch the database.
void TFrmMain::setRunning(bool running) {
    running_ = running;
    for (QWidget* control : {static_cast<QWidget*>(ui->SpeedButton4), static_cast<QWidget*>(ui->SpeedButton1),
                             static_cast<QWidget*>(ui->Button2), static_cast<QWidget*>(ui->Button3),
                             static_cast<QWidget*>(ui->SpeedButton2), static_cast<QWidget*>(ui->Button5),
                             static_cast<QWidget*>(ui->Button6)})
        control->setEnabled(!running);
    updateDebugButtons();
    if (frmPreParameters_) frmPreParameters_->setConfirmEnabled(!running);
}

// The run stops after the photos in work; what it sent before it stopped is shown at once.
void TFrmMain::stopRunAndWait() {
    if (!running_) return;
    worker_.requestStop();
    worker_.wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TFrmMain::runCleared() {
    memo_->clear();
    ui->StatusPanel1->clear();
    ui->StatusPanel3->clear();
}

void TFrmMain::runLogLine(const QString& line) {
    memo_->add(line.toStdString());
}

void TFrmMain::runProgressStarted(int total) {
    ui->ProgressBar1->setRange(0, std::max(total, 1));  // a range of 0 to 0 would show a busy bar
    ui->ProgressBar1->setValue(0);
}

void TFrmMain::runPhotoDone(int, const QString& line) {
    memo_->add(line.toStdString());
    ui->ProgressBar1->setValue(ui->ProgressBar1->value() + 1);
}

void TFrmMain::runCounts(int passed, int failed) {
    ui->StatusPanel1->setText(QString::number(passed));
    ui->StatusPanel3->setText(QString::number(failed));
}

void TFrmMain::runFinished() {
    if (!running_) return;
    const BatchWorker::Outcome outcome = worker_.wait();
    state_ = outcome.state;
    lastReport_.runEnded(outcome.refusal || outcome.error ? std::nullopt : std::optional(outcome.summary));
    setRunning(false);
    if (outcome.completed) clearPictures({&ctx_.orgImage, &ctx_.MyImage, &ctx_.showImage});
    dsPicMsg_->attach(outcome.completed ? ResultsModel::Since::Reopened : ResultsModel::Since::Unchanged);
    if (outcome.refusal) showMessage(this, *outcome.refusal);
    if (outcome.error) showErrorReport(this, *outcome.error);
    if (const std::string notice = copiesNotice(outcome.summary); !notice.empty()) showMessage(this, notice);
}

}  // namespace photocheck

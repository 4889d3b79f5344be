#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <utility>

#include "app/DataModule.h"
#include "app/LogPaneView.h"
#include "app/Messages.h"
#include "app/ParametersDialog.h"
#include "app/PhotoArea.h"
#include "app/ResultsBrowser.h"
#include "app/ToolbarIcons.h"
#include "app/TuningTools.h"
#include "platform/ExecutableFolder.h"
#include "store/PackageInstall.h"
#include "ui_MainWindow.h"

namespace photocheck {
namespace {

// A single border that cannot be resized; system menu, minimise box and close box, no maximise box.
constexpr Qt::WindowFlags MainWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                            Qt::WindowCloseButtonHint;
constexpr int LogFontPixels = 13;
const char* const TuningShortcut = "Ctrl+Shift+T";
const QPoint DesignedPosition(194, 121);
const char* const ClosingCaption = "（正在停止检测，检测停下后窗口随即关闭……）";

void setFontPixels(QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

void openDocument(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));  // outcome not examined
}

PhotoArea::Widgets photoAreaOf(const Ui::TFrmMain& ui) {
    return {ui.GroupBox3, ui.orgImage, ui.showImage, ui.MyImage};
}

ResultsBrowser::Widgets resultsBrowserOf(QWidget* window, const Ui::TFrmMain& ui) {
    return {window,
            ui.DBGrid1,
            ui.cbResult,
            ui.edtFileName,
            ui.SpeedButton2,
            ui.edtBlueFrom,
            ui.edtBlueTo,
            ui.edtClarityFrom,
            ui.edtClarityTo,
            ui.edtHeadFrom,
            ui.edtHeadTo,
            ui.edtRegularFrom,
            ui.edtRegularTo,
            ui.Button5,
            ui.Button6,
            {ui.lblBlue, ui.lblBlueTo, ui.lblClarity, ui.lblClarityTo, ui.lblRegular, ui.lblRegularTo,
             ui.lblHead, ui.lblHeadTo}};
}

TuningTools::Widgets tuningToolsOf(QWidget* window, const Ui::TFrmMain& ui) {
    return {window,           ui.cbDebug,    ui.btnLoadPicture, ui.btncheckPicture, ui.gray,
            ui.HSV,           ui.GroupBox1,  ui.IMGmagnify,     ui.LbRgb,           ui.LbHsv,
            ui.cbCheckLength, ui.cbEyesLets, ui.cb_moveMouse,   ui.cbShowOverlay,   ui.btnExportReport,
            ui.GroupBox4,     ui.Button1,    ui.Edit1,          ui.Button4};
}

}  // namespace

TFrmMain::TFrmMain(Tdm& dm, const std::string& photoFolder)
    : QWidget(nullptr, MainWindowFlags),
      ui(std::make_unique<Ui::TFrmMain>()),
      dm_(dm),
      adoPicMsg_(dm.ADOConnection1()),
      PhotoFolder(photoFolder) {
    ui->setupUi(this);
    move(DesignedPosition);
    setWindowIcon(programIcon());
    setFontPixels(ui->Memo2, LogFontPixels);
    ui->orgImage->setView(&ctx_.orgImage);
    ui->showImage->setView(&ctx_.showImage);
    ui->MyImage->setView(&ctx_.MyImage);
    memo_ = std::make_unique<LogPaneView>(ctx_.Memo2, *ui->Memo2);
    photoArea_ = std::make_unique<PhotoArea>(photoAreaOf(*ui));
    tools_ = std::make_unique<TuningTools>(tuningToolsOf(this, *ui), ctx_, *photoArea_, *memo_, nullptr);
    browser_ =
        std::make_unique<ResultsBrowser>(resultsBrowserOf(this, *ui), dm.ADOConnection1(), adoPicMsg_,
                                         ResultsBrowser::Showing{ctx_, *photoArea_, *memo_, state_}, nullptr);
    connectShell();
    connectBatchRun();
    FormCreate();
}

// The worker, the last member, stops a run still working and waits for it before the query goes.
TFrmMain::~TFrmMain() = default;

void TFrmMain::FormCreate() {
    qApp->installEventFilter(&arrowKeys_);  // AppMessage
    browser_->openResults(StartupRowsStatement);
}

void TFrmMain::connectShell() {
    ui->SpeedButton3->setIcon(readmeIcon());
    ui->SpeedButton6->setIcon(versionsIcon());
    ui->SpeedButton5->setIcon(quitIcon());
    connect(ui->SpeedButton3, &QToolButton::clicked, this, &TFrmMain::SpeedButton3Click);
    connect(ui->SpeedButton6, &QToolButton::clicked, this, &TFrmMain::SpeedButton6Click);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, &TFrmMain::SpeedButton5Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TFrmMain::Button7Click);
    connect(new QShortcut(QKeySequence(TuningShortcut), this), &QShortcut::activated, this,
            &TFrmMain::toggleTuningControls);
}

void TFrmMain::Button7Click() {
    if (!frmPreParameters_) return;
    frmPreParameters_->show();
    frmPreParameters_->raise();
    frmPreParameters_->activateWindow();
}

void TFrmMain::SpeedButton3Click() {
    openDocument(dm_.workFolder() + ReadmeFileName);
}

void TFrmMain::SpeedButton6Click() {
    openDocument(dm_.workFolder() + VersionsFileName);
}

// The quit button ends the program like the close box: a run still working is stopped first, then the
// working files are deleted.
void TFrmMain::SpeedButton5Click() {
    close();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return closeAfterRun();
    }
    if (frmPreParameters_) frmPreParameters_->hide();
    releaseDatabase();
    CleanUpWorkFiles(dm_.workFolder());
    event->accept();
}

// Windows deletes no open file: the queries and the connection let go of the database before the
// working files are deleted, or the database would stay behind for the next start.
void TFrmMain::releaseDatabase() {
    browser_->closeResults();
    if (frmPreParameters_) frmPreParameters_->closeQuery();
    dm_.ADOConnection1().close();
}

QPoint fittedOnScreen(const QRect& frame, const QRect& available) {
    const auto fitted = [](int at, int size, int first, int room) {
        return std::max(first, std::min(at, first + room - size));
    };
    return {fitted(frame.x(), frame.width(), available.x(), available.width()),
            fitted(frame.y(), frame.height(), available.y(), available.height())};
}

void TFrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!std::exchange(placed_, true))
        QTimer::singleShot(0, this, &TFrmMain::placeOnScreen);  // with its frame
}

// The designed position where the whole window fits the screen (a laptop's 1366 x 768 is too low for
// it); the size stays as designed.
void TFrmMain::placeOnScreen() {
    const QPoint fitted = fittedOnScreen(frameGeometry(), screen()->availableGeometry());
    if (fitted != pos()) move(fitted);  // a window's position is its frame's
}

// The hidden tuning controls: those of the tools, the range filters of the results and "参数设置".
std::vector<QWidget*> TFrmMain::tuningControls() const {
    std::vector<QWidget*> controls = tools_->tuningControls();
    const std::vector<QWidget*> filters = browser_->tuningControls();
    controls.insert(controls.end(), filters.begin(), filters.end());
    controls.push_back(ui->Button7);
    return controls;
}

void TFrmMain::toggleTuningControls() {
    tuningShown_ = !tuningShown_;
    for (QWidget* control : tuningControls()) control->setVisible(tuningShown_);
    photoArea_->bringToFront(photoArea_->showImage());
}

void TFrmMain::connectBatchRun() {
    ui->SpeedButton4->setIcon(chooseFolderIcon());
    ui->SpeedButton1->setIcon(runBatchIcon());
    connect(ui->SpeedButton4, &QToolButton::clicked, this, &TFrmMain::Button2Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TFrmMain::Button2Click);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TFrmMain::Button3Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TFrmMain::Button3Click);

    connect(&worker_, &BatchWorker::cleared, this, &TFrmMain::runCleared);
    connect(&worker_, &BatchWorker::preparing, this, &TFrmMain::runPreparing);
    connect(&worker_, &BatchWorker::logLines, this, &TFrmMain::runLogLines);
    connect(&worker_, &BatchWorker::progressStarted, this, &TFrmMain::runProgressStarted);
    connect(&worker_, &BatchWorker::counts, this, &TFrmMain::runCounts);
    connect(&worker_, &BatchWorker::progress, this, &TFrmMain::runProgress);
    connect(&worker_, &BatchWorker::finished, this, &TFrmMain::runFinished);
}

void TFrmMain::Button2Click() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, "请选择一个目录", QString::fromStdString(executableFolder()), QFileDialog::ShowDirsOnly);
    PhotoFolder = chosenPhotoFolder(chosen.toStdString());  // a cancel leaves no folder chosen
}

void TFrmMain::Button3Click() {
    if (running_ || !browser_->leaveQueryForRun()) return;
    photoArea_->clearPictures({&ctx_.showImage, &ctx_.orgImage});
    const BatchState asked = state_;  // a refusal other than for no folder gives it back
    state_.PreviewEnabled = false;
    ui->ProgressBar1->setRange(0, 1);
    ui->ProgressBar1->setValue(0);
    BatchOptions options = batchOptions();
    BatchEvents reportEvents;
    LastRunReport& report = tools_->lastReport();
    try {
        report.startRun(tools_->collectForReport(), dm_.workFolder(), options, reportEvents);
    } catch (const std::exception& e) {
        showErrorReport(this, e);
        report.startRun(false, dm_.workFolder(), options, reportEvents);  // the run goes on without it
    }
    setRunning(true);
    worker_.start(adoPicMsg_, std::move(options), asked, std::move(reportEvents.onPhotoStored));
}

BatchOptions TFrmMain::batchOptions() const {
    BatchOptions options;
    options.photoFolder = PhotoFolder;
    options.checks.cbDebug = tools_->debugMode();
    options.checks.cbEyesLets = tools_->judgePupils();
    options.checks.params = ctx_.params;
    options.verdictFilter = browser_->verdictFilter();
    options.threads = defaultBatchThreads();
    options.workFolder = dm_.workFolder();  // held locked for the whole run
    return options;
}

// While a run works, nothing the operator does may start another one or touch the database.
void TFrmMain::setRunning(bool running) {
    running_ = running;
    for (QWidget* control : {static_cast<QWidget*>(ui->SpeedButton4), static_cast<QWidget*>(ui->SpeedButton1),
                             static_cast<QWidget*>(ui->Button2), static_cast<QWidget*>(ui->Button3)})
        control->setEnabled(!running);
    browser_->setRunning(running);
    tools_->setRunning(running);
    if (frmPreParameters_) frmPreParameters_->setConfirmEnabled(!running);
}

// The run stops after the photos in work, or at once while it prepares; meanwhile the window keeps
// answering and says in its caption that it is closing.
void TFrmMain::closeAfterRun() {
    if (closing_) return;
    closing_ = true;
    worker_.requestStop();
    setWindowTitle(windowTitle() + ClosingCaption);
    setCursor(Qt::WaitCursor);
}

void TFrmMain::runCleared() {
    memo_->clear();
    ui->StatusPanel1->clear();
    ui->StatusPanel3->clear();
}

// A long step before the first photo: the bar shows that the run is busy, the log pane what it does.
void TFrmMain::runPreparing(const QString& step) {
    ui->ProgressBar1->setRange(0, 0);
    memo_->showStatus(step.toStdString());
}

void TFrmMain::runLogLines(const QStringList& lines) {
    memo_->addLines(lines);
}

void TFrmMain::runProgressStarted(int total) {
    ui->ProgressBar1->setRange(0, std::max(total, 1));  // a range of 0 to 0 would show a busy bar
    ui->ProgressBar1->setValue(0);
}

void TFrmMain::runProgress(int processed) {
    ui->ProgressBar1->setValue(processed);
}

void TFrmMain::runCounts(int passed, int failed) {
    ui->StatusPanel1->setText(QString::number(passed));
    ui->StatusPanel3->setText(QString::number(failed));
}

void TFrmMain::runFinished() {
    if (!running_) return;
    const BatchWorker::Outcome outcome = worker_.wait();
    state_ = outcome.state;
    tools_->lastReport().runEnded(outcome.refusal || outcome.error ? std::nullopt
                                                                   : std::optional(outcome.summary));
    setRunning(false);
    if (ui->ProgressBar1->maximum() == 0) ui->ProgressBar1->setRange(0, 1);  // ended while preparing
    if (outcome.completed) photoArea_->clearPictures({&ctx_.orgImage, &ctx_.MyImage, &ctx_.showImage});
    browser_->queryBack(outcome.completed);
    if (outcome.refusal) showMessage(this, *outcome.refusal);
    if (outcome.error) showErrorReport(this, *outcome.error);
    if (const std::string notice = copiesNotice(outcome.summary); !notice.empty()) showMessage(this, notice);
    if (closing_) close();
}

}  // namespace photocheck

#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QShortcut>
#include <QUrl>
#include <exception>

#include "app/DataModule.h"
#include "app/LogPaneView.h"
#include "app/Messages.h"
#include "app/ParametersDialog.h"
#include "app/ResultsModel.h"
#include "app/ToolbarIcons.h"
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
const char* const FirstRowsStatement = "select * from picTureMsg";

void setFontPixels(QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

void openDocument(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));  // outcome not examined
}

}  // namespace

TFrmMain::TFrmMain(Tdm& dm, const std::string& photoFolder)
    : QWidget(nullptr, MainWindowFlags),
      ui(std::make_unique<Ui::TFrmMain>()),
      dm_(dm),
      adoPicMsg_(dm.ADOConnection1()),
      PhotoFolder(photoFolder) {
    ui->setupUi(this);
    move(194, 121);
    setWindowIcon(programIcon());
    setFontPixels(ui->Memo2, LogFontPixels);
    ui->orgImage->setView(&ctx_.orgImage);
    ui->showImage->setView(&ctx_.showImage);
    ui->MyImage->setView(&ctx_.MyImage);
    memo_ = std::make_unique<LogPaneView>(ctx_.Memo2, *ui->Memo2);
    dsPicMsg_ = new ResultsModel(dm.ADOConnection1(), adoPicMsg_, this);

    connectShell();
    connectBatchRun();
    connectResultsBrowser();
    FormCreate();
}

// The worker, the last member, stops a run still working and waits for it before the query goes.
TFrmMain::~TFrmMain() = default;

void TFrmMain::FormCreate() {
    qApp->installEventFilter(&arrowKeys_);  // AppMessage
    try {
        dsPicMsg_->open(FirstRowsStatement);
    } catch (const std::exception& e) {
        showErrorReport(this, e);
    }
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
    stopRunAndWait();
    CleanUpWorkFiles(dm_.workFolder());
    if (frmPreParameters_) frmPreParameters_->hide();
    event->accept();
}

// The hidden tuning controls: the debug controls, the tool group boxes, "参数设置" and the range
// filters of the results.
std::vector<QWidget*> TFrmMain::tuningControls() const {
    return {ui->cbDebug,        ui->btnLoadPicture, ui->btncheckPicture, ui->GroupBox1,    ui->GroupBox4,
            ui->Button7,        ui->lblBlue,        ui->edtBlueFrom,     ui->lblBlueTo,    ui->edtBlueTo,
            ui->lblClarity,     ui->edtClarityFrom, ui->lblClarityTo,    ui->edtClarityTo, ui->lblRegular,
            ui->edtRegularFrom, ui->lblRegularTo,   ui->edtRegularTo,    ui->lblHead,      ui->edtHeadFrom,
            ui->lblHeadTo,      ui->edtHeadTo,      ui->Button5,         ui->Button6};
}

void TFrmMain::toggleTuningControls() {
    tuningShown_ = !tuningShown_;
    for (QWidget* control : tuningControls()) control->setVisible(tuningShown_);
    bringToFront(ui->showImage);
}

void TFrmMain::refreshPhotoViews() {
    for (QWidget* view : {ui->orgImage, ui->showImage, ui->MyImage}) view->update();
}

void TFrmMain::clearPictures(std::initializer_list<ImageView*> views) {
    for (ImageView* view : views) view->clear();
    refreshPhotoViews();
}

// A photo view comes to the front of the photo area; the tool group boxes stay above the views, as
// boxes stay above pictures.
void TFrmMain::bringToFront(QWidget* photoView) {
    photoView->raise();
    for (QWidget* above : {ui->GroupBox1, ui->GroupBox4}) above->raise();
}

}  // namespace photocheck

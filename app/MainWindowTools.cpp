#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <exception>

#include "app/LogPaneView.h"
#include "app/MainWindow.h"
#include "app/MeasurementOverlay.h"
#include "app/Messages.h"
#include "batch/DebugMode.h"
#include "imaging/InspectionTools.h"
#include "report/RunReport.h"
#include "store/IntConversion.h"
#include "ui_MainWindow.h"

namespace photocheck {
namespace {

const char* const ReportFileFilter = "网页 (*.html)";

}  // namespace

void TFrmMain::connectTools() {
    ui->IMGmagnify->setView(&magnifier_);
    overlay_ = new MeasurementOverlay(ui->GroupBox3);
    overlay_->setGeometry(ui->showImage->geometry());
    overlay_->hide();

    for (QWidget* box : {ui->GroupBox1, ui->GroupBox4}) {  // see-through: the pointer reaches the photo
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }

    connect(ui->btnLoadPicture, &QPushButton::clicked, this, &TFrmMain::btnLoadPictureClick);
    connect(ui->btncheckPicture, &QPushButton::clicked, this, &TFrmMain::btncheckPictureClick);
    connect(ui->orgImage, &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.orgImage, x, y); });
    connect(ui->showImage, &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.orgImage, x, y); });
    connect(ui->MyImage, &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.MyImage, x, y); });
    connect(ui->showImage, &PhotoView::pointerPressed, this, &TFrmMain::showImageMouseDown);
    connect(ui->showImage, &PhotoView::pointerReleased, this, &TFrmMain::showImageMouseUp);
    connect(ui->cb_moveMouse, &QCheckBox::clicked, this, &TFrmMain::cb_moveMouseClick);
    connect(ui->Button4, &QPushButton::clicked, this, &TFrmMain::Button4Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TFrmMain::Button1Click);
    connect(ui->cbShowOverlay, &QCheckBox::clicked, this, &TFrmMain::cbShowOverlayClick);
    connect(ui->btnExportReport, &QPushButton::clicked, this, &TFrmMain::btnExportReportClick);
}

// The tool boxes lie over the photo and show it through: the pointer's moves, presses and releases on
// their empty parts go to the photo view below, as if the box were not there.
bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* box = static_cast<QWidget*>(watched);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint inArea = box->mapToParent(mouse->position().toPoint());
    QWidget* view = photoViewAt(inArea);
    if (!view) return false;
    QMouseEvent passed(type, view->mapFromParent(QPointF(inArea)), mouse->globalPosition(), mouse->button(),
                       mouse->buttons(), mouse->modifiers());
    QApplication::sendEvent(view, &passed);
    return true;
}

// The photo view in front at a point of the photo area, if any.
QWidget* TFrmMain::photoViewAt(const QPoint& inPhotoArea) const {
    const QObjectList& stacked = ui->GroupBox3->children();  // bottom to top
    for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
        auto* view = qobject_cast<PhotoView*>(*it);
        if (view && view->isVisible() && view->geometry().contains(inPhotoArea)) return view;
    }
    return nullptr;
}

// Loads one photo by hand and runs the file check on it; its verdict is not shown.
void TFrmMain::btnLoadPictureClick() {
    ctx_.row.line.clear();
    const QString chosen = QFileDialog::getOpenFileName(this);
    if (chosen.isEmpty()) return;
    try {
        DebugLoad(ctx_, chosen.toStdString());
    } catch (const std::exception& e) {
        memo_->showPane();
        refreshPhotoViews();
        return showErrorReport(this, e);
    }
    memo_->showPane();
    refreshPhotoViews();
    bringToFront(ui->showImage);
}

// Checks the photo the views hold; in debug mode every measurement goes to the log with the verdict.
void TFrmMain::btncheckPictureClick() {
    ctx_.cbDebug = ui->cbDebug->isChecked();
    ctx_.cbEyesLets = ui->cbEyesLets->isChecked();
    try {
        DebugChecked checked = DebugCheck(ctx_);
        memo_->showPane();
        refreshPhotoViews();
        showMeasurements(std::move(checked.measurements));
    } catch (const std::exception& e) {
        memo_->showPane();
        refreshPhotoViews();
        showErrorReport(this, e);
    }
}

// The readout of the pixel under the pointer from `source`: the magnifier, the texts beside it and
// the floating labels that follow the pointer.
void TFrmMain::readPixel(ImageView& source, int x, int y) {
    const Bitmap& pixels = source.pixels();
    paintMagnifier(pixels, x, y, magnifier_.canvas());
    ui->IMGmagnify->update();
    const PixelReadout readout = photocheck::readPixel(pixels, x, y);
    const QString rgb = QString::fromStdString(readout.rgbText);
    const QString hsv = QString::fromStdString(readout.hsvText);
    ui->LbRgb->setText(rgb);
    ui->gray->setText(rgb);
    ui->LbHsv->setText(hsv);
    ui->LbRgb->adjustSize();  // the labels cover no more of the photo than their text
    ui->LbHsv->adjustSize();
    ui->HSV->setText(hsv);
    ui->gray->move(readout.labelLeft, readout.rgbLabelTop);
    ui->HSV->move(readout.labelLeft, readout.hsvLabelTop);
    ui->gray->raise();
    ui->HSV->raise();
}

void TFrmMain::showImageMouseDown(int x, int y) {
    pressX_ = x;
    pressY_ = y;
}

void TFrmMain::showImageMouseUp(int x, int y) {
    releaseX_ = x;
    releaseY_ = y;
    if (ui->cbCheckLength->isChecked())
        showMessage(this, distanceText(pressX_, pressY_, releaseX_, releaseY_));
}

void TFrmMain::cb_moveMouseClick() {
    updateDebugButtons();
}

// The debug buttons work while "移动鼠标" is cleared and no batch run works.
void TFrmMain::updateDebugButtons() {
    const bool enabled = !running_ && !ui->cb_moveMouse->isChecked();
    ui->btnLoadPicture->setEnabled(enabled);
    ui->btncheckPicture->setEnabled(enabled);
}

// "灰度处理": the gray picture of orgImage into MyImage, shown in front.
void TFrmMain::Button4Click() {
    bringToFront(ui->orgImage);
    ctx_.MyImage.assign(grayscaleView(ctx_.orgImage.pixels()));
    refreshPhotoViews();
    bringToFront(ui->MyImage);
}

// "二值化": orgImage in black and white at the threshold of Edit1 into MyImage, shown in front.
void TFrmMain::Button1Click() {
    bringToFront(ui->orgImage);
    const Bitmap& picture = ctx_.orgImage.pixels();
    int threshold = 0;
    try {
        threshold = StrToInt(ui->Edit1->text().toStdString());
    } catch (const ConversionError& e) {
        return showErrorReport(this, e.what());
    }
    ctx_.MyImage.assign(thresholdView(picture, threshold));
    refreshPhotoViews();
    bringToFront(ui->MyImage);
}

void TFrmMain::showMeasurements(std::vector<Measurement> measurements) {
    overlay_->setMeasurements(std::move(measurements));
    cbShowOverlayClick();
}

// "显示测量区域": the places measured by the last debug check, drawn over showImage.
void TFrmMain::cbShowOverlayClick() {
    overlay_->setVisible(ui->cbShowOverlay->isChecked() && overlay_->hasMeasurements());
    raiseAboveViews();
}

// "导出报告": the report of the last batch run, to a page the operator chooses.
void TFrmMain::btnExportReportClick() {
    if (const std::string why = lastReport_.whyNoReport(); !why.empty()) return showMessage(this, why);
    const QString chosen = QFileDialog::getSaveFileName(
        this, "导出检测报告", QString::fromStdString(lastReport_.suggestedPath()), ReportFileFilter);
    if (chosen.isEmpty()) return;
    try {
        lastReport_.writeTo(chosen.toStdString());
    } catch (const std::exception& e) {
        return showErrorReport(this, e);
    }
    showMessage(this, "检测报告已导出到 " + chosen.toStdString());
}

}  // namespace photocheck

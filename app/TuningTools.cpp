#include "app/TuningTools.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <exception>

#include "app/LogPaneView.h"
#include "app/Messages.h"
#include "app/PhotoArea.h"
#include "app/PhotoViews.h"
#include "batch/DebugMode.h"
#include "imaging/InspectionTools.h"
#include "store/IntConversion.h"

namespace photocheck {
namespace {

const char* const ReportFileFilter = "网页 (*.html)";

}  // namespace

TuningTools::TuningTools(const Widgets& widgets, CheckContext& ctx, PhotoArea& photoArea, LogPaneView& memo,
                         QObject* parent)
    : QObject(parent), w_(widgets), ctx_(ctx), photoArea_(photoArea), memo_(memo) {
    w_.IMGmagnify->setView(&magnifier_);
    photoArea_.setLayersAbove({w_.gray, w_.HSV, w_.GroupBox1, w_.GroupBox4});
    for (QWidget* box : {w_.GroupBox1, w_.GroupBox4}) {  // see-through: the pointer reaches the photo
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }

    connect(w_.btnLoadPicture, &QAbstractButton::clicked, this, &TuningTools::btnLoadPictureClick);
    connect(w_.btncheckPicture, &QAbstractButton::clicked, this, &TuningTools::btncheckPictureClick);
    connect(&photoArea_.orgImage(), &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.orgImage, x, y); });
    connect(&photoArea_.showImage(), &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.orgImage, x, y); });
    connect(&photoArea_.MyImage(), &PhotoView::pointerMoved, this,
            [this](int x, int y) { readPixel(ctx_.MyImage, x, y); });
    connect(&photoArea_.showImage(), &PhotoView::pointerPressed, this, &TuningTools::showImageMouseDown);
    connect(&photoArea_.showImage(), &PhotoView::pointerReleased, this, &TuningTools::showImageMouseUp);
    connect(w_.cb_moveMouse, &QCheckBox::clicked, this, &TuningTools::cb_moveMouseClick);
    connect(w_.Button4, &QAbstractButton::clicked, this, &TuningTools::Button4Click);
    connect(w_.Button1, &QAbstractButton::clicked, this, &TuningTools::Button1Click);
    connect(w_.cbShowOverlay, &QCheckBox::clicked, this, &TuningTools::cbShowOverlayClick);
    connect(w_.btnExportReport, &QAbstractButton::clicked, this, &TuningTools::btnExportReportClick);
}

bool TuningTools::debugMode() const {
    return w_.cbDebug->isChecked();
}

bool TuningTools::judgePupils() const {
    return w_.cbEyesLets->isChecked();
}

bool TuningTools::collectForReport() const {
    return w_.cbShowOverlay->isChecked();
}

void TuningTools::setRunning(bool running) {
    running_ = running;
    updateDebugButtons();
}

// The debug controls, the tool group boxes, and in GroupBox1 "显示测量区域" and "导出报告".
std::vector<QWidget*> TuningTools::tuningControls() const {
    return {w_.cbDebug,   w_.btnLoadPicture, w_.btncheckPicture, w_.GroupBox1,
            w_.GroupBox4, w_.cbShowOverlay,  w_.btnExportReport};
}

// The tool boxes lie over the photo and show it through: the pointer's moves, presses and releases on
// their empty parts go to the photo view below, as if the box were not there.
bool TuningTools::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    auto* box = static_cast<QWidget*>(watched);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint inArea = box->mapToParent(mouse->position().toPoint());
    QWidget* view = photoArea_.photoViewAt(inArea);
    if (!view) return false;
    QMouseEvent passed(type, view->mapFromParent(QPointF(inArea)), mouse->globalPosition(), mouse->button(),
                       mouse->buttons(), mouse->modifiers());
    QApplication::sendEvent(view, &passed);
    return true;
}

// Loads one photo by hand and runs the file check on it; its verdict is not shown.
void TuningTools::btnLoadPictureClick() {
    ctx_.row.line.clear();
    const QString chosen = QFileDialog::getOpenFileName(w_.window);
    if (chosen.isEmpty()) return;
    try {
        DebugLoad(ctx_, chosen.toStdString());
    } catch (const std::exception& e) {
        memo_.showPane();
        photoArea_.refresh();
        return showErrorReport(w_.window, e);
    }
    memo_.showPane();
    photoArea_.refresh();
    photoArea_.bringToFront(photoArea_.showImage());
}

// Checks the photo the views hold; in debug mode every measurement goes to the log with the verdict.
void TuningTools::btncheckPictureClick() {
    ctx_.cbDebug = debugMode();
    ctx_.cbEyesLets = judgePupils();
    try {
        DebugChecked checked = DebugCheck(ctx_);
        memo_.showPane();
        photoArea_.refresh();
        photoArea_.showMeasurements(std::move(checked.measurements), w_.cbShowOverlay->isChecked());
    } catch (const std::exception& e) {
        memo_.showPane();
        photoArea_.refresh();
        showErrorReport(w_.window, e);
    }
}

// The readout of the pixel under the pointer from `source`: the magnifier, the texts beside it and
// the floating labels that follow the pointer.
void TuningTools::readPixel(ImageView& source, int x, int y) {
    if (photoArea_.showsNotice()) return clearReadout();  // no photo of this row to read
    const bool blankFirst = !source.hasPicture();
    const Bitmap& pixels = source.pixels();
    if (blankFirst) photoArea_.updateViews();  // the blank shows whole, not only where the labels were
    paintMagnifier(pixels, x, y, magnifier_.canvas());
    w_.IMGmagnify->update();
    const PixelReadout readout = photocheck::readPixel(pixels, x, y);
    const QString rgb = QString::fromStdString(readout.rgbText);
    const QString hsv = QString::fromStdString(readout.hsvText);
    w_.LbRgb->setText(rgb);
    w_.gray->setText(rgb);
    w_.LbHsv->setText(hsv);
    w_.LbRgb->adjustSize();  // the labels cover no more of the photo than their text
    w_.LbHsv->adjustSize();
    w_.HSV->setText(hsv);
    w_.gray->move(readout.labelLeft, readout.rgbLabelTop);
    w_.HSV->move(readout.labelLeft, readout.hsvLabelTop);
    w_.gray->raise();
    w_.HSV->raise();
}

void TuningTools::clearReadout() {
    for (QLabel* label : {w_.LbRgb, w_.LbHsv, w_.gray, w_.HSV}) label->clear();
}

void TuningTools::showImageMouseDown(int x, int y) {
    pressX_ = x;
    pressY_ = y;
}

void TuningTools::showImageMouseUp(int x, int y) {
    releaseX_ = x;
    releaseY_ = y;
    if (w_.cbCheckLength->isChecked())
        showMessage(w_.window, distanceText(pressX_, pressY_, releaseX_, releaseY_));
}

void TuningTools::cb_moveMouseClick() {
    updateDebugButtons();
}

// The debug buttons work while "移动鼠标" is cleared and no batch run works.
void TuningTools::updateDebugButtons() {
    const bool enabled = !running_ && !w_.cb_moveMouse->isChecked();
    w_.btnLoadPicture->setEnabled(enabled);
    w_.btncheckPicture->setEnabled(enabled);
}

// "灰度处理": the gray picture of orgImage into MyImage, shown in front.
void TuningTools::Button4Click() {
    photoArea_.bringToFront(photoArea_.orgImage());
    ctx_.MyImage.assign(grayscaleView(ctx_.orgImage.pixels()));
    photoArea_.refresh();
    photoArea_.bringToFront(photoArea_.MyImage());
}

// "二值化": orgImage in black and white at the threshold of Edit1 into MyImage, shown in front.
void TuningTools::Button1Click() {
    photoArea_.bringToFront(photoArea_.orgImage());
    const Bitmap& picture = ctx_.orgImage.pixels();
    int threshold = 0;
    try {
        threshold = StrToInt(w_.Edit1->text().toStdString());
    } catch (const ConversionError& e) {
        return showErrorReport(w_.window, e);
    }
    ctx_.MyImage.assign(thresholdView(picture, threshold));
    photoArea_.refresh();
    photoArea_.bringToFront(photoArea_.MyImage());
}

// "显示测量区域": the places measured by the last debug check, drawn over showImage.
void TuningTools::cbShowOverlayClick() {
    photoArea_.setMeasurementsShown(w_.cbShowOverlay->isChecked());
}

// "导出报告": the report of the last batch run, to a page the operator chooses.
void TuningTools::btnExportReportClick() {
    if (const std::string why = lastReport_.whyNoReport(); !why.empty()) return showMessage(w_.window, why);
    const QString chosen = QFileDialog::getSaveFileName(
        w_.window, "导出检测报告", QString::fromStdString(lastReport_.suggestedPath()), ReportFileFilter);
    if (chosen.isEmpty()) return;
    try {
        lastReport_.writeTo(chosen.toStdString());
    } catch (const std::exception& e) {
        return showErrorReport(w_.window, e);
    }
    showMessage(w_.window, "检测报告已导出到 " + chosen.toStdString());
}

}  // namespace photocheck

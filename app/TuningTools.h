#pragma once
#include <QObject>
#include <string>
#include <vector>

#include "imaging/ImageView.h"
#include "report/LastRunReport.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace photocheck {

class LogPaneView;
class PhotoArea;
class PhotoView;
struct CheckContext;

// The tools for tuning the thresholds, hidden in the delivered layout: the single-photo debug mode
// (btnLoadPictureClick, btncheckPictureClick, the check box cbDebug), the pixel readout of the photo
// views with the magnifier IMGmagnify and the floating labels gray and HSV, distance measuring
// (cbCheckLength), "移动鼠标" (cb_moveMouseClick), the gray and threshold views (Button4Click
// "灰度处理", Button1Click "二值化"), the measured places over the photo (cbShowOverlayClick) and the
// export of the last run's report (btnExportReportClick). The tool boxes GroupBox1 and GroupBox4 lie
// over the photo and let the pointer through to it.
class TuningTools : public QObject {
    Q_OBJECT
  public:
    struct Widgets {
        QWidget* window;  // the parent of its dialogs and message boxes
        QCheckBox* cbDebug;
        QAbstractButton* btnLoadPicture;
        QAbstractButton* btncheckPicture;
        QLabel* gray;  // the floating readout over the photo area
        QLabel* HSV;
        QGroupBox* GroupBox1;  // the magnifier group
        PhotoView* IMGmagnify;
        QLabel* LbRgb;
        QLabel* LbHsv;
        QCheckBox* cbCheckLength;
        QCheckBox* cbEyesLets;  // read by the checks: pupils judged
        QCheckBox* cb_moveMouse;
        QCheckBox* cbShowOverlay;
        QAbstractButton* btnExportReport;
        QGroupBox* GroupBox4;  // the gray and threshold views
        QAbstractButton* Button1;
        QLineEdit* Edit1;
        QAbstractButton* Button4;
    };
    TuningTools(const Widgets& widgets, CheckContext& ctx, PhotoArea& photoArea, LogPaneView& memo,
                QObject* parent);

    bool debugMode() const;    // "调试模式" ticked: the checks write their lines, a batch run refuses
    bool judgePupils() const;  // "是否判断瞳孔"

    // The report of the last batch run: a run starts it (collecting when "显示测量区域" is ticked) and
    // ends it; "导出报告" writes it.
    bool collectForReport() const;
    LastRunReport& lastReport() { return lastReport_; }
    // The debug buttons stay disabled while a batch run works.
    void setRunning(bool running);

    std::vector<QWidget*> tuningControls() const;

    void btnLoadPictureClick();
    void btncheckPictureClick();
    void cb_moveMouseClick();
    void Button4Click();
    void Button1Click();
    void cbShowOverlayClick();
    void btnExportReportClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void readPixel(ImageView& source, int x, int y);
    void clearReadout();
    void showImageMouseDown(int x, int y);
    void showImageMouseUp(int x, int y);
    void updateDebugButtons();

    Widgets w_;
    CheckContext& ctx_;
    PhotoArea& photoArea_;
    LogPaneView& memo_;
    ImageView magnifier_{105, 105};                              // IMGmagnify's picture
    int pressX_ = 0, pressY_ = 0, releaseX_ = 0, releaseY_ = 0;  // the last press and release on showImage
    LastRunReport lastReport_;
    bool running_ = false;
};

}  // namespace photocheck

#pragma once
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/ArrowKeyNudge.h"
#include "app/BatchWorker.h"
#include "batch/BatchRun.h"
#include "check/CheckContext.h"
#include "store/Database.h"

namespace Ui {
class TFrmMain;
}

namespace photocheck {

// Where a window of this frame goes on a screen's free area: where it is, when it fits there;
// otherwise moved just enough to fit, its top-left corner kept on the screen when it is larger.
QPoint fittedOnScreen(const QRect& frame, const QRect& available);

class LogPaneView;
class PhotoArea;
class ResultsBrowser;
class Tdm;
class TfrmPreParameters;
class TuningTools;

// The main window "Varnel电子照片检测V1.0测试版": its creation, the shell (documents, quit, close, the
// tuning shortcut, the settings dialog) and the batch run. Its two other parts are classes of their
// own, each built with the controls it owns: the results browser (ResultsBrowser: grid, filters,
// edits, deletes, the photo of the current row) and the tuning tools (TuningTools: debug mode,
// readout, magnifier, distance, gray and threshold views, measured places, report export); the photo
// area they share is PhotoArea.
//
// The buttons by their names in the form and what they do (hidden ones marked so):
//   SpeedButton4, Button2 (hidden) "调入文件夹"  choose the photo folder        Button2Click
//   SpeedButton1, Button3 (hidden) "批量模式"    batch run                      Button3Click
//   SpeedButton3                                open readme.doc                SpeedButton3Click
//   SpeedButton6                                open versions.doc              SpeedButton6Click
//   SpeedButton5                                clean up and quit              SpeedButton5Click
//   Button7 (hidden) "参数设置"                  the settings dialog            Button7Click
//   SpeedButton2, Button5 (hidden) "查询"        query the results              ResultsBrowser::Button5Click
//   Button6 (hidden) "清除"                      clear the filters              ResultsBrowser::Button6Click
//   btnLoadPicture (hidden) "导入照片"           load one photo for debugging
//   TuningTools::btnLoadPictureClick btncheckPicture (hidden) "调试模式"          check the loaded photo
//   TuningTools::btncheckPictureClick Button4 (hidden) "灰度处理"                  gray view
//   TuningTools::Button4Click Button1 (hidden) "二值化"                    threshold view
//   TuningTools::Button1Click btnExportReport (hidden) "导出报告"          the last run's report
//   TuningTools::btnExportReportClick
//
// The form, MainWindow.ui, holds every control at its designed place, size, text and visibility.
// Where no place was designed we chose one: the magnifier group GroupBox1 (caption "放大镜") and the
// tool group GroupBox4 (caption "图像处理") are laid out in rows inside their boxes, which are
// see-through so that the photo and its measured places show around their controls; the hidden range
// filters of GroupBox2 (labels lblBlue, lblClarity, lblRegular, lblHead and their "to" labels
// lblBlueTo ... lblHeadTo, the edits edtBlueFrom ... edtHeadTo, Button5 "查询" and Button6 "清除")
// stand in four rows over the top of the grid; the floating readout labels gray and HSV are 180
// pixels wide; the five status-bar panels are the labels StatusPanel0 to StatusPanel4 inside
// StatusBar1.
//
// Windows metrics in Qt terms: fonts of height -11 and -13 are 11 and 13 pixel fonts of the CJK
// face (set in code, as the form stores points); the button-face colour is the Fusion style's
// window colour; Panel1's cream is #FFFBF0.
//
// The window holds the check context whose three photo views and log pane Memo2 it shows, and the
// query adoPicMsg that feeds the grid. A batch run works on a thread of its own (BatchWorker); while
// it works, the window leaves adoPicMsg and the database alone: the grid is detached and the controls
// that would touch them are disabled.
class TFrmMain : public QWidget {
    Q_OBJECT
  public:
    // FormCreate: installs the arrow-key hook and shows the stored rows of pictureMsg. `photoFolder`
    // is taken as the chosen photo folder (empty: none chosen).
    TFrmMain(Tdm& dm, const std::string& photoFolder);
    ~TFrmMain() override;

    // The thresholds the checks read; the settings dialog loads and changes them.
    DetectionParameters& parameters() { return ctx_.params; }
    void attachSettingsDialog(TfrmPreParameters& dialog) { frmPreParameters_ = &dialog; }

  protected:
    // FormCloseQuery: the database closed, then the working files deleted; the window is done with
    // the database after it. During a run the window asks the run to stop, says that it is closing and
    // closes when the run has ended, without waiting for it.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The shell.
    void FormCreate();
    void connectShell();
    void Button7Click();
    void SpeedButton3Click();
    void SpeedButton6Click();
    void SpeedButton5Click();
    void placeOnScreen();
    void toggleTuningControls();
    std::vector<QWidget*> tuningControls() const;

    // The folder choice and the batch run.
    void connectBatchRun();
    void Button2Click();
    void Button3Click();
    BatchOptions batchOptions() const;
    void setRunning(bool running);
    void closeAfterRun();
    void releaseDatabase();
    void runCleared();
    void runPreparing(const QString& step);
    void runLogLines(const QStringList& lines);
    void runProgressStarted(int total);
    void runCounts(int passed, int failed);
    void runProgress(int processed);
    void runFinished();

    std::unique_ptr<Ui::TFrmMain> ui;
    Tdm& dm_;
    TfrmPreParameters* frmPreParameters_ = nullptr;
    CheckContext ctx_;
    std::unique_ptr<LogPaneView> memo_;
    Query adoPicMsg_;
    std::unique_ptr<PhotoArea> photoArea_;
    std::unique_ptr<ResultsBrowser> browser_;
    std::unique_ptr<TuningTools> tools_;
    ArrowKeyNudge arrowKeys_;

    std::string PhotoFolder;
    BatchState state_;  // PreviewEnabled
    bool running_ = false;
    bool closing_ = false;  // the window closes when the run has ended
    bool tuningShown_ = false;
    bool placed_ = false;  // fitted on the screen at its first showing
    BatchWorker worker_;   // last: stopped and waited for before the query goes
};

}  // namespace photocheck

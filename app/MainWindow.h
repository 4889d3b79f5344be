#pragma once
#include <QModelIndex>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/ArrowKeyNudge.h"
#include "app/BatchWorker.h"
#include "batch/BatchRun.h"
#include "batch/ResultsQuery.h"
#include "check/CheckContext.h"
#include "store/Database.h"

namespace Ui {
class TFrmMain;
}

namespace photocheck {

class LogPaneView;
class ResultsModel;
class Tdm;
class TfrmPreParameters;

// The main window "Varnel电子照片检测V1.0测试版". Its form, MainWindow.ui, holds every control at its
// designed place, size, text and visibility. Where no place was designed we chose one: the
// magnifier group GroupBox1 (caption "放大镜") and the tool group GroupBox4 (caption "图像处理") are
// laid out in rows inside their boxes; the hidden range filters of GroupBox2 (labels lblBlue,
// lblClarity, lblRegular, lblHead and their "to" labels lblBlueTo ... lblHeadTo, the edits
// edtBlueFrom ... edtHeadTo, Button5 "查询" and Button6 "清除") stand in four rows over the top of
// the grid; the floating readout labels gray and HSV are 180 pixels wide; the five status-bar panels
// are the labels StatusPanel0 to StatusPanel4 inside StatusBar1.
//
// Windows metrics in Qt terms: fonts of height -11 and -13 are 11 and 13 pixel fonts of the CJK
// face (set in code, as the form stores points); the button-face colour is the Fusion style's
// window colour; Panel1's cream is #FFFBF0.
//
// The window holds the check context whose three photo views orgImage, showImage and MyImage the
// form's PhotoViews paint and whose log pane Memo2 shows. The query adoPicMsg feeds the grid
// DBGrid1 through ResultsModel (dsPicMsg). A batch run works on a thread of its own
// (BatchWorker); while it works, the window leaves adoPicMsg and the database alone: the grid is
// detached and the controls that would touch them are disabled.
//
// The handlers are spread over files by subject: MainWindow.cpp (creation, documents, quit, close,
// tuning shortcut), MainWindowBatch.cpp (folder choice and batch run) and MainWindowResults.cpp
// (the grid, its query and the photo of its current row).
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
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery

  private:
    // The shell (MainWindow.cpp).
    void FormCreate();
    void connectShell();
    void Button7Click();
    void SpeedButton3Click();
    void SpeedButton6Click();
    void SpeedButton5Click();
    void toggleTuningControls();
    std::vector<QWidget*> tuningControls() const;
    void refreshPhotoViews();
    void clearPictures(std::initializer_list<ImageView*> views);
    void bringToFront(QWidget* photoView);

    // The folder choice and the batch run (MainWindowBatch.cpp).
    void connectBatchRun();
    void Button2Click();
    void Button3Click();
    BatchOptions batchOptions() const;
    void setRunning(bool running);
    void stopRunAndWait();
    void runCleared();
    void runLogLine(const QString& line);
    void runProgressStarted(int total);
    void runPhotoDone(int processed, const QString& line);
    void runCounts(int passed, int failed);
    void runFinished();

    // The results grid, its query and the photo of its current row (MainWindowResults.cpp).
    void connectResultsBrowser();
    void setUpGrid();
    void Button5Click();
    void Button6Click();
    ResultsFilter currentFilter() const;
    void showFilter(const ResultsFilter& filter);
    void openResults(const std::string& statement);
    void reloadResults();
    void moveToOpenedRow();
    void moveToRow(int row);
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    bool postRowEdits();
    void commitOpenEditor();
    void writeFailed(const std::string& message);
    void deleteSelectedRows();
    void dsPicMsgDataChange();

    std::unique_ptr<Ui::TFrmMain> ui;
    Tdm& dm_;
    TfrmPreParameters* frmPreParameters_ = nullptr;
    CheckContext ctx_;
    std::unique_ptr<LogPaneView> memo_;
    Query adoPicMsg_;
    ResultsModel* dsPicMsg_ = nullptr;  // owned by the window
    ArrowKeyNudge arrowKeys_;

    std::string PhotoFolder;
    BatchState state_;  // PreviewEnabled
    bool running_ = false;
    bool tuningShown_ = false;
    int rowAfterOpening_ = 0;  // the current row after the next opening of the results
    BatchWorker worker_;       // last: stopped and waited for before the query goes
};

}  // namespace photocheck

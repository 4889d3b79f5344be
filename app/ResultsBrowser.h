#pragma once
#include <QModelIndex>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "batch/ResultsQuery.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QTableView;
class QWidget;

namespace photocheck {

class Database;
class LogPaneView;
class PhotoArea;
class QueryOpening;
class Query;
class ResultsModel;
struct BatchState;
struct CheckContext;

// The results browser, the right half of the window ("查看检测照片"): the grid DBGrid1 over the query
// adoPicMsg (through the model dsPicMsg), its filters and query (Button5Click), the clear button
// (Button6Click), the edits and deletes written back into pictureMsg, and the photo of the current row
// in the photo area (dsPicMsgDataChange). While a batch run works on adoPicMsg the browser is
// detached from it: no rows, and its buttons are disabled. The operator's queries (the query and clear
// buttons, a reload after a refused write) are opened on a thread of their own (QueryOpening): the
// window keeps answering, the grid keeps its rows and the query buttons are disabled until the rows
// come; a batch run or closing the window cancels the query.
class ResultsBrowser : public QObject {
    Q_OBJECT
  public:
    struct Widgets {
        QWidget* window;  // the parent of its message boxes
        QTableView* DBGrid1;
        QComboBox* cbResult;
        QLineEdit* edtFileName;
        QAbstractButton* SpeedButton2;  // query
        // The range filters and their buttons, hidden in the delivered layout.
        QLineEdit *edtBlueFrom, *edtBlueTo, *edtClarityFrom, *edtClarityTo;
        QLineEdit *edtHeadFrom, *edtHeadTo, *edtRegularFrom, *edtRegularTo;
        QAbstractButton* Button5;  // "查询"
        QAbstractButton* Button6;  // "清除"
        std::vector<QWidget*> rangeLabels;
    };
    // What the browser shows the current row's photo with: the photo area and the log pane, which a
    // JPEG row empties; `state` says whether a row change shows a photo at all (PreviewEnabled).
    struct Showing {
        CheckContext& ctx;
        PhotoArea& photoArea;
        LogPaneView& memo;
        const BatchState& state;
    };
    ResultsBrowser(const Widgets& widgets, Database& db, Query& adoPicMsg, const Showing& showing,
                   QObject* parent);

    // Opens a statement into the grid at once; a statement the engine rejects is shown and the grid
    // keeps its rows.
    void openResults(const std::string& statement);
    // A query still being opened stops and its rows are not shown.
    void cancelQuery();
    // The verdict chosen in "结果", as typed.
    std::string verdictFilter() const;

    // Before a batch run: the edits of the current row are written (false, after showing why, when
    // they cannot be) and the grid lets go of the query.
    bool leaveQueryForRun();
    // After it: the grid shows the query again as it was; after a run that replaced the results, the
    // statement of the verdict chosen now in "结果" is opened aside (off the window's thread, with the
    // run it reads), and the grid moves to its first row when it is there.
    void queryBack(bool reopened);
    void setRunning(bool running);
    // At the window's close: a query still being opened stops, and the grid shows no rows and lets go
    // of the query, which is closed.
    void closeResults();

    // The controls hidden in the delivered layout: the range filters and their two buttons.
    std::vector<QWidget*> tuningControls() const;

    void Button5Click();
    void Button6Click();
    void dsPicMsgDataChange();

  private:
    void setUpGrid();
    ResultsFilter currentFilter() const;
    void showFilter(const ResultsFilter& filter);
    void reloadResults();
    void reopenChangedResults(const QString& message);
    void queryAside(const std::string& statement);
    void queryOpened();
    void enableQueryButtons();
    void moveToOpenedRow();
    void moveToRow(int row);
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    bool postRowEdits();
    void commitOpenEditor();
    void writeFailed(const std::string& message);
    void deleteSelectedRows();

    Widgets w_;
    Showing showing_;
    ResultsModel* dsPicMsg_;  // owned by the browser
    QueryOpening* opening_;   // owned by the browser
    bool running_ = false;
    int rowAfterOpening_ = 0;  // the current row after the next opening of the results
};

}  // namespace photocheck

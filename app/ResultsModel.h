#pragma once
#include <QAbstractTableModel>
#include <string>

#include "batch/RowPhoto.h"
#include "store/Database.h"

namespace photocheck {

// One column of the results grid: the field of pictureMsg, its title and its width in pixels
// (0 for a column that is present but not shown).
struct ResultsColumn {
    const char* field;
    const char* title;
    int width;
};

inline constexpr ResultsColumn ResultsColumns[] = {
    {"name", "文件名", 132},      {"mode", "格式", 0},
    {"pix", "像素", 0},           {"Picsize", "大小", 0},
    {"bluePercent", "蓝比", 0},   {"clarityPercent", "清晰度", 0},
    {"headPercent", "头部比", 0}, {"regularPercent", "端正度", 0},
    {"eyeLeftlet", "左眼孔", 0},  {"eyeRightlet", "右眼孔", 0},
    {"result", "结果", 40},       {"reason", "原因", 146},
};

// The grid's model (the data source dsPicMsg) over the query adoPicMsg: the rows of its open result
// set in the twelve columns, text trimmed, cells and titles centred. The window and the tests reach
// the rows only through this model. While a batch run works on the query the model is detached: it
// shows no rows and does not touch the query until it is attached again.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ResultsModel(Query& adoPicMsg, QObject* parent);

    // Opens a statement on the query (OpenSql) and shows its rows; reopened() follows. The engine's
    // error propagates, and the grid then shows what the query holds.
    void open(const std::string& statement);

    // What the query has been through while the model was detached.
    enum class Since { Unchanged, Reopened };
    void detach();
    void attach(Since since);  // reopened() follows when the query was opened anew

    // The fields of a row that lead to its photo.
    StoredPhoto storedPhoto(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The rows are read from the query a page at a time, as the view scrolls to them.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  signals:
    // The query was opened anew: the grid moves to its first row.
    void reopened();

  private:
    std::string text(int row, const char* field) const;
    void showFetchedRows();  // within a reset: the first page, then the rows fetched are the rows shown

    Query& query_;
    bool attached_ = true;
    size_t shown_ = 0;  // the fetched rows the view has been told of
};

}  // namespace photocheck

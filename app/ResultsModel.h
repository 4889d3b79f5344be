#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "batch/ResultsRun.h"
#include "batch/RowPhoto.h"
#include "store/Database.h"
#include "store/ResultsSchema.h"

namespace photocheck {

// The grid's model (the data source dsPicMsg) over the query adoPicMsg: the rows of its open result
// set in the grid's twelve columns (GridColumns), text trimmed, cells and titles centred. The window and the
// tests reach the rows only through this model. While a batch run works on the query the model is detached:
// it shows no rows and does not touch the query until it is attached again.
//
// Editing works as a data-aware grid posts a record: the cells typed into one row are kept as that
// row's edits, shown in the grid, until post() writes them into pictureMsg, all or none (the window
// posts when the current row is left), or revert() drops them (Esc). The model keeps the run whose rows
// it read (ResultsRun): once another run has replaced them, from another window or the command line,
// a post or a deletion is refused with StaleResults and the window reloads the rows.
//
// The query holds a bounded window of the rows read around those the view asks for, and the row with
// edits; the view's rows outside it are read again as it scrolls back to them (see Query). So the
// memory stays flat however far the operator scrolls, and rowCount() is still every row read so far.
class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    ResultsModel(Database& db, Query& adoPicMsg, QObject* parent);

    // Opens a statement (OpenSql) into a fresh query and, on success only, puts it in the place of the
    // one shown; reopened() follows. The engine's error propagates and the grid keeps its rows.
    void open(const std::string& statement);
    // A query opened elsewhere (QueryOpening) takes the place of the one shown, with the run whose
    // rows it read, and is shown (attached); reopened() follows.
    void adopt(Query&& opened, ResultsRun run);
    // While a statement is opened elsewhere the connection is not this model's: the rows shown stay,
    // but no more are read (those the query let go of show empty meanwhile) and none can be edited.
    void setQuerying(bool querying);
    // The statement the rows shown come from.
    const std::string& statement() const { return query_.statement(); }

    // While detached (a batch run works on the query) the model shows no rows. attach() shows the
    // query's rows as they are again; a run that reopened them is followed by adopt() instead.
    void detach();  // drops the row's edits
    void attach();
    // At the window's close: detached, and the query closed, so that it holds nothing of the database.
    void closeQuery();

    // The fields of a row that lead to its photo.
    StoredPhoto storedPhoto(int row) const;

    // The row whose edits are not written yet, -1 when none.
    int editedRow() const { return editedRow_; }
    // Writes the edited row's cells into pictureMsg in one transaction, and shows what the table holds
    // now. A change the table refuses, a value a column refuses or rows replaced by another run raise
    // EditNotSaved (StaleResults for the last); nothing is written then, and the edits are dropped.
    void post();
    void revert() override;  // drops the row's edits

    // Deletes these rows from pictureMsg and from the grid, all or, on an error (raised), none. The
    // row's edits are dropped.
    void deleteRows(const std::vector<int>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // The rows are read from the query a page at a time, as the view scrolls to them.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  signals:
    // The query was opened anew: the grid moves to its first row.
    void reopened();
    // Reading more rows, or a cell of them, failed; the rows read before stay. The window shows the
    // message.
    void fetchFailed(const QString& message);
    // Rows let go of could not be read again: another program changed the table. The window shows the
    // message and opens the statement again.
    void changedElsewhere(const QString& message);

  private:
    std::string text(int row, const char* field) const;
    QString cellText(int row, int column) const;
    void readFailed(const std::exception& e) const;
    void showFetchedRows();  // within a reset: the first page, then the rows fetched are the rows shown
    void fetch(size_t count);
    void dropEdits();

    static constexpr ResultsRun NoRun = -1;

    Database& db_;
    Query& query_;
    ResultsRun run_ = NoRun;  // the run whose rows the query read
    bool attached_ = true;
    bool querying_ = false;
    size_t shown_ = 0;  // the fetched rows the view has been told of
    int editedRow_ = -1;
    std::map<int, QString> edits_;         // column -> text typed, of editedRow_
    mutable bool readErrorShown_ = false;  // since the last opening
};

}  // namespace photocheck

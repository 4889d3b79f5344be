#pragma once
#include <QHeaderView>

namespace photocheck {

class ResultsModel;

// The results grid's row indicator, the narrow column left of the rows: an arrow at the current row,
// an I-beam at the row whose edits are not written yet.
class RowIndicator : public QHeaderView {
    Q_OBJECT
  public:
    RowIndicator(const ResultsModel& model, QWidget* parent);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    const ResultsModel& model_;
};

}  // namespace photocheck

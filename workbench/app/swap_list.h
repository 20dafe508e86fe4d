#pragma once
// A list whose items are rearranged by dragging one onto another: the two swap places,
// nothing is inserted. The owner keeps the data behind the rows and swaps it in
// `itemsSwapped`; the list swaps the row texts itself.

#include <QListWidget>

namespace morva::app {

class TSwapList : public QListWidget {
    Q_OBJECT
  public:
    explicit TSwapList(QWidget* parent = nullptr);

    /// Exchanges rows `from` and `to` (texts and data), makes `to` current without signalling
    /// a change of row, then emits itemsSwapped. Does nothing for equal or out-of-range rows.
    void SwapRows(int from, int to);

  signals:
    void itemsSwapped(int from, int to);

  protected:
    void dropEvent(QDropEvent* event) override;
};

}  // namespace morva::app

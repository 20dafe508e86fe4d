#pragma once
// The table order dialog: the tables of a schema, and the columns of one table, put in order
// by dragging one item onto another, which swaps the two.

#include <QDialog>
#include <memory>

class QPushButton;
class QTabWidget;

namespace morva::schema {
class TSchema;
}

namespace morva::app {

class TSettings;
class TSwapList;

class TTableOrderForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTableOrderForm(TSettings& settings, QWidget* parent = nullptr);
    ~TTableOrderForm() override;

    /// Works on a copy of `schema`; OK gives `schema` the copy's order and saves it.
    /// `schema` must outlive the showing.
    void Prepare(schema::TSchema& schema);

    /// Swaps tables `from` and `to` of the copy.
    void TablesSwapped(int from, int to);
    /// Swaps columns `from` and `to` (name, type and label) of the table chosen on "Tables".
    void ColumnsSwapped(int from, int to);
    void btOkClick();

    QTabWidget* pgOrder;
    TSwapList* lbTables;
    TSwapList* lbColumns;
    QPushButton* btOk;
    QPushButton* btCancel;

  private:
    void FillColumns();

    TSettings& settings_;
    schema::TSchema* target_ = nullptr;
    std::unique_ptr<schema::TSchema> copy_;
};

}  // namespace morva::app

#pragma once
// The schema editor. In schema mode it edits a schema through the selection marks, types and
// labels of the current database's information: ticked tables and columns are the schema's.
// In database mode it edits a database's information itself, column by column.

#include <QDialog>
#include <vector>

#include "workbench/app/global.h"
#include "workbench/schema/database_infor.h"

class QListWidget;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace morva::app {

class TAddRefTable;
class TColumnEdit;
class TTypeLabel;

class TCreateSchema : public QDialog {
    Q_OBJECT
  public:
    TCreateSchema(TSettings& settings, TTypeLabel* typeLabel, TColumnEdit* columnEdit,
                  TAddRefTable* addRef, QWidget* parent = nullptr);

    /// Schema mode on `schema` over the current database, whose marks, types and labels are
    /// set from the schema. `schema` must outlive the showing; OK saves it.
    void PrepareSchema(schema::TSchema& schema);
    /// Database mode on `db`, which must outlive the showing; OK saves it.
    void PrepareDatabase(schema::TDatabaseInfor& db);
    bool SchemaMode() const { return schema_ != nullptr; }

    bool SelectedTablesOnly = false;
    bool SelectedColumnsOnly = false;

    // Handlers.
    void bt1EditClick();
    void bt2ClearClick() { TickAll(lvTable, false); }
    void bt3SelectClick() { TickAll(lvTable, true); }
    void bt4EditClick();
    void bt5ClearClick() { TickAll(lvColumn, false); }
    void bt6SelectClick() { TickAll(lvColumn, true); }
    void btTablesOnlyClick();
    void btColumnsOnlyClick();
    void btJoinClick();
    void btEditClick();
    void btOkClick();

    QTreeWidget* lvTable;
    QTreeWidget* lvColumn;
    QListWidget* lbRefTable;
    QSplitter* Splitter;
    QPushButton *bt1Edit, *bt2Clear, *bt3Select, *btTablesOnly, *bt4Edit, *bt5Clear, *bt6Select,
        *btColumnsOnly, *btJoin, *btEdit, *btOk, *btCancel;

  private:
    void FillTables();
    void FillColumns();
    void FillReferences();
    void TickAll(QTreeWidget* list, bool ticked);
    void ItemChanged(QTreeWidgetItem* item);
    void ItemDoubleClicked(QTreeWidgetItem* item);
    void UpdateTableRow(QTreeWidgetItem* item);
    void UpdateColumnRow(QTreeWidgetItem* item);
    /// The rows that are selected, in list order.
    static std::vector<QTreeWidgetItem*> SelectedRows(QTreeWidget* list);
    schema::TTableInfor* TableOf(const QTreeWidgetItem* item) const;
    schema::TTableInfor* ShownTable() const;
    schema::ColumnRecord* ColumnOf(const QTreeWidgetItem* item) const;

    TSettings& settings_;
    TTypeLabel* typeLabel_;
    TColumnEdit* columnEdit_;
    TAddRefTable* addRef_;
    schema::TSchema* schema_ = nullptr;
    schema::TDatabaseInfor* db_ = nullptr;
    int shownTable_ = -1;  // index in db_ of the table whose columns are listed
    bool filling_ = false;
};

}  // namespace morva::app

#pragma once
// The reference dialog: joins the columns of one table to the columns of the tables it
// refers to, on a working copy of the table's references.

#include <QDialog>
#include <QStringList>

#include "workbench/schema/ref_tables.h"

class QListWidget;
class QPushButton;

namespace morva::schema {
class TDatabaseInfor;
}

namespace morva::app {

class TAddRefTable : public QDialog {
    Q_OBJECT
  public:
    explicit TAddRefTable(QWidget* parent = nullptr);

    /// `tables` are the names the editor lists (in schema mode only the ticked ones are
    /// given), `current` the table whose references are edited, `masterColumns` the names in
    /// the editor's column list, `refs` its references, `selectedRef` the table chosen in the
    /// editor's reference list (may be empty). `db` gives the columns of the other tables and
    /// must outlive the showing.
    void Prepare(const schema::TDatabaseInfor& db, const QStringList& tables,
                 const QString& current, const QStringList& masterColumns,
                 const schema::TRefTables& refs, const QString& selectedRef);
    /// The working copy, to be taken after OK.
    const schema::TRefTables& RefTables() const { return refs_; }

    void btAddClick();
    void btDeleteClick();
    void btClearClick();
    /// OK when something changed, else Cancel.
    void btOkClick();
    /// Shows the columns and joined pairs of the chosen available table.
    void lbTablesClick();

    bool Changed = false;
    QListWidget* lbTables;
    QListWidget* lbMaster;
    QListWidget* lbDetail;
    QListWidget* lbJoined;
    QPushButton *btAdd, *btDelete, *btClear, *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QString SelectedTable() const;
    void RefreshJoined();
    /// Rebuilds the working copy without table `name`'s pair `pair` (all its pairs when -1).
    void RemovePairs(const QString& name, int pair);

    const schema::TDatabaseInfor* db_ = nullptr;
    schema::TRefTables refs_;
};

}  // namespace morva::app

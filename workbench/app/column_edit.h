#pragma once
// The column editor: every fact of one column record of a database's information, with its
// lookup table or lookup items.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace morva::schema {
class TDatabaseInfor;
struct ColumnRecord;
}  // namespace morva::schema

namespace morva::app {

class TColumnEdit : public QDialog {
    Q_OBJECT
  public:
    explicit TColumnEdit(QWidget* parent = nullptr);

    /// Fills the fields from `column` of table `table`; the other tables of `db` are offered
    /// as lookup tables. `db` must outlive the showing.
    void Prepare(const schema::TDatabaseInfor& db, const QString& table,
                 const schema::ColumnRecord& column);
    /// Writes the fields into `column`.
    void WriteBack(schema::ColumnRecord& column) const;

    /// Closes with OK when every numeric field holds a number; otherwise names the field,
    /// focuses it and stays open.
    void btOkClick();
    /// Fills "Lookup Column" and "Lookup Key" with the columns of the chosen lookup table.
    void cbLookupTableChange();

    QLineEdit *neDatabase, *neTable, *neColumn;
    QLineEdit *neType, *neLabel, *neDataType;
    QLineEdit *neSize, *nePrecision, *neScale, *neDisplaySize;
    QComboBox *cbIndex, *cbReadOnly;
    QComboBox *cbLookupTable, *cbLookupColumn, *cbLookupKey;
    QPlainTextEdit* moLookupItems;
    QPushButton* btOk;
    QPushButton* btCancel;

  private:
    const schema::TDatabaseInfor* db_ = nullptr;
};

}  // namespace morva::app

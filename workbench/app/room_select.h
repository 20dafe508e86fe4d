#pragma once
// The schema selection dialog: the schemas of the current database, to choose the current
// one, or to add, edit, delete, copy and order them.

#include <QDialog>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace morva::schema {
class TSchema;
}

namespace morva::app {

class TCreateSchema;
class TSettings;
class TTableOrderForm;
class TTypeLabel;

class TRoomSelectForm : public QDialog {
    Q_OBJECT
  public:
    TRoomSelectForm(TSettings& settings, TTypeLabel* typeLabel, TCreateSchema* createSchema,
                    TTableOrderForm* tableOrder, QWidget* parent = nullptr);

    /// Fills the list from the schema files and selects the current schema, else the first.
    void FillList();

    void btOkClick();
    void btAddClick();
    void btEditClick();
    void btDeleteClick();
    void btCopyClick();
    void btTableOrderClick();

    QListWidget* lbRooms;
    QLineEdit* neDatabase;
    QPushButton *btOk, *btCancel, *btAdd, *btEdit, *btDelete, *btCopy, *btTableOrder;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QString Selected() const;
    /// Loads the selected schema; null (after a message) when none is selected or the file
    /// cannot be read whole.
    std::unique_ptr<schema::TSchema> LoadSelected() const;
    void AppendAndSelect(const QString& name);

    TSettings& settings_;
    TTypeLabel* typeLabel_;
    TCreateSchema* createSchema_;
    TTableOrderForm* tableOrder_;
};

}  // namespace morva::app

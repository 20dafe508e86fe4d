#pragma once
// "Select Database": chooses the current database among the folders of the database folder,
// opens one for editing, or deletes one.

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;

namespace morva::schema {
class TDatabaseInfor;
}

namespace morva::app {

class TSettings;

class TSelectDBaseForm : public QDialog {
    Q_OBJECT
  public:
    /// Shows the schema editor in database mode for an opened database.
    using EditHook = std::function<void(schema::TDatabaseInfor&)>;

    explicit TSelectDBaseForm(TSettings& settings, QWidget* parent = nullptr);

    /// Sets what "&Edit" does; without one the button stays disabled.
    void SetEditHook(EditHook hook);

    void FormShow();
    void btOkClick();
    void btEditClick();
    void btDeleteClick();
    QString SelectedEntry() const;

    QListWidget* lbDatabase;
    QPushButton *btEdit, *btDelete, *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    TSettings& settings_;
    EditHook edit_;
};

}  // namespace morva::app

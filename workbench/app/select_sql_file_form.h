#pragma once
// "Select Table Creation Script Files": the database name and the SQL script files from which
// the compiler builds database information.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace morva::app {

class TFolderChooser;
class TSettings;

class TSelectSQLFileForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSelectSQLFileForm(TSettings& settings, QWidget* parent = nullptr);

    /// The database name as typed (upper case).
    QString DatabaseName() const;
    /// The entries of "Selected Files:", first to last.
    QStringList SelectedFiles() const;
    /// The reader chosen for the scripts: "classic" or "auto".
    QString Dialect() const;
    /// The files list's folder.
    QString Folder() const;
    /// Shows `folder` in the folder and files lists.
    void SetFolder(const QString& folder);

    void FormShow();
    void btAddClick();
    void btRemoveClick();
    void btOkClick();
    void btCancelClick();
    /// Applies the file type at `index` of the filter list to the files list.
    void cbFilterChange(int index);
    void UpdateButtons();

    QLineEdit* neDatabase;
    QComboBox* cbFilter;
    QComboBox* cbDialect;
    TFolderChooser* Folders;
    QListWidget* lbFiles;
    QListWidget* lbSelected;
    QPushButton *btAdd, *btRemove, *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RefreshFiles();

    TSettings& settings_;
    QString mask_ = QStringLiteral("*.SQL");
};

}  // namespace morva::app

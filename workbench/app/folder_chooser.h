#pragma once
// A folder chooser made of a "Drive:" list (the volume roots and the home folder), the
// current folder's full path, and the list of its subfolders: a double click or Enter on a
// subfolder enters it, on ".." goes one level up.

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace morva::app {

class TFolderChooser : public QWidget {
    Q_OBJECT
  public:
    explicit TFolderChooser(QWidget* parent = nullptr);

    /// The folder shown, as a full path without a trailing separator (except for "/").
    QString Folder() const { return folder_; }
    /// Shows `folder` (made absolute); a folder that cannot be listed still becomes current.
    void SetFolder(const QString& folder);

    QComboBox* cbDrive;
    QLabel* lbFolder;
    QListWidget* lbFolders;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    void FolderChanged(const QString& folder);

  private:
    void EnterItem();
    void SelectDrive(int index);

    QString folder_;
};

}  // namespace morva::app

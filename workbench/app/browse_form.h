#pragma once
// "Select Output Directory": chooses the folder into which scripts write their files.

#include <QDialog>

class QPushButton;

namespace morva::app {

class TFolderChooser;
class TSettings;

class TBrowseForm : public QDialog {
    Q_OBJECT
  public:
    explicit TBrowseForm(TSettings& settings, QWidget* parent = nullptr);

    void FormShow();
    /// The chosen folder, stored whole, becomes the output folder.
    void btOkClick();

    TFolderChooser* Folders;
    QPushButton *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    TSettings& settings_;
};

}  // namespace morva::app

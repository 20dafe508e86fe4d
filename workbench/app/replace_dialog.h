#pragma once
// The find and replace dialog: texts to find and to put in their place with their
// histories, where the search starts, and whether each replacement is confirmed.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace morva::app {

class TReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    /// The dialog's result after "Replace all".
    static constexpr int kReplaceAll = 2;

    explicit TReplaceDialog(QWidget* parent = nullptr);

    QComboBox* cbFind;
    QComboBox* cbReplace;
    QGroupBox* rgOrigin;
    QRadioButton* rbFromCursor;
    QRadioButton* rbFromStart;
    QCheckBox* cbPrompt;
    QPushButton* btOk;
    QPushButton* btReplaceAll;
    QPushButton* btCancel;

    QString FindText() const;
    QString ReplaceText() const;
    bool FromStart() const;
    bool Prompt() const;

    /// Refuses an empty find text; otherwise keeps both texts in their histories and closes
    /// with OK.
    void btOkClick();
    /// Refuses an empty find text; otherwise closes with kReplaceAll.
    void btReplaceAllClick();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace morva::app

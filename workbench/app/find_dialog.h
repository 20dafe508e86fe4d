#pragma once
// The find dialog: the text to find with its history, and where the search starts.

#include <QDialog>

class QComboBox;
class QRadioButton;
class QGroupBox;
class QPushButton;

namespace morva::app {

class TFindDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QComboBox* cbFind;
    QGroupBox* rgOrigin;
    QRadioButton* rbFromCursor;
    QRadioButton* rbFromStart;
    QPushButton* btOk;
    QPushButton* btCancel;

    QString FindText() const;
    bool FromStart() const;

    /// Refuses an empty text; otherwise keeps it in the history and closes with OK.
    void btOkClick();

  protected:
    void showEvent(QShowEvent* event) override;
};

/// Adds `text` to the combo box's history unless it holds it already, ignoring case.
void AddToHistory(QComboBox* combo, const QString& text);

}  // namespace morva::app

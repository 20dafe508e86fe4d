#pragma once
// The go-to-line dialog: a line number with its history; only digits can be typed.

#include <QDialog>

class QComboBox;
class QPushButton;

namespace morva::app {

class TGotoLineNo : public QDialog {
    Q_OBJECT
  public:
    explicit TGotoLineNo(QWidget* parent = nullptr);

    QComboBox* cbLineno;
    QPushButton* btOk;
    QPushButton* btCancel;

    QString LineText() const;
    /// Refuses an empty number; otherwise adds it to the history and closes with OK.
    void btOkClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

}  // namespace morva::app

#pragma once
// The file type dialog: edits the open dialog's filter as a list of file types, each a
// description and a pattern.

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;

namespace morva::app {

class TSwapList;

class TOpenFilter : public QDialog {
    Q_OBJECT
  public:
    explicit TOpenFilter(QWidget* parent = nullptr);

    /// Splits `filter` at every "|" into descriptions and patterns, alternately.
    void SetFilter(const QString& filter);
    /// The filter built from the entries whose description and pattern are both non-empty;
    /// "All Files(*.*)|*.*" when there is no entry.
    QString Filter() const;

    void btNewClick();
    void btDeleteClick();
    void btOkClick();

    QStringList Descriptions;
    QStringList Patterns;
    TSwapList* lbFileType;
    QLineEdit* neFileType;
    QLineEdit* neFilter;
    QPushButton *btNew, *btDelete, *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowEntry(int row);
    void Swapped(int from, int to);

    bool filling_ = false;  // the fields are being filled by the dialog itself
};

}  // namespace morva::app

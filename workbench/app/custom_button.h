#pragma once
// The macro button editor: the user's text-inserting buttons, kept in "MacroBtn.CDF" in the
// root folder, and the panel of buttons built from them.

#include <QDialog>
#include <functional>
#include <vector>

#include "workbench/app/macro_file.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace morva::app {

class TSwapList;

class TCustomButton : public QDialog {
    Q_OBJECT
  public:
    /// Reads `path` ("MacroBtn.CDF") when it exists and shows the first button.
    explicit TCustomButton(const QString& path, QWidget* parent = nullptr);
    /// Writes the file anew when at least one button exists; else leaves it untouched.
    ~TCustomButton() override;

    /// The error of reading the file at creation, empty when it was read or is missing.
    QString LoadError;

    /// Replaces every control on `panel` by one push button per enabled record, in rows of
    /// width / 79 (at least 1) buttons; a click calls `click` with the record's index.
    void BuildPanel(QWidget* panel, const std::function<void(int)>& click) const;
    /// Number of columns of buttons a panel `width` pixels wide holds.
    static int PanelColumns(int width);
    bool Save(QString* error) const;

    /// True when no record is shown, or the shown one has a caption and a text; otherwise
    /// says what is missing and focuses its field.
    bool ValidateShown();
    void btNewClick();
    void btDeleteClick();
    void btOkClick();
    /// Stores the fields into the shown record (caption, hint, text, caret offset, enable).
    void StoreFields();

    std::vector<MacroButton> Buttons;
    TSwapList* lbButtons;
    QLineEdit* neCaption;
    QLineEdit* neHint;
    QPlainTextEdit* moText;
    QCheckBox* cbEnable;
    QPushButton *btNew, *btDelete, *btOk;
    int Shown = -1;  ///< the record the fields show, -1 for none

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowRecord(int index);
    void RowChosen(int row);
    void Swapped(int from, int to);

    QString path_;
    bool filling_ = false;
};

}  // namespace morva::app

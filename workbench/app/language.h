#pragma once
// The keyword language dialog: named keyword lists for the editor's colouring, kept in
// "Keywords.CDF" in the root folder, and the choice of the current one. Also the text prompt
// that asks for a new language's name.

#include <QDialog>
#include <QStringList>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace morva::app {

class TCodeMemo;

/// Asks for one line of text; OK needs a non-empty text.
class TGetText : public QDialog {
    Q_OBJECT
  public:
    explicit TGetText(QWidget* parent = nullptr);

    void btOkClick();

    QLabel* lbPrompt;
    QLineEdit* neText;
    QPushButton* btOk;
    QPushButton* btCancel;
};

class TLanguage : public QDialog {
    Q_OBJECT
  public:
    /// Reads `path` ("Keywords.CDF") when it exists; `language` is the current language's
    /// index (the setting), read and written by the dialog.
    TLanguage(const QString& path, int& language, TGetText* getText, QWidget* parent = nullptr);
    /// Writes the file anew when at least one language exists; else leaves it untouched.
    ~TLanguage() override;

    /// The error of reading the file at creation, empty when it was read or is missing.
    QString LoadError;

    /// The current language's keywords, or none when the index is out of range.
    const QStringList* CurrentKeywords() const;
    /// Gives `memo` the current language's keywords; leaves it as it is without a language.
    void Apply(TCodeMemo* memo) const;
    /// Writes the file; false with the reason.
    bool Save(QString* error) const;

    void cbLangChange();
    void btAddClick();
    void btOkClick();

    QStringList Names;                  ///< the language names, in the order of cbLang
    std::vector<QStringList> Keywords;  ///< one sorted list per language
    QComboBox* cbLang;
    QPlainTextEdit* moLang;
    QPushButton* btAdd;
    QPushButton* btOk;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void StoreMemo(int index);
    void ShowLanguage(int index);

    QString path_;
    int& language_;
    TGetText* getText_;
    int shown_ = -1;  // the language whose keywords the memo shows
};

}  // namespace morva::app

#pragma once
// One page of the main window: the editor and the document it shows. The page owns the name
// it is listed and saved under, the line ends and encoding its file was read with, reading
// and writing that file, the "Save changes" question, and the lint of its text after a pause
// in typing.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "engine/script/lint.h"
#include "workbench/app/message_boxes.h"

class QTimer;

namespace morva::app {

class TCodeMemo;

/// The folder of `fileName` with its trailing separator, as the script folder is kept.
QString FolderOf(const QString& fileName);

/// What a lint of a page's text came to: findings, nothing now (a run is under way; try
/// again later), or nothing ever (no engine to lint with).
enum class LintStatus { Done, Busy, Unavailable };
/// Lints a script's text (UTF-8) into `findings`.
using Linter =
    std::function<LintStatus(const std::string& script, std::vector<tpx::LintFinding>* findings)>;

class TEditorPage : public QWidget {
    Q_OBJECT
  public:
    enum class SaveResult { Saved, Cancelled, Failed };
    /// The pause in typing after which the text is linted, in milliseconds.
    static constexpr int kLintPause = 500;
    /// The most findings the editor underlines: beyond some thousands the underlines would
    /// slow down painting and typing, and the first ones are those to fix first anyway.
    static constexpr int kShownFindings = 1000;

    /// A page listed under `fileName` (a full file name, or "Untitle%d.TPX" for a new page)
    /// whose editor is still empty.
    explicit TEditorPage(const QString& fileName, QWidget* parent = nullptr);

    TCodeMemo* Editor() const { return memo_; }
    const QString& FileName() const { return fileName_; }
    /// True for a page that was never saved: its name begins with "Untitle".
    bool IsUntitled() const;
    bool IsModified() const;

    /// Fills the editor with the text of a new page, unmodified, the caret on line 3.
    void SetNewPageText();
    /// Reads the page's file: a form file as its text form, any other file as text whose line
    /// ends and encoding are remembered so that saving writes them back the same. False, with
    /// `error` set, when the file cannot be read; the editor is then left as it was.
    bool Load(QString* error);
    /// Writes the page under its name; a new page and a form file go through SaveAs instead.
    SaveResult Save(QString* folder);
    /// Asks for a name, starting in `*folder`, and writes the page there. `*folder` becomes
    /// the chosen file's folder; the page takes the new name once the file is written.
    SaveResult SaveAs(QString* folder);
    /// When modified, asks whether to save (Yes, No, Cancel) and saves on Yes, asking for a
    /// name starting in `*folder` when needed. False when the page has to stay open.
    bool MaybeSave(QString* folder);
    /// Asks "Save changes to" the file name, with Yes, No and Cancel, or for one of many
    /// pages also with No to All and Yes to All.
    Answer AskToSave(bool manyPages) const;

    /// Lints the text with `linter` whenever it has rested kLintPause ms after a change, the
    /// first time kLintPause ms from now.
    void SetLinter(Linter linter);
    /// Lints the text now, unless a lint is impossible; the findings go to the editor.
    void LintNow();
    /// True when the text changed since its last lint and waits for the pause to end.
    bool LintPending() const;
    /// How many lints ran over this page's text.
    int LintRuns() const { return lintRuns_; }
    /// The number of findings of the last lint, also those beyond kShownFindings.
    int FindingCount() const { return findingCount_; }

  signals:
    /// The page took a new file name (Save As).
    void FileNameChanged();
    /// The editor's findings were replaced by those of a new lint.
    void FindingsChanged();

  private:
    bool Write(const QString& fileName);

    TCodeMemo* memo_;
    QString fileName_;
    bool crlf_ = false;    ///< the file's lines end in CR LF
    bool latin1_ = false;  ///< the file is not UTF-8; it is written back as Latin-1
    Linter linter_;
    QTimer* lintTimer_;
    int lintRuns_ = 0;
    int findingCount_ = 0;
};

}  // namespace morva::app

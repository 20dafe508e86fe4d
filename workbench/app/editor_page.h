#pragma once
// One page of the main window: the editor and the document it shows. The page owns the name
// it is listed and saved under, the line ends and encoding its file was read with, reading
// and writing that file, and the "Save changes" question.

#include <QString>
#include <QWidget>

#include "workbench/app/message_boxes.h"

namespace morva::app {

class TCodeMemo;

/// The folder of `fileName` with its trailing separator, as the script folder is kept.
QString FolderOf(const QString& fileName);

class TEditorPage : public QWidget {
    Q_OBJECT
  public:
    enum class SaveResult { Saved, Cancelled, Failed };

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

  signals:
    /// The page took a new file name (Save As).
    void FileNameChanged();

  private:
    bool Write(const QString& fileName);

    TCodeMemo* memo_;
    QString fileName_;
    bool crlf_ = false;    ///< the file's lines end in CR LF
    bool latin1_ = false;  ///< the file is not UTF-8; it is written back as Latin-1
};

}  // namespace morva::app

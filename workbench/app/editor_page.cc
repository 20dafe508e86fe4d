#include "workbench/app/editor_page.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "workbench/app/code_memo.h"
#include "workbench/app/form_text.h"
#include "workbench/app/global.h"

namespace morva::app {

namespace {

const QString kSaveFilter = QStringLiteral("Morva script files (*.TPX)|*.TPX");

bool FitsLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}

// The UTF-16 position in the text of each byte offset into its UTF-8 form, in one walk over
// the text however many offsets there are.
std::vector<int> Utf16Positions(const std::string& utf8, const std::vector<size_t>& offsets) {
    std::vector<size_t> order(offsets.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return offsets[a] < offsets[b]; });
    std::vector<int> positions(offsets.size());
    size_t byte = 0;
    int units = 0;
    for (size_t i : order) {
        const size_t target = std::min(offsets[i], utf8.size());
        for (; byte < target; ++byte) {
            const auto c = static_cast<unsigned char>(utf8[byte]);
            if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;  // four bytes: a surrogate pair
        }
        positions[i] = units;
    }
    return positions;
}

// The first `count` findings, placed in the document.
QList<EditorFinding> ToEditorFindings(QTextDocument* document, const std::string& script,
                                      const std::vector<tpx::LintFinding>& findings, size_t count) {
    count = std::min(count, findings.size());
    std::vector<size_t> offsets;
    offsets.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        offsets.push_back(findings[i].offset);
        offsets.push_back(findings[i].offset + findings[i].length);
    }
    const std::vector<int> positions = Utf16Positions(script, offsets);
    QList<EditorFinding> shown;
    shown.reserve(static_cast<qsizetype>(count));
    const int last = document->characterCount() - 1;
    for (size_t i = 0; i < count; ++i) {
        QTextCursor range(document);
        range.setPosition(qMin(positions[2 * i], last));
        range.setPosition(qMin(positions[2 * i + 1], last), QTextCursor::KeepAnchor);
        shown.append({range, findings[i].line, findings[i].column,
                      QString::fromStdString(findings[i].check),
                      QString::fromStdString(findings[i].message)});
    }
    return shown;
}

}  // namespace

QString FolderOf(const QString& fileName) {
    QString folder = QFileInfo(fileName).absolutePath();
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

TEditorPage::TEditorPage(const QString& fileName, QWidget* parent)
    : QWidget(parent),
      memo_(new TCodeMemo(this)),
      fileName_(fileName),
      lintTimer_(new QTimer(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
    lintTimer_->setSingleShot(true);
    lintTimer_->setInterval(kLintPause);
    connect(lintTimer_, &QTimer::timeout, this, &TEditorPage::LintNow);
    // Each change starts the pause again, so typing never waits for a lint.
    connect(memo_->document(), &QTextDocument::contentsChanged, this, [this] {
        if (linter_) lintTimer_->start();
    });
}

void TEditorPage::SetLinter(Linter linter) {
    linter_ = std::move(linter);
    if (linter_) lintTimer_->start();
}

bool TEditorPage::LintPending() const {
    return lintTimer_->isActive();
}

// A lint refused while a run is under way is tried again after another pause.
void TEditorPage::LintNow() {
    lintTimer_->stop();
    if (!linter_) return;
    const std::string script = memo_->toPlainText().toStdString();
    std::vector<tpx::LintFinding> findings;
    const LintStatus status = linter_(script, &findings);
    if (status == LintStatus::Busy) lintTimer_->start();
    if (status != LintStatus::Done) return;
    ++lintRuns_;
    findingCount_ = static_cast<int>(findings.size());
    memo_->SetFindings(ToEditorFindings(memo_->document(), script, findings, kShownFindings));
    emit FindingsChanged();
}

bool TEditorPage::IsUntitled() const {
    return fileName_.left(7) == QStringLiteral("Untitle");
}

bool TEditorPage::IsModified() const {
    return memo_->document()->isModified();
}

void TEditorPage::SetNewPageText() {
    memo_->setPlainText(QStringLiteral("Start script...\n<TEXT>\n\n</TEXT>"));
    memo_->document()->setModified(false);
    memo_->SetCaret(memo_->document()->findBlockByNumber(2).position());
}

bool TEditorPage::Load(QString* error) {
    BusyCursor busy;
    QString text;
    if (UpperExtension(fileName_) == QStringLiteral(".DFM")) {
        if (!FormFileToText(fileName_, &text, error)) return false;
    } else {
        QFile file(fileName_);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("Cannot open file %1: %2").arg(fileName_, file.errorString());
            return false;
        }
        QByteArray bytes = file.readAll();
        crlf_ = bytes.contains("\r\n");
        if (crlf_) bytes.replace("\r\n", "\n");
        // Stateless, so that a sequence cut off at the end of the file counts as an error.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8(bytes);
        latin1_ = utf8.hasError();
        if (latin1_) text = QString::fromLatin1(bytes);
    }
    memo_->setPlainText(text);
    memo_->document()->setModified(false);
    memo_->SetCaret(0);
    return true;
}

TEditorPage::SaveResult TEditorPage::Save(QString* folder) {
    // The text form is never written over a binary form file, and a new page needs a name.
    if (UpperExtension(fileName_) == QStringLiteral(".DFM") || IsUntitled()) return SaveAs(folder);
    return Write(fileName_) ? SaveResult::Saved : SaveResult::Failed;
}

TEditorPage::SaveResult TEditorPage::SaveAs(QString* folder) {
    QString chosen = AskFileName(FilePrompt::Save, *folder, FileNameOnly(fileName_), kSaveFilter);
    if (chosen.isEmpty()) return SaveResult::Cancelled;
    if (!FileNameOnly(chosen).contains(u'.')) chosen += QStringLiteral(".TPX");
    chosen = QFileInfo(chosen).absoluteFilePath();
    *folder = FolderOf(chosen);
    if (!Write(chosen)) return SaveResult::Failed;
    fileName_ = chosen;
    emit FileNameChanged();
    return SaveResult::Saved;
}

bool TEditorPage::MaybeSave(QString* folder) {
    if (!IsModified()) return true;
    const Answer answer = AskToSave(false);
    if (answer == Answer::Cancel) return false;
    // A page whose save was cancelled or failed stays open, so nothing is lost.
    return answer != Answer::Yes || Save(folder) == SaveResult::Saved;
}

Answer TEditorPage::AskToSave(bool manyPages) const {
    const QString question = QStringLiteral("Save changes to %1").arg(FileNameOnly(fileName_));
    return manyPages ? ConfirmationForMany(question) : ConfirmationWithCancel(question);
}

// A file read as Latin-1 is written back the same way while every character fits; otherwise
// it becomes UTF-8 rather than losing characters.
bool TEditorPage::Write(const QString& fileName) {
    QString text = memo_->toPlainText();
    if (crlf_) text.replace(u'\n', QStringLiteral("\r\n"));
    const bool latin1 = latin1_ && FitsLatin1(text);
    const QByteArray bytes = latin1 ? text.toLatin1() : text.toUtf8();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        InformationBox(QStringLiteral("Cannot save file %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    latin1_ = latin1;
    memo_->document()->setModified(false);
    return true;
}

}  // namespace morva::app

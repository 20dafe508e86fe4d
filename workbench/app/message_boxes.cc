#include "workbench/app/message_boxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace morva::app {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

FilePromptHook& PromptHook() {
    static FilePromptHook hook;
    return hook;
}

const QString kTitle = QStringLiteral("Morva 1.00");

Answer ShowBox(BoxKind kind, const QString& text, const QString& caption = kTitle) {
    if (Hook()) return Hook()(kind, text);
    using B = QMessageBox::StandardButton;
    QMessageBox::StandardButtons buttons = B::Ok;
    QMessageBox::Icon icon = QMessageBox::Question;
    switch (kind) {
        case BoxKind::Information:
            icon = QMessageBox::Information;
            break;
        case BoxKind::Confirmation:
            buttons = B::Yes | B::No;
            break;
        case BoxKind::ConfirmationWithCancel:
            buttons = B::Yes | B::No | B::Cancel;
            break;
        case BoxKind::ConfirmationForMany:
            buttons = B::Yes | B::No | B::Cancel | B::NoToAll | B::YesToAll;
            break;
    }
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    switch (box.exec()) {
        case B::Yes:
            return Answer::Yes;
        case B::No:
            return Answer::No;
        case B::NoToAll:
            return Answer::NoToAll;
        case B::YesToAll:
            return Answer::YesToAll;
        case B::Ok:
            return Answer::Ok;
        default:
            return kind == BoxKind::Information    ? Answer::Ok
                   : kind == BoxKind::Confirmation ? Answer::No
                                                   : Answer::Cancel;
    }
}

}  // namespace

MessageHook SetMessageHook(MessageHook hook) {
    MessageHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

void InformationBox(const QString& text, const QString& caption) {
    ShowBox(BoxKind::Information, text, caption.isEmpty() ? kTitle : caption);
}
Answer Confirmation(const QString& text) {
    return ShowBox(BoxKind::Confirmation, text);
}
Answer ConfirmationWithCancel(const QString& text) {
    return ShowBox(BoxKind::ConfirmationWithCancel, text);
}
Answer ConfirmationForMany(const QString& text) {
    return ShowBox(BoxKind::ConfirmationForMany, text);
}

FilePromptHook SetFilePromptHook(FilePromptHook hook) {
    FilePromptHook old = std::move(PromptHook());
    PromptHook() = std::move(hook);
    return old;
}

QString DialogFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // Linux file names differ by letter case; list both spellings of each pattern.
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            patterns << pattern;
            if (pattern.toLower() != pattern) patterns << pattern.toLower();
        }
        // Show each type once with its patterns, as the file dialog expects them.
        QString description = parts[i];
        const int bracket = description.indexOf(u'(');
        if (bracket >= 0) description = description.left(bracket).trimmed();
        entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return entries.join(QStringLiteral(";;"));
}

QString AskFileName(FilePrompt kind, const QString& folder, const QString& proposed,
                    const QString& filter) {
    if (PromptHook()) return PromptHook()(kind, folder, proposed, filter);
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setDirectory(folder);
    dialog.setNameFilters(DialogFilter(filter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QStringLiteral("TPX"));
    if (kind == FilePrompt::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setWindowTitle(QStringLiteral("Save As"));
        if (!proposed.isEmpty()) dialog.selectFile(proposed);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setWindowTitle(QStringLiteral("Open"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace morva::app

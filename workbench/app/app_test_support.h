#pragma once
// Shared set-up of the workbench tests: a scratch folder as the current directory, its own
// settings file, and scripted answers for message boxes and file prompts.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <ostream>

#include "workbench/app/message_boxes.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace morva::app {

/// Every file below `folder` as "relative name" -> bytes.
inline std::map<QString, QByteArray> FilesBelow(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files[QDir(folder).relativeFilePath(path)] = file.readAll();
    }
    return files;
}

class WorkbenchTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        oldDir_ = QDir::currentPath();
        root = QDir(scratch_.path()).canonicalPath();
        QDir::setCurrent(root);
        oldSettings_ = qgetenv("MORVA_SETTINGS");
        qputenv("MORVA_SETTINGS", (root + QStringLiteral("/settings.ini")).toUtf8());
        SetMessageHook([this](BoxKind kind, const QString& text) {
            boxes.push_back(text);
            kinds.push_back(kind);
            if (answers.empty()) return kind == BoxKind::Information ? Answer::Ok : Answer::No;
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
        SetFilePromptHook([this](FilePrompt kind, const QString& folder, const QString& proposed,
                                 const QString&) {
            prompts.push_back(
                QStringLiteral("%1|%2|%3")
                    .arg(kind == FilePrompt::Save ? "save" : "open", folder, proposed));
            if (fileAnswers.empty()) return QString();
            const QString answer = fileAnswers.front();
            fileAnswers.pop_front();
            return answer;
        });
    }

    void TearDown() override {
        SetMessageHook({});
        SetFilePromptHook({});
        QDir::setCurrent(oldDir_);
        qputenv("MORVA_SETTINGS", oldSettings_);
    }

    QString Path(const QString& name) const { return root + u'/' + name; }

    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadFile(const QString& name) const {
        QFile file(name.startsWith(u'/') ? name : Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QString root;
    QStringList boxes;                ///< texts of the message boxes shown, in order
    std::vector<BoxKind> kinds;       ///< their kinds
    std::deque<Answer> answers;       ///< answers to give, in order (then No / Ok)
    QStringList prompts;              ///< file prompts asked: "open|folder|proposed"
    std::deque<QString> fileAnswers;  ///< file names to answer (then cancel)

  private:
    QTemporaryDir scratch_;
    QString oldDir_;
    QByteArray oldSettings_;
};

}  // namespace morva::app

#include "workbench/app/language.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "workbench/app/code_memo.h"
#include "workbench/app/global.h"
#include "workbench/app/keyword_file.h"
#include "workbench/app/message_boxes.h"

namespace morva::app {

namespace {

// Ascending, ignoring the letter case of ASCII letters.
void SortKeywords(QStringList& words) {
    std::stable_sort(words.begin(), words.end(), [](const QString& a, const QString& b) {
        return UpperCase(a) < UpperCase(b);
    });
}

}  // namespace

TGetText::TGetText(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GetText"));
    setWindowTitle(QStringLiteral("GetText"));
    lbPrompt = new QLabel(this);
    neText = new QLineEdit(this);
    neText->setObjectName(QStringLiteral("neText"));
    neText->setMaxLength(255);
    neText->setMinimumWidth(260);
    lbPrompt->setBuddy(neText);
    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    btCancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TGetText::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbPrompt);
    layout->addWidget(neText);
    layout->addWidget(buttons);
}

void TGetText::btOkClick() {
    if (neText->text().isEmpty()) {
        neText->setFocus();
        return;
    }
    accept();
}

TLanguage::TLanguage(const QString& path, int& language, TGetText* getText, QWidget* parent)
    : QDialog(parent), path_(path), language_(language), getText_(getText) {
    setObjectName(QStringLiteral("Language"));
    setWindowTitle(QStringLiteral("Set Keywords for specific Language"));
    cbLang = new QComboBox(this);
    cbLang->setObjectName(QStringLiteral("cbLang"));
    cbLang->setEditable(false);
    cbLang->setMinimumWidth(200);
    moLang = new QPlainTextEdit(this);
    moLang->setObjectName(QStringLiteral("moLang"));
    moLang->setLineWrapMode(QPlainTextEdit::NoWrap);
    moLang->setMinimumSize(300, 260);
    btAdd = new QPushButton(QStringLiteral("&Add"), this);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btAdd->setAutoDefault(false);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    connect(btAdd, &QPushButton::clicked, this, &TLanguage::btAddClick);
    connect(btOk, &QPushButton::clicked, this, &TLanguage::btOkClick);
    connect(cbLang, &QComboBox::activated, this, &TLanguage::cbLangChange);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Language:"), this));
    top->addWidget(cbLang, 1);
    top->addWidget(btAdd);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(moLang, 1);
    layout->addLayout(bottom);

    if (!QFileInfo::exists(path_)) return;
    std::vector<KeywordLanguage> read;
    std::string error;
    if (!ReadKeywordFile(path_.toStdString(), &read, &error)) {
        LoadError = QString::fromStdString(error);
        return;
    }
    for (const KeywordLanguage& entry : read) {
        QStringList words;
        for (const std::string& word : entry.keywords) words << QString::fromStdString(word);
        Names << QString::fromStdString(entry.name);
        Keywords.push_back(words);
        cbLang->addItem(Names.back());
    }
}

TLanguage::~TLanguage() {
    if (Names.isEmpty()) return;
    QString error;
    if (!Save(&error)) InformationBox(error);
}

bool TLanguage::Save(QString* error) const {
    std::vector<KeywordLanguage> languages;
    for (int i = 0; i < Names.size(); ++i) {
        KeywordLanguage entry{Names[i].toStdString(), {}};
        for (const QString& word : Keywords[static_cast<size_t>(i)])
            entry.keywords.push_back(word.toStdString());
        languages.push_back(std::move(entry));
    }
    std::string reason;
    if (WriteKeywordFile(path_.toStdString(), languages, &reason)) return true;
    *error = QString::fromStdString(reason);
    return false;
}

const QStringList* TLanguage::CurrentKeywords() const {
    if (language_ < 0 || language_ >= Names.size()) return nullptr;
    return &Keywords[static_cast<size_t>(language_)];
}

void TLanguage::Apply(TCodeMemo* memo) const {
    if (const QStringList* words = CurrentKeywords()) memo->SetKeywords(*words);
}

void TLanguage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (language_ < 0) {
        language_ = -1;
        for (int i = 0; i < Names.size(); ++i)
            if (SameTextIgnoringCase(Names[i], QStringLiteral("SQL"))) {
                language_ = i;
                break;
            }
    }
    if (language_ >= 0 && language_ < Names.size()) {
        cbLang->setCurrentIndex(language_);
        ShowLanguage(language_);
    } else {
        cbLang->setCurrentIndex(-1);
        shown_ = -1;
        moLang->clear();
    }
    cbLang->setFocus();
}

void TLanguage::StoreMemo(int index) {
    if (index < 0 || index >= Names.size()) return;
    // One word per line; blank lines hold no keyword.
    QStringList lines;
    for (const QString& line : moLang->toPlainText().split(u'\n'))
        if (HasText(line)) lines << line.trimmed();
    SortKeywords(lines);
    Keywords[static_cast<size_t>(index)] = lines;
}

void TLanguage::ShowLanguage(int index) {
    shown_ = index;
    moLang->setPlainText(Keywords[static_cast<size_t>(index)].join(u'\n'));
}

void TLanguage::cbLangChange() {
    const int chosen = cbLang->currentIndex();
    if (chosen < 0 || chosen == shown_) return;
    StoreMemo(shown_);
    ShowLanguage(chosen);
    moLang->setFocus();
}

void TLanguage::btAddClick() {
    getText_->lbPrompt->setText(QStringLiteral("Enter New Language Name"));
    if (getText_->exec() != QDialog::Accepted) return;
    Names << getText_->neText->text();
    Keywords.emplace_back();
    cbLang->addItem(Names.back());
    cbLang->setCurrentIndex(cbLang->count() - 1);
    cbLangChange();
}

void TLanguage::btOkClick() {
    const int chosen = cbLang->currentIndex();
    if (chosen < 0) return;
    for (const QString& line : moLang->toPlainText().split(u'\n')) {
        if (WordCount(line) > 1) {
            InformationBox(QStringLiteral("You must be 1 word per a line"));
            moLang->setFocus();
            return;
        }
    }
    language_ = chosen;
    StoreMemo(chosen);
    accept();
}

}  // namespace morva::app

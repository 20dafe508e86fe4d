#include "workbench/app/replace_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "workbench/app/find_dialog.h"
#include "workbench/app/message_boxes.h"

namespace morva::app {

namespace {

QComboBox* HistoryCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(260);
    return combo;
}

}  // namespace

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(QStringLiteral("Find & Replace Text"));
    cbFind = HistoryCombo(this, "cbFind");
    cbReplace = HistoryCombo(this, "cbReplace");
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Text to Find:"), cbFind);
    fields->addRow(QStringLiteral("Replace with"), cbReplace);

    rgOrigin = new QGroupBox(QStringLiteral("Origin"), this);
    rgOrigin->setObjectName(QStringLiteral("rgOrigin"));
    rbFromCursor = new QRadioButton(QStringLiteral("From cursor"), rgOrigin);
    rbFromStart = new QRadioButton(QStringLiteral("From start"), rgOrigin);
    rbFromCursor->setChecked(true);
    auto* originLayout = new QVBoxLayout(rgOrigin);
    originLayout->addWidget(rbFromCursor);
    originLayout->addWidget(rbFromStart);

    auto* promptGroup = new QGroupBox(QStringLiteral("Prompt"), this);
    cbPrompt = new QCheckBox(QStringLiteral("Prompt on replace"), promptGroup);
    cbPrompt->setObjectName(QStringLiteral("cbPrompt"));
    auto* promptLayout = new QVBoxLayout(promptGroup);
    promptLayout->addWidget(cbPrompt);
    promptLayout->addStretch();

    auto* groups = new QHBoxLayout;
    groups->addWidget(rgOrigin);
    groups->addWidget(promptGroup);

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btReplaceAll = buttons->addButton(QStringLiteral("Replace all"), QDialogButtonBox::ActionRole);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TReplaceDialog::btOkClick);
    connect(btReplaceAll, &QPushButton::clicked, this, &TReplaceDialog::btReplaceAllClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

QString TReplaceDialog::FindText() const {
    return cbFind->currentText();
}
QString TReplaceDialog::ReplaceText() const {
    return cbReplace->currentText();
}
bool TReplaceDialog::FromStart() const {
    return rbFromStart->isChecked();
}
bool TReplaceDialog::Prompt() const {
    return cbPrompt->isChecked();
}

void TReplaceDialog::btOkClick() {
    const QString find = cbFind->currentText(), replace = cbReplace->currentText();
    if (find.isEmpty()) {
        InformationBox(QStringLiteral("The search string is empty !"));
        return;
    }
    AddToHistory(cbFind, find);
    cbFind->setCurrentText(find);
    if (!replace.isEmpty()) {
        AddToHistory(cbReplace, replace);
        cbReplace->setCurrentText(replace);
    }
    accept();
}

void TReplaceDialog::btReplaceAllClick() {
    if (cbFind->currentText().isEmpty()) {
        InformationBox(QStringLiteral("The search string is empty !"));
        return;
    }
    done(kReplaceAll);
}

void TReplaceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cbFind->setFocus();
    cbFind->lineEdit()->selectAll();
}

}  // namespace morva::app

#include "workbench/app/find_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"

namespace morva::app {

void AddToHistory(QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i)
        if (SameTextIgnoringCase(combo->itemText(i), text)) return;
    combo->addItem(text);
}

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find Text"));
    cbFind = new QComboBox(this);
    cbFind->setObjectName(QStringLiteral("cbFind"));
    cbFind->setEditable(true);
    cbFind->setInsertPolicy(QComboBox::NoInsert);
    cbFind->setMinimumWidth(260);
    auto* label = new QLabel(QStringLiteral("Text to Find:"), this);
    label->setBuddy(cbFind);

    rgOrigin = new QGroupBox(QStringLiteral("Option"), this);
    rgOrigin->setObjectName(QStringLiteral("rgOrigin"));
    rbFromCursor = new QRadioButton(QStringLiteral("From cursor"), rgOrigin);
    rbFromStart = new QRadioButton(QStringLiteral("From start"), rgOrigin);
    rbFromCursor->setChecked(true);
    auto* originLayout = new QVBoxLayout(rgOrigin);
    originLayout->addWidget(rbFromCursor);
    originLayout->addWidget(rbFromStart);

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TFindDialog::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cbFind);
    layout->addWidget(rgOrigin);
    layout->addWidget(buttons);
}

QString TFindDialog::FindText() const {
    return cbFind->currentText();
}
bool TFindDialog::FromStart() const {
    return rbFromStart->isChecked();
}

void TFindDialog::btOkClick() {
    const QString text = cbFind->currentText();
    if (text.isEmpty()) {
        InformationBox(QStringLiteral("The search string is empty !"));
        return;
    }
    AddToHistory(cbFind, text);
    cbFind->setCurrentText(text);
    accept();
}

void TFindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cbFind->setFocus();
    cbFind->lineEdit()->selectAll();
}

}  // namespace morva::app

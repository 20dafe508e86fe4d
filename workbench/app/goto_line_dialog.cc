#include "workbench/app/goto_line_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/app/message_boxes.h"

namespace morva::app {

TGotoLineNo::TGotoLineNo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GotoLineNo"));
    setWindowTitle(QStringLiteral("New Line numner"));
    cbLineno = new QComboBox(this);
    cbLineno->setObjectName(QStringLiteral("cbLineno"));
    cbLineno->setEditable(true);
    cbLineno->setInsertPolicy(QComboBox::NoInsert);
    cbLineno->setMinimumWidth(200);
    cbLineno->lineEdit()->installEventFilter(this);
    auto* label = new QLabel(QStringLiteral("Enter new line number"), this);
    label->setBuddy(cbLineno);

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TGotoLineNo::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cbLineno);
    layout->addWidget(buttons);
}

QString TGotoLineNo::LineText() const {
    return cbLineno->currentText();
}

void TGotoLineNo::btOkClick() {
    const QString text = cbLineno->currentText();
    if (text.isEmpty()) {
        InformationBox(QStringLiteral("The line number is empty !"));
        return;
    }
    cbLineno->addItem(text);
    cbLineno->setCurrentIndex(cbLineno->count() - 1);
    accept();
}

// Typed characters other than the digits 0 to 9 are dropped, the backspace character among
// them; keys that type nothing (arrows, Delete, Enter, Esc) work as usual.
bool TGotoLineNo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool typesText = !text.isEmpty() && key->key() != Qt::Key_Return &&
                               key->key() != Qt::Key_Enter && key->key() != Qt::Key_Escape;
        if (typesText) {
            for (QChar c : text)
                if (c < u'0' || c > u'9') return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TGotoLineNo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cbLineno->setFocus();
    cbLineno->lineEdit()->selectAll();
}

}  // namespace morva::app

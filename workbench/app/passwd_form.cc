#include "workbench/app/passwd_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morva::app {

TPasswdForm::TPasswdForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PasswdForm"));
    setWindowTitle(QStringLiteral("Enter UserID & Password"));
    neDatabase = new QLineEdit(this);
    neDatabase->setObjectName(QStringLiteral("neDatabase"));
    neDatabase->setReadOnly(true);
    neUserID = new QLineEdit(this);
    neUserID->setObjectName(QStringLiteral("neUserID"));
    nePassword = new QLineEdit(this);
    nePassword->setObjectName(QStringLiteral("nePassword"));
    nePassword->setEchoMode(QLineEdit::Password);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btOk->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Database:"), neDatabase);
    form->addRow(QStringLiteral("UserID"), neUserID);
    form->addRow(QStringLiteral("Password:"), nePassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    // Enter in any field confirms (the default button), Esc cancels: QDialog's own keys.
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPasswdForm::SetDatabase(const QString& name) {
    neDatabase->setText(name);
}

QString TPasswdForm::Database() const {
    return neDatabase->text();
}

QString TPasswdForm::UserID() const {
    return neUserID->text();
}

QString TPasswdForm::Password() const {
    return nePassword->text();
}

void TPasswdForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    neUserID->setFocus();
}

}  // namespace morva::app

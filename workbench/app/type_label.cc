#include "workbench/app/type_label.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "component/file_name.h"
#include "workbench/app/message_boxes.h"

namespace morva::app {

TTypeLabel::TTypeLabel(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("TypeLabel"));
    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(255);
        edit->setMinimumWidth(280);
        return edit;
    };
    neName = line("neName");
    neType = line("neType");
    neLabel = line("neLabel");
    lbName = new QLabel(QStringLiteral("Schema"), this);
    lbName->setBuddy(neName);

    auto* form = new QFormLayout;
    form->addRow(lbName, neName);
    form->addRow(QStringLiteral("Type:"), neType);
    form->addRow(QStringLiteral("Label:"), neLabel);

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TTypeLabel::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TTypeLabel::Prepare(const QString& caption, const QString& nameLabel, const QString& name,
                         const QString& type, const QString& label, bool nameEnabled) {
    setWindowTitle(caption);
    lbName->setText(nameLabel);
    neName->setText(name);
    neType->setText(type);
    neLabel->setText(label);
    neName->setEnabled(nameEnabled);
}

void TTypeLabel::PrepareSchema(const QString& database, const QString& name, const QString& label,
                               const QString& type, bool nameEnabled) {
    database_ = database;
    Prepare(QStringLiteral("Enter Schema property"), QStringLiteral("Schema"), name, type, label,
            nameEnabled);
}

void TTypeLabel::PrepareTable(const QString& name, const QString& type, const QString& label) {
    Prepare(QStringLiteral("Enter Table property"), QStringLiteral("Table"), name, type, label,
            false);
}

void TTypeLabel::PrepareColumn(const QString& name, const QString& type, const QString& label) {
    Prepare(QStringLiteral("Enter Column property"), QStringLiteral("Column"), name, type, label,
            false);
}

QString TTypeLabel::Name() const {
    return neName->text();
}

QString TTypeLabel::Type() const {
    return neType->text();
}

QString TTypeLabel::Label() const {
    return neLabel->text();
}

void TTypeLabel::btOkClick() {
    if (!neName->isEnabled()) {
        accept();
        return;
    }
    if (!HasText(neName->text())) {
        InformationBox(QStringLiteral("%1 Name is empty !").arg(lbName->text()));
        neName->setFocus();
        return;
    }
    // The name becomes a file name in the database's schema folder: it must stay there.
    const QString name = neName->text();
    if (!com::IsSafeFileName(name.toStdString())) {
        InformationBox(QStringLiteral("Schema name %1 is not a valid file name.").arg(name));
        neName->setFocus();
        return;
    }
    if (SchemaFileExists(settings_, database_, neName->text())) {
        InformationBox(QStringLiteral("Schema %1 already exist.").arg(neName->text()));
        neName->setFocus();
        return;
    }
    accept();
}

void TTypeLabel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QLineEdit* first = neName->isEnabled() ? neName : neType;
    first->setFocus();
    first->selectAll();
}

}  // namespace morva::app

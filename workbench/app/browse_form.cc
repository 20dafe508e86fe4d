#include "workbench/app/browse_form.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/app/folder_chooser.h"
#include "workbench/app/global.h"

namespace morva::app {

TBrowseForm::TBrowseForm(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("BrowseForm"));
    setWindowTitle(QStringLiteral("Select Output Directory"));
    Folders = new TFolderChooser(this);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btOk->setDefault(true);
    btOk->setAutoDefault(false);
    btCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Folders, 1);
    layout->addLayout(buttons);
    resize(420, 380);
    connect(btOk, &QPushButton::clicked, this, &TBrowseForm::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TBrowseForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TBrowseForm::FormShow() {
    Folders->SetFolder(settings_.OutputDir);
    Folders->lbFolders->setFocus();
}

void TBrowseForm::btOkClick() {
    settings_.OutputDir = Folders->Folder();
    accept();
}

}  // namespace morva::app

#include "workbench/app/splash_form.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace morva::app {

TSplash::TSplash(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QStringLiteral("Wellcome to Morva 1.00"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* title = new QLabel(QStringLiteral("Morva"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() * 3);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(QStringLiteral("Code generator for database applications"), this);
    subtitle->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version:  1.00.00"), this);
    version->setAlignment(Qt::AlignCenter);

    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setVisible(false);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 20);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(btOk, 0, Qt::AlignCenter);
}

}  // namespace morva::app

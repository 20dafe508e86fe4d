#include "workbench/app/open_filter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "workbench/app/swap_list.h"

namespace morva::app {

namespace {

const QString kAllFiles = QStringLiteral("All Files(*.*)");
const QString kAllPattern = QStringLiteral("*.*");

}  // namespace

TOpenFilter::TOpenFilter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OpenFilter"));
    setWindowTitle(QStringLiteral("File Type & Filter"));
    lbFileType = new TSwapList(this);
    lbFileType->setObjectName(QStringLiteral("lbFileType"));
    lbFileType->setMinimumSize(300, 200);
    // "|" separates the entries of a filter, so it cannot be typed into one.
    auto* noBar =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^|]*")), this);
    neFileType = new QLineEdit(this);
    neFileType->setObjectName(QStringLiteral("neFileType"));
    neFileType->setValidator(noBar);
    neFilter = new QLineEdit(this);
    neFilter->setObjectName(QStringLiteral("neFilter"));
    neFilter->setValidator(noBar);
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btNew = button("btNew", QStringLiteral("&New"));
    btDelete = button("btDelete", QStringLiteral("&Delete"));
    btOk = button("btOk", QStringLiteral("&Ok"));
    btOk->setDefault(true);
    btCancel = button("btCancel", QStringLiteral("&Cancel"));
    connect(btNew, &QPushButton::clicked, this, &TOpenFilter::btNewClick);
    connect(btDelete, &QPushButton::clicked, this, &TOpenFilter::btDeleteClick);
    connect(btOk, &QPushButton::clicked, this, &TOpenFilter::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbFileType, &QListWidget::currentRowChanged, this, &TOpenFilter::ShowEntry);
    connect(lbFileType, &TSwapList::itemsSwapped, this, &TOpenFilter::Swapped);
    connect(neFileType, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int row = lbFileType->currentRow();
        if (filling_ || row < 0) return;
        Descriptions[row] = text;
        lbFileType->item(row)->setText(text);
    });
    connect(neFilter, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int row = lbFileType->currentRow();
        if (!filling_ && row >= 0) Patterns[row] = text;
    });

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("File Type:"), neFileType);
    fields->addRow(QStringLiteral("Filter"), neFilter);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {btNew, btDelete}) side->addWidget(b);
    side->addStretch();
    for (QPushButton* b : {btOk, btCancel}) side->addWidget(b);
    auto* top = new QHBoxLayout;
    top->addWidget(lbFileType, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    resize(460, 340);
}

void TOpenFilter::SetFilter(const QString& filter) {
    Descriptions.clear();
    Patterns.clear();
    const QStringList pieces = filter.split(u'|');
    for (int i = 0; i < pieces.size(); ++i) {
        const bool last = i == pieces.size() - 1;
        if (i % 2 == 0 && !last)
            Descriptions << pieces[i];
        else
            Patterns << pieces[i];
    }
    // An odd filter leaves one more pattern than descriptions: the entry gets no description
    // and so contributes nothing to the filter.
    while (Descriptions.size() < Patterns.size()) Descriptions << QString();
    while (Patterns.size() < Descriptions.size()) Patterns << QString();
    const QSignalBlocker blocker(lbFileType);
    lbFileType->clear();
    lbFileType->addItems(Descriptions);
    lbFileType->setCurrentRow(-1);
}

QString TOpenFilter::Filter() const {
    if (Descriptions.isEmpty()) return kAllFiles + u'|' + kAllPattern;
    QStringList parts;
    for (int i = 0; i < Descriptions.size(); ++i)
        if (!Descriptions[i].isEmpty() && !Patterns[i].isEmpty())
            parts << Descriptions[i] + u'|' + Patterns[i];
    return parts.join(u'|');
}

void TOpenFilter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (lbFileType->count() > 0) lbFileType->setCurrentRow(0);
    ShowEntry(lbFileType->currentRow());
    lbFileType->setFocus();
}

void TOpenFilter::ShowEntry(int row) {
    filling_ = true;
    const bool valid = row >= 0 && row < Descriptions.size();
    neFileType->setText(valid ? Descriptions[row] : QString());
    neFilter->setText(valid ? Patterns[row] : QString());
    filling_ = false;
}

void TOpenFilter::Swapped(int from, int to) {
    Descriptions.swapItemsAt(from, to);
    Patterns.swapItemsAt(from, to);
    ShowEntry(lbFileType->currentRow());
}

void TOpenFilter::btNewClick() {
    Descriptions << kAllFiles;
    Patterns << kAllPattern;
    lbFileType->addItem(kAllFiles);
    lbFileType->setCurrentRow(lbFileType->count() - 1);
    neFileType->setFocus();
    neFileType->selectAll();
}

void TOpenFilter::btDeleteClick() {
    const int row = lbFileType->currentRow();
    if (row < 0) return;
    Descriptions.removeAt(row);
    Patterns.removeAt(row);
    {
        const QSignalBlocker blocker(lbFileType);
        delete lbFileType->takeItem(row);
    }
    if (Descriptions.isEmpty()) {
        btNewClick();
        return;
    }
    lbFileType->setCurrentRow(row > 0 ? row - 1 : 0);
    ShowEntry(lbFileType->currentRow());
}

void TOpenFilter::btOkClick() {
    accept();
}

}  // namespace morva::app

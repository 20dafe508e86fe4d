#include "workbench/app/column_edit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <limits>

#include "component/binary_fields.h"
#include "workbench/app/message_boxes.h"
#include "workbench/schema/database_infor.h"

namespace morva::app {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Cut(const QString& text) {
    return com::CutShortString(text.toStdString());
}

// The combo box's chosen text, empty when nothing is chosen.
QString Chosen(const QComboBox* box) {
    return box->currentIndex() < 0 ? QString() : box->currentText();
}

}  // namespace

TColumnEdit::TColumnEdit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ColumnEdit"));
    setWindowTitle(QStringLiteral("Edit Column Information"));
    auto line = [this](const char* name, bool readOnly) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(255);
        edit->setMinimumWidth(170);
        if (readOnly) {
            edit->setReadOnly(true);
            edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffffc0; }"));
        }
        return edit;
    };
    neDatabase = line("neDatabase", true);
    neTable = line("neTable", true);
    neColumn = line("neColumn", true);
    neType = line("neType", false);
    neLabel = line("neLabel", false);
    neDataType = line("neDataType", false);
    // Digits only: a validator refuses every other typed character.
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto number = [&](const char* name) {
        QLineEdit* edit = line(name, false);
        edit->setMaxLength(10);
        edit->setValidator(digits);
        return edit;
    };
    neSize = number("neSize");
    nePrecision = number("nePrecision");
    neScale = number("neScale");
    neDisplaySize = number("neDisplaySize");
    auto combo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->setMinimumWidth(170);
        return box;
    };
    cbIndex = combo("cbIndex");
    cbReadOnly = combo("cbReadOnly");
    for (QComboBox* box : {cbIndex, cbReadOnly})
        box->addItems({QStringLiteral("False"), QStringLiteral("True")});
    cbLookupTable = combo("cbLookupTable");
    cbLookupColumn = combo("cbLookupColumn");
    cbLookupKey = combo("cbLookupKey");
    connect(cbLookupTable, &QComboBox::currentIndexChanged, this,
            &TColumnEdit::cbLookupTableChange);
    moLookupItems = new QPlainTextEdit(this);
    moLookupItems->setObjectName(QStringLiteral("moLookupItems"));
    moLookupItems->setMinimumHeight(90);

    // Captions keep their full width however narrow the dialog is made.
    auto caption = [this](const char* text) {
        auto* label = new QLabel(QLatin1String(text), this);
        label->setMinimumWidth(label->sizeHint().width());
        return label;
    };
    auto* left = new QFormLayout;
    left->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    left->setHorizontalSpacing(10);
    left->addRow(caption("Database"), neDatabase);
    left->addRow(caption("Table"), neTable);
    left->addRow(caption("Column"), neColumn);
    left->addRow(caption("Type"), neType);
    left->addRow(caption("Label"), neLabel);
    left->addRow(caption("Datatype"), neDataType);
    left->addRow(caption("Size"), neSize);
    auto* right = new QFormLayout;
    right->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    right->setHorizontalSpacing(10);
    right->addRow(caption("Precision"), nePrecision);
    right->addRow(caption("Scale"), neScale);
    right->addRow(caption("Dispplay Size"), neDisplaySize);
    right->addRow(caption("Index Key"), cbIndex);
    right->addRow(caption("Read Only"), cbReadOnly);
    right->addRow(caption("Lookup Table"), cbLookupTable);
    right->addRow(caption("Lookup Column"), cbLookupColumn);
    right->addRow(caption("Lookup Key"), cbLookupKey);

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TColumnEdit::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Lookup Items"), this), 1, 0, 1, 2);
    grid->addWidget(moLookupItems, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);
    grid->setHorizontalSpacing(16);
}

void TColumnEdit::Prepare(const schema::TDatabaseInfor& db, const QString& table,
                          const schema::ColumnRecord& column) {
    db_ = &db;
    neDatabase->setText(Text(db.Name));
    neTable->setText(table);
    neColumn->setText(Text(column.Name));
    neType->setText(Text(column.Type));
    neLabel->setText(Text(column.Label));
    neDataType->setText(Text(column.DataType));
    neSize->setText(QString::number(column.Length));
    nePrecision->setText(QString::number(column.Precision));
    neScale->setText(QString::number(column.Scale));
    neDisplaySize->setText(QString::number(column.DisplayWidth));
    cbIndex->setCurrentIndex(column.Flags & schema::kColumnKey ? 1 : 0);
    cbReadOnly->setCurrentIndex(column.Flags & schema::kColumnReadOnly ? 1 : 0);

    const QSignalBlocker blocker(cbLookupTable);
    cbLookupTable->clear();
    for (const schema::TTableInfor& other : db.Tables)
        if (Text(other.TableName) != table) cbLookupTable->addItem(Text(other.TableName));
    cbLookupTable->setCurrentIndex(cbLookupTable->findText(Text(column.LookupTable)));
    cbLookupTableChange();
    cbLookupColumn->setCurrentIndex(cbLookupColumn->findText(Text(column.LookupColumn)));
    cbLookupKey->setCurrentIndex(cbLookupKey->findText(Text(column.LookupKey)));

    QStringList items;
    for (const std::string& item : column.LookupItems) items << Text(item);
    moLookupItems->setPlainText(items.join(u'\n'));
}

void TColumnEdit::cbLookupTableChange() {
    cbLookupColumn->clear();
    cbLookupKey->clear();
    if (!db_ || cbLookupTable->currentIndex() < 0) return;
    const schema::TTableInfor* table = db_->FindTable(cbLookupTable->currentText().toStdString());
    if (!table) return;
    for (const schema::ColumnRecord& c : table->columns()) {
        cbLookupColumn->addItem(Text(c.Name));
        cbLookupKey->addItem(Text(c.Name));
    }
    cbLookupColumn->setCurrentIndex(-1);
    cbLookupKey->setCurrentIndex(-1);
}

void TColumnEdit::btOkClick() {
    const std::pair<QLineEdit*, const char*> fields[] = {{neSize, "Size"},
                                                         {nePrecision, "Precision"},
                                                         {neScale, "Scale"},
                                                         {neDisplaySize, "Dispplay Size"}};
    for (const auto& [edit, caption] : fields) {
        bool ok = false;
        edit->text().toInt(&ok);
        if (!ok) {
            InformationBox(QStringLiteral("%1 must be a number from 0 to %2.")
                               .arg(QLatin1String(caption))
                               .arg(std::numeric_limits<int32_t>::max()));
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    accept();
}

void TColumnEdit::WriteBack(schema::ColumnRecord& column) const {
    column.Type = Cut(neType->text());
    column.Label = Cut(neLabel->text());
    column.DataType = Cut(neDataType->text());
    column.Length = neSize->text().toInt();
    column.Precision = nePrecision->text().toInt();
    column.Scale = neScale->text().toInt();
    column.DisplayWidth = neDisplaySize->text().toInt();
    column.Flags = cbIndex->currentIndex() + 2 * cbReadOnly->currentIndex();
    column.LookupTable = Cut(Chosen(cbLookupTable));
    column.LookupColumn = Cut(Chosen(cbLookupColumn));
    column.LookupKey = Cut(Chosen(cbLookupKey));
    column.LookupItems.clear();
    QString items = moLookupItems->toPlainText();
    if (items.endsWith(u'\n')) items.chop(1);  // a closing line break starts no item
    if (!items.isEmpty())
        for (const QString& item : items.split(u'\n')) column.LookupItems.push_back(Cut(item));
}

}  // namespace morva::app

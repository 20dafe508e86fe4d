#include "workbench/app/custom_button.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "component/binary_fields.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/swap_list.h"

namespace morva::app {

namespace {

constexpr int kColumnPitch = 79;  // panel width taken per column of buttons
constexpr int kButtonPitch = 75;  // distance between the left edges of two buttons in a row
constexpr int kRowPitch = 25;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TCustomButton::TCustomButton(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
    setObjectName(QStringLiteral("CustomButton"));
    setWindowTitle(QStringLiteral("Make/Edit Custom butons"));
    lbButtons = new TSwapList(this);
    lbButtons->setObjectName(QStringLiteral("lbButtons"));
    lbButtons->setMinimumSize(160, 220);
    neCaption = new QLineEdit(this);
    neCaption->setObjectName(QStringLiteral("neCaption"));
    neCaption->setMaxLength(255);
    neHint = new QLineEdit(this);
    neHint->setObjectName(QStringLiteral("neHint"));
    neHint->setMaxLength(255);
    moText = new QPlainTextEdit(this);
    moText->setObjectName(QStringLiteral("moText"));
    moText->setMinimumSize(280, 140);
    cbEnable = new QCheckBox(QStringLiteral("Enable"), this);
    cbEnable->setObjectName(QStringLiteral("cbEnable"));
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btNew = button("btNew", QStringLiteral("&New"));
    btDelete = button("btDelete", QStringLiteral("&Delete"));
    btOk = button("btOk", QStringLiteral("&Ok"));
    connect(btNew, &QPushButton::clicked, this, &TCustomButton::btNewClick);
    connect(btDelete, &QPushButton::clicked, this, &TCustomButton::btDeleteClick);
    connect(btOk, &QPushButton::clicked, this, &TCustomButton::btOkClick);
    connect(lbButtons, &QListWidget::currentRowChanged, this, &TCustomButton::RowChosen);
    connect(lbButtons, &TSwapList::itemsSwapped, this, &TCustomButton::Swapped);
    connect(cbEnable, &QCheckBox::clicked, this, [this] { StoreFields(); });
    for (QWidget* field : {static_cast<QWidget*>(neCaption), static_cast<QWidget*>(neHint),
                           static_cast<QWidget*>(moText)})
        field->installEventFilter(this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Caption"), neCaption);
    fields->addRow(QStringLiteral("Hint"), neHint);
    fields->addRow(QStringLiteral("Text to insert"), moText);
    fields->addRow(QString(), cbEnable);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btNew, btDelete}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btOk);
    auto* right = new QVBoxLayout;
    right->addLayout(fields, 1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lbButtons);
    layout->addLayout(right, 1);

    if (QFileInfo::exists(path_)) {
        std::string error;
        if (!ReadMacroFile(path_.toStdString(), &Buttons, &error))
            LoadError = QString::fromStdString(error);
    }
    const QSignalBlocker blocker(lbButtons);
    for (const MacroButton& b : Buttons) lbButtons->addItem(Text(b.caption));
    if (!Buttons.empty()) {
        lbButtons->setCurrentRow(0);
        ShowRecord(0);
    } else {
        ShowRecord(-1);
    }
}

TCustomButton::~TCustomButton() {
    if (Buttons.empty()) return;
    QString error;
    if (!Save(&error)) InformationBox(error);
}

bool TCustomButton::Save(QString* error) const {
    std::string reason;
    if (WriteMacroFile(path_.toStdString(), Buttons, &reason)) return true;
    *error = QString::fromStdString(reason);
    return false;
}

void TCustomButton::ShowRecord(int index) {
    filling_ = true;
    Shown = index;
    const bool valid = index >= 0 && index < static_cast<int>(Buttons.size());
    const MacroButton empty;
    const MacroButton& b = valid ? Buttons[static_cast<size_t>(index)] : empty;
    neCaption->setText(valid ? Text(b.caption) : QString());
    neHint->setText(valid ? Text(b.hint) : QString());
    moText->setPlainText(valid ? Text(b.text) : QString());
    QTextCursor cursor = moText->textCursor();
    cursor.setPosition(std::min(b.CaretOffset(), static_cast<int>(moText->toPlainText().size())));
    moText->setTextCursor(cursor);
    cbEnable->setChecked(valid ? b.Enabled() : true);
    filling_ = false;
}

void TCustomButton::StoreFields() {
    if (filling_ || Shown < 0 || Shown >= static_cast<int>(Buttons.size())) return;
    MacroButton& b = Buttons[static_cast<size_t>(Shown)];
    b.caption = com::CutShortString(neCaption->text().toStdString());
    lbButtons->item(Shown)->setText(neCaption->text());
    b.hint = com::CutShortString(neHint->text().toStdString());
    b.text = com::CutShortString(moText->toPlainText().toStdString());
    const int caret = std::min(moText->textCursor().position(), 255);
    b.flags = (b.flags & ~(kMacroCaretMask | kMacroEnabled)) | caret |
              (cbEnable->isChecked() ? kMacroEnabled : 0);
}

bool TCustomButton::ValidateShown() {
    if (Shown < 0) return true;
    StoreFields();
    const MacroButton& b = Buttons[static_cast<size_t>(Shown)];
    if (b.caption.empty()) {
        InformationBox(QStringLiteral("Invalid caption"));
        neCaption->setFocus();
        return false;
    }
    if (b.text.empty()) {
        InformationBox(QStringLiteral("Empty text."));
        moText->setFocus();
        return false;
    }
    return true;
}

void TCustomButton::RowChosen(int row) {
    if (row == Shown) return;
    if (!ValidateShown()) {
        const QSignalBlocker blocker(lbButtons);
        lbButtons->setCurrentRow(Shown);
        return;
    }
    ShowRecord(row);
}

// The list has swapped its rows already; the fields still show the record at its old place,
// so they are stored first and the two rows then take their records' captions.
void TCustomButton::Swapped(int from, int to) {
    StoreFields();
    std::swap(Buttons[static_cast<size_t>(from)], Buttons[static_cast<size_t>(to)]);
    for (int row : {from, to})
        lbButtons->item(row)->setText(Text(Buttons[static_cast<size_t>(row)].caption));
    ShowRecord(lbButtons->currentRow());
}

void TCustomButton::btNewClick() {
    if (!ValidateShown()) return;
    QString caption;
    for (int n = 0;; ++n) {
        caption = QStringLiteral("Button%1").arg(n);
        const bool taken = std::any_of(Buttons.begin(), Buttons.end(), [&](const MacroButton& b) {
            return SameTextIgnoringCase(Text(b.caption), caption);
        });
        if (!taken) break;
    }
    Buttons.push_back(MacroButton{caption.toStdString(), {}, {}, kMacroEnabled});
    {
        const QSignalBlocker blocker(lbButtons);
        lbButtons->addItem(caption);
        lbButtons->setCurrentRow(lbButtons->count() - 1);
    }
    ShowRecord(static_cast<int>(Buttons.size()) - 1);
    neCaption->setFocus();
    neCaption->selectAll();
}

void TCustomButton::btDeleteClick() {
    const int row = lbButtons->currentRow();
    if (row < 0) return;
    Buttons.erase(Buttons.begin() + row);
    const QSignalBlocker blocker(lbButtons);
    delete lbButtons->takeItem(row);
    const int next = row < lbButtons->count() ? row : lbButtons->count() - 1;
    lbButtons->setCurrentRow(next);
    ShowRecord(next);
}

void TCustomButton::btOkClick() {
    if (ValidateShown()) accept();
}

// Leaving a field stores it into the shown record.
bool TCustomButton::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) StoreFields();
    return QDialog::eventFilter(watched, event);
}

// Enter closes with OK unless the memo is being typed in; Esc closes with Cancel once the
// shown record is valid.
void TCustomButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !moText->hasFocus()) {
        btOkClick();
        return;
    }
    if (key == Qt::Key_Escape) {
        if (ValidateShown()) reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

int TCustomButton::PanelColumns(int width) {
    return std::max(1, width / kColumnPitch);
}

void TCustomButton::BuildPanel(QWidget* panel, const std::function<void(int)>& click) const {
    const QObjectList children = panel->children();
    for (QObject* child : children)
        if (child->isWidgetType()) delete child;
    const int columns = PanelColumns(panel->width());
    int column = 0, row = 0;
    for (size_t i = 0; i < Buttons.size(); ++i) {
        const MacroButton& b = Buttons[i];
        if (!b.Enabled()) continue;
        auto* button = new QPushButton(Text(b.caption), panel);
        button->setObjectName(QStringLiteral("CustSb%1").arg(i));
        button->setToolTip(Text(b.hint));
        button->setGeometry(column * kButtonPitch + 4, row * kRowPitch + 8, kButtonPitch - 2,
                            kRowPitch - 2);
        button->setProperty("tag", static_cast<int>(i));
        button->setFocusPolicy(Qt::NoFocus);
        const int index = static_cast<int>(i);
        QObject::connect(button, &QPushButton::clicked, panel, [click, index] { click(index); });
        button->show();
        if (++column == columns) {
            column = 0;
            ++row;
        }
    }
}

}  // namespace morva::app

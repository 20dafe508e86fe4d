// The schema dialogs driven as a user would: schema selection, the type and label dialog,
// the schema editor in both modes, the column editor, the reference dialog and table order.

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "workbench/app/add_ref_table.h"
#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/column_edit.h"
#include "workbench/app/create_schema.h"
#include "workbench/app/dialog_test_support.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/room_select.h"
#include "workbench/app/swap_list.h"
#include "workbench/app/table_order.h"
#include "workbench/app/type_label.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/test_database.h"

namespace morva::app {
namespace {

using schema::TSchema;

// The order database with a third table, PRODUCT, saved under root/Database/SHOP, with the
// dialogs built over it as the main window builds them.
class SchemaDialogsTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        settings.DatabaseDir = Path(QStringLiteral("Database"));
        settings.DatabaseName = QStringLiteral("SHOP");
        schema::TDatabaseInfor db = schema::testing::OrderDatabase();
        schema::TTableInfor product(2);
        product.TableName = "PRODUCT";
        product.AddColumn(true, "PROD_NO", "Key", "Product", "INTEGER", 0, 8, 1, 0, 0);
        product.AddColumn(true, "TITLE", "Normal", "Title", "VARCHAR", 30, 30, 0, 0, 0);
        db.Tables.push_back(std::move(product));
        std::string error;
        ASSERT_TRUE(db.SaveDatabase(Dir(), &error)) << error;
        settings.Database = std::make_unique<schema::TDatabaseInfor>(std::move(db));
        typeLabel = new TTypeLabel(settings, &parent);
        columnEdit = new TColumnEdit(&parent);
        addRef = new TAddRefTable(&parent);
        editor = new TCreateSchema(settings, typeLabel, columnEdit, addRef, &parent);
        order = new TTableOrderForm(settings, &parent);
        rooms = new TRoomSelectForm(settings, typeLabel, editor, order, &parent);
    }

    std::string Dir() const { return settings.DatabaseDir.toStdString(); }

    // A schema named `name` of the tables given, every column, saved.
    void SaveSchema(const std::string& name, std::initializer_list<const char*> tables) {
        schema::TDatabaseInfor db = *settings.Database;
        for (auto& table : db.Tables) {
            table.Selected = false;
            for (const char* wanted : tables)
                if (table.TableName == wanted) table.Selected = true;
        }
        auto s = TSchema::CreateFromDatabase(name, "T", "L", db);
        std::string error;
        ASSERT_TRUE(s->Save(Dir(), &error)) << error;
    }

    std::unique_ptr<TSchema> LoadSchema(const std::string& name) {
        std::string error;
        auto s = TSchema::Load(Dir(), "SHOP", name, &error);
        EXPECT_EQ(error, "");
        return s;
    }

    QStringList Rows(const QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }

    QTreeWidgetItem* TableRow(int i) { return editor->lvTable->topLevelItem(i); }
    QTreeWidgetItem* ColumnRow(int i) { return editor->lvColumn->topLevelItem(i); }

    // Selects exactly the rows `rows` of `list`.
    static void SelectRows(QTreeWidget* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (int row : rows) list->topLevelItem(row)->setSelected(true);
    }

    QWidget parent;
    TSettings settings;
    TTypeLabel* typeLabel;
    TColumnEdit* columnEdit;
    TAddRefTable* addRef;
    TCreateSchema* editor;
    TTableOrderForm* order;
    TRoomSelectForm* rooms;
    ModalScript script;
};

TEST_F(SchemaDialogsTest, TypeLabelRefusesEmptyAndExistingNamesInSchemaModeOnly) {
    SaveSchema("S1", {"CUSTOMER"});
    typeLabel->PrepareSchema("SHOP", " \t", "", "");
    typeLabel->btOkClick();
    typeLabel->neName->setText("S1");
    typeLabel->btOkClick();
    typeLabel->neName->setText("../escape");
    typeLabel->btOkClick();
    EXPECT_EQ(boxes, QStringList({"Schema Name is empty !", "Schema S1 already exist.",
                                  "Schema name ../escape is not a valid file name."}));
    EXPECT_EQ(typeLabel->result(), QDialog::Rejected);
    typeLabel->neName->setText("S2");
    typeLabel->btOkClick();
    EXPECT_EQ(typeLabel->result(), QDialog::Accepted);

    // A disabled name, as the schema editor's "&Edit" gives it, is never checked.
    typeLabel->PrepareSchema("SHOP", "S1", "", "", false);
    typeLabel->setResult(QDialog::Rejected);
    typeLabel->btOkClick();
    EXPECT_EQ(typeLabel->result(), QDialog::Accepted);
    EXPECT_EQ(boxes.size(), 3);

    typeLabel->PrepareColumn("NAME", "Normal", "Name");
    EXPECT_EQ(typeLabel->windowTitle(), "Enter Column property");
    EXPECT_EQ(typeLabel->lbName->text(), "Column");
    EXPECT_FALSE(typeLabel->neName->isEnabled());
}

TEST_F(SchemaDialogsTest, AddRefusesAnExistingNameThenBuildsAndSavesTheSchema) {
    SaveSchema("S1", {"CUSTOMER"});
    rooms->FillList();
    script.When(typeLabel, [this] {
        typeLabel->neName->setText("S1");
        typeLabel->btOkClick();  // refused, stays open
        typeLabel->neName->setText("All");
        typeLabel->neType->setText("Kind");
        typeLabel->neLabel->setText("Every table");
        typeLabel->btOkClick();
    });
    script.When(editor, [this] {
        // Every table and column starts ticked; leave PRODUCT out.
        TableRow(2)->setCheckState(0, Qt::Unchecked);
        editor->btOkClick();
    });
    rooms->btAddClick();
    EXPECT_EQ(boxes, QStringList({"Schema S1 already exist."}));
    EXPECT_EQ(Rows(rooms->lbRooms), QStringList({"S1", "All"}));
    EXPECT_EQ(rooms->lbRooms->currentRow(), 1);
    auto saved = LoadSchema("All");
    EXPECT_EQ(saved->SchemaType, "Kind");
    EXPECT_EQ(saved->SchemaLabel, "Every table");
    ASSERT_EQ(saved->Tables.size(), 2u);
    EXPECT_EQ(saved->Tables[1].TableName, "ORDERS");
    EXPECT_EQ(saved->Tables[1].ColumnNames.size(), 4u);
}

TEST_F(SchemaDialogsTest, CopyRefusesTheUnchangedNameAndSavesUnderANewOne) {
    SaveSchema("S1", {"ORDERS"});
    rooms->FillList();
    script.When(typeLabel, [this] {
        EXPECT_EQ(typeLabel->neName->text(), "S1");
        EXPECT_EQ(typeLabel->neType->text(), "T");
        typeLabel->btOkClick();
        typeLabel->neName->setText("S1 copy");
        typeLabel->btOkClick();
    });
    rooms->btCopyClick();
    EXPECT_EQ(boxes, QStringList({"Schema S1 already exist."}));
    EXPECT_EQ(Rows(rooms->lbRooms), QStringList({"S1", "S1 copy"}));
    auto copy = LoadSchema("S1 copy");
    auto original = LoadSchema("S1");
    EXPECT_EQ(copy->Tables, original->Tables);
}

TEST_F(SchemaDialogsTest, OkMakesTheChosenSchemaCurrentAndRefusesADamagedFile) {
    SaveSchema("A", {"CUSTOMER"});
    SaveSchema("B", {"ORDERS"});
    rooms->FillList();
    rooms->lbRooms->setCurrentRow(1);
    rooms->btOkClick();
    EXPECT_EQ(rooms->result(), QDialog::Accepted);
    ASSERT_TRUE(settings.Schema);
    EXPECT_EQ(settings.SchemaName, "B");
    EXPECT_EQ(settings.Schema->Tables[0].TableName, "ORDERS");

    // The list selects the current schema when it is shown again.
    rooms->FillList();
    EXPECT_EQ(rooms->lbRooms->currentRow(), 1);

    // A schema file cut short is reported and does not replace the current schema.
    const QString file = Path("Database/SHOP/Schema/A.CSF");
    const QByteArray bytes = ReadFile(file);
    QFile cut(file);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() - 3));
    cut.close();
    rooms->setResult(QDialog::Rejected);
    rooms->lbRooms->setCurrentRow(0);
    rooms->btOkClick();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Invalid file format(")) << boxes[0].toStdString();
    EXPECT_EQ(rooms->result(), QDialog::Rejected);
    EXPECT_EQ(settings.SchemaName, "B");
}

TEST_F(SchemaDialogsTest, DeletingTheCurrentSchemaLeavesNoneWithoutAsking) {
    SaveSchema("A", {"CUSTOMER"});
    SaveSchema("B", {"ORDERS"});
    SaveSchema("C", {"PRODUCT"});
    settings.SchemaName = "C";
    settings.Schema = LoadSchema("C");
    rooms->FillList();
    EXPECT_EQ(rooms->lbRooms->currentRow(), 2);
    rooms->btDeleteClick();
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_FALSE(settings.Schema);
    EXPECT_EQ(settings.SchemaName, "");
    EXPECT_FALSE(QFileInfo::exists(Path("Database/SHOP/Schema/C.CSF")));
    EXPECT_EQ(Rows(rooms->lbRooms), QStringList({"A", "B"}));
    EXPECT_EQ(rooms->lbRooms->currentRow(), 1);  // the last one, the deleted was last

    rooms->lbRooms->setCurrentRow(0);
    rooms->btDeleteClick();
    EXPECT_EQ(Rows(rooms->lbRooms), QStringList({"B"}));
    EXPECT_EQ(rooms->lbRooms->currentRow(), 0);  // the one now at the same position
}

TEST_F(SchemaDialogsTest, EditorShowsTheSchemasSelectionAndChecksItOnOk) {
    SaveSchema("S", {"ORDERS"});
    auto s = LoadSchema("S");
    editor->PrepareSchema(*s);
    EXPECT_EQ(editor->windowTitle(), "Create/Edit Database Schema");
    ASSERT_EQ(editor->lvTable->topLevelItemCount(), 3);
    EXPECT_EQ(TableRow(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(TableRow(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(TableRow(1)->text(1), "Sub");
    EXPECT_TRUE(editor->btEdit->isVisibleTo(editor));

    // Only the ticked tables, then all of them again.
    editor->btTablesOnlyClick();
    ASSERT_EQ(editor->lvTable->topLevelItemCount(), 1);
    EXPECT_EQ(TableRow(0)->text(0), "ORDERS");
    EXPECT_EQ(ColumnRow(0)->text(0), "ORDER_NO");
    EXPECT_EQ(editor->lbRefTable->item(0)->text(), "CUSTOMER");
    editor->btTablesOnlyClick();

    editor->bt2ClearClick();
    editor->btOkClick();
    // A ticked table without a ticked column is named and selected.
    TableRow(2)->setCheckState(0, Qt::Checked);
    editor->lvTable->setCurrentItem(TableRow(2));
    editor->bt5ClearClick();
    TableRow(1)->setCheckState(0, Qt::Checked);
    editor->lvTable->setCurrentItem(TableRow(0));
    editor->btOkClick();
    EXPECT_EQ(boxes, QStringList({"Select one or more table first",
                                  "Select one or more columns to table PRODUCT"}));
    EXPECT_EQ(editor->lvTable->currentItem(), TableRow(2));
    EXPECT_TRUE(TableRow(2)->isSelected());
    EXPECT_NE(editor->result(), QDialog::Accepted);

    // Ticking one column makes it valid; the schema is rebuilt and saved.
    ColumnRow(1)->setCheckState(0, Qt::Checked);
    editor->btOkClick();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    auto saved = LoadSchema("S");
    ASSERT_EQ(saved->Tables.size(), 2u);
    EXPECT_EQ(saved->Tables[0].TableName, "ORDERS");
    EXPECT_EQ(saved->Tables[1].TableName, "PRODUCT");
    EXPECT_EQ(saved->Tables[1].ColumnNames, std::vector<std::string>({"TITLE"}));
}

TEST_F(SchemaDialogsTest, EditGivesTheTypeToEverySelectedRowAndTheLabelToTheFirst) {
    SaveSchema("S", {"CUSTOMER", "ORDERS", "PRODUCT"});
    auto s = LoadSchema("S");
    editor->PrepareSchema(*s);
    SelectRows(editor->lvTable, {0, 1, 2});
    script.When(typeLabel, [this] {
        EXPECT_EQ(typeLabel->windowTitle(), "Enter Table property");
        EXPECT_EQ(typeLabel->neName->text(), "CUSTOMER");
        EXPECT_FALSE(typeLabel->neName->isEnabled());
        typeLabel->neType->setText("Form");
        typeLabel->neLabel->setText("People");
        typeLabel->btOkClick();
    });
    editor->bt1EditClick();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(TableRow(i)->text(1), "Form");
    EXPECT_EQ(TableRow(0)->text(2), "People");
    EXPECT_EQ(TableRow(1)->text(2), "Orders");
    EXPECT_EQ(TableRow(2)->text(2), "");

    editor->lvTable->setCurrentItem(TableRow(1));
    SelectRows(editor->lvColumn, {1, 2});
    script.When(typeLabel, [this] {
        EXPECT_EQ(typeLabel->windowTitle(), "Enter Column property");
        typeLabel->neType->setText("Money");
        typeLabel->neLabel->setText("Sum");
        typeLabel->btOkClick();
    });
    editor->bt4EditClick();
    EXPECT_EQ(ColumnRow(1)->text(1), "Money");
    EXPECT_EQ(ColumnRow(2)->text(1), "Money");
    EXPECT_EQ(ColumnRow(1)->text(2), "Sum");
    EXPECT_EQ(ColumnRow(2)->text(2), "Total");

    // The schema's own type and label; the name cannot change.
    script.When(typeLabel, [this] {
        EXPECT_FALSE(typeLabel->neName->isEnabled());
        typeLabel->neLabel->setText("Shop schema");
        typeLabel->btOkClick();
    });
    editor->btEditClick();
    editor->btOkClick();
    auto saved = LoadSchema("S");
    EXPECT_EQ(saved->SchemaLabel, "Shop schema");
    EXPECT_EQ(saved->Tables[0].TableType, "Form");
    EXPECT_EQ(saved->Tables[0].TableLabel, "People");
    EXPECT_EQ(saved->Tables[2].TableType, "Form");
    EXPECT_EQ(saved->Tables[1].ColumnTypes[2], "Money");
    EXPECT_EQ(saved->Tables[1].ColumnLabels[2], "Total");
}

TEST_F(SchemaDialogsTest, ReferenceDialogKeepsTheOldReferencesUnlessSomethingChanged) {
    SaveSchema("S", {"CUSTOMER", "ORDERS", "PRODUCT"});
    auto s = LoadSchema("S");
    editor->PrepareSchema(*s);
    editor->lvTable->setCurrentItem(TableRow(1));
    SelectRows(editor->lvTable, {1});
    editor->lbRefTable->setCurrentRow(0);

    // Unchanged OK counts as Cancel.
    script.When(addRef, [this] {
        EXPECT_EQ(Rows(addRef->lbTables), QStringList({"CUSTOMER", "PRODUCT"}));
        EXPECT_EQ(Rows(addRef->lbJoined), QStringList({"CUST_NO ---> CUST_NO"}));
        EXPECT_EQ(addRef->lbMaster->count(), 4);
        addRef->btOkClick();
    });
    editor->btJoinClick();
    EXPECT_EQ(addRef->result(), QDialog::Rejected);

    // Join ORDERS to PRODUCT, drop the CUSTOMER pair: the table entry goes with its last pair.
    script.When(addRef, [this] {
        addRef->lbJoined->setCurrentRow(0);
        addRef->btDeleteClick();
        EXPECT_EQ(addRef->lbJoined->count(), 0);
        addRef->lbTables->setCurrentRow(1);
        EXPECT_EQ(Rows(addRef->lbDetail), QStringList({"PROD_NO", "TITLE"}));
        addRef->lbMaster->setCurrentRow(3);
        addRef->lbDetail->setCurrentRow(0);
        addRef->btAddClick();
        addRef->btAddClick();  // the same pair again adds nothing
        EXPECT_EQ(Rows(addRef->lbJoined), QStringList({"NOTE ---> PROD_NO"}));
        addRef->btOkClick();
    });
    editor->btJoinClick();
    EXPECT_EQ(Rows(editor->lbRefTable), QStringList({"PRODUCT"}));
    const auto& refs = settings.Database->Tables[1].RefTables;
    ASSERT_EQ(refs.Count(), 1);
    EXPECT_EQ(refs[0].pairs, std::vector<schema::TRefColumn>({{"PROD_NO", "NOTE"}}));
}

TEST_F(SchemaDialogsTest, TableOrderSwapsDraggedItemsAndSavesOnOkOnly) {
    SaveSchema("S", {"CUSTOMER", "ORDERS", "PRODUCT"});
    auto s = LoadSchema("S");
    order->Prepare(*s);
    EXPECT_EQ(Rows(order->lbTables),
              QStringList({"CUSTOMER [Customers]", "ORDERS [Orders]", "PRODUCT []"}));
    order->lbTables->setCurrentRow(2);
    order->lbTables->SwapRows(2, 0);
    EXPECT_EQ(Rows(order->lbTables),
              QStringList({"PRODUCT []", "ORDERS [Orders]", "CUSTOMER [Customers]"}));

    order->lbTables->setCurrentRow(1);
    order->pgOrder->setCurrentIndex(1);
    EXPECT_EQ(Rows(order->lbColumns),
              QStringList({"ORDER_NO [Order]", "CUST_NO [Customer]", "TOTAL [Total]", "NOTE []"}));
    order->lbColumns->SwapRows(0, 2);

    // Cancel leaves the schema as it was; OK takes the copy's order and saves it.
    EXPECT_EQ(s->Tables[0].TableName, "CUSTOMER");
    order->btOkClick();
    EXPECT_EQ(order->result(), QDialog::Accepted);
    const auto reloaded = LoadSchema("S");
    for (const TSchema* checked : {s.get(), reloaded.get()}) {
        EXPECT_EQ(checked->Tables[0].TableName, "PRODUCT");
        EXPECT_EQ(checked->Tables[2].TableName, "CUSTOMER");
        const auto& orders = checked->Tables[1];
        EXPECT_EQ(orders.ColumnNames,
                  std::vector<std::string>({"TOTAL", "CUST_NO", "ORDER_NO", "NOTE"}));
        EXPECT_EQ(orders.ColumnTypes,
                  std::vector<std::string>({"Normal", "RefTop", "Key", "Normal"}));
        EXPECT_EQ(orders.ColumnLabels[0], "Total");
    }
}

TEST_F(SchemaDialogsTest, ColumnEditorTakesDigitsOnlyAndRefusesAnEmptyNumber) {
    schema::TDatabaseInfor& db = *settings.Database;
    schema::ColumnRecord column = *db.Tables[1].ColumnAt(1);
    columnEdit->Prepare(db, "ORDERS", column);
    EXPECT_EQ(columnEdit->cbLookupTable->count(), 2);  // every table but ORDERS
    EXPECT_EQ(columnEdit->neSize->text(), "0");

    columnEdit->neSize->clear();
    QTest::keyClicks(columnEdit->neSize, "1x2-3");
    EXPECT_EQ(columnEdit->neSize->text(), "123");
    columnEdit->nePrecision->clear();
    columnEdit->btOkClick();
    EXPECT_EQ(boxes, QStringList({"Precision must be a number from 0 to 2147483647."}));
    EXPECT_NE(columnEdit->result(), QDialog::Accepted);

    columnEdit->nePrecision->setText("5");
    columnEdit->cbIndex->setCurrentIndex(1);
    columnEdit->cbReadOnly->setCurrentIndex(1);
    columnEdit->cbLookupTable->setCurrentText("CUSTOMER");
    EXPECT_EQ(columnEdit->cbLookupColumn->count(), 3);
    columnEdit->cbLookupColumn->setCurrentText("NAME");
    columnEdit->cbLookupKey->setCurrentText("CUST_NO");
    columnEdit->moLookupItems->setPlainText("one\ntwo\n");
    columnEdit->btOkClick();
    EXPECT_EQ(columnEdit->result(), QDialog::Accepted);
    columnEdit->WriteBack(column);
    EXPECT_EQ(column.Length, 123);
    EXPECT_EQ(column.Precision, 5);
    EXPECT_EQ(column.Flags, 3);
    EXPECT_EQ(column.LookupTable, "CUSTOMER");
    EXPECT_EQ(column.LookupColumn, "NAME");
    EXPECT_EQ(column.LookupKey, "CUST_NO");
    EXPECT_EQ(column.LookupItems, std::vector<std::string>({"one", "two"}));
}

TEST_F(SchemaDialogsTest, DatabaseModeEditsAColumnAndSavesTheTableFiles) {
    std::string error;
    auto db = schema::TDatabaseInfor::LoadDatabase(Dir(), "SHOP", &error);
    ASSERT_TRUE(db) << error;
    editor->PrepareDatabase(*db);
    EXPECT_EQ(editor->windowTitle(), "Edit Database Information");
    EXPECT_FALSE(editor->btEdit->isVisibleTo(editor));
    EXPECT_FALSE(editor->bt5Clear->isVisibleTo(editor));
    EXPECT_EQ(TableRow(0)->data(0, Qt::CheckStateRole), QVariant());
    editor->lvTable->setCurrentItem(TableRow(1));
    editor->lvColumn->setCurrentItem(ColumnRow(3));
    script.When(columnEdit, [this] {
        EXPECT_EQ(columnEdit->neColumn->text(), "NOTE");
        columnEdit->neLabel->setText("Remark");
        columnEdit->neSize->setText("120");
        columnEdit->btOkClick();
    });
    editor->bt4EditClick();
    EXPECT_EQ(ColumnRow(3)->text(2), "Remark");
    EXPECT_EQ(ColumnRow(3)->text(4), "120");
    editor->btOkClick();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    auto reread = schema::TDatabaseInfor::LoadDatabase(Dir(), "SHOP", &error);
    ASSERT_TRUE(reread) << error;
    const schema::ColumnRecord* note = reread->FindTable("ORDERS")->FindColumn("NOTE");
    EXPECT_EQ(note->Label, "Remark");
    EXPECT_EQ(note->Length, 120);
}

// The main window: the schema commands follow the current database and schema, and deleting
// the current schema turns the status panel to "(NONE)".
TEST_F(SchemaDialogsTest, MainWindowCommandsFollowTheCurrentSchema) {
    SaveSchema("S", {"CUSTOMER"});
    {
        QSettings store(TSettings::StorePath(), QSettings::IniFormat);
        store.beginGroup(QString::fromLatin1(kSettingsKeyPath));
        store.setValue("DatabaseName", "SHOP");
        store.setValue("SchemaName", "S");
    }
    TMainForm form;
    form.FormShow({});
    EXPECT_TRUE(Command(form, "mmDSelectSchema")->isEnabled());
    EXPECT_TRUE(Command(form, "mmDEditSchema")->isEnabled());
    EXPECT_EQ(StatusPanel(form, 2)->text(), "SCHEMA");
    script.When(Part<TRoomSelectForm>(form), [&form] {
        Part<TRoomSelectForm>(form)->btDeleteClick();
        Part<TRoomSelectForm>(form)->reject();
    });
    Command(form, "mmDSelectSchema")->trigger();
    EXPECT_EQ(StatusPanel(form, 2)->text(), "(NONE)");
    EXPECT_FALSE(Command(form, "mmDEditSchema")->isEnabled());
    EXPECT_TRUE(Command(form, "mmDSelectSchema")->isEnabled());
    form.ActiveEditor()->document()->setModified(false);
}

}  // namespace
}  // namespace morva::app

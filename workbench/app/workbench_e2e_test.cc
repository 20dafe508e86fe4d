// A new user's first session, through the real dialogs and the real engine and compiler:
// database information from the sample SQL script, a schema of some tables with a type and a
// label, its tables put in order, a sample template run, and the output compared with what
// the command line writes for the same schema.

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTreeWidget>
#include <map>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/create_schema.h"
#include "workbench/app/dialog_test_support.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/room_select.h"
#include "workbench/app/script_form.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/app/swap_list.h"
#include "workbench/app/table_order.h"
#include "workbench/app/type_label.h"
#include "workbench/schema/schema.h"

namespace morva::app {
namespace {

QString SourceDir() {
    return qEnvironmentVariable("MORVA_SOURCE_DIR", QStringLiteral(SOURCE_DIR));
}

class NewUserTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        savedComponents_ = qgetenv("MORVA_COMPONENTS");
        // An empty component registry: the components come from beside the program.
        WriteFile(QStringLiteral("components.ini"), "");
        qputenv("MORVA_COMPONENTS", Path(QStringLiteral("components.ini")).toUtf8());
    }
    void TearDown() override {
        qputenv("MORVA_COMPONENTS", savedComponents_);
        WorkbenchTest::TearDown();
    }

    ModalScript script;

  private:
    QByteArray savedComponents_;
};

TEST_F(NewUserTest, FromSampleSqlToGeneratedFilesAsTheCommandLineWritesThem) {
    TMainForm form;
    form.FormShow({});
    ASSERT_TRUE(Part<TScript>(form)->EngineReady() && Part<TScript>(form)->CompilerReady());
    EXPECT_FALSE(Command(form, "mmDSelectSchema")->isEnabled());

    // Database information from the sample SQL script.
    script.When(Part<TSelectSQLFileForm>(form), [&form] {
        Part<TSelectSQLFileForm>(form)->neDatabase->setText(QStringLiteral("ORDERENTRY"));
        Part<TSelectSQLFileForm>(form)->lbSelected->addItem(
            SourceDir() + QStringLiteral("/samples/order_entry.sql"));
        Part<TSelectSQLFileForm>(form)->btOkClick();
    });
    Command(form, "mmDCreateBySQL")->trigger();
    ASSERT_TRUE(Part<TScript>(form)->LogText().contains(QStringLiteral("Done.")))
        << Part<TScript>(form)->LogText().toStdString();

    // Choose it as the current database.
    script.When(Part<TSelectDBaseForm>(form), [&form] {
        const auto found = Part<TSelectDBaseForm>(form)->lbDatabase->findItems(
            QStringLiteral("ORDERENTRY"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        Part<TSelectDBaseForm>(form)->lbDatabase->setCurrentItem(found[0]);
        Part<TSelectDBaseForm>(form)->btOkClick();
    });
    Command(form, "mmDSelectDatabase")->trigger();
    ASSERT_TRUE(form.Settings().Database);
    EXPECT_TRUE(Command(form, "mmDSelectSchema")->isEnabled());

    // A schema of three tables with a type and a label; CUSTOMER's label changed on the way.
    script.When(Part<TRoomSelectForm>(form),
                [&form] { Part<TRoomSelectForm>(form)->btAddClick(); });
    script.When(Part<TTypeLabel>(form), [&form] {
        Part<TTypeLabel>(form)->neName->setText(QStringLiteral("Orders"));
        Part<TTypeLabel>(form)->neType->setText(QStringLiteral("Demo"));
        Part<TTypeLabel>(form)->neLabel->setText(QStringLiteral("Order entry"));
        Part<TTypeLabel>(form)->btOkClick();
    });
    script.When(Part<TCreateSchema>(form), [&form, this] {
        TCreateSchema* editor = Part<TCreateSchema>(form);
        editor->bt2ClearClick();
        for (int i = 0; i < editor->lvTable->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = editor->lvTable->topLevelItem(i);
            const QString name = row->text(0);
            if (name == "CUSTOMER" || name == "ORDERS" || name == "PRODUCT")
                row->setCheckState(0, Qt::Checked);
            if (name == "CUSTOMER") {
                editor->lvTable->clearSelection();
                editor->lvTable->setCurrentItem(row);
                row->setSelected(true);
            }
        }
        script.WhenNext(Part<TTypeLabel>(form), [&form] {
            Part<TTypeLabel>(form)->neLabel->setText(QStringLiteral("Our customers"));
            Part<TTypeLabel>(form)->btOkClick();
        });
        editor->bt1EditClick();
        editor->btOkClick();
    });
    script.When(Part<TRoomSelectForm>(form), [&form] {
        // Back in the selection dialog with the new schema chosen: order its tables.
        Part<TRoomSelectForm>(form)->btTableOrderClick();
    });
    script.When(Part<TTableOrderForm>(form), [&form] {
        Part<TTableOrderForm>(form)->lbTables->SwapRows(2, 0);
        Part<TTableOrderForm>(form)->btOkClick();
    });
    script.When(Part<TRoomSelectForm>(form), [&form] { Part<TRoomSelectForm>(form)->btOkClick(); });
    Command(form, "mmDSelectSchema")->trigger();
    ASSERT_TRUE(form.Settings().Schema) << boxes.join(u'\n').toStdString();
    EXPECT_EQ(StatusPanel(form, 2)->text(), "SCHEMA");
    EXPECT_EQ(form.Settings().SchemaName, "Orders");
    const schema::TSchema& chosen = *form.Settings().Schema;
    ASSERT_EQ(chosen.Tables.size(), 3u);
    EXPECT_EQ(chosen.Tables[0].TableName, "PRODUCT");
    EXPECT_EQ(chosen.Tables[2].TableName, "CUSTOMER");
    EXPECT_EQ(chosen.Tables[2].TableLabel, "Our customers");

    // Open a sample template and run it.
    const QString templateFile = SourceDir() + QStringLiteral("/samples/data_dictionary.tpx");
    const QString ours = Path(QStringLiteral("out/gui"));
    const QString theirs = Path(QStringLiteral("out/cli"));
    QDir().mkpath(ours);
    QDir().mkpath(theirs);
    form.Settings().OutputDir = ours;
    form.OpenFile(templateFile);
    Command(form, "mmSRun")->trigger();
    EXPECT_TRUE(Part<TScript>(form)->LogText().endsWith(QStringLiteral("End script.\n")))
        << Part<TScript>(form)->LogText().toStdString();

    QProcess cli;
    cli.setWorkingDirectory(root);
    cli.start(QStringLiteral(MORVA_CLI),
              {QStringLiteral("--database-dir"), form.Settings().DatabaseDir,
               QStringLiteral("--output-dir"), theirs, QStringLiteral("run"), templateFile,
               QStringLiteral("--db"), QStringLiteral("ORDERENTRY"), QStringLiteral("--schema"),
               QStringLiteral("Orders")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const auto expected = FilesBelow(theirs);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(FilesBelow(ours) == expected);
    const QByteArray page = expected.begin()->second;
    EXPECT_TRUE(page.contains("Our customers"));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
    for (int i = 0; i < form.PageTotal(); ++i) form.Editor(i)->document()->setModified(false);
}

}  // namespace
}  // namespace morva::app

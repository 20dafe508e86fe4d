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
    ASSERT_TRUE(form.Script->EngineReady() && form.Script->CompilerReady());
    EXPECT_FALSE(form.mmDSelectSchema->isEnabled());

    // Database information from the sample SQL script.
    script.When(form.SelectSQLFileForm, [&form] {
        form.SelectSQLFileForm->neDatabase->setText(QStringLiteral("ORDERENTRY"));
        form.SelectSQLFileForm->lbSelected->addItem(SourceDir() +
                                                    QStringLiteral("/samples/order_entry.sql"));
        form.SelectSQLFileForm->btOkClick();
    });
    form.mmDCreateBySQL->trigger();
    ASSERT_TRUE(form.Script->LogText().contains(QStringLiteral("Done.")))
        << form.Script->LogText().toStdString();

    // Choose it as the current database.
    script.When(form.SelectDBaseForm, [&form] {
        const auto found = form.SelectDBaseForm->lbDatabase->findItems(QStringLiteral("ORDERENTRY"),
                                                                       Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        form.SelectDBaseForm->lbDatabase->setCurrentItem(found[0]);
        form.SelectDBaseForm->btOkClick();
    });
    form.mmDSelectDatabase->trigger();
    ASSERT_TRUE(form.Settings.Database);
    EXPECT_TRUE(form.mmDSelectSchema->isEnabled());

    // A schema of three tables with a type and a label; CUSTOMER's label changed on the way.
    script.When(form.RoomSelectForm, [&form] { form.RoomSelectForm->btAddClick(); });
    script.When(form.TypeLabel, [&form] {
        form.TypeLabel->neName->setText(QStringLiteral("Orders"));
        form.TypeLabel->neType->setText(QStringLiteral("Demo"));
        form.TypeLabel->neLabel->setText(QStringLiteral("Order entry"));
        form.TypeLabel->btOkClick();
    });
    script.When(form.CreateSchema, [&form, this] {
        TCreateSchema* editor = form.CreateSchema;
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
        script.WhenNext(form.TypeLabel, [&form] {
            form.TypeLabel->neLabel->setText(QStringLiteral("Our customers"));
            form.TypeLabel->btOkClick();
        });
        editor->bt1EditClick();
        editor->btOkClick();
    });
    script.When(form.RoomSelectForm, [&form] {
        // Back in the selection dialog with the new schema chosen: order its tables.
        form.RoomSelectForm->btTableOrderClick();
    });
    script.When(form.TableOrderForm, [&form] {
        form.TableOrderForm->lbTables->SwapRows(2, 0);
        form.TableOrderForm->btOkClick();
    });
    script.When(form.RoomSelectForm, [&form] { form.RoomSelectForm->btOkClick(); });
    form.mmDSelectSchema->trigger();
    ASSERT_TRUE(form.Settings.Schema) << boxes.join(u'\n').toStdString();
    EXPECT_EQ(form.ssBarPanels[2]->text(), "SCHEMA");
    EXPECT_EQ(form.Settings.SchemaName, "Orders");
    const schema::TSchema& chosen = *form.Settings.Schema;
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
    form.Settings.OutputDir = ours;
    form.OpenFile(templateFile);
    form.mmSRun->trigger();
    EXPECT_TRUE(form.Script->LogText().endsWith(QStringLiteral("End script.\n")))
        << form.Script->LogText().toStdString();

    QProcess cli;
    cli.setWorkingDirectory(root);
    cli.start(QStringLiteral(MORVA_CLI),
              {QStringLiteral("--database-dir"), form.Settings.DatabaseDir,
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

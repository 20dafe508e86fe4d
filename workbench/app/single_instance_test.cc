// Single instance: a later start of the real program hands its file to the running one.

#include "workbench/app/single_instance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "workbench/app/app_test_support.h"

namespace morva::app {
namespace {

using SingleInstanceTest = WorkbenchTest;

QProcess* StartProgram(QObject* parent, const QStringList& arguments) {
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(MORVA_EXECUTABLE), arguments);
    return process;
}

TEST_F(SingleInstanceTest, SecondStartHandsOverItsFileAndEnds) {
    QObject owner;
    SingleInstance first;
    ASSERT_TRUE(first.Listen());
    QSignalSpy requests(&first, &SingleInstance::Requested);
    QProcess* second = StartProgram(&owner, {QStringLiteral("note.tpx")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0][0].toString(), Path(QStringLiteral("note.tpx")));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Output"))));  // it made no window
}

TEST_F(SingleInstanceTest, TwoStartsOnOneSettingsFile) {
    QObject owner;
    QProcess* first = StartProgram(&owner, {});
    // The first start is ready once its socket answers.
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            QLocalSocket probe;
            probe.connectToServer(SingleInstance::ServerName());
            return probe.waitForConnected(100);
        },
        20000));
    QProcess* second = StartProgram(&owner, {Path(QStringLiteral("x.tpx"))});
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    first->waitForFinished(5000);

    // The killed instance's socket does not stop a new one; a live one keeps its name.
    SingleInstance next;
    EXPECT_TRUE(next.Listen());
    SingleInstance rival;
    EXPECT_FALSE(rival.Listen());
}

TEST_F(SingleInstanceTest, SettingsFilesKeepInstancesApart) {
    const QString name = SingleInstance::ServerName();
    qputenv("MORVA_SETTINGS", Path(QStringLiteral("other.ini")).toUtf8());
    EXPECT_NE(SingleInstance::ServerName(), name);
    EXPECT_TRUE(name.startsWith(QStringLiteral("Morva 1.00")));
    EXPECT_FALSE(SingleInstance::Forward(QString(), 200));
}

}  // namespace
}  // namespace morva::app

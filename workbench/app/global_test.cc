#include "workbench/app/global.h"

#include <QFileInfo>
#include <QSettings>
#include <QtEndian>

#include "workbench/app/app_test_support.h"
#include "workbench/app/directory.h"
#include "workbench/app/fixed_strings.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::app {
namespace {

QStringList Entries(const TFixedStrings& list) {
    QStringList out;
    for (int i = 0; i < list.Count(); ++i) out << list[i];
    return out;
}

TEST(FixedStringsTest, AddDropsOldestAndDuplicatesIgnoringCase) {
    TFixedStrings list(5);
    for (const char* s : {"a", "b", "c", "d", "e"}) list.Add(QString::fromLatin1(s));
    list.Add(QStringLiteral("f"));  // a sixth distinct entry pushes the oldest out
    EXPECT_EQ(Entries(list), QStringList({"b", "c", "d", "e", "f"}));
    list.Add(QStringLiteral("F"));  // already the newest: full list ends one short
    EXPECT_EQ(Entries(list), QStringList({"c", "d", "e", "F"}));
    list.Add(QStringLiteral("C"));  // not full: the old spelling moves to the end
    EXPECT_EQ(Entries(list), QStringList({"d", "e", "F", "C"}));
    list.Remove(QStringLiteral("e"));
    list.Remove(QStringLiteral("missing"));
    EXPECT_EQ(Entries(list), QStringList({"d", "F", "C"}));
}

TEST(HelpersTest, NamesAndTexts) {
    EXPECT_EQ(BaseName(QStringLiteral("/x/y/Script.TPX")), QStringLiteral("Script"));
    EXPECT_EQ(BaseName(QStringLiteral("a.b.c")), QStringLiteral("a.b"));
    EXPECT_EQ(BaseName(QStringLiteral("/x/.profile")), QStringLiteral(".profile"));
    EXPECT_EQ(BaseName(QStringLiteral("Makefile")), QStringLiteral("Makefile"));
    EXPECT_EQ(WithExtension(QStringLiteral("/x/a.sql"), QStringLiteral("CSF")),
              QStringLiteral("a.CSF"));
    EXPECT_EQ(UpperExtension(QStringLiteral("/x.d/form.dfm")), QStringLiteral(".DFM"));
    EXPECT_EQ(UpperExtension(QStringLiteral("/x.d/form")), QString());
    EXPECT_EQ(UpperCase(QStringLiteral("abz-äé")), QStringLiteral("ABZ-äé"));
    EXPECT_TRUE(SameTextIgnoringCase(QStringLiteral("/A/b.Tpx"), QStringLiteral("/a/B.TPX")));
    EXPECT_FALSE(HasText(QStringLiteral(" \t\r\n")));
    EXPECT_TRUE(HasText(QStringLiteral(" x ")));
    EXPECT_EQ(WordCount(QStringLiteral("  one\ttwo\r\nthree ")), 3);
    EXPECT_EQ(WordCount(QString()), 0);
    EXPECT_FALSE(FileExists(QString()));
}

using SettingsTest = WorkbenchTest;

TEST_F(SettingsTest, FirstStartMakesFoldersAndFallsBackToRoot) {
    TSettings settings;
    settings.Initialise();
    EXPECT_EQ(settings.RootDir, root);
    for (const char* folder : {"Database", "proj", "Output"})
        EXPECT_TRUE(QFileInfo(Path(QLatin1String(folder))).isDir()) << folder;
    EXPECT_EQ(settings.ScriptDir, root);
    EXPECT_EQ(settings.Language, -1);
    EXPECT_EQ(settings.Font.height, -13);
    EXPECT_EQ(settings.MainLeft, -1);
    EXPECT_EQ(settings.OpenFilter, QString::fromLatin1(kDefaultOpenFilter));
    EXPECT_TRUE(boxes.isEmpty());

    QDir(root).mkdir(QStringLiteral("Samples"));
    settings.Initialise();
    EXPECT_EQ(settings.ScriptDir, Path(QStringLiteral("Samples")));
}

TEST_F(SettingsTest, RoundTripKeepsEveryValue) {
    TSettings out;
    out.Initialise();
    out.Font.height = -17;
    out.Font.name = QStringLiteral("DejaVu Sans Mono");
    out.Language = 2;
    out.MainLeft = 10;
    out.MainWidth = 800;
    out.OpenFilter = QStringLiteral("Text (*.TXT)|*.TXT");
    for (const char* dir : {"/d1/", "/d2/", "/d3/"}) out.RecentDirs.Add(QLatin1String(dir));
    out.RecentFiles.Add(QStringLiteral("/f1.TPX"));
    out.WriteStore();

    // Unused recent slots are written as empty values and read back as nothing.
    QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
    raw.beginGroup(QLatin1String(kSettingsKeyPath));
    EXPECT_TRUE(raw.contains(QStringLiteral("RecentDir4")));
    EXPECT_EQ(raw.value(QStringLiteral("RecentDir3")).toString(), QString());
    EXPECT_EQ(raw.value(QStringLiteral(" FontHeight")).toInt(), -17);
    EXPECT_FALSE(raw.contains(QStringLiteral("FontHeight")));

    TSettings in;
    in.Initialise();
    EXPECT_EQ(in.Font.height, -17);
    EXPECT_EQ(in.Font.name, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(in.Language, 2);
    EXPECT_EQ(in.MainLeft, 10);
    EXPECT_EQ(in.MainWidth, 800);
    EXPECT_EQ(in.OpenFilter, QStringLiteral("Text (*.TXT)|*.TXT"));
    EXPECT_EQ(Entries(in.RecentDirs), QStringList({"/d1/", "/d2/", "/d3/"}));
    EXPECT_EQ(Entries(in.RecentFiles), QStringList({"/f1.TPX"}));
}

TEST_F(SettingsTest, StoredNamesStayThoseOfExistingFiles) {
    QDir(root).mkdir(QStringLiteral("scripts"));
    // Every value under the name settings files already hold it by.
    const QList<QPair<QString, QVariant>> stored = {{"RootDir", Path("r")},
                                                    {"OutputDir", Path("o")},
                                                    {"SQLDir", Path("s")},
                                                    {"DatabaseDir", Path("d")},
                                                    {"ScriptDir", Path("scripts")},
                                                    {"Language", 3},
                                                    {"FontCharSet", 1},
                                                    {" FontHeight", -15},
                                                    {"FontName", "Mono"},
                                                    {"MainLeft", 11},
                                                    {"MainTop", 12},
                                                    {"MainWidth", 13},
                                                    {"MainHeight", 14},
                                                    {"ScriptLeft", 15},
                                                    {"ScriptTop", 16},
                                                    {"ScriptWidth", 17},
                                                    {"ScriptHeight", 18},
                                                    {"DatabaseName", "DB"},
                                                    {"SchemaName", "S"},
                                                    {"OpenFilter", "All|*"},
                                                    {"SQLDialect", "auto"}};
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        for (const auto& [name, value] : stored) raw.setValue(name, value);
    }
    TSettings settings;
    settings.Initialise();
    const QStringList read = {settings.RootDir,
                              settings.OutputDir,
                              settings.SQLDir,
                              settings.DatabaseDir,
                              settings.ScriptDir,
                              QString::number(settings.Language),
                              QString::number(settings.Font.charSet),
                              QString::number(settings.Font.height),
                              settings.Font.name,
                              QString::number(settings.MainLeft),
                              QString::number(settings.MainTop),
                              QString::number(settings.MainWidth),
                              QString::number(settings.MainHeight),
                              QString::number(settings.ScriptLeft),
                              QString::number(settings.ScriptTop),
                              QString::number(settings.ScriptWidth),
                              QString::number(settings.ScriptHeight),
                              settings.DatabaseName,
                              settings.SchemaName,
                              settings.OpenFilter,
                              settings.SQLDialect};
    ASSERT_EQ(read.size(), stored.size());
    for (int i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i], stored[i].second.toString()) << stored[i].first.toStdString();

    // Written back under the same names, with the recent lists and nothing else.
    QFile::remove(TSettings::StorePath());
    settings.WriteStore();
    QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
    raw.beginGroup(QLatin1String(kSettingsKeyPath));
    QStringList expected;
    for (const auto& [name, value] : stored) {
        expected << name;
        EXPECT_EQ(raw.value(name).toString(), value.toString()) << name.toStdString();
    }
    for (int i = 0; i < 5; ++i) expected << QStringLiteral("RecentDir%1").arg(i);
    for (int i = 0; i < 10; ++i) expected << QStringLiteral("RecentFile%1").arg(i);
    QStringList written = raw.childKeys();
    expected.sort();
    written.sort();
    EXPECT_EQ(written, expected);
}

TEST_F(SettingsTest, UnwritableStoreIsReported) {
    WriteFile(QStringLiteral("plain"), "p");
    qputenv("MORVA_SETTINGS", Path(QStringLiteral("plain/settings.ini")).toUtf8());
    TSettings settings;
    settings.Initialise();
    settings.WriteStore();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Cannot write the settings file %1")
                            .arg(Path(QStringLiteral("plain/settings.ini"))));
}

TEST_F(SettingsTest, RecentListsNeedRecentDir0) {
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        raw.setValue(QStringLiteral("RecentFile0"), QStringLiteral("/x.TPX"));
        raw.setValue(QStringLiteral("Language"), 1);
    }
    TSettings settings;
    settings.Initialise();
    EXPECT_EQ(settings.Language, 1);
    EXPECT_EQ(settings.RecentFiles.Count(), 0);
    EXPECT_EQ(settings.RecentDirs.Count(), 0);
}

TEST_F(SettingsTest, StoredRootDoesNotMoveOtherDefaults) {
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        raw.setValue(QStringLiteral("RootDir"), QStringLiteral("/elsewhere"));
    }
    TSettings settings;
    settings.Initialise();
    EXPECT_EQ(settings.RootDir, QStringLiteral("/elsewhere"));
    EXPECT_EQ(settings.DatabaseDir, Path(QStringLiteral("Database")));
}

TEST_F(SettingsTest, ReopeningAMissingDatabaseForgetsIt) {
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        raw.setValue(QStringLiteral("DatabaseName"), QStringLiteral("Gone"));
        raw.setValue(QStringLiteral("SchemaName"), QStringLiteral("S"));
    }
    TSettings settings;
    settings.Initialise();
    settings.ReopenLast();
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_TRUE(settings.DatabaseName.isEmpty());
    EXPECT_FALSE(settings.Database);
    EXPECT_FALSE(settings.Schema);
}

QByteArray SchemaHeader(quint32 magic, quint32 version, const QByteArray& name) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(magic, bytes.data());
    qToLittleEndian(version, bytes.data() + 4);
    return bytes + char(name.size()) + name;
}

TEST_F(SettingsTest, DatabaseFoldersAndSchemaNames) {
    TSettings settings;
    settings.Initialise();
    EnsureDatabaseFolder(settings, QStringLiteral("Shop"));
    const QString schemas = Path(QStringLiteral("Database/Shop/Schema"));
    ASSERT_TRUE(QFileInfo(schemas).isDir());
    WriteFile(QStringLiteral("Database/Shop/Schema/b.CSF"),
              SchemaHeader(0x012BB136, 0x01000000, "Beta") + "rest");
    WriteFile(QStringLiteral("Database/Shop/Schema/A.csf"),
              SchemaHeader(0x012BB136, 0x01000000, "Alpha"));
    WriteFile(QStringLiteral("Database/Shop/Schema/bad.CSF"),
              SchemaHeader(0x012BB137, 0x01000000, "Bad"));
    WriteFile(QStringLiteral("Database/Shop/Schema/cut.CSF"),
              SchemaHeader(0x012BB136, 0x01000000, "Truncated").left(12));
    WriteFile(QStringLiteral("Database/Shop/Schema/notes.txt"), "x");
    EXPECT_EQ(SchemaNames(schemas), QStringList({"Alpha", "Beta"}));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_TRUE(SchemaFileExists(settings, QStringLiteral("Shop"), QStringLiteral("b")));
    EXPECT_FALSE(SchemaFileExists(settings, QStringLiteral("Shop"), QStringLiteral("c")));

    // A damaged schema file is reported and does not become the current schema.
    settings.DatabaseName = QStringLiteral("Shop");
    settings.SchemaName = QStringLiteral("bad");
    settings.ReopenLast();
    ASSERT_TRUE(settings.Database);
    EXPECT_FALSE(settings.Schema);
    EXPECT_TRUE(settings.SchemaName.isEmpty());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Invalid file format(")))
        << boxes[0].toStdString();

    // A schema saved by the schema library is reopened.
    auto saved = schema::TSchema::CreateFromDatabase("Main", "T", "L", *settings.Database);
    std::string error;
    ASSERT_TRUE(saved->Save(settings.DatabaseDir.toStdString(), &error)) << error;
    settings.ReleaseCurrent();
    settings.DatabaseName = QStringLiteral("Shop");
    settings.SchemaName = QStringLiteral("Main");
    settings.ReopenLast();
    ASSERT_TRUE(settings.Schema);
    EXPECT_EQ(settings.Schema->Name, "Main");
    EXPECT_EQ(boxes.size(), 1);

    WriteFile(QStringLiteral("Database/Shop/TABLE1"), "t");
    EXPECT_TRUE(DeleteDatabaseFolder(settings, QStringLiteral("Shop")));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Database/Shop"))));
}

// The dialogs make database folders through the same check as the command line: a name that
// would leave the database folder is refused with a box naming it, and nothing is made.
TEST_F(SettingsTest, DatabaseNamesThatLeaveTheFolderAreRefused) {
    TSettings settings;
    settings.Initialise();
    EXPECT_TRUE(EnsureDatabaseFolder(settings, QStringLiteral("..")).isEmpty());
    EXPECT_FALSE(DeleteDatabaseFolder(settings, QStringLiteral("a/../..")));
    EXPECT_FALSE(SchemaFileExists(settings, QStringLiteral(".."), QStringLiteral("Database")));
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0],
              QStringLiteral("'..' cannot name a database: \"..\" names the parent folder"));
    EXPECT_EQ(boxes[1],
              QStringLiteral("'a/../..' cannot name a database: the name contains \"/\""));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Schema"))));
    EXPECT_EQ(EnsureDatabaseFolder(settings, QStringLiteral("Shop")),
              Path(QStringLiteral("Database/Shop")));
}

TEST_F(SettingsTest, DirectoryListingIsSortedIgnoringCase) {
    for (const char* name : {"b.sql", "A.SQL", "c.txt", ".hidden.sql", "C.sql"})
        WriteFile(QLatin1String(name), "x");
    QDir(root).mkdir(QStringLiteral("folder.sql"));
    TDirectory directory(root.toStdString());
    EXPECT_EQ(directory.List("*.SQL", false),
              (std::vector<std::string>{"A.SQL", "b.sql", "C.sql"}));
    EXPECT_EQ(directory.List("*.sql", true),
              (std::vector<std::string>{"A.SQL", "b.sql", "C.sql", "folder.sql"}));
    EXPECT_TRUE(directory.Exists());
    EXPECT_FALSE(TDirectory((root + "/nothing").toStdString()).Exists());
}

}  // namespace
}  // namespace morva::app

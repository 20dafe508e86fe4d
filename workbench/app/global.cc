#include "workbench/app/global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSettings>

#include "component/text_util.h"
#include "workbench/app/directory.h"
#include "workbench/app/message_boxes.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::app {

const char* const kDefaultOpenFilter =
    "Morva script files (*.TPX)|*.TPX|Delphi form files (*.DFM)|*.DFM|Delphi pascal "
    "files(*.PAS)|*.PAS|C/C++ Files(*.H;*.C;*.CPP)|*.H;*.C;*.CPP|PRO*C Files(*.PC)|*.PC|SQL "
    "Files(*.SQL;*.DDL)|*.SQL;*.DDL|HTML Files(*.HTM;*.HTML)|*.HTM;*.HTML|JAVA "
    "Files(*.JAVA)|*.JAVA";
const char* const kSettingsKeyPath = "Morva Software/Morva/1.0";

namespace {

QString Join(const QString& folder, const QString& name) {
    return folder + u'/' + name;
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

QFont EditorFont::ToQFont() const {
    QFont font(name);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(height < 0 ? -height : (height > 0 ? height : 13));
    return font;
}

EditorFont EditorFont::FromQFont(const QFont& font) {
    EditorFont result;
    result.name = font.family();
    const int pixels =
        font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96.0 / 72.0);
    result.height = -qMax(1, pixels);
    return result;
}

TSettings::TSettings() : OpenFilter(QString::fromLatin1(kDefaultOpenFilter)) {}
TSettings::~TSettings() = default;

QString TSettings::StorePath() {
    const QByteArray path = qgetenv("MORVA_SETTINGS");
    if (!path.isEmpty()) return QString::fromLocal8Bit(path);
    return QString::fromStdString(com::ConfigDirectory()) + QStringLiteral("/Morva/Morva.ini");
}

void TSettings::Initialise() {
    ReleaseCurrent();
    RecentDirs.Clear();
    RecentFiles.Clear();
    RootDir = QDir::currentPath();
    OutputDir = Join(RootDir, QStringLiteral("Output"));
    SQLDir = Join(RootDir, QStringLiteral("proj"));
    DatabaseDir = Join(RootDir, QStringLiteral("Database"));
    ScriptDir = Join(RootDir, QStringLiteral("Samples"));
    Language = -1;
    Font = EditorFont();
    MainLeft = ScriptLeft = -1;
    ReadStore();
    for (const QString& folder : {DatabaseDir, SQLDir, OutputDir}) {
        TDirectory directory(folder.toStdString());
        if (!directory.Exists()) directory.Make();
    }
    if (!TDirectory(ScriptDir.toStdString()).Exists()) ScriptDir = RootDir;
}

void TSettings::ReadStore() {
    QSettings store(StorePath(), QSettings::IniFormat);
    if (store.status() != QSettings::NoError) {
        InformationBox(QStringLiteral("Cannot read the settings file %1").arg(StorePath()));
        return;
    }
    store.beginGroup(QString::fromLatin1(kSettingsKeyPath));
    if (store.allKeys().isEmpty()) return;
    auto readText = [&](const char* key, QString* value) {
        if (store.contains(QLatin1String(key))) *value = store.value(QLatin1String(key)).toString();
    };
    auto readInt = [&](const char* key, int* value) {
        if (!store.contains(QLatin1String(key))) return;
        bool ok = false;
        const int read = store.value(QLatin1String(key)).toInt(&ok);
        if (ok) *value = read;
    };
    readText("RootDir", &RootDir);
    readText("OutputDir", &OutputDir);
    readText("SQLDir", &SQLDir);
    readText("DatabaseDir", &DatabaseDir);
    readText("ScriptDir", &ScriptDir);
    readInt("Language", &Language);
    readInt("FontCharSet", &Font.charSet);
    readInt(" FontHeight", &Font.height);
    readText("FontName", &Font.name);
    readInt("MainLeft", &MainLeft);
    readInt("MainTop", &MainTop);
    readInt("MainWidth", &MainWidth);
    readInt("MainHeight", &MainHeight);
    readInt("ScriptLeft", &ScriptLeft);
    readInt("ScriptTop", &ScriptTop);
    readInt("ScriptWidth", &ScriptWidth);
    readInt("ScriptHeight", &ScriptHeight);
    readText("DatabaseName", &DatabaseName);
    readText("SchemaName", &SchemaName);
    readText("OpenFilter", &OpenFilter);
    if (!store.contains(QStringLiteral("RecentDir0"))) return;
    for (int i = 0; i < RecentDirs.Capacity(); ++i) {
        const QString text = store.value(QStringLiteral("RecentDir%1").arg(i)).toString();
        if (!text.isEmpty()) RecentDirs.Add(text);
    }
    for (int i = 0; i < RecentFiles.Capacity(); ++i) {
        const QString text = store.value(QStringLiteral("RecentFile%1").arg(i)).toString();
        if (!text.isEmpty()) RecentFiles.Add(text);
    }
}

void TSettings::WriteStore() {
    QSettings store(StorePath(), QSettings::IniFormat);
    store.beginGroup(QString::fromLatin1(kSettingsKeyPath));
    store.setValue(QStringLiteral("RootDir"), RootDir);
    store.setValue(QStringLiteral("OutputDir"), OutputDir);
    store.setValue(QStringLiteral("SQLDir"), SQLDir);
    store.setValue(QStringLiteral("DatabaseDir"), DatabaseDir);
    store.setValue(QStringLiteral("ScriptDir"), ScriptDir);
    store.setValue(QStringLiteral("Language"), Language);
    store.setValue(QStringLiteral("FontCharSet"), Font.charSet);
    store.setValue(QStringLiteral(" FontHeight"), Font.height);
    store.setValue(QStringLiteral("FontName"), Font.name);
    store.setValue(QStringLiteral("MainLeft"), MainLeft);
    store.setValue(QStringLiteral("MainTop"), MainTop);
    store.setValue(QStringLiteral("MainWidth"), MainWidth);
    store.setValue(QStringLiteral("MainHeight"), MainHeight);
    store.setValue(QStringLiteral("ScriptLeft"), ScriptLeft);
    store.setValue(QStringLiteral("ScriptTop"), ScriptTop);
    store.setValue(QStringLiteral("ScriptWidth"), ScriptWidth);
    store.setValue(QStringLiteral("ScriptHeight"), ScriptHeight);
    store.setValue(QStringLiteral("DatabaseName"), DatabaseName);
    store.setValue(QStringLiteral("SchemaName"), SchemaName);
    store.setValue(QStringLiteral("OpenFilter"), OpenFilter);
    for (int i = 0; i < RecentDirs.Capacity(); ++i)
        store.setValue(QStringLiteral("RecentDir%1").arg(i),
                       i < RecentDirs.Count() ? RecentDirs[i] : QString());
    for (int i = 0; i < RecentFiles.Capacity(); ++i)
        store.setValue(QStringLiteral("RecentFile%1").arg(i),
                       i < RecentFiles.Count() ? RecentFiles[i] : QString());
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        InformationBox(QStringLiteral("Cannot write the settings file %1").arg(StorePath()));
}

void TSettings::ReopenLast() {
    if (DatabaseName.isEmpty()) return;
    Database = OpenDatabase(*this, DatabaseName);
    if (!Database) {
        DatabaseName.clear();
        return;
    }
    if (SchemaName.isEmpty()) return;
    Schema = OpenSchema(*this, DatabaseName, SchemaName);
    if (!Schema) SchemaName.clear();
}

void TSettings::ReleaseCurrent() {
    Schema.reset();
    Database.reset();
    DatabaseName.clear();
    SchemaName.clear();
}

bool SameTextIgnoringCase(const QString& a, const QString& b) {
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

QString UpperCase(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c.unicode() >= 'a' && c.unicode() <= 'z') c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

bool FileExists(const QString& name) {
    if (name.isEmpty()) return false;
    QFile file(name);
    return QFileInfo(name).isFile() && file.open(QIODevice::ReadOnly);
}

QString FileNameOnly(const QString& fileName) {
    const int slash = static_cast<int>(fileName.lastIndexOf(u'/'));
    return fileName.mid(slash + 1);
}

QString BaseName(const QString& fileName) {
    const QString name = FileNameOnly(fileName);
    const int dot = static_cast<int>(name.lastIndexOf(u'.'));
    return dot <= 0 ? name : name.left(dot);
}

QString WithExtension(const QString& fileName, const QString& extension) {
    return BaseName(fileName) + u'.' + extension;
}

QString UpperExtension(const QString& fileName) {
    const QString name = FileNameOnly(fileName);
    const int dot = static_cast<int>(name.lastIndexOf(u'.'));
    return dot < 0 ? QString() : UpperCase(name.mid(dot));
}

bool HasText(const QString& text) {
    for (QChar c : text)
        if (!IsBlank(c)) return true;
    return false;
}

int WordCount(const QString& text) {
    int count = 0;
    bool inWord = false;
    for (QChar c : text) {
        const bool blank = IsBlank(c);
        if (!blank && !inWord) ++count;
        inWord = !blank;
    }
    return count;
}

int ListItemIndex(const QListWidget* list, const QString& caption) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == caption) return i;
    return -1;
}

QString DatabaseFolder(const TSettings& settings, const QString& name) {
    std::string error;
    const std::optional<std::string> folder =
        schema::DatabaseFolder(settings.DatabaseDir.toStdString(), name.toStdString(), &error);
    if (!folder) {
        InformationBox(QString::fromStdString(error));
        return {};
    }
    return QString::fromStdString(*folder);
}

QString EnsureDatabaseFolder(const TSettings& settings, const QString& name) {
    const QString folder = DatabaseFolder(settings, name);
    if (folder.isEmpty()) return folder;
    TDirectory directory(folder.toStdString());
    if (directory.Exists()) return folder;
    directory.Make();
    TDirectory(Join(folder, QStringLiteral("Schema")).toStdString()).Make();
    return folder;
}

bool DeleteDatabaseFolder(const TSettings& settings, const QString& name) {
    const QString folder = DatabaseFolder(settings, name);
    if (folder.isEmpty()) return false;
    if (!TDirectory(folder.toStdString()).Exists()) return true;
    std::string error;
    if (schema::TDatabaseInfor::DeleteDatabaseFolder(settings.DatabaseDir.toStdString(),
                                                     name.toStdString(), &error))
        return true;
    InformationBox(QString::fromStdString(error));
    return false;
}

bool SchemaFileExists(const TSettings& settings, const QString& database, const QString& schema) {
    const std::optional<std::string> path = schema::SchemaFilePath(
        settings.DatabaseDir.toStdString(), database.toStdString(), schema.toStdString(), nullptr);
    return path && QFileInfo(QString::fromStdString(*path)).isFile();
}

QStringList SchemaNames(const QString& folder) {
    QStringList names;
    for (const std::string& name : schema::SchemaNames(folder.toStdString()))
        names << QString::fromStdString(name);
    return names;
}

std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const TSettings& settings,
                                                     const QString& name) {
    std::string error;
    auto database = schema::TDatabaseInfor::LoadDatabase(settings.DatabaseDir.toStdString(),
                                                         name.toStdString(), &error);
    if (!database) InformationBox(QString::fromStdString(error));
    return database;
}

std::unique_ptr<schema::TSchema> OpenSchema(const TSettings& settings, const QString& database,
                                            const QString& name) {
    std::string error;
    auto loaded = schema::TSchema::Load(settings.DatabaseDir.toStdString(), database.toStdString(),
                                        name.toStdString(), &error);
    if (!error.empty()) {
        InformationBox(QString::fromStdString(error));
        return nullptr;
    }
    return loaded;
}

}  // namespace morva::app

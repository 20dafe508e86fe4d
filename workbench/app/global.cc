#include "workbench/app/global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSettings>
#include <QVariant>
#include <variant>
#include <vector>

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

/// The member of TSettings that a stored value belongs to.
using SettingRef = std::variant<QString*, int*>;

/// One value of the settings store: its name in the group, the member it belongs to and its
/// default. A folder's default is the folder of that name below the current folder, or the
/// current folder itself when the name is empty.
struct SettingKey {
    const char* name;
    SettingRef (*member)(TSettings&);
    QVariant byDefault;
    bool folder = false;
};

#define MORVA_SETTING(member) [](TSettings& s) -> SettingRef { return &s.member; }

/// Every value the store holds besides the recent lists, in the order they are written. The
/// names are those of existing settings files, the odd " FontHeight" among them.
const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys{
        {"RootDir", MORVA_SETTING(RootDir), QString(), true},
        {"OutputDir", MORVA_SETTING(OutputDir), QStringLiteral("Output"), true},
        {"SQLDir", MORVA_SETTING(SQLDir), QStringLiteral("proj"), true},
        {"DatabaseDir", MORVA_SETTING(DatabaseDir), QStringLiteral("Database"), true},
        {"ScriptDir", MORVA_SETTING(ScriptDir), QStringLiteral("Samples"), true},
        {"Language", MORVA_SETTING(Language), -1},
        {"FontCharSet", MORVA_SETTING(Font.charSet), EditorFont().charSet},
        {" FontHeight", MORVA_SETTING(Font.height), EditorFont().height},
        {"FontName", MORVA_SETTING(Font.name), EditorFont().name},
        {"MainLeft", MORVA_SETTING(MainLeft), -1},
        {"MainTop", MORVA_SETTING(MainTop), 0},
        {"MainWidth", MORVA_SETTING(MainWidth), 0},
        {"MainHeight", MORVA_SETTING(MainHeight), 0},
        {"ScriptLeft", MORVA_SETTING(ScriptLeft), -1},
        {"ScriptTop", MORVA_SETTING(ScriptTop), 0},
        {"ScriptWidth", MORVA_SETTING(ScriptWidth), 0},
        {"ScriptHeight", MORVA_SETTING(ScriptHeight), 0},
        {"DatabaseName", MORVA_SETTING(DatabaseName), QString()},
        {"SchemaName", MORVA_SETTING(SchemaName), QString()},
        {"OpenFilter", MORVA_SETTING(OpenFilter), QString::fromLatin1(kDefaultOpenFilter)},
        {"SQLDialect", MORVA_SETTING(SQLDialect), QStringLiteral("classic")},
    };
    return keys;
}

#undef MORVA_SETTING

/// Sets every member the store holds to its default; the folders only when `root` is given.
void SetDefaults(TSettings& settings, const QString* root) {
    for (const SettingKey& key : SettingKeys()) {
        const SettingRef member = key.member(settings);
        if (int* const* number = std::get_if<int*>(&member)) {
            **number = key.byDefault.toInt();
        } else if (!key.folder) {
            *std::get<QString*>(member) = key.byDefault.toString();
        } else if (root) {
            const QString below = key.byDefault.toString();
            *std::get<QString*>(member) = below.isEmpty() ? *root : Join(*root, below);
        }
    }
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

TSettings::TSettings() {
    SetDefaults(*this, nullptr);
}
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
    const QString current = QDir::currentPath();
    SetDefaults(*this, &current);
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
    for (const SettingKey& key : SettingKeys()) {
        const QString name = QLatin1String(key.name);
        if (!store.contains(name)) continue;
        const QVariant value = store.value(name);
        const SettingRef member = key.member(*this);
        if (int* const* number = std::get_if<int*>(&member)) {
            bool ok = false;
            const int read = value.toInt(&ok);
            if (ok) **number = read;
        } else {
            *std::get<QString*>(member) = value.toString();
        }
    }
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
    for (const SettingKey& key : SettingKeys()) {
        const SettingRef member = key.member(*this);
        if (int* const* number = std::get_if<int*>(&member))
            store.setValue(QLatin1String(key.name), **number);
        else
            store.setValue(QLatin1String(key.name), *std::get<QString*>(member));
    }
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

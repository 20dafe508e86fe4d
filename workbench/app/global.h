#pragma once
// The workbench's settings: folders, editor font, window bounds, recent lists, open-file
// filter, keyword language and the current database and schema, read from the settings store
// when the main window is made and written back when it is destroyed. Also the small helpers
// the workbench's windows share.

#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

#include "workbench/app/fixed_strings.h"

class QListWidget;

namespace morva::schema {
class TDatabaseInfor;
class TSchema;
}  // namespace morva::schema

namespace morva::app {

/// The open dialog's built-in file types.
extern const char* const kDefaultOpenFilter;
/// The group of the settings store that holds every value.
extern const char* const kSettingsKeyPath;

/// The editor font as it is stored: a negative height is the character height in pixels.
struct EditorFont {
    int charSet = 0;
    int height = -13;
    QString name = QStringLiteral("Courier New");

    QFont ToQFont() const;
    static EditorFont FromQFont(const QFont& font);
};

class TSettings {
  public:
    TSettings();
    ~TSettings();
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    // The values of the settings store; their names and defaults are listed once, in
    // global.cc. The folders stay empty until Initialise.
    QString RootDir, OutputDir, SQLDir, DatabaseDir, ScriptDir;
    int Language;
    EditorFont Font;
    int MainLeft, MainTop, MainWidth, MainHeight;
    int ScriptLeft, ScriptTop, ScriptWidth, ScriptHeight;
    QString DatabaseName, SchemaName;
    QString OpenFilter;
    /// The reader of SQL scripts chosen in the SQL file dialog: "classic" or "auto".
    QString SQLDialect;
    TFixedStrings RecentDirs{5};
    TFixedStrings RecentFiles{10};
    /// The current database information and schema, or none.
    std::unique_ptr<schema::TDatabaseInfor> Database;
    std::unique_ptr<schema::TSchema> Schema;

    /// The settings file: $MORVA_SETTINGS, else "Morva.ini" in the user's configuration folder.
    static QString StorePath();

    /// Sets every value to its default (the folders below the current directory), reads the
    /// store, makes the database, SQL and output folders, and falls back to the root folder
    /// for a missing script folder.
    void Initialise();
    /// Reads every value that exists in the store; a missing group leaves every default.
    void ReadStore();
    /// Writes every value to the store; an error is shown in an information box.
    void WriteStore();
    /// Reopens the last database and, when that worked, the last schema; a name that cannot
    /// be opened is emptied.
    void ReopenLast();
    /// Releases the current database and schema and empties their names.
    void ReleaseCurrent();
};

/// True when both texts are equal with ASCII letters compared ignoring case.
bool SameTextIgnoringCase(const QString& a, const QString& b);
/// ASCII a-z turned to A-Z; nothing else changes.
QString UpperCase(const QString& text);
/// True when the name is not empty and the file can be opened for reading.
bool FileExists(const QString& name);
/// The file name without folder and without its last extension; a name with no dot, or whose
/// last dot is its first character, is taken whole.
QString BaseName(const QString& fileName);
/// BaseName(fileName) + "." + extension.
QString WithExtension(const QString& fileName, const QString& extension);
/// The name without its folder.
QString FileNameOnly(const QString& fileName);
/// The last extension with its dot, upper-cased (".DFM"), or empty.
QString UpperExtension(const QString& fileName);
/// True when the text holds anything other than blank, tab, carriage return and line feed.
bool HasText(const QString& text);
/// Number of runs of characters other than blank, tab, carriage return and line feed.
int WordCount(const QString& text);
/// Index of the first item whose text equals `caption` exactly, or -1.
int ListItemIndex(const QListWidget* list, const QString& caption);

/// "DatabaseDir/name", the folder of database `name`; empty after an information box naming
/// the name and the reason when the name would leave the database folder.
QString DatabaseFolder(const TSettings& settings, const QString& name);
/// Makes the folder of database `name` and its "Schema" subfolder when the folder is missing.
/// The folder, or empty (after the box of DatabaseFolder) when the name is refused.
QString EnsureDatabaseFolder(const TSettings& settings, const QString& name);
/// Deletes the database folder with its schema files; false (after an information box) when
/// anything could not be removed.
bool DeleteDatabaseFolder(const TSettings& settings, const QString& name);
/// True when "DatabaseDir/database/Schema/schema.CSF" exists.
bool SchemaFileExists(const TSettings& settings, const QString& database, const QString& schema);
/// The schema names stored in the headers of the "*.CSF" files of `folder`, in listing
/// order (by name ignoring case); unreadable files and wrong headers are skipped.
QStringList SchemaNames(const QString& folder);

/// Loads the named database; on failure shows the reason and returns none.
std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const TSettings& settings,
                                                     const QString& name);
/// Loads the named schema of `database`; on failure (a missing or damaged schema file among
/// them) shows the reason and returns none, so a half-read schema never becomes current.
std::unique_ptr<schema::TSchema> OpenSchema(const TSettings& settings, const QString& database,
                                            const QString& schema);

}  // namespace morva::app

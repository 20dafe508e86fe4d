#include "workbench/alias/alias.h"

#include <QFileInfo>
#include <QMetaType>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "component/create.h"
#include "component/text_util.h"

namespace morva::alias {

namespace {

const QString kGroup = QStringLiteral("Morva Software/Morva/1.0/Aliases");

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string S(const QString& s) {
    return s.toStdString();
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return com::ToUpperAscii(a) < com::ToUpperAscii(b);
}

/// Size, precision and scale written in parentheses after a declared type: "(40)" gives the
/// size, "(12, 2)" precision and scale.
void ParseDeclaredSize(const std::string& declared, FieldType type, FieldInfo* field) {
    size_t open = declared.find('(');
    if (open == std::string::npos) return;
    int first = std::atoi(declared.c_str() + open + 1);
    size_t comma = declared.find(',', open);
    int second = comma == std::string::npos ? 0 : std::atoi(declared.c_str() + comma + 1);
    if (type == FieldType::ftFloat || type == FieldType::ftBCD || type == FieldType::ftCurrency) {
        // Exact numerics: precision digits, the size is the number of decimals.
        field->precision = first;
        field->size = second;
    } else {
        field->size = first;
    }
}

FieldType FieldTypeOfMeta(const QMetaType& meta) {
    switch (meta.id()) {
        case QMetaType::QString:
            return FieldType::ftString;
        case QMetaType::Short:
            return FieldType::ftSmallint;
        case QMetaType::UShort:
            return FieldType::ftWord;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return FieldType::ftInteger;
        case QMetaType::Bool:
            return FieldType::ftBoolean;
        case QMetaType::Double:
        case QMetaType::Float:
            return FieldType::ftFloat;
        case QMetaType::QDate:
            return FieldType::ftDate;
        case QMetaType::QTime:
            return FieldType::ftTime;
        case QMetaType::QDateTime:
            return FieldType::ftDateTime;
        case QMetaType::QByteArray:
            return FieldType::ftBlob;
        default:
            return FieldType::ftUnknown;
    }
}

QString QuotedName(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

void Finish(FieldInfo* f) {
    if (f->displayLabel.empty()) f->displayLabel = f->name;
    f->displayWidth = DefaultDisplayWidth(f->type, f->size, f->precision);
}

std::string QueryError(const QSqlQuery& q, const std::string& table) {
    return table + ": " + S(q.lastError().text());
}

}  // namespace

Alias DefaultAlias() {
    Alias a;
    a.name = kDefaultAliasName;
    a.driver = "QSQLITE";
    const char* env = std::getenv("MORVA_SAMPLE_DATABASE");
    if (env && *env) {
        a.database = env;
        return a;
    }
    // The copy the build makes in the build folder (beside its bin/), else the one installed
    // in share/morva. Both are found from the program's folder, so no build folder's path is
    // compiled into an installed program.
    const std::string root = std::filesystem::path(com::ExecutableDirectory()).parent_path();
    a.database = root + "/samples/order_entry.db";
    std::string installed = root + "/share/morva/order_entry.db";
    if (!QFileInfo::exists(Q(a.database)) && QFileInfo::exists(Q(installed)))
        a.database = installed;
    return a;
}

std::string SettingsPath(const std::string& settingsFile) {
    if (!settingsFile.empty()) return settingsFile;
    const char* env = std::getenv("MORVA_SETTINGS");
    if (env && *env) return env;
    return com::ConfigDirectory() + "/Morva/Morva.ini";
}

std::vector<Alias> AliasStore::List() const {
    QSettings store(Q(path_), QSettings::IniFormat);
    store.beginGroup(kGroup);
    std::vector<Alias> stored;
    for (const QString& group : store.childGroups()) {
        store.beginGroup(group);
        Alias a;
        a.name = S(group);
        a.driver = S(store.value(QStringLiteral("Driver")).toString());
        a.database = S(store.value(QStringLiteral("Database")).toString());
        a.host = S(store.value(QStringLiteral("Host")).toString());
        a.port = store.value(QStringLiteral("Port"), 0).toInt();
        a.user = S(store.value(QStringLiteral("User")).toString());
        a.password = S(store.value(QStringLiteral("Password")).toString());
        store.endGroup();
        stored.push_back(std::move(a));
    }
    std::sort(stored.begin(), stored.end(),
              [](const Alias& x, const Alias& y) { return LessIgnoringCase(x.name, y.name); });
    std::vector<Alias> all;
    bool overridden = std::any_of(stored.begin(), stored.end(), [](const Alias& a) {
        return com::EqualsIgnoreCase(a.name, kDefaultAliasName);
    });
    if (!overridden) all.push_back(DefaultAlias());
    all.insert(all.end(), stored.begin(), stored.end());
    return all;
}

std::optional<Alias> AliasStore::Find(const std::string& name) const {
    for (Alias& a : List())
        if (com::EqualsIgnoreCase(a.name, name)) return a;
    return std::nullopt;
}

bool AliasStore::Save(const Alias& alias, std::string* error) const {
    QSettings store(Q(path_), QSettings::IniFormat);
    store.beginGroup(kGroup);
    store.beginGroup(Q(alias.name));
    store.setValue(QStringLiteral("Driver"), Q(alias.driver));
    store.setValue(QStringLiteral("Database"), Q(alias.database));
    store.setValue(QStringLiteral("Host"), Q(alias.host));
    store.setValue(QStringLiteral("Port"), alias.port);
    store.setValue(QStringLiteral("User"), Q(alias.user));
    store.setValue(QStringLiteral("Password"), Q(alias.password));
    store.endGroup();
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError) {
        if (error) *error = path_ + ": cannot write the settings";
        return false;
    }
    return true;
}

bool AliasStore::Remove(const std::string& name) const {
    QSettings store(Q(path_), QSettings::IniFormat);
    store.beginGroup(kGroup);
    for (const QString& group : store.childGroups()) {
        if (!com::EqualsIgnoreCase(S(group), name)) continue;
        store.remove(group);
        store.sync();
        return true;
    }
    return false;
}

struct AliasConnection::Impl {
    QString connectionName;
    QString driver;
    QSqlDatabase db() const { return QSqlDatabase::database(connectionName, false); }

    bool SqliteFields(const QString& table, std::vector<FieldInfo>* fields,
                      std::string* error) const;
    bool PostgresFields(const QString& table, std::vector<FieldInfo>* fields,
                        std::string* error) const;
    bool GenericFields(const QString& table, std::vector<FieldInfo>* fields,
                       std::string* error) const;
};

AliasConnection::AliasConnection() : impl_(std::make_unique<Impl>()) {
    static std::atomic<int> serial{0};
    impl_->connectionName = QStringLiteral("morva-alias-%1").arg(++serial);
}

AliasConnection::~AliasConnection() {
    {
        QSqlDatabase db = impl_->db();
        if (db.isOpen()) db.close();
    }
    if (QSqlDatabase::contains(impl_->connectionName))
        QSqlDatabase::removeDatabase(impl_->connectionName);
}

bool AliasConnection::Open(const Alias& alias, std::string* error) {
    impl_->driver = Q(alias.driver);
    if (!QSqlDatabase::isDriverAvailable(impl_->driver)) {
        if (error) *error = "alias " + alias.name + ": driver " + alias.driver + " not available";
        return false;
    }
    if (alias.driver == "QSQLITE" && !QFileInfo::exists(Q(alias.database))) {
        if (error) *error = "alias " + alias.name + ": " + alias.database + ": no such file";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(impl_->driver, impl_->connectionName);
    db.setDatabaseName(Q(alias.database));
    if (!alias.host.empty()) db.setHostName(Q(alias.host));
    if (alias.port > 0) db.setPort(alias.port);
    if (!alias.user.empty()) db.setUserName(Q(alias.user));
    if (!alias.password.empty()) db.setPassword(Q(alias.password));
    if (alias.driver == "QSQLITE") db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        if (error) *error = "alias " + alias.name + ": " + S(db.lastError().text());
        return false;
    }
    return true;
}

std::vector<std::string> AliasConnection::Tables() const {
    std::vector<std::string> names;
    for (const QString& t : impl_->db().tables(QSql::Tables)) names.push_back(S(t));
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

bool AliasConnection::Fields(const std::string& table, std::vector<FieldInfo>* fields,
                             std::string* error) const {
    fields->clear();
    QString t = Q(table);
    if (!impl_->db().tables(QSql::Tables).contains(t)) {
        if (error) *error = table + ": no such table";
        return false;
    }
    if (impl_->driver == QLatin1String("QSQLITE")) return impl_->SqliteFields(t, fields, error);
    if (impl_->driver == QLatin1String("QPSQL")) return impl_->PostgresFields(t, fields, error);
    return impl_->GenericFields(t, fields, error);
}

// SQLite's driver reports neither sizes nor indexes: the declared types and the index lists
// come from the table's pragmas.
bool AliasConnection::Impl::SqliteFields(const QString& table, std::vector<FieldInfo>* fields,
                                         std::string* error) const {
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QuotedName(table)))) {
        if (error) *error = QueryError(q, S(table));
        return false;
    }
    while (q.next()) {
        FieldInfo f;
        f.name = S(q.value(1).toString());
        std::string declared = S(q.value(2).toString());
        f.type = FieldTypeOfDeclared(declared);
        ParseDeclaredSize(declared, f.type, &f);
        f.indexed = q.value(5).toInt() > 0;
        fields->push_back(std::move(f));
    }
    std::set<std::string> indexed;
    QSqlQuery list(db());
    if (list.exec(QStringLiteral("PRAGMA index_list(%1)").arg(QuotedName(table)))) {
        while (list.next()) {
            QSqlQuery info(db());
            if (!info.exec(QStringLiteral("PRAGMA index_info(%1)")
                               .arg(QuotedName(list.value(1).toString()))))
                continue;
            while (info.next()) indexed.insert(S(info.value(2).toString()));
        }
    }
    for (FieldInfo& f : *fields) {
        if (indexed.count(f.name)) f.indexed = true;
        Finish(&f);
    }
    return true;
}

// PostgreSQL's driver packs a numeric's precision and scale into one size; the catalogue's
// own columns give them separately, and the index membership.
bool AliasConnection::Impl::PostgresFields(const QString& table, std::vector<FieldInfo>* fields,
                                           std::string* error) const {
    QSqlQuery q(db());
    q.prepare(QStringLiteral(
        "SELECT column_name, data_type, character_maximum_length, numeric_precision, "
        "numeric_scale FROM information_schema.columns WHERE table_name = ? AND "
        "table_schema = current_schema() ORDER BY ordinal_position"));
    q.addBindValue(table);
    if (!q.exec()) {
        if (error) *error = QueryError(q, S(table));
        return false;
    }
    while (q.next()) {
        FieldInfo f;
        f.name = S(q.value(0).toString());
        std::string dataType = S(q.value(1).toString());
        f.type = FieldTypeOfDeclared(dataType);
        if (f.type == FieldType::ftString) {
            f.size = q.value(2).toInt();
        } else if (f.type == FieldType::ftFloat && com::EqualsIgnoreCase(dataType, "numeric")) {
            f.precision = q.value(3).toInt();
            f.size = q.value(4).toInt();
        }
        fields->push_back(std::move(f));
    }
    QSqlQuery keys(db());
    keys.prepare(QStringLiteral(
        "SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid "
        "AND a.attnum = ANY(i.indkey) WHERE i.indrelid = to_regclass(quote_ident(?))"));
    keys.addBindValue(table);
    std::set<std::string> indexed;
    if (keys.exec())
        while (keys.next()) indexed.insert(S(keys.value(0).toString()));
    for (FieldInfo& f : *fields) {
        f.indexed = indexed.count(f.name) > 0;
        Finish(&f);
    }
    return true;
}

bool AliasConnection::Impl::GenericFields(const QString& table, std::vector<FieldInfo>* fields,
                                          std::string* error) const {
    QSqlRecord record = db().record(table);
    if (record.isEmpty()) {
        if (error) *error = S(table) + ": " + S(db().lastError().text());
        return false;
    }
    QSqlIndex primary = db().primaryIndex(table);
    for (int i = 0; i < record.count(); ++i) {
        QSqlField field = record.field(i);
        FieldInfo f;
        f.name = S(field.name());
        f.type = FieldTypeOfMeta(field.metaType());
        f.size = std::max(0, static_cast<int>(field.length()));
        f.precision = std::max(0, static_cast<int>(field.precision()));
        f.indexed = primary.contains(field.name());
        Finish(&f);
        fields->push_back(std::move(f));
    }
    return true;
}

}  // namespace morva::alias

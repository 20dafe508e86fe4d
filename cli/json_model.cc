#include "cli/json_model.h"

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <unordered_set>

#include "component/file_name.h"
#include "component/text_util.h"

namespace morva::cli {
namespace {

using json = nlohmann::json;

// ---------------------------------------------------------------------------------------------
// Texts that are bytes. The dump writes a byte that starts no valid UTF-8 sequence as the
// escape of the code point of the same number (\u0080 to \u00ff) and valid UTF-8 as it
// stands, so such an escape always means the byte itself. A JSON reader turns it into the
// character's UTF-8 instead; the strings that hold one are decoded again from their source.

// The source text between the quotes of every string (member names included), in order.
std::vector<std::string_view> StringTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '"') continue;
        size_t start = ++i;
        while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
        tokens.push_back(text.substr(start, std::min(i, text.size()) - start));
    }
    return tokens;
}

unsigned HexValue(std::string_view hex) {
    unsigned v = 0;
    for (char c : hex)
        v = v * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return v;
}

bool IsByteEscape(std::string_view token, size_t i) {
    return i + 6 <= token.size() && token[i + 1] == 'u' && token.substr(i + 2, 2) == "00" &&
           HexValue(token.substr(i + 4, 2)) >= 0x80;
}

bool HasByteEscape(std::string_view token) {
    for (size_t i = 0; i < token.size(); ++i) {
        if (token[i] != '\\') continue;
        if (IsByteEscape(token, i)) return true;
        ++i;
    }
    return false;
}

void AppendUtf8(unsigned cp, std::string* out) {
    if (cp < 0x80) {
        *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out += static_cast<char>(0xC0 | (cp >> 6));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out += static_cast<char>(0xE0 | (cp >> 12));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (cp >> 18));
        *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The bytes of a string token that the JSON reader has already accepted, with \u0080 to
// \u00ff as single bytes.
std::string DecodeByteToken(std::string_view token) {
    std::string out;
    for (size_t i = 0; i < token.size(); ++i) {
        if (token[i] != '\\') {
            out += token[i];
            continue;
        }
        char c = token[++i];
        if (c != 'u') {
            static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
            out += kTo[kFrom.find(c)];
            continue;
        }
        unsigned cp = HexValue(token.substr(i + 1, 4));
        i += 4;
        if (cp >= 0x80 && cp <= 0xFF) {
            out += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF) {  // a pair: the reader checked the low half follows
            cp = 0x10000 + ((cp - 0xD800) << 10) + (HexValue(token.substr(i + 3, 4)) - 0xDC00);
            i += 6;
        }
        AppendUtf8(cp, &out);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Reading: the JSON reader's events build the document, with member names given twice and
// syntax errors reported as problems of their own.

class DocumentBuilder : public nlohmann::json_sax<json> {
  public:
    explicit DocumentBuilder(std::string_view text) : tokens_(StringTokens(text)) {}

    json root;
    std::string error;

    bool null() override { return Add(nullptr); }
    bool boolean(bool v) override { return Add(v); }
    bool number_integer(number_integer_t v) override { return Add(v); }
    bool number_unsigned(number_unsigned_t v) override { return Add(v); }
    bool number_float(number_float_t v, const string_t&) override { return Add(v); }
    bool string(string_t& v) override { return Add(Bytes(v)); }
    bool binary(binary_t&) override { return false; }  // JSON text has none
    bool start_object(std::size_t) override { return Open(json::object()); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        Frame& f = stack_.back();
        f.key = Bytes(name);
        if (!f.value->contains(f.key)) return true;
        error = f.path + "." + f.key + ": member given twice";
        return false;
    }

    bool parse_error(std::size_t, const std::string&, const json::exception& e) override {
        // "[json.exception.parse_error.101] parse error at line 1, column 5: reason"
        std::string what = e.what();
        size_t at = what.find("line ");
        error = at == std::string::npos ? what : what.substr(at);
        return false;
    }

  private:
    struct Frame {
        json* value;
        std::string path;
        std::string key;  // of the member being read, in an object
    };

    std::string Bytes(const std::string& decoded) {
        size_t index = next_++;
        if (index < tokens_.size() && HasByteEscape(tokens_[index]))
            return DecodeByteToken(tokens_[index]);
        return decoded;
    }

    // Places `v` in the container being read, or makes it the document.
    bool Add(json v) {
        if (stack_.empty()) {
            root = std::move(v);
            last_ = &root;
            lastPath_ = "$";
            return true;
        }
        Frame& f = stack_.back();
        if (f.value->is_array()) {
            lastPath_ = f.path + "[" + std::to_string(f.value->size()) + "]";
            f.value->push_back(std::move(v));
            last_ = &f.value->back();
        } else {
            lastPath_ = f.path + "." + f.key;
            last_ = &(*f.value)[f.key];
            *last_ = std::move(v);
        }
        return true;
    }

    // An element of an array only moves when the array grows, which happens after the
    // element's own frame is closed: the pointers on the stack stay valid.
    bool Open(json container) {
        Add(std::move(container));
        stack_.push_back({last_, lastPath_, {}});
        return true;
    }

    bool Close() {
        stack_.pop_back();
        return true;
    }

    std::vector<std::string_view> tokens_;
    size_t next_ = 0;
    std::vector<Frame> stack_;
    json* last_ = nullptr;
    std::string lastPath_;
};

// ---------------------------------------------------------------------------------------------
// Checking: each member of each object, then the names that refer to other entries.

struct Member {
    const char* name;
    bool required;
};

// Names already used in one list, compared ignoring ASCII case.
class NameSet {
  public:
    /// Adds `name`; false when an equal name was there.
    bool Insert(std::string_view name) {
        return index_.emplace(com::ToUpperAscii(name), index_.size()).second;
    }
    /// The position `name` was added at, or -1.
    int Find(std::string_view name) const {
        auto it = index_.find(com::ToUpperAscii(name));
        return it == index_.end() ? -1 : static_cast<int>(it->second);
    }

  private:
    std::unordered_map<std::string, size_t> index_;
};

class Checker {
  public:
    explicit Checker(bool keepDangling) : keepDangling_(keepDangling) {}

    std::string error;

    bool Model(const json& root, JsonModel* model) {
        if (!Members(root, "$", {{"database", false}, {"tables", true}, {"schemas", false}}) ||
            !Text(root, "database", "$", &model->database))
            return false;
        const json* tables = nullptr;
        if (!Array(root, "tables", "$", &tables)) return false;
        for (size_t i = 0; i < tables->size(); ++i) {
            model->tables.emplace_back();
            if (!Table((*tables)[i], Index("$.tables", i), &model->tables.back())) return false;
        }
        for (size_t i = 0; i < tables->size(); ++i)
            if (!References((*tables)[i], Index("$.tables", i), &model->tables[i])) return false;
        const json* schemas = nullptr;
        if (!Array(root, "schemas", "$", &schemas)) return false;
        NameSet names;
        for (size_t i = 0; i < schemas->size(); ++i) {
            std::string path = Index("$.schemas", i);
            model->schemas.emplace_back();
            schema::TSchema& s = model->schemas.back();
            if (!Schema((*schemas)[i], path, model->tables, &s)) return false;
            if (!names.Insert(s.Name))
                return Fail(path + ".name", Quote("duplicate schema", s.Name));
        }
        return true;
    }

  private:
    static std::string Index(const std::string& path, size_t i) {
        return path + "[" + std::to_string(i) + "]";
    }
    static std::string Quote(const std::string& what, const std::string& name) {
        return what + " \"" + name + "\"";
    }

    bool Fail(const std::string& path, const std::string& why) {
        error = path + ": " + why;
        return false;
    }

    // `v` is an object with only the members listed and every required one of them.
    bool Members(const json& v, const std::string& path, std::initializer_list<Member> members) {
        if (!v.is_object()) return Fail(path, "must be an object");
        for (const auto& [name, value] : v.items()) {
            bool known = false;
            for (const Member& m : members) known = known || name == m.name;
            if (!known) return Fail(path + "." + name, "unknown member");
        }
        for (const Member& m : members)
            if (m.required && !v.contains(m.name))
                return Fail(path, Quote("missing member", m.name));
        return true;
    }

    // The text member `key` of `obj` ("" when absent): a string that fits a 255-byte field.
    bool Text(const json& obj, const char* key, const std::string& path, std::string* out) {
        auto it = obj.find(key);
        if (it == obj.end()) return true;
        std::string at = path + "." + key;
        if (!it->is_string()) return Fail(at, "must be a string");
        *out = it->get<std::string>();
        if (out->size() > sql::kMaxTextBytes)
            return Fail(at, "text of " + std::to_string(out->size()) +
                                " bytes is longer than the 255 bytes a field holds");
        return true;
    }

    // A required name: a text that is not empty.
    bool Name(const json& obj, const char* key, const std::string& path, std::string* out) {
        if (!Text(obj, key, path, out)) return false;
        return !out->empty() || Fail(path + "." + key, "must not be empty");
    }

    // A name that becomes a file name in the database folder.
    bool FileName(const json& obj, const char* key, const std::string& path, std::string* out) {
        if (!Name(obj, key, path, out)) return false;
        std::string why = com::UnsafeFileNameReason(*out);
        return why.empty() ||
               Fail(path + "." + key, Quote("cannot name a file", *out) + ": " + why);
    }

    bool Int32(const json& obj, const char* key, const std::string& path, int32_t* out) {
        auto it = obj.find(key);
        if (it == obj.end()) return true;
        std::string at = path + "." + key;
        if (!it->is_number_integer()) return Fail(at, "must be an integer");
        bool fits = it->is_number_unsigned()
                        ? it->get<uint64_t>() <= INT32_MAX
                        : it->get<int64_t>() >= INT32_MIN && it->get<int64_t>() <= INT32_MAX;
        if (!fits) return Fail(at, it->dump() + " is out of range (-2147483648 to 2147483647)");
        *out = static_cast<int32_t>(it->get<int64_t>());
        return true;
    }

    // The array member `key` (an empty one when absent).
    bool Array(const json& obj, const char* key, const std::string& path, const json** out) {
        static const json kEmpty = json::array();
        auto it = obj.find(key);
        *out = it == obj.end() ? &kEmpty : &*it;
        return (*out)->is_array() || Fail(path + "." + key, "must be an array");
    }

    bool Table(const json& v, const std::string& path, sql::TableFile* t) {
        if (!Members(v, path,
                     {{"name", true},
                      {"type", false},
                      {"label", false},
                      {"columns", false},
                      {"references", false}}) ||
            !FileName(v, "name", path, &t->name) || !Text(v, "type", path, &t->type) ||
            !Text(v, "label", path, &t->label))
            return false;
        if (tableNames_.Find(t->name) >= 0)
            return Fail(path + ".name", Quote("duplicate table", t->name));
        tableNames_.Insert(t->name);
        const json* columns = nullptr;
        if (!Array(v, "columns", path, &columns)) return false;
        NameSet& names = columnNames_.emplace_back();
        for (size_t i = 0; i < columns->size(); ++i) {
            std::string at = Index(path + ".columns", i);
            sql::ColumnEntry& c = t->columns.emplace_back();
            if (!Column((*columns)[i], at, &c)) return false;
            if (!names.Insert(c.name)) return Fail(at + ".name", Quote("duplicate column", c.name));
        }
        return true;
    }

    bool Column(const json& v, const std::string& path, sql::ColumnEntry* c) {
        if (!Members(v, path,
                     {{"name", true},
                      {"type", false},
                      {"label", false},
                      {"dataType", false},
                      {"length", false},
                      {"displayWidth", false},
                      {"flags", false},
                      {"precision", false},
                      {"scale", false},
                      {"lookupTable", false},
                      {"lookupColumn", false},
                      {"lookupKey", false},
                      {"lookupItems", false}}) ||
            !Name(v, "name", path, &c->name) || !Text(v, "type", path, &c->type) ||
            !Text(v, "label", path, &c->label) || !Text(v, "dataType", path, &c->dataType) ||
            !Int32(v, "length", path, &c->length) ||
            !Int32(v, "displayWidth", path, &c->displayWidth) ||
            !Int32(v, "flags", path, &c->flags) || !Int32(v, "precision", path, &c->precision) ||
            !Int32(v, "scale", path, &c->scale) || !Text(v, "lookupTable", path, &c->lookupTable) ||
            !Text(v, "lookupColumn", path, &c->lookupColumn) ||
            !Text(v, "lookupKey", path, &c->lookupKey))
            return false;
        const json* items = nullptr;
        if (!Array(v, "lookupItems", path, &items)) return false;
        for (size_t i = 0; i < items->size(); ++i) {
            std::string at = Index(path + ".lookupItems", i);
            const json& item = (*items)[i];
            if (!item.is_string()) return Fail(at, "must be a string");
            c->lookupItems.push_back(item.get<std::string>());
            if (c->lookupItems.back().size() > sql::kMaxTextBytes)
                return Fail(at, "text of " + std::to_string(c->lookupItems.back().size()) +
                                    " bytes is longer than the 255 bytes a field holds");
        }
        return true;
    }

    // A column of the model's table `table` named `name` (ignoring case), else a failure.
    bool KnownColumn(int table, const std::string& tableName, const json& obj, const char* key,
                     const std::string& path, std::string* name) {
        if (!Name(obj, key, path, name)) return false;
        if (columnNames_[static_cast<size_t>(table)].Find(*name) >= 0) return true;
        return Fail(path + "." + key,
                    Quote("table", tableName) + " has no column \"" + *name + "\"");
    }

    // A table of the model named `name` (ignoring case); its position, or -1 after failing.
    int KnownTable(const json& obj, const char* key, const std::string& path, std::string* name) {
        if (!Name(obj, key, path, name)) return -1;
        int i = tableNames_.Find(*name);
        if (i < 0) Fail(path + "." + key, Quote("unknown table", *name));
        return i;
    }

    // The table a reference names: its position, kDangling for one the model lacks when that
    // is allowed, or -1 after failing.
    static constexpr int kDangling = -2;
    static constexpr const char* kDanglingHint = " (--keep-dangling keeps such a reference)";
    int ReferencedTable(const json& obj, const char* key, const std::string& path,
                        std::string* name) {
        int i = KnownTable(obj, key, path, name);
        if (i >= 0 || name->empty()) return i;
        if (keepDangling_) return kDangling;
        error += kDanglingHint;
        return -1;
    }

    // A column a reference names, of the table at `table` (which may be kDangling).
    bool ReferencedColumn(int table, const std::string& tableName, const json& obj, const char* key,
                          const std::string& path, std::string* name) {
        if (table == kDangling) return Name(obj, key, path, name);
        if (KnownColumn(table, tableName, obj, key, path, name)) return true;
        if (name->empty()) return false;
        if (keepDangling_) return true;
        error += kDanglingHint;
        return false;
    }

    bool References(const json& v, const std::string& path, sql::TableFile* t) {
        int self = tableNames_.Find(t->name);
        const json* refs = nullptr;
        if (!Array(v, "references", path, &refs)) return false;
        for (size_t i = 0; i < refs->size(); ++i) {
            std::string at = Index(path + ".references", i);
            const json& r = (*refs)[i];
            sql::RefGroupEntry& g = t->groups.emplace_back();
            if (!Members(r, at, {{"master", true}, {"pairs", true}})) return false;
            int master = ReferencedTable(r, "master", at, &g.masterTable);
            const json* pairs = nullptr;
            if (master == -1 || !Array(r, "pairs", at, &pairs)) return false;
            for (size_t k = 0; k < pairs->size(); ++k) {
                std::string pairPath = Index(at + ".pairs", k);
                const json& p = (*pairs)[k];
                sql::RefPairEntry& e = g.pairs.emplace_back();
                if (!Members(p, pairPath, {{"masterColumn", true}, {"localColumn", true}}) ||
                    !ReferencedColumn(master, g.masterTable, p, "masterColumn", pairPath,
                                      &e.masterColumn) ||
                    !ReferencedColumn(self, t->name, p, "localColumn", pairPath, &e.localColumn))
                    return false;
            }
        }
        return true;
    }

    bool Schema(const json& v, const std::string& path, const std::vector<sql::TableFile>& tables,
                schema::TSchema* s) {
        if (!Members(v, path,
                     {{"name", true},
                      {"type", false},
                      {"label", false},
                      {"database", false},
                      {"tables", false}}) ||
            !FileName(v, "name", path, &s->Name) || !Text(v, "type", path, &s->SchemaType) ||
            !Text(v, "label", path, &s->SchemaLabel) || !Text(v, "database", path, &s->DbName))
            return false;
        const json* list = nullptr;
        if (!Array(v, "tables", path, &list)) return false;
        NameSet names;
        for (size_t i = 0; i < list->size(); ++i) {
            std::string at = Index(path + ".tables", i);
            schema::TSchemaInfor& t = s->Tables.emplace_back();
            if (!SchemaTable((*list)[i], at, tables, &t)) return false;
            if (!names.Insert(t.TableName))
                return Fail(at + ".name", Quote("duplicate table", t.TableName));
        }
        return true;
    }

    bool SchemaTable(const json& v, const std::string& path,
                     const std::vector<sql::TableFile>& tables, schema::TSchemaInfor* t) {
        if (!Members(v, path,
                     {{"name", true},
                      {"type", false},
                      {"label", false},
                      {"columns", false},
                      {"references", false}}))
            return false;
        int table = KnownTable(v, "name", path, &t->TableName);
        if (table < 0 || !Text(v, "type", path, &t->TableType) ||
            !Text(v, "label", path, &t->TableLabel))
            return false;
        const std::string& tableName = tables[static_cast<size_t>(table)].name;
        const json* columns = nullptr;
        if (!Array(v, "columns", path, &columns)) return false;
        NameSet names;
        for (size_t i = 0; i < columns->size(); ++i) {
            std::string at = Index(path + ".columns", i);
            const json& c = (*columns)[i];
            std::string name, type, label;
            if (!Members(c, at, {{"name", true}, {"type", false}, {"label", false}}) ||
                !KnownColumn(table, tableName, c, "name", at, &name) ||
                !Text(c, "type", at, &type) || !Text(c, "label", at, &label))
                return false;
            if (!names.Insert(name)) return Fail(at + ".name", Quote("duplicate column", name));
            t->AppendColumn(name, type, label);
        }
        return SchemaReferences(v, path, table, tables, t);
    }

    bool SchemaReferences(const json& v, const std::string& path, int table,
                          const std::vector<sql::TableFile>& tables, schema::TSchemaInfor* t) {
        const json* refs = nullptr;
        if (!Array(v, "references", path, &refs)) return false;
        for (size_t i = 0; i < refs->size(); ++i) {
            std::string at = Index(path + ".references", i);
            const json& r = (*refs)[i];
            std::string name;
            if (!Members(r, at, {{"table", true}, {"pairs", true}})) return false;
            int target = ReferencedTable(r, "table", at, &name);
            if (target == -1) return false;
            if (t->RefTables.IndexOf(name) >= 0)
                return Fail(at + ".table", Quote("duplicate reference to", name));
            t->RefTables.AddTable(name);
            const json* pairs = nullptr;
            if (!Array(r, "pairs", at, &pairs)) return false;
            for (size_t k = 0; k < pairs->size(); ++k) {
                std::string pairPath = Index(at + ".pairs", k);
                const json& p = (*pairs)[k];
                std::string refColumn, keyColumn;
                if (!Members(p, pairPath, {{"refColumn", true}, {"keyColumn", true}}) ||
                    !ReferencedColumn(target, name, p, "refColumn", pairPath, &refColumn) ||
                    !ReferencedColumn(table, tables[static_cast<size_t>(table)].name, p,
                                      "keyColumn", pairPath, &keyColumn))
                    return false;
                t->RefTables.AddPair(name, refColumn, keyColumn);
            }
        }
        return true;
    }

    bool keepDangling_;
    NameSet tableNames_;
    std::vector<NameSet> columnNames_;  // per table, in model order
};

}  // namespace

bool ReadJsonModel(std::string_view text, JsonModel* model, std::string* error, bool keepDangling) {
    *model = {};
    DocumentBuilder builder(text);
    if (!json::sax_parse(text.begin(), text.end(), &builder)) {
        *error = builder.error;
        return false;
    }
    Checker checker(keepDangling);
    if (!checker.Model(builder.root, model)) {
        *error = checker.error;
        return false;
    }
    return true;
}

}  // namespace morva::cli

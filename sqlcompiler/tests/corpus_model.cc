#include "sqlcompiler/tests/corpus_model.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace morva::sql::corpus {
namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Declared names of every dialect and the canonical name each stands for.
const std::map<std::string, std::string>& CanonicalNames() {
    static const std::map<std::string, std::string> names = {
        {"INT", "INTEGER"},
        {"INTEGER", "INTEGER"},
        {"INT4", "INTEGER"},
        {"MEDIUMINT", "INTEGER"},
        {"SERIAL", "INTEGER"},
        {"SERIAL4", "INTEGER"},
        {"SMALLINT", "SMALLINT"},
        {"INT2", "SMALLINT"},
        {"TINYINT", "SMALLINT"},
        {"SMALLSERIAL", "SMALLINT"},
        {"SERIAL2", "SMALLINT"},
        {"BIGINT", "BIGINT"},
        {"INT8", "BIGINT"},
        {"BIGSERIAL", "BIGINT"},
        {"SERIAL8", "BIGINT"},
        {"VARCHAR", "VARCHAR"},
        {"CHARACTER VARYING", "VARCHAR"},
        {"CHAR VARYING", "VARCHAR"},
        {"VARCHAR2", "VARCHAR"},
        {"NVARCHAR", "VARCHAR"},
        {"NVARCHAR2", "VARCHAR"},
        {"NATIONAL CHARACTER VARYING", "VARCHAR"},
        {"NATIONAL CHAR VARYING", "VARCHAR"},
        {"NCHAR VARYING", "VARCHAR"},
        {"CHAR", "CHAR"},
        {"CHARACTER", "CHAR"},
        {"NCHAR", "CHAR"},
        {"BPCHAR", "CHAR"},
        {"NATIONAL CHARACTER", "CHAR"},
        {"NATIONAL CHAR", "CHAR"},
        {"NUMERIC", "NUMERIC"},
        {"NUMBER", "NUMERIC"},
        {"DECIMAL", "DECIMAL"},
        {"DEC", "DECIMAL"},
        {"FLOAT", "FLOAT"},
        {"REAL", "FLOAT"},
        {"FLOAT4", "FLOAT"},
        {"BINARY_FLOAT", "FLOAT"},
        {"DOUBLE", "DOUBLE"},
        {"DOUBLE PRECISION", "DOUBLE"},
        {"FLOAT8", "DOUBLE"},
        {"BINARY_DOUBLE", "DOUBLE"},
        {"DATE", "DATE"},
        {"TIME", "TIME"},
        {"TIMETZ", "TIME"},
        {"TIMESTAMP", "TIMESTAMP"},
        {"TIMESTAMPTZ", "TIMESTAMP"},
        {"DATETIME", "TIMESTAMP"},
        {"DATETIME2", "TIMESTAMP"},
        {"SMALLDATETIME", "TIMESTAMP"},
        {"DATETIMEOFFSET", "TIMESTAMP"},
        {"BOOLEAN", "BOOLEAN"},
        {"BOOL", "BOOLEAN"},
        {"BIT", "BOOLEAN"},
        {"BLOB", "BLOB"},
        {"BYTEA", "BLOB"},
        {"BINARY", "BLOB"},
        {"VARBINARY", "BLOB"},
        {"TINYBLOB", "BLOB"},
        {"MEDIUMBLOB", "BLOB"},
        {"LONGBLOB", "BLOB"},
        {"IMAGE", "BLOB"},
        {"RAW", "BLOB"},
        {"LONG RAW", "BLOB"},
        {"TEXT", "TEXT"},
        {"CLOB", "TEXT"},
        {"NCLOB", "TEXT"},
        {"NTEXT", "TEXT"},
        {"TINYTEXT", "TEXT"},
        {"MEDIUMTEXT", "TEXT"},
        {"LONGTEXT", "TEXT"},
        {"LONG", "TEXT"},
        {"LONG VARCHAR", "TEXT"},
    };
    return names;
}

// The declared text without SQL Server brackets, quotes and array marks, in its own case.
std::string Unbracketed(const std::string& declared) {
    std::string text;
    for (size_t i = 0; i < declared.size(); ++i) {
        char c = declared[i];
        if (c == '[') {
            // "[NVARCHAR]" keeps its word; "[]" and "[4]" are array marks and go.
            size_t close = declared.find(']', i);
            std::string inside = declared.substr(i + 1, close - i - 1);
            bool mark = std::all_of(inside.begin(), inside.end(), [](char d) {
                return std::isdigit(static_cast<unsigned char>(d)) || d == ':';
            });
            if (!mark) text += inside;
            i = close == std::string::npos ? declared.size() : close;
        } else if (c != '"' && c != '`') {
            text += c;
        }
    }
    return text;
}

// Words that qualify a type without changing which type it is.
bool IsModifier(const std::string& word) {
    return word == "UNSIGNED" || word == "SIGNED" || word == "ZEROFILL";
}

// The name words before any clause that only qualifies the type (time zone, character set,
// collation, blob sub-type), without modifiers such as UNSIGNED.
std::string BaseName(const std::vector<std::string>& words) {
    std::string name;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string w = Upper(words[i]);
        bool characterSet =
            w == "CHARACTER" && i + 1 < words.size() && Upper(words[i + 1]) == "SET";
        if (w == "WITH" || w == "WITHOUT" || w == "COLLATE" || w == "SUB_TYPE" || characterSet)
            break;
        if (IsModifier(w)) continue;
        name += (name.empty() ? "" : " ") + words[i];
    }
    return name;
}

}  // namespace

CanonicalType Canonical(const std::string& declared) {
    std::string written = Unbracketed(declared);
    std::string text = Upper(written);
    size_t open = text.find('(');
    size_t close = open == std::string::npos ? std::string::npos : text.find(')', open);
    std::vector<std::string> words = Words(text.substr(0, open));
    // Arguments: the leading number of each ("100 CHAR" is 100); MAX is -1.
    std::vector<int> args;
    if (close != std::string::npos) {
        std::istringstream in(text.substr(open + 1, close - open - 1));
        for (std::string arg; std::getline(in, arg, ',');) {
            std::vector<std::string> parts = Words(arg);
            if (parts.empty()) continue;
            args.push_back(parts[0] == "MAX" ? -1 : std::atoi(parts[0].c_str()));
        }
    }
    CanonicalType type;
    if (words.size() >= 3 && words[0] == "BLOB" && words[1] == "SUB_TYPE") {
        type.name = words[2] == "TEXT" || words[2] == "1" ? "TEXT" : "BLOB";
        return type;
    }
    std::string base = BaseName(words);
    auto known = CanonicalNames().find(base);
    // A name of no known type (a domain defined elsewhere, an enumeration, UUID) stays as
    // written, as the classic reader keeps it.
    type.name = known != CanonicalNames().end()
                    ? known->second
                    : BaseName(Words(written.substr(0, written.find('('))));
    int first = args.empty() ? 0 : args[0];
    if (type.name == "VARCHAR") {
        if (first < 0)
            type.name = "TEXT";
        else
            type.length = first;
    } else if (type.name == "CHAR") {
        type.length = first > 0 ? first : 1;
    } else if (type.name == "NUMERIC" || type.name == "DECIMAL") {
        type.precision = std::max(first, 0);
        type.scale = args.size() > 1 ? std::max(args[1], 0) : 0;
    }
    return type;
}

std::string TypeText(const CanonicalType& type) {
    if ((type.name == "VARCHAR" || type.name == "CHAR") && type.length > 0)
        return type.name + "(" + std::to_string(type.length) + ")";
    if ((type.name == "NUMERIC" || type.name == "DECIMAL") && type.precision > 0)
        return type.name + "(" + std::to_string(type.precision) + "," + std::to_string(type.scale) +
               ")";
    return type.name;
}

std::string CompactText(std::vector<Table> tables) {
    for (Table& t : tables) t.name = Upper(t.name);
    std::stable_sort(tables.begin(), tables.end(),
                     [](const Table& a, const Table& b) { return a.name < b.name; });
    std::string out;
    for (const Table& t : tables) {
        out += "table " + t.name + "\n";
        for (const Column& c : t.columns)
            out += "  column " + Upper(c.name) + " " + c.type + (c.key ? " key" : "") + "\n";
        std::vector<std::string> refs;
        for (const Reference& r : t.references) {
            if (Upper(r.master) == t.name) continue;
            std::string line = "  ref " + Upper(r.master) + " ";
            for (size_t i = 0; i < r.pairs.size(); ++i)
                line += (i ? "," : "") + Upper(r.pairs[i].first) + "=" + Upper(r.pairs[i].second);
            refs.push_back(line + "\n");
        }
        std::sort(refs.begin(), refs.end());
        for (const std::string& line : refs) out += line;
    }
    return out;
}

bool ParseCompactText(const std::string& text, std::vector<Table>* tables, std::string* error) {
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::vector<std::string> w = Words(line);
        if (w.empty() || w[0][0] == '#') continue;
        bool ok = true;
        if (w[0] == "table" && w.size() == 2) {
            tables->push_back({w[1], {}, {}});
        } else if (tables->empty()) {
            ok = false;
        } else if (w[0] == "column" && (w.size() == 3 || (w.size() == 4 && w[3] == "key"))) {
            tables->back().columns.push_back({w[1], w[2], w.size() == 4});
        } else if (w[0] == "ref" && w.size() == 3) {
            Reference r{w[1], {}};
            std::istringstream pairs(w[2]);
            for (std::string pair; std::getline(pairs, pair, ',');) {
                size_t eq = pair.find('=');
                if (eq == std::string::npos)
                    ok = false;
                else
                    r.pairs.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
            }
            tables->back().references.push_back(r);
        } else {
            ok = false;
        }
        if (!ok) {
            *error = "line " + std::to_string(number) + ": " + line;
            return false;
        }
    }
    return true;
}

namespace {

// Just enough JSON for the dump: objects, arrays, strings, numbers, true, false, null.
struct Json {
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json& operator[](const std::string& key) const {
        static const Json none;
        for (const auto& m : members)
            if (m.first == key) return m.second;
        return none;
    }
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& s) : s_(s) {}

    bool Read(Json* value) {
        if (!Value(value)) return false;
        Space();
        return i_ == s_.size();
    }
    size_t position() const { return i_; }

  private:
    void Space() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    bool Literal(const char* word) {
        size_t n = std::char_traits<char>::length(word);
        if (s_.compare(i_, n, word) != 0) return false;
        i_ += n;
        return true;
    }
    bool Value(Json* v) {
        Space();
        if (i_ >= s_.size()) return false;
        char c = s_[i_];
        if (c == '{') return Object(v);
        if (c == '[') return Array(v);
        if (c == '"') {
            v->kind = Json::kString;
            return String(&v->text);
        }
        if (Literal("true") || Literal("false")) {
            v->kind = Json::kBool;
            return true;
        }
        if (Literal("null")) return true;
        size_t start = i_;
        while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) ||
                                  std::string("+-.eE").find(s_[i_]) != std::string::npos))
            ++i_;
        if (start == i_) return false;
        v->kind = Json::kNumber;
        v->number = std::atof(s_.substr(start, i_ - start).c_str());
        return true;
    }
    bool String(std::string* out) {
        ++i_;  // the opening quote
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c != '\\') {
                *out += c;
                continue;
            }
            if (i_ >= s_.size()) return false;
            char e = s_[i_++];
            if (e == 'u') {
                if (i_ + 4 > s_.size()) return false;
                unsigned code = std::stoul(s_.substr(i_, 4), nullptr, 16);
                i_ += 4;
                if (code < 0x80) {
                    *out += static_cast<char>(code);
                } else if (code < 0x800) {
                    *out += static_cast<char>(0xC0 | (code >> 6));
                    *out += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    *out += static_cast<char>(0xE0 | (code >> 12));
                    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    *out += static_cast<char>(0x80 | (code & 0x3F));
                }
            } else {
                const std::string from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
                size_t k = from.find(e);
                if (k == std::string::npos) return false;
                *out += to[k];
            }
        }
        if (i_ >= s_.size()) return false;
        ++i_;  // the closing quote
        return true;
    }
    bool Array(Json* v) {
        v->kind = Json::kArray;
        ++i_;
        Space();
        if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
        for (;;) {
            v->items.emplace_back();
            if (!Value(&v->items.back())) return false;
            Space();
            if (i_ >= s_.size()) return false;
            if (s_[i_++] == ']') return true;
            if (s_[i_ - 1] != ',') return false;
        }
    }
    bool Object(Json* v) {
        v->kind = Json::kObject;
        ++i_;
        Space();
        if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
        for (;;) {
            Space();
            std::string key;
            if (i_ >= s_.size() || s_[i_] != '"' || !String(&key)) return false;
            Space();
            if (i_ >= s_.size() || s_[i_++] != ':') return false;
            v->members.emplace_back(key, Json());
            if (!Value(&v->members.back().second)) return false;
            Space();
            if (i_ >= s_.size()) return false;
            if (s_[i_++] == '}') return true;
            if (s_[i_ - 1] != ',') return false;
        }
    }

    const std::string& s_;
    size_t i_ = 0;
};

int Int(const Json& v) {
    return static_cast<int>(v.number);
}

}  // namespace

bool TablesFromDumpJson(const std::string& json, std::vector<Table>* tables, std::string* error) {
    Json root;
    JsonReader reader(json);
    if (!reader.Read(&root) || root["tables"].kind != Json::kArray) {
        *error = "not a database dump at byte " + std::to_string(reader.position());
        return false;
    }
    for (const Json& t : root["tables"].items) {
        Table table{t["name"].text, {}, {}};
        for (const Json& c : t["columns"].items) {
            CanonicalType type{c["dataType"].text, Int(c["length"]), Int(c["precision"]),
                               Int(c["scale"])};
            table.columns.push_back({c["name"].text, TypeText(type), (Int(c["flags"]) & 1) != 0});
        }
        for (const Json& r : t["references"].items) {
            Reference ref{r["master"].text, {}};
            for (const Json& p : r["pairs"].items)
                ref.pairs.emplace_back(p["masterColumn"].text, p["localColumn"].text);
            table.references.push_back(ref);
        }
        tables->push_back(table);
    }
    return true;
}

}  // namespace morva::sql::corpus

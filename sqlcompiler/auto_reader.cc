// The tolerant reader: a statement-level reader over the tolerant scanner's tokens.
//
// It is written by hand rather than as a second bison grammar because nearly everything in a
// real script is "anything up to the next comma or parenthesis" (dialect options after a
// column type, index options, table options) or "anything up to the end of the statement",
// and whether a word is a name or a clause keyword depends on where it stands (KEY, INDEX,
// COMMENT, LIKE are column names in one dialect and clauses in another). An LALR grammar
// needs a catch-all token class for that, which conflicts with every keyword it models. Here
// each place peeks one or two tokens and decides; the meaning still lives in the builder
// (Compilation), which each step calls in one line.

#include "sqlcompiler/auto_reader.h"

#include <deque>
#include <vector>

#include "component/text_util.h"
#include "sqlcompiler/auto_scanner.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/sql_types.h"

namespace morva::sql {

using namespace auto_token;
using com::ToUpperAscii;

namespace {

struct Token {
    int kind = kEof;
    std::string_view text;
    int32_t line = 0;
};

bool IsName(const Token& t) {
    return t.kind == kWord || t.kind == kQuoted;
}

bool IsBoundary(const Token& t) {
    return t.kind == kEnd || t.kind == kHardEnd || t.kind == kEof;
}

// A name as written: quotes removed, doubled quotes made single.
std::string NameText(const Token& t) {
    if (t.kind != kQuoted) return std::string(t.text);
    char close = t.text.front() == '[' ? ']' : t.text.front();
    std::string name;
    std::string_view inner = t.text.substr(1, t.text.size() - 2);
    for (size_t i = 0; i < inner.size(); ++i) {
        name += inner[i];
        if (inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close) ++i;
    }
    return name;
}

// The value of a string literal: quotes removed, doubled quotes and backslash escapes
// resolved; a dollar-quoted body without its tags.
std::string StringText(const Token& t) {
    std::string_view text = t.text;
    if (text.front() == '$') {
        size_t tag = text.find('$', 1) + 1;
        return std::string(text.substr(tag, text.size() - 2 * tag));
    }
    std::string value;
    std::string_view inner = text.substr(1, text.size() - 2);
    for (size_t i = 0; i < inner.size(); ++i) {
        char ch = inner[i];
        if ((ch == '\'' || ch == '\\') && i + 1 < inner.size()) {
            char next = inner[++i];
            value += ch == '\\' && next == 'n' ? '\n' : next;
            continue;
        }
        value += ch;
    }
    return value;
}

// How a token is shown in a message.
std::string Shown(const Token& t) {
    switch (t.kind) {
        case kEof:
            return "end of file";
        case kEnd:
        case kHardEnd:
            return "end of statement";
        default:
            return "'" + std::string(t.text) + "'";
    }
}

// Words that start an index inside a table's definition (KEY, INDEX, FULLTEXT, SPATIAL), where
// the dialect allows one there.
bool IsIndexWord(std::string_view upper) {
    return upper == "KEY" || upper == "INDEX" || upper == "FULLTEXT" || upper == "SPATIAL";
}

// Words that start a table constraint without a name (PRIMARY KEY, UNIQUE, FOREIGN KEY, CHECK,
// EXCLUDE).
bool IsConstraintWord(std::string_view upper) {
    return upper == "PRIMARY" || upper == "UNIQUE" || upper == "FOREIGN" || upper == "CHECK" ||
           upper == "EXCLUDE";
}

class AutoReader {
  public:
    AutoReader(Compilation& c, std::string_view text) : c_(c), scanner_(c, text) {}

    void Run() {
        while (Peek().kind != kEof) {
            size_t before = taken_;
            Statement();
            if (taken_ == before) Take();
        }
        c_.MarkMasters();
    }

  private:
    // Tokens.
    const Token& Peek(size_t ahead = 0) {
        while (ahead >= ahead_.size()) {
            if (!ahead_.empty() && ahead_.back().kind == kEof) return ahead_.back();
            Token t;
            t.kind = scanner_.Next(&t.text);
            t.line = c_.line;
            ahead_.push_back(t);
        }
        return ahead_[ahead];
    }
    Token Take() {
        Token t = Peek();
        if (t.kind != kEof) ahead_.pop_front();
        ++taken_;
        return t;
    }
    bool PeekWord(std::string_view upper, size_t ahead = 0) {
        const Token& t = Peek(ahead);
        return t.kind == kWord && com::EqualsIgnoreCase(t.text, upper);
    }
    bool TakeWord(std::string_view upper) {
        if (!PeekWord(upper)) return false;
        Take();
        return true;
    }
    bool PeekPunct(char ch, size_t ahead = 0) {
        const Token& t = Peek(ahead);
        return t.kind == kPunct && t.text[0] == ch;
    }
    bool TakePunct(char ch) {
        if (!PeekPunct(ch)) return false;
        Take();
        return true;
    }
    std::string PeekUpper(size_t ahead = 0) {
        const Token& t = Peek(ahead);
        return t.kind == kWord ? ToUpperAscii(t.text) : std::string();
    }
    bool TakeIfNotExists() {
        if (!PeekWord("IF") || !PeekWord("NOT", 1) || !PeekWord("EXISTS", 2)) return false;
        Take(), Take(), Take();
        return true;
    }
    void TakeIfExists() {
        if (PeekWord("IF") && PeekWord("EXISTS", 1)) Take(), Take();
    }
    /// A name, schema-qualified or not: its last part.
    std::optional<std::string> QualifiedName() {
        if (!IsName(Peek())) return std::nullopt;
        std::string name = NameText(Take());
        while (PeekPunct('.') && IsName(Peek(1))) {
            Take();
            name = NameText(Take());
        }
        return name;
    }
    void Unexpected(const char* expected) {
        const Token& t = Peek();
        c_.Unexpected(t.line, Shown(t), expected);
    }

    // Statements.
    void Statement();
    void Create();
    void CreateTable();
    void CreateIndex();
    void CreateDomain();
    void AlterTable();
    void CommentOn();
    bool StatementStarts();
    void SkipStatement();
    void SkipRest();
    void SkipBody(bool block);
    void SkipCopy();

    // Tables.
    void TableElements(bool partition);
    void Element(bool partition);
    void TableConstraint();
    void Column();
    void DataType();
    void TypeArguments(const TypeSpelling* row);
    void ColumnAttributes(const std::string& column);
    void KeyList();
    std::vector<std::string> NameList();
    void References(const std::vector<std::string>& locals);
    void TableOptions();
    void SkipToElementEnd();

    Compilation& c_;
    AutoScanner scanner_;
    std::deque<Token> ahead_;
    size_t taken_ = 0;
};

void AutoReader::Statement() {
    const Token& t = Peek();
    if (t.kind == kEnd || t.kind == kHardEnd) {
        Take();
        return;
    }
    std::string word = PeekUpper();
    if (word == "CREATE") {
        Create();
    } else if (word == "ALTER" && PeekWord("TABLE", 1)) {
        AlterTable();
    } else if (word == "COMMENT" && PeekWord("ON", 1)) {
        CommentOn();
    } else if (word == "BEGIN") {
        // BEGIN; and BEGIN TRANSACTION; start transactions, anything else a block.
        const Token& next = Peek(1);
        bool transaction = IsBoundary(next) || PeekWord("TRANSACTION", 1) || PeekWord("WORK", 1) ||
                           PeekWord("TRAN", 1) || PeekWord("DEFERRED", 1) ||
                           PeekWord("IMMEDIATE", 1) || PeekWord("EXCLUSIVE", 1);
        transaction ? SkipStatement() : SkipBody(true);
    } else if (word == "DECLARE") {
        SkipBody(true);
    } else if (word == "COPY") {
        SkipCopy();
    } else {
        SkipStatement();
    }
}

void AutoReader::Create() {
    Take();
    for (;;) {
        std::string word = PeekUpper();
        if (word == "OR" || word == "GLOBAL" || word == "LOCAL" || word == "TEMPORARY" ||
            word == "TEMP" || word == "UNLOGGED" || word == "EDITIONABLE" ||
            word == "NONEDITIONABLE" || word == "REPLACE" || word == "NOFORCE" || word == "FORCE" ||
            word == "SECURE") {
            Take();
        } else if (word == "ALTER" && !PeekWord("TABLE", 1)) {
            Take();  // CREATE OR ALTER
        } else if ((word == "DEFINER" || word == "ALGORITHM") && PeekPunct('=', 1)) {
            Take(), Take();
            if (IsName(Peek())) Take();
            if (PeekPunct('@') && IsName(Peek(1))) Take(), Take();
        } else {
            break;
        }
    }
    std::string kind = PeekUpper();
    if (kind == "TABLE") {
        CreateTable();
    } else if (kind == "UNIQUE" || kind == "INDEX" || kind == "CLUSTERED" ||
               kind == "NONCLUSTERED" || kind == "FULLTEXT" || kind == "SPATIAL" ||
               kind == "BITMAP") {
        CreateIndex();
    } else if (kind == "DOMAIN") {
        CreateDomain();
    } else if (kind == "PROCEDURE" || kind == "PROC" || kind == "FUNCTION" || kind == "TRIGGER" ||
               kind == "PACKAGE" || kind == "EVENT" || (kind == "TYPE" && PeekWord("BODY", 1))) {
        SkipBody(false);
    } else {
        SkipStatement();
    }
}

void AutoReader::CreateTable() {
    Take();
    bool ifNotExists = TakeIfNotExists();
    std::optional<std::string> name = QualifiedName();
    if (!name) {
        Unexpected("a table name");
        SkipStatement();
        return;
    }
    // A table that exists already is left as it is.
    if (ifNotExists && c_.model().FindTable(*name)) {
        SkipStatement();
        return;
    }
    if (PeekPunct('(')) {
        c_.BeginTable(*name);
        Take();
        TableElements(false);
    } else if (PeekWord("PARTITION") && PeekWord("OF", 1)) {
        Take(), Take();
        std::optional<std::string> parent = QualifiedName();
        c_.BeginTable(*name);
        if (parent) c_.CopyColumns(*parent, true, true);
        if (TakePunct('(')) TableElements(true);
    } else if (PeekWord("LIKE")) {
        Take();
        std::optional<std::string> parent = QualifiedName();
        c_.BeginTable(*name);
        if (parent) c_.CopyColumns(*parent, true, false);
    } else {
        // CREATE TABLE ... AS SELECT and the like: no columns to read.
        SkipStatement();
        return;
    }
    TableOptions();
    c_.EndTable();
}

void AutoReader::TableElements(bool partition) {
    if (TakePunct(')')) return;
    for (;;) {
        Element(partition);
        if (TakePunct(',')) {
            if (TakePunct(')')) return;  // SQL Server accepts a comma before the parenthesis
            continue;
        }
        if (TakePunct(')')) return;
        if (IsBoundary(Peek())) {
            Unexpected("')'");
            return;
        }
        Unexpected("',' or ')'");
        SkipToElementEnd();
        if (IsBoundary(Peek())) return;
    }
}

void AutoReader::Element(bool partition) {
    std::string word = PeekUpper();
    if (word == "CONSTRAINT") {
        Take();
        if (IsName(Peek()) && !PeekPunct('(', 1)) Take();
        TableConstraint();
        return;
    }
    // KEY, INDEX, FULLTEXT and SPATIAL start an index only before a list, KEY, INDEX or an
    // index name and its list: "fulltext tsvector" is a column.
    bool index =
        IsIndexWord(word) && (PeekPunct('(', 1) || PeekWord("KEY", 1) || PeekWord("INDEX", 1) ||
                              (IsName(Peek(1)) && PeekPunct('(', 2)));
    if (IsConstraintWord(word) || index) {
        TableConstraint();
        return;
    }
    if (word == "LIKE" && IsName(Peek(1))) {
        Take();
        std::optional<std::string> parent = QualifiedName();
        bool keys = false;
        while (!PeekPunct(',') && !PeekPunct(')') && !IsBoundary(Peek())) {
            if (PeekWord("INCLUDING") && (PeekWord("ALL", 1) || PeekWord("INDEXES", 1)))
                keys = true;
            Take();
        }
        if (parent) c_.CopyColumns(*parent, keys, false);
        return;
    }
    if (word == "PERIOD" && PeekWord("FOR", 1)) {
        SkipToElementEnd();
        return;
    }
    if (!IsName(Peek())) {
        Unexpected("a column name");
        SkipToElementEnd();
        return;
    }
    // A partition restates its parent's columns only to give them options.
    if (partition) {
        SkipToElementEnd();
        return;
    }
    Column();
}

void AutoReader::TableConstraint() {
    std::string word = PeekUpper();
    if (word == "PRIMARY" || word == "UNIQUE" || IsIndexWord(word)) {
        Take();
        // KEY, an index name, CLUSTERED, USING BTREE: words before the column list.
        while (!PeekPunct('(') && !PeekPunct(',') && !PeekPunct(')') && !IsBoundary(Peek())) Take();
        KeyList();
    } else if (word == "FOREIGN") {
        Take();
        TakeWord("KEY");
        if (IsName(Peek())) Take();  // MySQL's index name
        std::vector<std::string> locals = NameList();
        if (PeekWord("REFERENCES")) {
            References(locals);
        } else {
            Unexpected("REFERENCES");
        }
    }
    SkipToElementEnd();
}

void AutoReader::Column() {
    std::string name = NameText(Take());
    c_.BeginColumn(name);
    c_.LabelColumn(name);
    DataType();
    ColumnAttributes(name);
}

// Words that start a column's attributes, so that a column without a type (SQLite) is read.
bool IsAttributeWord(std::string_view upper) {
    return upper == "PRIMARY" || upper == "NOT" || upper == "NULL" || upper == "DEFAULT" ||
           upper == "UNIQUE" || upper == "REFERENCES" || upper == "CHECK" ||
           upper == "CONSTRAINT" || upper == "COLLATE" || upper == "GENERATED" || upper == "AS" ||
           upper == "AUTOINCREMENT" || upper == "AUTO_INCREMENT";
}

void AutoReader::DataType() {
    if (!IsName(Peek())) return;
    std::string written = NameText(Peek());
    std::string spelled = ToUpperAscii(written);
    if (Peek().kind == kWord && IsAttributeWord(spelled)) return;
    Take();
    if (spelled == "COMPUTED") {  // COMPUTED [BY] (expression): typed by the columns it uses
        TakeWord("BY");
        if (!TakePunct('(')) return;
        for (int depth = 1; depth > 0 && !IsBoundary(Peek());) {
            Token t = Take();
            if (t.kind == kPunct) depth += t.text[0] == '(' ? 1 : t.text[0] == ')' ? -1 : 0;
            if (IsName(t)) c_.ComputedIdent(NameText(t));
        }
        c_.EndComputed();
        return;
    }
    while (PeekPunct('.') && IsName(Peek(1))) {  // a type of a schema
        Take();
        written = NameText(Take());
        spelled = ToUpperAscii(written);
    }
    while (Peek().kind == kWord && TypeContinues(spelled)) {
        std::string longer = spelled + ' ' + ToUpperAscii(Peek().text);
        if (!LookupType(longer) && !TypeContinues(longer)) break;
        Take();
        spelled = longer;
    }
    // A domain of the script wins over a built-in spelling (PostgreSQL's sakila has "year").
    const TypeSpelling* row =
        c_.model().domains.FindColumn(spelled) ? nullptr : LookupType(spelled);
    if (row) {
        c_.SetDataType(std::string(row->canonical).c_str());
    } else {
        c_.SetIdentType(written);  // a domain's type, or the name as written
    }
    TypeArguments(row);
    if (PeekWord("WITH") || PeekWord("WITHOUT")) {  // TIMESTAMP(3) WITH TIME ZONE
        if (PeekWord("TIME", 1) || PeekWord("LOCAL", 1)) {
            Take();
            while (PeekWord("LOCAL") || PeekWord("TIME") || PeekWord("ZONE")) Take();
        }
    }
    if (spelled == "BLOB" && TakeWord("SUB_TYPE")) {
        Token sub = Take();
        if (sub.text == "1" || com::EqualsIgnoreCase(sub.text, "TEXT")) c_.SetDataType("TEXT");
    }
}

void AutoReader::TypeArguments(const TypeSpelling* row) {
    if (!PeekPunct('(')) {
        if (row && row->defaultLength) c_.SetSize(row->defaultLength);
        return;
    }
    Take();
    std::vector<int32_t> numbers;
    size_t longest = 0;
    bool isEnum = row && row->spelling == "ENUM";
    for (int depth = 1; depth > 0 && !IsBoundary(Peek());) {
        Token t = Take();
        if (t.kind == kPunct) depth += t.text[0] == '(' ? 1 : t.text[0] == ')' ? -1 : 0;
        if (depth != 1) continue;
        if (t.kind == kInteger) {
            uint32_t n = 0;  // wraps like the classic reader's numbers
            for (char ch : t.text) n = n * 10 + static_cast<uint32_t>(ch - '0');
            numbers.push_back(static_cast<int32_t>(n));
        } else if (t.kind == kString && isEnum) {
            std::string item = StringText(t);
            longest = std::max(longest, item.size());
            c_.AddLookupItem(item);
        } else if (t.kind == kPunct && t.text[0] == '*') {
            numbers.push_back(0);  // NUMBER(*, 0)
        } else if (row && com::EqualsIgnoreCase(t.text, "MAX")) {
            // SQL Server's unbounded VARCHAR(MAX) and VARBINARY(MAX) are text and blobs.
            if (row->canonical == "VARCHAR") c_.SetDataType("TEXT");
            if (row->canonical == "VARBINARY") c_.SetDataType("BLOB");
        }
    }
    if (isEnum) {
        c_.SetSize(static_cast<int32_t>(longest));
        return;
    }
    if (numbers.empty()) return;
    if (!row || row->args == TypeArgs::kSize) {
        c_.SetSize(numbers[0]);
    } else if (row->args == TypeArgs::kPrecision) {
        c_.SetPrecision(numbers[0]);
    } else {
        return;
    }
    if (numbers.size() > 1) c_.SetScale(numbers[1]);
}

void AutoReader::ColumnAttributes(const std::string& column) {
    int depth = 0;
    while (!IsBoundary(Peek())) {
        const Token& t = Peek();
        if (t.kind == kPunct) {
            char ch = t.text[0];
            if (depth == 0 && (ch == ',' || ch == ')')) return;
            depth += ch == '(' ? 1 : ch == ')' ? -1 : 0;
            Take();
            continue;
        }
        if (depth == 0 && t.kind == kWord) {
            std::string word = ToUpperAscii(t.text);
            if (word == "PRIMARY" && PeekWord("KEY", 1)) {
                Take(), Take();
                c_.MarkColumnKey();
                continue;
            }
            if (word == "UNIQUE") {
                Take();
                c_.MarkColumnKey();
                continue;
            }
            if (word == "REFERENCES") {
                References({column});
                continue;
            }
            if (word == "COMMENT" && Peek(1).kind == kString) {
                Take();
                c_.LabelColumn(StringText(Take()));
                continue;
            }
        }
        Take();
    }
}

void AutoReader::KeyList() {
    if (!TakePunct('(')) {
        Unexpected("'('");
        return;
    }
    while (!IsBoundary(Peek())) {
        // One item: a column, perhaps with a prefix length, an order or a collation; or an
        // expression, which names no key column.
        std::optional<std::string> name;
        if (IsName(Peek())) name = NameText(Take());
        int depth = 0;
        while (!IsBoundary(Peek())) {
            const Token& t = Peek();
            if (t.kind == kPunct && depth == 0 && (t.text[0] == ',' || t.text[0] == ')')) break;
            if (t.kind == kPunct && t.text[0] == '(') {
                if (!(Peek(1).kind == kInteger && PeekPunct(')', 2))) name.reset();
                ++depth;
            } else if (t.kind == kPunct && t.text[0] == ')') {
                --depth;
            } else if (depth == 0 && t.kind == kPunct && t.text[0] != ':') {
                name.reset();  // an operator: an expression
            }
            Take();
        }
        if (name) c_.MarkKeyColumn(*name);
        if (TakePunct(')')) return;
        TakePunct(',');
    }
}

std::vector<std::string> AutoReader::NameList() {
    std::vector<std::string> names;
    if (!TakePunct('(')) return names;
    while (!IsBoundary(Peek()) && !TakePunct(')')) {
        Token t = Take();
        if (IsName(t)) names.push_back(NameText(t));
    }
    return names;
}

void AutoReader::References(const std::vector<std::string>& locals) {
    Take();  // REFERENCES
    std::optional<std::string> master = QualifiedName();
    if (!master) {
        Unexpected("a table name");
        return;
    }
    std::vector<std::string> masters = NameList();
    c_.StartForeignKey();
    for (const std::string& local : locals) c_.AddPendingLocal(local);
    c_.StartReference(*master);
    for (const std::string& name : masters) c_.AddPendingMaster(name);
    c_.ResolveMasterKey();
    c_.EndForeignKey();
}

void AutoReader::TableOptions() {
    while (!IsBoundary(Peek())) {
        if (StatementStarts()) return;
        if (TakeWord("INHERITS")) {
            std::vector<std::string> parents = NameList();
            c_.InheritColumns(parents);
        } else if (PeekWord("COMMENT")) {
            Take();
            TakePunct('=');
            if (Peek().kind == kString) c_.LabelTable(StringText(Take()));
        } else {
            Take();
        }
    }
    Take();
}

void AutoReader::SkipToElementEnd() {
    int depth = 0;
    while (!IsBoundary(Peek())) {
        const Token& t = Peek();
        if (t.kind == kPunct) {
            char ch = t.text[0];
            if (depth == 0 && (ch == ',' || ch == ')')) return;
            depth += ch == '(' ? 1 : ch == ')' ? -1 : 0;
        }
        Take();
    }
}

void AutoReader::CreateIndex() {
    while (!PeekWord("INDEX") && Peek().kind == kWord) Take();
    if (!TakeWord("INDEX")) {
        SkipStatement();
        return;
    }
    TakeWord("CONCURRENTLY");
    TakeIfNotExists();
    if (!PeekWord("ON")) QualifiedName();
    if (!TakeWord("ON")) {
        SkipStatement();
        return;
    }
    TakeWord("ONLY");
    std::optional<std::string> table = QualifiedName();
    // An index of something that is no table here (a view, say) is no concern of the model.
    if (!table || !c_.SelectTable(*table)) {
        SkipStatement();
        return;
    }
    while (!PeekPunct('(') && Peek().kind == kWord) Take();  // USING btree
    KeyList();
    c_.EndIndex();
    SkipRest();
}

void AutoReader::CreateDomain() {
    Take();
    std::optional<std::string> name = QualifiedName();
    if (!name) {
        SkipStatement();
        return;
    }
    c_.BeginDomain(*name);
    TakeWord("AS");
    DataType();
    c_.EndStatement();
    SkipRest();
}

void AutoReader::AlterTable() {
    Take(), Take();
    TakeIfExists();
    TakeWord("ONLY");
    std::optional<std::string> name = QualifiedName();
    if (!name || !c_.SelectTable(*name)) {
        SkipStatement();
        return;
    }
    for (;;) {
        if (TakeWord("WITH") && !TakeWord("CHECK")) TakeWord("NOCHECK");
        if (TakeWord("ADD")) {
            TakeWord("COLUMN");
            TakeIfNotExists();
            std::string word = PeekUpper();
            if (word == "CONSTRAINT" || IsConstraintWord(word) || IsIndexWord(word)) {
                Element(false);
            } else if (TakePunct('(')) {
                TableElements(false);
            } else if (IsName(Peek())) {
                Column();
            }
        }
        SkipToElementEnd();
        if (!TakePunct(',')) break;
    }
    c_.EndTable();
    SkipRest();
}

void AutoReader::CommentOn() {
    Take(), Take();
    std::string kind = PeekUpper();
    if (kind != "TABLE" && kind != "COLUMN") {
        SkipStatement();
        return;
    }
    Take();
    std::vector<std::string> parts;
    while (IsName(Peek())) {
        parts.push_back(NameText(Take()));
        if (!TakePunct('.')) break;
    }
    if (TakeWord("IS") && Peek().kind == kString && !parts.empty()) {
        std::string text = StringText(Take());
        if (kind == "TABLE") {
            if (c_.SelectTable(parts.back())) c_.LabelTable(text);
        } else if (parts.size() >= 2 && c_.SelectTable(parts[parts.size() - 2]) &&
                   c_.SelectColumn(parts.back())) {
            c_.LabelColumn(text);
        }
        c_.EndTable();
    }
    SkipStatement();
}

// A statement that starts without a boundary after the last (scripts that separate
// statements only by GO lines): CREATE, or ALTER TABLE.
bool AutoReader::StatementStarts() {
    return PeekWord("CREATE") || (PeekWord("ALTER") && PeekWord("TABLE", 1));
}

void AutoReader::SkipStatement() {
    while (!IsBoundary(Peek())) Take();
    Take();
}

void AutoReader::SkipRest() {
    while (!IsBoundary(Peek())) {
        if (StatementStarts()) return;
        Take();
    }
    Take();
}

// COPY ... FROM stdin is followed by its data rows, which are no statements.
void AutoReader::SkipCopy() {
    bool stdinData = false;
    while (!IsBoundary(Peek())) {
        if (PeekWord("FROM") && PeekWord("STDIN", 1)) stdinData = true;
        Take();
    }
    bool boundary = Peek().kind != kEof;
    Take();
    if (stdinData && boundary) scanner_.SkipCopyData();
}

// A routine, trigger, package or block: ";" inside its body does not end it. The body is
// open after AS or IS (unless a quoted body follows, as in PostgreSQL), after DECLARE or
// inside BEGIN ... END; it is closed by the END that returns to the outermost level. A "/"
// line, a GO line or a custom boundary always ends it.
void AutoReader::SkipBody(bool block) {
    int depth = 0;
    bool body = block, closed = false;
    for (;;) {
        const Token& t = Peek();
        if (t.kind == kEof) return;
        if (t.kind == kHardEnd) {
            Take();
            return;
        }
        if (t.kind == kEnd) {
            Take();
            if (depth == 0 && (!body || closed)) return;
            continue;
        }
        Token taken = Take();
        if (taken.kind != kWord) continue;
        std::string word = ToUpperAscii(taken.text);
        if (depth == 0 && !body && (word == "AS" || word == "IS") && Peek().kind != kString) {
            body = true;
        } else if (word == "DECLARE") {
            body = true;
        } else if (word == "BEGIN") {
            ++depth;
            body = true;
        } else if (word == "CASE" && depth > 0) {
            ++depth;
        } else if (word == "END") {
            if (PeekWord("IF") || PeekWord("LOOP") || PeekWord("WHILE") || PeekWord("REPEAT") ||
                PeekWord("FOR")) {
                Take();
                continue;
            }
            TakeWord("CASE");
            if (depth > 0) --depth;
            if (depth == 0) closed = true;
        }
    }
}

// Appends `code` as UTF-8.
void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::optional<std::string> FromUtf16(std::string_view raw, bool bigEndian, const char** why) {
    if (raw.size() % 2 != 0) {
        *why = "UTF-16 text of an odd number of bytes";
        return std::nullopt;
    }
    auto unit = [&](size_t i) {
        auto hi = static_cast<unsigned char>(raw[bigEndian ? i : i + 1]);
        auto lo = static_cast<unsigned char>(raw[bigEndian ? i + 1 : i]);
        return static_cast<uint32_t>(hi << 8 | lo);
    };
    std::string out;
    out.reserve(raw.size() / 2);
    for (size_t i = 0; i < raw.size(); i += 2) {
        uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00) {
            uint32_t low = i + 2 < raw.size() ? unit(i + 2) : 0;
            if (low < 0xDC00 || low >= 0xE000) {
                *why = "UTF-16 text with a broken surrogate pair";
                return std::nullopt;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (code >= 0xDC00 && code < 0xE000) {
            *why = "UTF-16 text with a broken surrogate pair";
            return std::nullopt;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace

std::optional<std::string> DecodeScriptText(std::string_view raw, const char** why) {
    std::optional<std::string> text;
    auto byte = [&](size_t i) { return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 256; };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        text = std::string(raw.substr(3));
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
        text = FromUtf16(raw.substr(2), false, why);
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        text = FromUtf16(raw.substr(2), true, why);
    } else if (raw.size() >= 2 && byte(0) != 0 && byte(0) < 0x80 && byte(1) == 0) {
        text = FromUtf16(raw, false, why);  // ASCII-range text without a mark
    } else if (raw.size() >= 2 && byte(0) == 0 && byte(1) != 0 && byte(1) < 0x80) {
        text = FromUtf16(raw, true, why);
    } else {
        text = std::string(raw);
    }
    if (!text) return text;
    // A carriage return before a line feed is dropped, as text mode reads it.
    std::string& s = *text;
    size_t out = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        s[out++] = s[i];
    }
    s.resize(out);
    return text;
}

void RunAutoReader(Compilation& compilation) {
    const char* why = "";
    std::optional<std::string> text = DecodeScriptText(compilation.ReadWholeInput(), &why);
    if (!text) {
        compilation.RefuseInput(why);
        return;
    }
    AutoReader reader(compilation, *text);
    reader.Run();
}

}  // namespace morva::sql

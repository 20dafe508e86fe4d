#pragma once
// One compilation of an SQL script (or one catalogue read): the model being built, the
// scanner's line counter and mode, the parser's current table and column, the message
// counters, and the builder functions that the grammar's actions call.

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sqlcompiler/model.h"

namespace morva::sql {

/// Scanner modes: bit 0 statement, bit 1 bracket, bit 2 names.
enum LexMode : int { kModeSkipping = 0, kModeStatement = 1, kModeCheck = 2, kModeComputed = 6 };

inline constexpr int32_t kParseStackLimit = 4096;

/// Which reader reads a compilation's script: the classic grammar, or the tolerant reader of
/// the common dialects.
enum class Dialect { kClassic, kAuto };

class Compilation {
  public:
    /// Receives every message line with the line counter of that moment.
    using Reporter = std::function<void(int32_t line, const std::string& text)>;

    void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

    /// Forgets the previous model and state and starts afresh for `scriptName`.
    void ResetCompilation(std::string scriptName);
    /// Opens the script as the input, reporting the compiling line, or the fatal line when it
    /// cannot be read. False in that case.
    bool OpenScript();
    /// Closes the script and reports the summary. True when the model may be written (no fatal
    /// error).
    bool CloseScript();
    /// Makes `text` the input, as if it were the script's contents; it must outlive the read.
    void OpenText(std::string_view text);
    /// Forgets the text input.
    void CloseText();

    /// Formats `format` (with %s and %d) and hands the text to the reporter.
    void ReportLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    /// Shows the "Insufficent memory" box and counts a fatal error.
    void ReportMemoryError();

    Model& model() { return model_; }
    const Model& model() const { return model_; }
    const std::string& scriptName() const { return scriptName_; }
    int32_t errors() const { return errors_; }
    int32_t warnings() const { return warnings_; }
    int32_t fatals() const { return fatals_; }

    /// The reader that reads the script (script_reader.h); a setting of the caller, kept across
    /// resets.
    Dialect dialect = Dialect::kClassic;

    // Scanner state.
    int32_t line = 1;
    int mode = kModeSkipping;
    int32_t depth = 0;
    /// Entries of the parser stack; tests lower it to reach the limit with small scripts.
    int32_t parseStackLimit = kParseStackLimit;

    /// Reads up to `max` bytes of the script into `buffer`, a carriage return and line feed
    /// pair becoming one line feed. Fewer than `max` only at the end of the input or on a read
    /// error; 0 only there.
    size_t ReadInput(char* buffer, size_t max);
    /// Reads the rest of the input as it stands (no line-end conversion).
    std::string ReadWholeInput();
    /// Keeps a token text alive until the next reset; the parser's values point at it.
    const std::string* Intern(std::string_view text);

    // Comments: which record a comment belongs to is decided when it opens.
    void OpenComment();
    void CommentText(std::string_view text);
    void CommentNewline();
    void CloseComment();

    // Builder functions called by the grammar's actions.
    void BeginTable(const std::string& name);
    void EndTable();
    void BeginColumn(const std::string& name);
    void BeginDomain(const std::string& name);
    void EndStatement();
    void SetDataType(const char* name);
    void SetIdentType(const std::string& name);
    void SetSize(int32_t length);
    void SetScale(int32_t scale);
    void SetPrecision(int32_t precision);
    void StartComputed();
    void ComputedIdent(const std::string& name);
    void EndComputed();
    void StartCheck();
    void EndCheck();
    void MarkColumnKey();
    void MarkKeyColumn(const std::string& name);
    void StartReference(const std::string& masterTable);
    void AddPendingMaster(const std::string& name);
    void EndColumnReference();
    void StartForeignKey();
    void AddPendingLocal(const std::string& name);
    void EndForeignKey();
    void FindCurrentTable(const std::string& name);
    void EndIndex();
    void SyntaxError();
    void StackOverflow();

    // Builder functions of the tolerant reader.
    /// Makes the table named `name` current without a message; false when there is none.
    bool SelectTable(std::string_view name);
    /// Makes the current table's column named `name` current; false when there is none.
    bool SelectColumn(std::string_view name);
    /// Labels the current table with the first line of `text` (a table comment).
    void LabelTable(std::string_view text);
    /// Labels the current column with the first line of `text`; further lines become its
    /// lookup items, as in a same-line comment.
    void LabelColumn(std::string_view text);
    /// Appends one lookup item to the current column.
    void AddLookupItem(const std::string& item);
    /// Puts the columns of the tables `parents` before the current table's own columns, as
    /// inheritance does: an own column of an inherited name takes the inherited place. The
    /// inherited columns are neither keys nor references.
    void InheritColumns(const std::vector<std::string>& parents);
    /// Appends copies of the columns of table `source` to the current table, with their key
    /// marks when `keys` and with the source's references when `references`.
    void CopyColumns(std::string_view source, bool keys, bool references);
    /// A reference written without master columns refers to the master's key columns.
    void ResolveMasterKey();
    /// Reports a statement that cannot be read at `token` (as written), and what was expected.
    void Unexpected(int32_t atLine, std::string_view token, std::string_view expected);
    /// Reports input that cannot be read as text at all, and why.
    void RefuseInput(const char* why);
    /// Marks as "Master" every table that a reference names, also those defined after it.
    void MarkMasters();

    /// The catalogue form of a reference: the pair joins `table`'s group for `masterTable`
    /// when one exists, else starts a new group.
    void AddCatalogueReference(TableDef& table, const std::string& masterTable,
                               const std::string& masterColumn, const std::string& localColumn);
    /// Appends a table read from a catalogue; null when it cannot be made.
    TableDef* AppendTable(const std::string& name, const std::string& label);

  private:
    enum class CommentOwner { None, Column, Table };

    /// Empties the read-ahead before a new input.
    void StartInput();
    /// Makes sure the read-ahead holds a byte; false at the end of the input.
    bool FillRaw();
    /// Appends a finished group to `table`, making it "Sub" and its master "Master".
    void FinishReference(TableDef& table, RefGroup group);
    void ApplyComment();

    Model model_;
    std::vector<std::unique_ptr<ColumnDef>> orphanColumns_;  // added to an unknown table
    std::deque<std::string> texts_;
    Reporter reporter_;
    std::string scriptName_;
    int32_t errors_ = 0;
    int32_t warnings_ = 0;
    int32_t fatals_ = 0;

    TableDef* currentTable_ = nullptr;
    int32_t tableLine_ = -1;
    ColumnDef* currentColumn_ = nullptr;
    int32_t columnLine_ = -1;
    std::string pendingMaster_;
    std::vector<std::string> pendingMasters_;
    std::vector<std::string> pendingLocals_;

    CommentOwner commentOwner_ = CommentOwner::None;
    std::vector<std::string> commentLines_;

    FILE* input_ = nullptr;
    std::string_view textInput_;
    std::array<char, 16384> raw_;  // read-ahead of the input, raw_[rawBegin_, rawEnd_)
    size_t rawBegin_ = 0;
    size_t rawEnd_ = 0;
};

}  // namespace morva::sql

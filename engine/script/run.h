#pragma once
// The run: walks a compiled program over the store and produces the generated text, into the
// output files the script names and otherwise into the run's log text.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/script/diagnostics.h"
#include "engine/script/evaluate.h"
#include "engine/script/name_style.h"
#include "engine/script/output_files.h"
#include "engine/script/output_text.h"
#include "engine/script/program.h"
#include "engine/script/type_maps.h"
#include "engine/store/store.h"

namespace morva::tpx {

/// How output files end their lines.
enum class LineEnd { CarriageReturnLineFeed, LineFeed };

class Runner final : public TokenSource {
  public:
    /// The run only reads `program`: several runners may run one program at once.
    /// Output files go through `files`, or through files written to disk in the current
    /// folder when it is null.
    Runner(const Program& program, EngineControl& control, const CDatabase& database,
           LineEnd lineEnd = LineEnd::CarriageReturnLineFeed, OutputFiles* files = nullptr);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    /// Runs the program from its first word and returns the text written while no output file
    /// was open. A run-time error (CFatalError, CBugError) leaves at once; the open output file
    /// then keeps what it held before the run.
    std::string Run();

    /// The value of tag `code`, setting the padding width it calls for. The view lasts until
    /// the next value.
    std::string_view GetToken(int32_t code) override;
    bool GetNumber(int32_t code, int32_t& value) override;

  private:
    enum class Align { Normal, Left, Right, Center };
    /// A place in one of the run's texts: byte `at` of the log text (text 0) or of the text of
    /// output file number `text`, counting the bytes written out already. A mark follows the
    /// bytes it was taken before: it moves with its line to another text and past carriage
    /// returns put in before line feeds, and back when text before it is deleted. A line end
    /// so counts as one step whatever its bytes, and a mark never points into other text.
    struct Mark {
        size_t at = 0;
        uint32_t text = 0;
    };
    /// The separator marks of one kind since it was last settled: how many starts and ends
    /// were taken, and the last of each (the only ones a settling uses).
    struct SeparatorMarks {
        size_t starts = 0, ends = 0;
        Mark start, end;
    };
    /// What the run does at a word, worked out once per run.
    enum class Step : uint8_t {
        End,
        LineEnd,
        Skip,  // nothing more
        // From here on the steps are tags: the line they are on had a tag.
        LineEndAfterTag,
        Nothing,  // a tag without effect of its own
        Number,
        Text,
        Variable,
        If,
        Else,
        Expr,
        Align,
        Mode,  // a write mode: letter case, escaping or reserved words
        SeparatorStart,
        SeparatorEnd,
        TablesStart,
        TablesEnd,
        ColumnsStart,
        ColumnsEnd,
        RefTablesStart,
        RefTablesEnd,
        RefColumnsStart,
        RefColumnsEnd,
        ItemsStart,
        ItemsEnd,
        CreateStart,
        CreateEnd,
        Close,
        CloseAsDfm,
        Broken,  // an operation whose operand is missing or out of range
    };
    static constexpr int8_t kNoAlign = -1;
    /// A word of the program as the run sees it: the plain characters from `textBegin` to
    /// `textEnd` go across, a value step first takes alignment `align` when there is one,
    /// then `step` happens with `arg` (tag code, operand, alignment or separator kind), and
    /// the run goes on at `next` unless the step jumps. A word can so stand for several:
    /// characters, tags that only set the alignment or have no effect, and the step after.
    struct Word {
        uint32_t textBegin;
        uint32_t textEnd;
        uint32_t next;
        Step step;
        int8_t align;
        int32_t arg;
    };

    /// Fills characters_ and words_ from the program.
    void DecodeWords();
    /// The step of operation `code` at `address`.
    Word DecodeOperation(int32_t code, uint32_t address) const;
    void Execute();
    // The steps that steer the run return the word at which it goes on; `next` is the word
    // after the step.
    /// Condition `index`: its then- or else-address.
    uint32_t If(int32_t index);
    /// `address` checked as a place to go on.
    uint32_t Target(int32_t address) const;
    /// Appends a value to the current line (or to the output file name being collected),
    /// padded as the alignment says.
    void AppendValue(std::string_view value) {
        if (alignment_ == Align::Normal && !collecting_) return out_->Append(value);
        AppendValueElsewhere(value);
    }
    /// AppendValue into the output file's name or padded.
    void AppendValueElsewhere(std::string_view value);
    /// Sets the write mode that tag `code` names.
    void SetWriteMode(int32_t code);
    /// `value` of tag `code` as the write modes say: a name in its letter case and safe from
    /// reserved words, any text escaped. Views `value` or one of the run's texts.
    std::string_view Written(int32_t code, std::string_view value);
    /// The type of column `c` in the language of type tag `code`.
    std::string_view LanguageTypeOf(const CColumn& c, int32_t code);
    /// The padding width of type tag `code`: its longest type over the store's columns.
    int32_t TypeWidth(int32_t code);
    /// Appends `value` to `out`, padded as the alignment and width say.
    void Pad(std::string_view value, OutputText& out) const;
    void EndLine();
    /// Ends the current line of `out`, which holds more than blanks and tags.
    void WriteLineEnd(OutputText& out);
    /// Deletes the last separator copies of the loops that ended on this line.
    void SettleEndedLoops();
    void Settle(int kind);
    /// Deletes the text from `start` to `end` when both lie in the same text still held in
    /// memory; the marks after it move back.
    void EraseMarked(Mark start, Mark end);
    /// The output position: where the current line starts, plus its length when it holds more
    /// than blanks.
    Mark OutputPosition() const;
    /// Where the current line starts.
    Mark LineStart() const;
    /// Sets every mark in text `from.text` at or after `from.at` to the same distance after
    /// `to`.
    void MoveMarks(Mark from, Mark to);
    /// Makes `text` (the output file's or the log's) the text being written; the current
    /// line so far moves along, with its marks.
    void SetOutput(OutputText& text);

    /// Starts fetching part of the table after the current one from memory.
    void FetchAhead(int32_t column) const;
    uint32_t TablesEnd(uint32_t next);
    uint32_t ColumnsEnd(uint32_t next);
    uint32_t RefTablesStart(int32_t skip, uint32_t next);
    uint32_t RefTablesEnd(uint32_t next);
    uint32_t RefColumnsStart(int32_t skip, uint32_t next);
    uint32_t RefColumnsEnd(uint32_t next);
    uint32_t LookupItemsStart(int32_t skip, uint32_t next);
    uint32_t LookupItemsEnd(uint32_t next);
    void CreateEnd();
    /// Writes out the start of a long output file text that no separator can change any more.
    void FlushFileText();
    void CloseFile();
    void AbandonFile();

    const CTable* Table() const { return table_; }
    /// The current column: the one at columnIndex_ of the current table, or null.
    const CColumn* Column() const { return column_; }
    /// Sets column_ after the table or the column index changed.
    void FindColumn();
    std::string_view StringValue(int32_t code);
    bool NumberValue(int32_t code, int32_t& value);
    /// `n` in decimal, in digits_.
    std::string_view Digits(int32_t n);
    /// `text` upper-cased, in upper_ or scratch_; as it stands when `isUpper` says it is
    /// upper case already.
    std::string_view Upper(const StoreText& text, bool isUpper = false);
    /// Whether a column of the name of `column` (ignoring case) was written since the table
    /// loop began.
    bool Processed(const CColumn& column);
    void ClearProcessed();

    std::unique_ptr<OutputFiles> ownFiles_;
    OutputFiles& files_;
    const Program& program_;
    EngineControl& control_;
    const CDatabase& db_;
    LineEnd lineEnd_;
    VarValues values_;  // the script's variables during this run
    Evaluator evaluator_;
    // The program's plain characters (other words as NUL, and NULs after the last so that
    // short runs can be copied in fixed-size pieces) and its words as decoded; one more word
    // than the program ends the run.
    std::string characters_;
    std::vector<Word> words_;
    // Each condition as a numeric tag compared with a number with both its addresses,
    // where it has that form.
    struct QuickCondition {
        TagAgainstNumber test;
        uint32_t thenAddress, elseAddress;
    };
    std::vector<std::optional<QuickCondition>> quickConditions_;

    int32_t tableIndex_ = 0;
    const CTable* table_ = nullptr;
    int32_t columnIndex_ = 0;
    const CColumn* column_ = nullptr;
    int32_t refIndex_ = -1;
    const CRefTable* ref_ = nullptr;
    int32_t pairIndex_ = 0;
    int32_t itemIndex_ = 0;
    // Where each loop's body begins.
    uint32_t tablesStart_ = 0, columnsStart_ = 0, refTablesStart_ = 0, refColumnsStart_ = 0,
             itemsStart_ = 0;
    Align alignment_ = Align::Normal;
    int32_t padWidth_ = 4;
    // The write modes; `styled_` tells whether any differs from how values are written at
    // the start of a run.
    LetterCase letterCase_ = LetterCase::AsIs;
    Escape escape_ = Escape::None;
    int8_t safeLanguage_ = -1;  // a Language, or -1 for names as they are
    bool styled_ = false;
    bool rawNames_ = false;  // while set, names come as stored instead of upper-cased
    std::string caseText_, safeText_, escapedText_, typeText_;
    int32_t typeWidths_[kTypeLanguages] = {-1, -1, -1, -1, -1, -1, -1};  // -1 until worked out
    bool lineHadTag_ = false;
    OutputText fileText_;
    OutputText logText_;
    bool file_ = false;  // whether an output file is open
    // The text being written (fileText_ while an output file is open, else logText_) and
    // where its current line begins; a line is written in place and dropped at its end when
    // it holds only blanks and tags.
    OutputText* out_ = &logText_;
    size_t lineStart_ = 0;
    size_t flushed_ = 0;       // bytes of the output file's text written out before fileText_
    uint32_t fileNumber_ = 0;  // counts the output files opened; names the open one in marks
    bool collecting_ = false;
    std::string outputName_;
    // Columns whose name was written, in order; their names enter processedNames_ only when a
    // script asks, so that writing names costs no look-up.
    std::vector<const CColumn*> processed_;
    size_t processedIndexed_ = 0;
    std::unordered_set<std::string_view, FoldedNameHash, FoldedNameEqual> processedNames_;
    std::string scratch_;
    char upper_[64] = {};
    char digits_[12] = {};
    int32_t loopEnded_ = 0;
    SeparatorMarks marks_[7];
};

}  // namespace morva::tpx

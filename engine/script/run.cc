#include "engine/script/run.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>

#include "component/text_util.h"
#include "component/utf8.h"
#include "engine/script/errors.h"
#include "engine/script/tags.h"
#include "engine/script/type_maps.h"
#include "engine/store/type_tables.h"

namespace morva::tpx {

namespace {

// loopEnded bits and the separator kind each one settles.
constexpr int32_t kEndedTables1 = 1, kEndedTables2 = 2, kEndedColumns = 4, kEndedRefs1 = 8,
                  kEndedRefs2 = 16, kEndedPairs = 32, kEndedItems = 128;
// Separator kinds, indexes into marks_: <EL>, <ELC>, <ELT>, <ELR>, <ELRC>, <ELRT>, <ELLI>.
enum Separator { kEl, kElc, kElt, kElr, kElrc, kElrt, kElli };

bool OnlyBlanks(std::string_view s) {
    for (char c : s) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

// Upper-cases the ASCII letters of eight bytes at once: a byte b is a lower-case letter when
// b + (0x80 - 'a') reaches 0x80 and b + (0x80 - 'z' - 1) does not, each sum taken on the
// byte's low seven bits, and the byte's own top bit clear.
void UpperEight(const char* from, char* to) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kLow7 = 0x7f * kOnes;
    uint64_t x = 0;
    std::memcpy(&x, from, 8);
    uint64_t low = x & kLow7;
    uint64_t atLeastA = low + (0x80 - 'a') * kOnes;
    uint64_t aboveZ = low + (0x80 - 'z' - 1) * kOnes;
    uint64_t lower = atLeastA & ~aboveZ & ~x & (0x80 * kOnes);
    x -= lower >> 2;  // 0x80 >> 2 is 0x20, the distance from a lower-case letter to its capital
    std::memcpy(to, &x, 8);
}

// Output file text beyond this size is written out at the next line end, as far as no
// separator copy that may still be deleted reaches back into it.
constexpr size_t kFlushSize = 256 * 1024;

}  // namespace

Runner::Runner(const Program& program, EngineControl& control, const CDatabase& database,
               LineEnd lineEnd, OutputFiles* files)
    : ownFiles_(files ? nullptr : std::make_unique<OutputFiles>()),
      files_(files ? *files : *ownFiles_),
      program_(program),
      control_(control),
      db_(database),
      lineEnd_(lineEnd),
      values_(program.vars.size()),
      evaluator_(values_, *this) {}

Runner::~Runner() {
    AbandonFile();
}

std::string Runner::Run() {
    DecodeWords();
    table_ = db_.TableAt(0);
    FindColumn();
    values_ = VarValues(program_.vars.size());
    SetWriteMode(tag::ASIS);
    SetWriteMode(tag::NOESC);
    SetWriteMode(tag::NOSAFE);
    std::fill(std::begin(typeWidths_), std::end(typeWidths_), -1);
    try {
        Execute();
    } catch (...) {
        AbandonFile();
        throw;
    }
    out_->Truncate(lineStart_);  // a last line without its line end is not written
    CloseFile();
    return std::string(logText_.view());
}

namespace {

// A word that the run copies as it stands: a character other than a line end.
bool Plain(int32_t word) {
    return word > 0 && word != '\n' && word != '\r';
}

// Why a broken operation stops the run.
constexpr const char* kBroken[] = {"Exe::Run(): Invalid program", "Exe::Run(): Invalid IF",
                                   "Exe::Run(): Invalid Expr"};
enum BrokenKind { kMissingOperand, kBadCondition, kBadBlock };

}  // namespace

void Runner::DecodeWords() {
    const std::vector<int32_t>& code = program_.code;
    const auto size = static_cast<uint32_t>(code.size());
    characters_.assign(size + OutputText::kReadAhead, '\0');
    words_.assign(size + 1, Word{size, size, size, Step::End, kNoAlign, 0});
    quickConditions_.clear();
    for (const IF& f : program_.conditions) {
        std::optional<TagAgainstNumber> test = AsTagAgainstNumber(f);
        if (test && f.thenAddress >= 0 && f.elseAddress >= 0) {
            quickConditions_.push_back(
                QuickCondition{*test, Target(f.thenAddress), Target(f.elseAddress)});
        } else {
            quickConditions_.emplace_back();
        }
    }
    // Backwards, so that a word can take over what the run does after it.
    for (uint32_t a = size; a-- > 0;) {
        int32_t word = code[a];
        const Word& after = words_[a + 1];
        bool afterHasText = after.textBegin != after.textEnd;
        Word& w = words_[a];
        if (Plain(word)) {
            characters_[a] = static_cast<char>(word);
            if (!afterHasText || after.textBegin == a + 1) {
                // The characters join the ones after them, or the step after them.
                w = after;
                w.textBegin = a;
                if (!afterHasText) w.textEnd = a + 1;
            } else {
                w = Word{a, a + 1, a + 1, Step::Skip, kNoAlign, 0};
            }
        } else if (word == '\n') {
            w = Word{a, a, a + 1, Step::LineEnd, kNoAlign, 0};
        } else if (word >= 0) {
            w = after;  // a word without effect
        } else {
            // The most negative word names no operation (its negation does not exist).
            w = DecodeOperation(word == std::numeric_limits<int32_t>::min() ? 0 : -word, a);
            if (w.step == Step::Nothing && after.step != Step::End) {
                // A tag without effect marks the line as one with a tag, which the step after
                // it does as well unless it is a line end or nothing.
                w = after;
                if (w.step == Step::LineEnd) w.step = Step::LineEndAfterTag;
                if (w.step == Step::Skip) w.step = Step::Nothing;
            } else if (w.step == Step::Align &&
                       (after.step == Step::Number || after.step == Step::Text)) {
                // An alignment goes with the value after it; a later one wins.
                int8_t align = static_cast<int8_t>(w.arg);
                w = after;
                if (w.align == kNoAlign) w.align = align;
            }
        }
    }
}

Runner::Word Runner::DecodeOperation(int32_t op, uint32_t address) const {
    const auto size = static_cast<uint32_t>(program_.code.size());
    Word w{address, address, address + 1, Step::Text, kNoAlign, op};
    auto simple = [&](Step step, int32_t arg = 0) {
        w.step = step;
        w.arg = arg;
        return w;
    };
    // An operation followed by an operand word; `count` bounds an operand that is an index
    // into a list of that many, kAnyOperand an operand of any value.
    constexpr size_t kAnyOperand = std::numeric_limits<size_t>::max();
    auto withOperand = [&](Step step, size_t count, BrokenKind broken) {
        if (address + 1 >= size) return simple(Step::Broken, kMissingOperand);
        int32_t operand = program_.code[address + 1];
        w.next = address + 2;
        if (count != kAnyOperand && (operand < 0 || static_cast<size_t>(operand) >= count))
            return simple(Step::Broken, broken);
        return simple(step, operand);
    };
    switch (op) {
        case tag::TEXT:
        case tag::ENDIF:
        case tag::VAR:
            return simple(Step::Nothing);
        case tag::TABLES:
            return simple(Step::TablesStart);
        case tag::ENDTABLES:
            return simple(Step::TablesEnd);
        case tag::COLUMNS:
            return simple(Step::ColumnsStart);
        case tag::ENDCOLUMNS:
            return simple(Step::ColumnsEnd);
        case tag::REFTABLES:
            return withOperand(Step::RefTablesStart, kAnyOperand, kMissingOperand);
        case tag::ENDREFTABLES:
            return simple(Step::RefTablesEnd);
        case tag::REFCOLUMNS:
            return withOperand(Step::RefColumnsStart, kAnyOperand, kMissingOperand);
        case tag::ENDREFCOLUMNS:
            return simple(Step::RefColumnsEnd);
        case tag::LOOKUPITEMS:
            return withOperand(Step::ItemsStart, kAnyOperand, kMissingOperand);
        case tag::ENDLOOKUPITEMS:
            return simple(Step::ItemsEnd);
        case tag::IF:
            return withOperand(Step::If, program_.conditions.size(), kBadCondition);
        case tag::ELSE:
            return withOperand(Step::Else, program_.conditions.size(), kBadCondition);
        case tag::EXPR:
            return withOperand(Step::Expr, program_.exprs.size(), kBadBlock);
        case tag::LEFT:
            return simple(Step::Align, static_cast<int32_t>(Align::Left));
        case tag::RIGHT:
            return simple(Step::Align, static_cast<int32_t>(Align::Right));
        case tag::CENTER:
            return simple(Step::Align, static_cast<int32_t>(Align::Center));
        case tag::NORMAL:
            return simple(Step::Align, static_cast<int32_t>(Align::Normal));
        case tag::CREATE:
            return simple(Step::CreateStart);
        case tag::ENDCREATE:
            return simple(Step::CreateEnd);
        case tag::CLOSE:
            return simple(Step::Close);
        case tag::CLOSEASDFM:
            return simple(Step::CloseAsDfm);
        case kSymbol:
            return withOperand(Step::Variable, kAnyOperand, kMissingOperand);
        default:
            break;
    }
    if (op >= tag::EL && op <= tag::ENDELLI) {
        // <EL>, <ELC>, <ELT>, <ELR>, <ELRC>, <ELRT>, <ELLI>, each opening and closing.
        static_assert(tag::ELC == tag::EL + 2 && tag::ELT == tag::EL + 4 &&
                      tag::ELR == tag::EL + 6 && tag::ELRC == tag::EL + 8 &&
                      tag::ELRT == tag::EL + 10 && tag::ELLI == tag::EL + 12 &&
                      tag::ENDELLI == tag::ELLI + 1 && tag::ENDEL == tag::EL + 1);
        static constexpr Separator kKinds[] = {kEl, kElc, kElt, kElr, kElrc, kElrt, kElli};
        return simple((op - tag::EL) % 2 == 0 ? Step::SeparatorStart : Step::SeparatorEnd,
                      kKinds[(op - tag::EL) / 2]);
    }
    // Any other code is a value; one that has none stops the run when it is reached.
    std::optional<TagRole> role = RoleOf(op);
    if (role == TagRole::Mode) return simple(Step::Mode, op);
    return simple(role == TagRole::Number ? Step::Number : Step::Text, op);
}

void Runner::Execute() {
    const Word* words = words_.data();
    const char* characters = characters_.data();
    // The word array ends in an End word, and every step goes on within it.
    uint32_t pc = 0;
    for (;;) {
        const Word& w = words[pc];
        if (w.textBegin != w.textEnd) {
            size_t n = w.textEnd - w.textBegin;
            if (collecting_) {
                outputName_.append(characters + w.textBegin, n);
            } else {
                out_->AppendFromPadded(characters + w.textBegin, n);
            }
        }
        pc = w.next;
        if (w.step >= Step::LineEndAfterTag) lineHadTag_ = true;
        switch (w.step) {
            case Step::End:
                return;
            case Step::LineEnd:
            case Step::LineEndAfterTag:
                if (!collecting_) EndLine();
                break;
            case Step::Number: {
                if (w.align != kNoAlign) alignment_ = static_cast<Align>(w.align);
                padWidth_ = 4;
                int32_t n = 0;
                AppendValue(NumberValue(w.arg, n) ? Digits(n) : StringValue(w.arg));
                break;
            }
            case Step::Text:
                if (w.align != kNoAlign) alignment_ = static_cast<Align>(w.align);
                padWidth_ = 4;
                if (styled_) {
                    // A letter case converts names as stored, not as the tag gives them.
                    rawNames_ = letterCase_ != LetterCase::AsIs;
                    std::string_view value = StringValue(w.arg);
                    rawNames_ = false;
                    AppendValue(Written(w.arg, value));
                } else {
                    AppendValue(StringValue(w.arg));
                }
                break;
            case Step::If:
                pc = If(w.arg);
                break;
            case Step::Else:
                pc = Target(program_.conditions[static_cast<size_t>(w.arg)].endAddress);
                break;
            case Step::Expr:
                evaluator_.Run(program_.exprs[static_cast<size_t>(w.arg)]);
                break;
            case Step::ColumnsEnd:
                pc = ColumnsEnd(pc);
                break;
            case Step::SeparatorStart: {
                SeparatorMarks& m = marks_[w.arg];
                m.start = OutputPosition();
                ++m.starts;
                break;
            }
            case Step::SeparatorEnd: {
                SeparatorMarks& m = marks_[w.arg];
                m.end = OutputPosition();
                ++m.ends;
                break;
            }
            case Step::Align:
                alignment_ = static_cast<Align>(w.arg);
                break;
            case Step::Mode:
                SetWriteMode(w.arg);
                break;
            case Step::ColumnsStart:
                columnsStart_ = pc;
                columnIndex_ = 0;
                FindColumn();
                break;
            case Step::TablesStart:
                tablesStart_ = pc;
                tableIndex_ = 0;
                table_ = db_.TableAt(0);
                FindColumn();
                ClearProcessed();
                break;
            case Step::TablesEnd:
                pc = TablesEnd(pc);
                break;
            case Step::RefTablesStart:
                pc = RefTablesStart(w.arg, pc);
                break;
            case Step::RefTablesEnd:
                pc = RefTablesEnd(pc);
                break;
            case Step::RefColumnsStart:
                pc = RefColumnsStart(w.arg, pc);
                break;
            case Step::RefColumnsEnd:
                pc = RefColumnsEnd(pc);
                break;
            case Step::ItemsStart:
                pc = LookupItemsStart(w.arg, pc);
                break;
            case Step::ItemsEnd:
                pc = LookupItemsEnd(pc);
                break;
            case Step::CreateStart:
                collecting_ = true;
                CloseFile();
                outputName_.clear();
                break;
            case Step::CreateEnd:
                CreateEnd();
                break;
            case Step::Close:
                CloseFile();
                break;
            case Step::CloseAsDfm:
                if (!file_) break;
                CloseFile();
                if (!outputName_.empty()) control_.CloseAsDfm(outputName_);
                break;
            case Step::Variable:
                padWidth_ = 10;
                AppendValue(Digits(values_.GetValue(w.arg)));
                break;
            case Step::Broken:
                throw CBugError(kBroken[w.arg]);
            case Step::Skip:
            case Step::Nothing:
                break;
        }
    }
}

// The steps a run takes millions of times (conditions, line ends, value look-ups) are
// inlined into the run's loop: their calls cost as much as their work.
[[gnu::always_inline]] inline uint32_t Runner::If(int32_t index) {
    // A numeric tag compared with a number is decided here; every other condition, and a
    // tag that gives no number, by the evaluator.
    const std::optional<QuickCondition>& quick = quickConditions_[static_cast<size_t>(index)];
    int32_t value = 0;
    if (quick && GetNumber(quick->test.tag, value)) {
        const TagAgainstNumber& t = quick->test;
        return Holds(t.op, static_cast<int64_t>(value) - t.number) ? quick->thenAddress
                                                                   : quick->elseAddress;
    }
    return Target(evaluator_.Compare(program_.conditions[static_cast<size_t>(index)]));
}

uint32_t Runner::Target(int32_t address) const {
    if (address < 0) throw CBugError("Exe::Run(): Invalid address");
    // An address past the end ends the run, like the end itself.
    return std::min(static_cast<uint32_t>(address), static_cast<uint32_t>(program_.code.size()));
}

uint32_t Runner::TablesEnd(uint32_t next) {
    if (tableIndex_ + 1 < db_.tables().count()) {
        table_ = db_.TableAt(++tableIndex_);
        FindColumn();
        return tablesStart_;
    }
    tableIndex_ = 0;
    table_ = db_.TableAt(0);
    FindColumn();
    ClearProcessed();
    loopEnded_ |= kEndedTables1 | kEndedTables2;
    return next;
}

// A large store does not fit the caches, and the first walk over a table's columns would
// wait on memory for each of them. So while one table is written, the next one is fetched a
// little at each column step (all at once would stall on the processor's few outstanding
// fetches): the column object at the step's index, and the texts of the column three
// before, whose object has arrived by then.
void Runner::FetchAhead(int32_t column) const {
    const CTable* next = db_.TableAt(tableIndex_ + 1);
    if (!next) return;
    int32_t count = next->columns().count();
    if (column >= count) return;
    const char* bytes = reinterpret_cast<const char*>(next->ColumnAt(column));
    for (size_t at = 0; at < sizeof(CColumn); at += 64) __builtin_prefetch(bytes + at);
    if (column < 3) return;
    const CColumn* earlier = next->ColumnAt(column - 3);
    for (const StoreText* text : {&earlier->name, &earlier->label, &earlier->dataType}) {
        if (*text) __builtin_prefetch((*text)->data());
    }
}

uint32_t Runner::ColumnsEnd(uint32_t next) {
    int32_t count = table_ ? table_->columns().count() : 0;
    if (columnIndex_ + 1 < count) {
        ++columnIndex_;
        FindColumn();
        FetchAhead(columnIndex_);
        return columnsStart_;
    }
    columnIndex_ = 0;
    FindColumn();
    loopEnded_ |= kEndedColumns;
    return next;
}

uint32_t Runner::RefTablesStart(int32_t skip, uint32_t next) {
    if (!table_ || table_->refTables().count() == 0) return Target(skip);
    refTablesStart_ = next;
    refIndex_ = 0;
    ref_ = table_->RefAt(0);
    return next;
}

uint32_t Runner::RefTablesEnd(uint32_t next) {
    int32_t count = table_ ? table_->refTables().count() : 0;
    if (refIndex_ >= 0 && refIndex_ + 1 < count) {
        ref_ = table_->RefAt(++refIndex_);
        return refTablesStart_;
    }
    refIndex_ = -1;
    ref_ = nullptr;
    loopEnded_ |= kEndedRefs1 | kEndedRefs2;
    return next;
}

uint32_t Runner::RefColumnsStart(int32_t skip, uint32_t next) {
    if (refIndex_ < 0) {
        const CColumn* column = Column();
        const CRefTable* found =
            table_ && column ? table_->FindRefByKeyColumn(TextView(column->name)) : nullptr;
        if (!found) return Target(skip);
        ref_ = found;
    }
    refColumnsStart_ = next;
    pairIndex_ = 0;
    return next;
}

uint32_t Runner::RefColumnsEnd(uint32_t next) {
    int32_t count = ref_ ? ref_->PairCount() : 0;
    if (pairIndex_ + 1 < count) {
        ++pairIndex_;
        return refColumnsStart_;
    }
    pairIndex_ = 0;
    loopEnded_ |= kEndedPairs;
    if (refIndex_ < 0) ref_ = nullptr;
    return next;
}

uint32_t Runner::LookupItemsStart(int32_t skip, uint32_t next) {
    const CColumn* column = Column();
    if (!column || column->lookupItems.count() == 0) return Target(skip);
    itemsStart_ = next;
    itemIndex_ = 0;
    return next;
}

uint32_t Runner::LookupItemsEnd(uint32_t next) {
    const CColumn* column = Column();
    int32_t count = column ? column->lookupItems.count() : 0;
    if (itemIndex_ + 1 < count) {
        ++itemIndex_;
        return itemsStart_;
    }
    itemIndex_ = 0;
    loopEnded_ |= kEndedItems;
    return next;
}

void Runner::CreateEnd() {
    collecting_ = false;
    if (outputName_.empty()) return;
    size_t first = outputName_.find_first_not_of(" \t");
    size_t last = outputName_.find_last_not_of(" \t");
    outputName_ =
        first == std::string::npos ? std::string() : outputName_.substr(first, last - first + 1);
    if (outputName_.empty()) {
        // A name of blanks only names no file: an empty log line, and the text stays here.
        WriteMessageLine("");
        return;
    }
    if (int error = files_.Open(outputName_)) {
        WriteMessage("Cannot create output file \"%s\": %s", outputName_.c_str(),
                     std::strerror(error));
        return;
    }
    file_ = true;
    ++fileNumber_;
    SetOutput(fileText_);
    WriteMessageLine(outputName_);
}

void Runner::SetOutput(OutputText& text) {
    if (&text == out_) return;
    Mark from = LineStart();
    std::string_view line = out_->view(lineStart_);
    text.Append(line);
    out_->Truncate(lineStart_);
    out_ = &text;
    lineStart_ = text.size() - line.size();
    MoveMarks(from, LineStart());
}

void Runner::FlushFileText() {
    size_t boundary = flushed_ + fileText_.size();
    for (const SeparatorMarks& m : marks_) {
        if (m.starts > 0 && m.start.text == fileNumber_) boundary = std::min(boundary, m.start.at);
    }
    if (boundary <= flushed_) return;
    size_t n = boundary - flushed_;
    files_.Write(fileText_.view().substr(0, n));
    fileText_.Erase(0, n);
    flushed_ = boundary;
}

void Runner::CloseFile() {
    if (!file_) return;
    SetOutput(logText_);
    files_.Write(fileText_.view());
    int error = files_.Close();
    file_ = false;
    fileText_.Clear();
    flushed_ = 0;
    if (error != 0) {
        WriteMessage("Cannot write output file \"%s\": %s", outputName_.c_str(),
                     std::strerror(error));
    }
}

void Runner::AbandonFile() {
    SetOutput(logText_);
    // The file keeps what it held before the run; a new one stays empty.
    if (file_) files_.Abandon();
    file_ = false;
    fileText_.Clear();
    flushed_ = 0;
}

Runner::Mark Runner::LineStart() const {
    bool inFile = out_ == &fileText_;
    return Mark{(inFile ? flushed_ : 0) + lineStart_, inFile ? fileNumber_ : 0};
}

Runner::Mark Runner::OutputPosition() const {
    Mark position = LineStart();
    std::string_view line = out_->view(lineStart_);
    if (!OnlyBlanks(line)) position.at += line.size();
    return position;
}

void Runner::MoveMarks(Mark from, Mark to) {
    for (SeparatorMarks& m : marks_) {
        for (Mark* mark : {&m.start, &m.end}) {
            if (mark->text == from.text && mark->at >= from.at)
                *mark = Mark{to.at + (mark->at - from.at), to.text};
        }
    }
}

[[gnu::always_inline]] inline void Runner::EndLine() {
    OutputText& out = *out_;
    if (lineHadTag_ && OnlyBlanks(out.view(lineStart_))) {
        out.Truncate(lineStart_);
    } else {
        WriteLineEnd(out);
    }
    if (loopEnded_ != 0) SettleEndedLoops();
    lineHadTag_ = false;
    if (file_ && fileText_.size() >= kFlushSize) FlushFileText();
    lineStart_ = out.size();
}

void Runner::WriteLineEnd(OutputText& out) {
    if (file_ && lineEnd_ == LineEnd::LineFeed) return out.Push('\n');
    // The log's lines end in a carriage return and line feed, and so do the output file's
    // unless the run was asked for bare line feeds; line feeds inside values too.
    if (file_ && out.view(lineStart_).find('\n') != std::string_view::npos) {
        std::string line(out.view(lineStart_));
        Mark start = LineStart();
        out.Truncate(lineStart_);
        for (char c : line) {
            if (c == '\n') out.Push('\r');
            out.Push(c);
        }
        // Marks on the line move past the carriage returns put in before them.
        for (SeparatorMarks& m : marks_) {
            for (Mark* mark : {&m.start, &m.end}) {
                if (mark->text != start.text || mark->at < start.at) continue;
                size_t into = std::min(mark->at - start.at, line.size());
                mark->at +=
                    static_cast<size_t>(std::count(line.begin(), line.begin() + into, '\n'));
            }
        }
    }
    out.Append("\r\n");
}

void Runner::SettleEndedLoops() {
    static constexpr std::pair<int32_t, Separator> kSettles[] = {
        {kEndedTables1, kEl}, {kEndedTables2, kElt}, {kEndedColumns, kElc}, {kEndedRefs1, kElr},
        {kEndedRefs2, kElrt}, {kEndedPairs, kElrc},  {kEndedItems, kElli}};
    for (auto [bit, kind] : kSettles) {
        if (loopEnded_ & bit) Settle(kind);
    }
    loopEnded_ = 0;
}

// Deletes the copy of a separator written for the last element of the loop that just ended.
void Runner::Settle(int kind) {
    SeparatorMarks& m = marks_[kind];
    if (m.starts != m.ends) throw CBugError("Invalid <EL?> block");
    if (m.starts > 0) EraseMarked(m.start, m.end);
    m = SeparatorMarks{};
}

void Runner::EraseMarked(Mark start, Mark end) {
    if (start.text != end.text || start.at > end.at) return;
    OutputText* text = &logText_;
    size_t base = 0;
    if (start.text != 0) {
        // A closed output file is written and stays as it is.
        if (!file_ || start.text != fileNumber_) return;
        text = &fileText_;
        base = flushed_;  // positions in an output file count the text written out already
    }
    if (start.at < base || end.at > base + text->size()) return;
    size_t n = end.at - start.at;
    text->Erase(start.at - base, n);
    for (SeparatorMarks& m : marks_) {
        for (Mark* mark : {&m.start, &m.end}) {
            if (mark->text == start.text && mark->at > start.at)
                mark->at = mark->at >= end.at ? mark->at - n : start.at;
        }
    }
}

void Runner::AppendValueElsewhere(std::string_view text) {
    if (collecting_) {
        outputName_ += text;
    } else {
        Pad(text, *out_);
    }
}

void Runner::Pad(std::string_view value, OutputText& out) const {
    size_t width = padWidth_ > 0 ? static_cast<size_t>(padWidth_) : 0;
    // Widths count characters, so a value pads by its characters too (bytes in ASCII).
    size_t length = com::CountCodePoints(value);
    switch (alignment_) {
        case Align::Left:
            out.Append(value);
            if (length < width) out.Append(width - length, ' ');
            return;
        case Align::Right:
            if (length < width) out.Append(width - length, ' ');
            out.Append(value);
            return;
        case Align::Center: {
            size_t lead = width >= length ? (width - length) / 2 : 0;
            out.Append(lead > 0 ? lead : 1, ' ');
            out.Append(value);
            size_t field = width - lead;
            if (length < field) out.Append(field - length, ' ');
            return;
        }
        default:
            out.Append(value);
    }
}

bool Runner::Processed(const CColumn& column) {
    for (; processedIndexed_ < processed_.size(); ++processedIndexed_)
        processedNames_.insert(TextView(processed_[processedIndexed_]->name));
    return processedNames_.count(TextView(column.name)) > 0;
}

void Runner::ClearProcessed() {
    processed_.clear();
    processedIndexed_ = 0;
    processedNames_.clear();
}

void Runner::FindColumn() {
    column_ = table_ ? table_->ColumnAt(columnIndex_) : nullptr;
}

std::string_view Runner::GetToken(int32_t code) {
    padWidth_ = 4;
    int32_t n = 0;
    if (NumberValue(code, n)) return Digits(n);
    return StringValue(code);
}

std::string_view Runner::Digits(int32_t n) {
    auto [end, error] = std::to_chars(std::begin(digits_), std::end(digits_), n);
    (void)error;  // eleven characters hold every 32-bit value
    return std::string_view(digits_, static_cast<size_t>(end - digits_));
}

[[gnu::always_inline]] inline std::string_view Runner::Upper(const StoreText& text, bool isUpper) {
    std::string_view from = TextView(text);
    if (isUpper || rawNames_) return from;
    // Names are short: most fit the fixed buffer, longer ones go through scratch_.
    char* to = upper_;
    size_t n = from.size();
    if (n > sizeof upper_) {
        scratch_.resize(n);
        to = scratch_.data();
    }
    if (n < 8) {
        for (size_t i = 0; i < n; ++i) to[i] = com::UpperAsciiChar(from[i]);
    } else {
        // Eight bytes at a time; the last eight end the name, overlapping the ones before
        // (upper-casing twice changes nothing).
        for (size_t i = 0; i + 8 < n; i += 8) UpperEight(from.data() + i, to + i);
        UpperEight(from.data() + n - 8, to + n - 8);
    }
    return std::string_view(to, n);
}

[[gnu::always_inline]] inline bool Runner::GetNumber(int32_t code, int32_t& value) {
    padWidth_ = 4;
    return NumberValue(code, value) && value >= 0;
}

// Numeric value tags; false for any other code. Without a current table or column the
// values are 0.
[[gnu::always_inline]] inline bool Runner::NumberValue(int32_t code, int32_t& value) {
    const CColumn* c = Column();
    const CTable* t = Table();
    auto flag = [](bool b) { return b ? 1 : 0; };
    switch (code) {
        case tag::SIZE:
            value = c ? c->size : 0;
            return true;
        case tag::P:
            value = c ? c->precision : 0;
            return true;
        case tag::SCALE:
            value = c ? c->scale : 0;
            return true;
        case tag::ISKEY:
            value = flag(c && c->IsKey());
            return true;
        case tag::ISNOTKEY:
            value = flag(c && !c->IsKey());
            return true;
        case tag::ISREADONLY:
            value = flag(c && c->IsReadOnly());
            return true;
        case tag::ISNOTREADONLY:
            value = flag(c && !c->IsReadOnly());
            return true;
        case tag::DISPSIZE:
            value = c ? c->DisplayWidth() : 0;
            return true;
        case tag::KEYCOUNT:
            value = db_.keyCount;
            return true;
        case tag::MAXNAMELEN:
            value = db_.nameWidth;
            return true;
        case tag::MAXLABELLEN:
            value = db_.labelWidth;
            return true;
        case tag::MAXSIZELEN:
            value = db_.maxSize;
            return true;
        case tag::TKEYCOUNT:
            value = t ? t->keyCount : 0;
            return true;
        case tag::TCOUNT:
            value = db_.tables().count();
            return true;
        case tag::COUNT:
            value = t ? t->columns().count() : 0;
            return true;
        case tag::ISFOREIGNKEY:
        case tag::ISNOTFOREIGNKEY: {
            bool foreign = t && c && t->FindRefByKeyColumn(TextView(c->name));
            value = flag(code == tag::ISFOREIGNKEY ? foreign : !foreign);
            return true;
        }
        case tag::ISPROCESSED:
        case tag::ISNOTPROCESSED: {
            bool processed = c && Processed(*c);
            value = flag(code == tag::ISPROCESSED ? processed : !processed);
            return true;
        }
        case tag::ISLOOKUP:
            value = flag(c && c->IsLookup());
            return true;
        case tag::ISNOTLOOKUP:
            value = flag(c && !c->IsLookup());
            return true;
        case tag::ISLOOKUPBYITEMS:
            value = c ? c->lookupItems.count() : 0;
            return true;
        case tag::ISLOOKUPBYTABLE:
            value = flag(c && c->IsLookupByTable());
            return true;
        case tag::SIZEOFT:
            value = t ? TextLength(t->name) : 0;
            return true;
        case tag::SIZEOFTL:
            value = t ? TextLength(t->label) : 0;
            return true;
        case tag::SIZEOFC:
            value = c ? TextLength(c->name) : 0;
            return true;
        case tag::SIZEOFL:
            value = c ? TextLength(c->label) : 0;
            return true;
        case tag::SIZEOFD:
            value = c ? TextLength(c->dataType) : 0;
            return true;
        default:
            return false;
    }
}

// Text value tags; a tag without a value gives an empty text. Without a current table or
// column the values are empty.
[[gnu::always_inline]] inline std::string_view Runner::StringValue(int32_t code) {
    const CColumn* c = Column();
    const CTable* t = Table();
    switch (code) {
        case tag::T:
            padWidth_ = db_.nameWidth;
            return t ? Upper(t->name, t->nameIsUpper) : "";
        case tag::C: {
            padWidth_ = db_.nameWidth;
            if (!c) return "";
            processed_.push_back(c);
            return Upper(c->name, c->nameIsUpper);
        }
        case tag::L:
            padWidth_ = db_.labelWidth;
            return c ? c->LabelOrName() : "";
        case tag::D:
            padWidth_ = db_.dataTypeWidth;
            return c ? TextView(c->dataType) : "";
        case tag::DATABASE:
            padWidth_ = db_.nameWidth;
            return TextView(db_.name);
        case tag::TTYPE:
            padWidth_ = db_.typeWidth;
            return t ? TextView(t->type) : "";
        case tag::TL:
            padWidth_ = db_.labelWidth;
            return t ? TextView(t->label) : "";
        case tag::TYPE:
            padWidth_ = db_.typeWidth;
            return c ? TextView(c->type) : "";
        case tag::S:
            padWidth_ = db_.nameWidth;
            return Upper(db_.schemaName);
        case tag::STYPE:
            padWidth_ = db_.typeWidth;
            return TextView(db_.schemaType);
        case tag::SL:
            padWidth_ = db_.labelWidth;
            return TextView(db_.schemaLabel);
        case tag::REFT: {
            padWidth_ = db_.nameWidth;
            const CRefTable* r = ref_;
            if (!r && t && c) r = t->FindRefByKeyColumn(TextView(c->name));
            return r && r->table ? TextView(r->table->name) : "(None)";
        }
        case tag::REFC:
            padWidth_ = db_.nameWidth;
            return ref_ ? ref_->RefColumnName(pairIndex_) : "(None)";
        case tag::FOREIGNKEY:
            padWidth_ = db_.nameWidth;
            return ref_ ? ref_->KeyColumnName(pairIndex_) : "(None)";
        case tag::LOOKUPT:
            padWidth_ = db_.nameWidth;
            if (!c || !c->lookupTable) return {};
            return TextView(c->lookupTable->name);
        case tag::LOOKUPC:
            padWidth_ = db_.nameWidth;
            if (!c || !c->lookupColumn) return {};
            return TextView(c->lookupColumn->name);
        case tag::LOOKUPL:
            padWidth_ = db_.labelWidth;
            if (!c || !c->lookupColumn) return {};
            return TextView(c->lookupColumn->label);
        case tag::LOOKUPKEY:
            padWidth_ = db_.nameWidth;
            if (!c || !c->lookupKey) return {};
            return TextView(c->lookupKey->name);
        case tag::LOOKUPITEM: {
            if (!c) return {};
            padWidth_ = c->lookupItems.maxLength();
            const std::string* item = c->lookupItems.At(itemIndex_);
            return item ? std::string_view(*item) : std::string_view();
        }
        case tag::DASDELPHI: {
            padWidth_ = db_.dataTypeWidth;
            if (!c) return "";
            auto mapped = MapDataType(c->dataType, c->scale);
            return mapped ? *mapped : std::string_view();
        }
        case tag::DASCPP:
        case tag::DASCS:
        case tag::DASJAVA:
        case tag::DASTS:
        case tag::DASGO:
        case tag::DASPY:
        case tag::DASRUST:
            padWidth_ = TypeWidth(code);
            return c ? LanguageTypeOf(*c, code) : "";
        default:
            throw CBugError("Exe::GetToken: Invalid token");
    }
}

std::string_view Runner::LanguageTypeOf(const CColumn& c, int32_t code) {
    const int32_t language = TypeLanguageOfTag(code);
    // The store knows only keys to be required: every other column may be empty.
    ColumnTypeFacts facts{TextView(c.dataType), c.precision, c.scale, !c.IsKey()};
    LanguageType(static_cast<TypeLanguage>(language), facts,
                 program_.typeOverrides[static_cast<size_t>(language)], typeText_);
    return typeText_;
}

int32_t Runner::TypeWidth(int32_t code) {
    int32_t& width = typeWidths_[static_cast<size_t>(TypeLanguageOfTag(code))];
    if (width >= 0) return width;
    // The longest type of the language over every column, worked out at its first use.
    width = 0;
    for (int32_t t = 0; t < db_.tables().count(); ++t) {
        const CTable* table = db_.TableAt(t);
        for (int32_t i = 0; i < table->columns().count(); ++i) {
            size_t length = com::CountCodePoints(LanguageTypeOf(*table->ColumnAt(i), code));
            width = std::max(width, static_cast<int32_t>(std::min<size_t>(length, INT32_MAX)));
        }
    }
    return width;
}

namespace {

// The tags whose values are names: the letter case and the reserved words apply to them.
bool IsNameTag(int32_t code) {
    switch (code) {
        case tag::T:
        case tag::C:
        case tag::REFT:
        case tag::REFC:
        case tag::FOREIGNKEY:
        case tag::S:
        case tag::DATABASE:
        case tag::LOOKUPT:
        case tag::LOOKUPC:
        case tag::LOOKUPKEY:
            return true;
        default:
            return false;
    }
}

// Each write mode tag and what it sets: the letter case, the escaping or the language whose
// reserved words names avoid (-1: none).
struct WriteModeTag {
    int32_t code;
    enum { kCase, kEscape, kSafe } kind;
    int8_t value;
};

template <typename E>
constexpr int8_t V(E e) {
    return static_cast<int8_t>(e);
}

constexpr WriteModeTag kWriteModes[] = {
    {tag::ASIS, WriteModeTag::kCase, V(LetterCase::AsIs)},
    {tag::PASCAL, WriteModeTag::kCase, V(LetterCase::Pascal)},
    {tag::CAMEL, WriteModeTag::kCase, V(LetterCase::Camel)},
    {tag::SNAKE, WriteModeTag::kCase, V(LetterCase::Snake)},
    {tag::KEBAB, WriteModeTag::kCase, V(LetterCase::Kebab)},
    {tag::UPPER, WriteModeTag::kCase, V(LetterCase::Upper)},
    {tag::LOWER, WriteModeTag::kCase, V(LetterCase::Lower)},
    {tag::NOESC, WriteModeTag::kEscape, V(Escape::None)},
    {tag::ESCHTML, WriteModeTag::kEscape, V(Escape::Html)},
    {tag::ESCSTR, WriteModeTag::kEscape, V(Escape::String)},
    {tag::ESCSQL, WriteModeTag::kEscape, V(Escape::Sql)},
    {tag::NOSAFE, WriteModeTag::kSafe, -1},
    {tag::SAFECPP, WriteModeTag::kSafe, V(Language::Cpp)},
    {tag::SAFECS, WriteModeTag::kSafe, V(Language::CSharp)},
    {tag::SAFEJAVA, WriteModeTag::kSafe, V(Language::Java)},
    {tag::SAFETS, WriteModeTag::kSafe, V(Language::TypeScript)},
    {tag::SAFEGO, WriteModeTag::kSafe, V(Language::Go)},
    {tag::SAFEPY, WriteModeTag::kSafe, V(Language::Python)},
    {tag::SAFERUST, WriteModeTag::kSafe, V(Language::Rust)},
    {tag::SAFESQL, WriteModeTag::kSafe, V(Language::Sql)},
};

}  // namespace

void Runner::SetWriteMode(int32_t code) {
    const WriteModeTag* mode = nullptr;
    for (const WriteModeTag& m : kWriteModes) {
        if (m.code == code) mode = &m;
    }
    if (!mode) throw CBugError("Exe::Run(): Invalid write mode");
    switch (mode->kind) {
        case WriteModeTag::kCase:
            letterCase_ = static_cast<LetterCase>(mode->value);
            break;
        case WriteModeTag::kEscape:
            escape_ = static_cast<Escape>(mode->value);
            break;
        case WriteModeTag::kSafe:
            safeLanguage_ = mode->value;
            break;
    }
    styled_ = letterCase_ != LetterCase::AsIs || escape_ != Escape::None || safeLanguage_ >= 0;
}

std::string_view Runner::Written(int32_t code, std::string_view value) {
    // "(None)" stands for a missing reference, not for a name: it stays as it is.
    if (IsNameTag(code) && value != "(None)") {
        if (letterCase_ != LetterCase::AsIs) {
            ConvertCase(value, letterCase_, caseText_);
            value = caseText_;
        }
        if (safeLanguage_ >= 0)
            value = SafeName(value, static_cast<Language>(safeLanguage_), safeText_);
    }
    if (escape_ == Escape::None) return value;
    escapedText_.clear();
    AppendEscaped(value, escape_, escapedText_);
    return escapedText_;
}

}  // namespace morva::tpx

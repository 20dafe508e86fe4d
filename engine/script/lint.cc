#include "engine/script/lint.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "component/text_util.h"
#include "engine/script/diagnostics.h"
#include "engine/script/exe.h"
#include "engine/script/lint_words.h"
#include "engine/script/script_api.h"
#include "engine/script/tags.h"
#include "engine/script/token.h"

namespace morva::tpx {

namespace {

constexpr std::string_view kNearMiss = "near-miss-tag";
constexpr std::string_view kMarkupClash = "markup-clash";
constexpr std::string_view kUnusedVariable = "unused-variable";
constexpr std::string_view kUnassignedVariable = "unassigned-variable";
constexpr std::string_view kUnclosedCreate = "unclosed-create";
constexpr std::string_view kCloseWithoutCreate = "close-without-create";
constexpr std::string_view kSeparator = "separator-outside-loop";
constexpr std::string_view kCompileError = "compile-error";
constexpr std::string_view kCompileWarning = "compile-warning";

constexpr std::array<std::string_view, 9> kChecks{
    kNearMiss,           kMarkupClash, kUnusedVariable, kUnassignedVariable, kUnclosedCreate,
    kCloseWithoutCreate, kSeparator,   kCompileError,   kCompileWarning};

bool IsClosingSpelling(const TagInfo* tag) {
    return tag && tag->spelling.starts_with("</");
}

/// What the checks ask of a tag code, worked out once from the tag table: its role, whether
/// it closes a block, and the code of the tag it closes.
struct TagFacts {
    std::optional<TagRole> role;
    bool closing = false;
    int32_t opener = 0;
};

const TagFacts& FactsOf(int code) {
    static const std::vector<TagFacts> facts = [] {
        int32_t top = 0;
        for (const TagInfo& tag : TagTable()) top = std::max(top, tag.code);
        std::vector<TagFacts> table(static_cast<size_t>(top) + 1);
        for (const TagInfo& tag : TagTable()) {
            TagFacts& f = table[static_cast<size_t>(tag.code)];
            f.role = tag.role;
            f.closing = IsClosingSpelling(&tag);
            if (f.closing) {
                const TagInfo* open = FindTag("<" + std::string(tag.spelling.substr(2)));
                f.opener = open ? open->code : 0;
            }
        }
        return table;
    }();
    static const TagFacts none;
    return code >= 0 && static_cast<size_t>(code) < facts.size() ? facts[static_cast<size_t>(code)]
                                                                 : none;
}

/// A token the checks look at, with the scanner flags after it.
struct SeenToken {
    int code = 0;
    int32_t number = 0;
    size_t offset = 0;
    std::string_view text;
    int32_t state = 0;
    bool assigned = false;  // a variable that an assignment operator follows
};

struct SeenComment {
    size_t offset = 0;
    std::string_view text;
};

bool IsAssignment(int code) {
    return code == '=' || code == kPlusAssign || code == kMinusAssign || code == kMultiplyAssign ||
           code == kDivideAssign || code == kModuloAssign || code == kIncrement ||
           code == kDecrement;
}

/// Keeps the tokens the checks need: tags, words in angle brackets, variables.
class Recorder : public TokenObserver {
  public:
    void Token(int code, const TokenValue& value, std::string_view text, size_t offset,
               int32_t scannerState) override {
        bool afterVariable = lastWasVariable_;
        lastWasVariable_ = false;
        if (afterVariable && IsAssignment(code)) {
            tokens.back().assigned = true;
            return;
        }
        bool keep = FactsOf(code).role.has_value() || code == kSymbol ||
                    (code == kText && text.size() > 2 && text.front() == '<');
        if (!keep) return;
        tokens.push_back({code, value.number, offset, text, scannerState, false});
        lastWasVariable_ = code == kSymbol && (scannerState & kArithmetic);
    }
    void Comment(std::string_view text, size_t offset) override {
        comments.push_back({offset, text});
    }

    std::vector<SeenToken> tokens;
    std::vector<SeenComment> comments;

  private:
    bool lastWasVariable_ = false;
};

/// Keeps the log of the lint's compilation.
class LogKeeper : public EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string&) override {}
    std::string log;
};

/// Line starts of a text, to turn byte offsets into lines and columns.
class LineIndex {
  public:
    explicit LineIndex(std::string_view text) : text_(text) {
        starts_.push_back(0);
        for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1))
            starts_.push_back(i + 1);
    }
    int32_t LineOf(size_t offset) const {
        return static_cast<int32_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                    starts_.begin());
    }
    size_t StartOf(int32_t line) const {
        if (line < 1) return 0;
        size_t i = std::min(static_cast<size_t>(line - 1), starts_.size() - 1);
        return starts_[i];
    }
    /// Sets the line and column (the characters before the offset on its line, plus one) of
    /// each finding not yet placed, in one pass over the text however long its lines.
    void Place(std::vector<LintFinding>& findings) const {
        std::vector<LintFinding*> open;
        for (LintFinding& f : findings) {
            if (f.line == 0) open.push_back(&f);
        }
        std::sort(open.begin(), open.end(),
                  [](const LintFinding* a, const LintFinding* b) { return a->offset < b->offset; });
        size_t at = 0;
        int32_t line = 0;
        int32_t column = 1;
        for (LintFinding* f : open) {
            size_t offset = std::min(f->offset, text_.size());
            int32_t target = LineOf(offset);
            if (target != line) {
                line = target;
                at = StartOf(line);
                column = 1;
            }
            for (; at < offset; ++at) {
                if ((static_cast<unsigned char>(text_[at]) & 0xC0) != 0x80) ++column;
            }
            f->line = line;
            f->column = column;
        }
    }
    size_t LineLength(int32_t line) const {
        size_t start = StartOf(line);
        size_t end = text_.find('\n', start);
        if (end == std::string_view::npos) end = text_.size();
        if (end > start && text_[end - 1] == '\r') --end;
        return end - start;
    }

  private:
    std::string_view text_;
    std::vector<size_t> starts_;
};

/// The loop a separator block drops its last copy after, and how the message says it.
struct SeparatorLoop {
    int32_t separator;
    int32_t loop;
    const char* after;
};

constexpr SeparatorLoop kSeparatorLoops[] = {
    {tag::EL, tag::COLUMNS, "the last column of the last table"},
    {tag::ELC, tag::COLUMNS, "the last column"},
    {tag::ELT, tag::TABLES, "the last table"},
    {tag::ELR, tag::REFCOLUMNS, "the last pair of the last reference"},
    {tag::ELRC, tag::REFCOLUMNS, "the last pair of a reference"},
    {tag::ELRT, tag::REFTABLES, "the last reference"},
    {tag::ELLI, tag::LOOKUPITEMS, "the last lookup item"},
};

/// The file state at a point of the script, as far as the structure decides it.
struct FileState {
    enum Kind { Closed, Open, Unknown } kind = Closed;
    size_t createdAt = 0;  // the token index of the <CREATE> that opened the file
    bool operator==(const FileState& o) const {
        return kind == o.kind && (kind != Open || createdAt == o.createdAt);
    }
};

FileState Join(const FileState& a, const FileState& b) {
    return a == b ? a : FileState{FileState::Unknown, 0};
}

class Linter {
  public:
    Linter(std::string_view text, const Recorder& seen) : text_(text), lines_(text), seen_(seen) {}

    std::vector<LintFinding> findings;

    const LineIndex& lines() const { return lines_; }
    /// Gives every finding its line and column.
    void Place() { lines_.Place(findings); }

    void Add(std::string_view check, size_t offset, size_t length, std::string message) {
        LintFinding f;
        f.offset = std::min(offset, text_.size());
        f.length = std::min(length, text_.size() - f.offset);
        f.check = check;
        f.message = std::move(message);
        findings.push_back(std::move(f));
    }

    /// Runs the checks over the recorded tokens. The checks of variables and files need the
    /// script's structure, so they run only when it compiled without errors.
    void CheckTokens(bool structureKnown) {
        FindBody();
        markup_ = ReadMarkup(text_.substr(bodyStart_, bodyEnd_ - bodyStart_));
        std::vector<int32_t> loops;
        int32_t outerLoop = 0;  // numbers the outermost loops, 0 outside every loop
        int32_t loopsSeen = 0;
        for (size_t i = 0; i < seen_.tokens.size(); ++i) {
            const SeenToken& t = seen_.tokens[i];
            bool inBody = t.offset > bodyStart_ && t.offset < bodyEnd_;
            if (t.code == kText) {
                if (inBody && !(t.state & kOutsideBody)) CheckWord(t);
                continue;
            }
            if (t.code == kSymbol) {
                if (structureKnown) NoteVariable(t, outerLoop);
                continue;
            }
            if (!inBody) continue;
            CheckClash(t);
            const TagFacts& facts = FactsOf(t.code);
            if (facts.role == TagRole::Loop) {
                if (!facts.closing) {
                    if (loops.empty()) outerLoop = ++loopsSeen;
                    loops.push_back(t.code);
                } else {
                    auto at = std::find(loops.rbegin(), loops.rend(), facts.opener);
                    if (at != loops.rend()) loops.erase(std::next(at).base(), loops.end());
                    if (loops.empty()) outerLoop = 0;
                }
            } else if (facts.role == TagRole::Separator && !facts.closing) {
                CheckSeparator(t, loops);
            }
            if (structureKnown) NoteStructure(i);
        }
        ReportVariables();
        if (structureKnown) CheckFiles();
    }

    void AddCompileMessages(const std::string& log, std::string_view name,
                            const std::vector<Diagnostic>& diagnostics) {
        std::vector<bool> used(diagnostics.size(), false);
        size_t pos = 0;
        while (pos < log.size()) {
            size_t end = log.find('\n', pos);
            if (end == std::string::npos) end = log.size();
            std::string_view line(log.data() + pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            AddCompileMessage(line, name, diagnostics, used);
        }
    }

  private:
    void FindBody() {
        bodyStart_ = text_.size();
        bodyEnd_ = text_.size();
        for (const SeenToken& t : seen_.tokens) {
            if (t.code == tag::TEXT && bodyStart_ == text_.size()) {
                bodyStart_ = t.offset;
            } else if (t.code == tag::ENDTEXT && bodyStart_ != text_.size()) {
                bodyEnd_ = t.offset;
                break;
            }
        }
    }

    void CheckWord(const SeenToken& t) {
        bool closing = false;
        std::string_view bare = BareName(t.text, &closing);
        if (bare.empty()) return;
        // A word right after a name is a type argument (vector<int>, List<Item>).
        if (t.offset > 0 && IsNameChar(text_[t.offset - 1])) return;
        if (markup_.looksLikeMarkup && markup_.IsElement(bare)) return;
        // A tag the scanner takes as text where it means nothing (<IN> outside a condition).
        if (FindTag(t.text)) return;
        std::string upper = com::ToUpperAscii(t.text);
        if (closing) {
            const TagInfo* open = FindTag("<" + upper.substr(2));
            if (open && !IsClosingSpelling(open)) {
                Add(kNearMiss, t.offset, t.text.size(),
                    "not a tag: " + std::string(t.text) + " is copied as text; " +
                        std::string(open->spelling) + " has no closing form");
                return;
            }
        }
        auto cached = closest_.find(upper);
        if (cached == closest_.end()) cached = closest_.emplace(upper, ClosestTag(upper)).first;
        if (cached->second.empty()) return;
        Add(kNearMiss, t.offset, t.text.size(),
            "not a tag: " + std::string(t.text) + " is copied as text; did you mean " +
                cached->second + "?");
    }

    void CheckClash(const SeenToken& t) {
        if (!markup_.looksLikeMarkup || !HasLowerCase(t.text)) return;
        bool closing = false;
        std::string_view bare = BareName(t.text, &closing);
        if (bare.empty()) return;
        if (!IsMarkupWord(bare) && !markup_.IsElement(bare)) return;
        std::string written(t.text);
        Add(kMarkupClash, t.offset, t.text.size(),
            written + " is the tag " + CodeName(t.code) + " here; write \\" + written +
                " for a literal " + written);
    }

    void CheckSeparator(const SeenToken& t, const std::vector<int32_t>& loops) {
        for (const SeparatorLoop& s : kSeparatorLoops) {
            if (s.separator != t.code) continue;
            // Outside its loop the compiler reports the separator already.
            if (std::find(loops.begin(), loops.end(), s.loop) == loops.end() ||
                loops.back() == s.loop)
                return;
            Add(kSeparator, t.offset, t.text.size(),
                std::string(CodeName(t.code)) + " drops its copy after " + s.after +
                    " but stands in " + CodeName(loops.back()) + "; place it directly in " +
                    CodeName(s.loop));
            return;
        }
    }

    struct Variable {
        const SeenToken* declaration = nullptr;
        bool used = false;
        bool assignedBefore = false;  // assigned before its first use in a condition
        const SeenToken* conditionUse = nullptr;
        int32_t conditionLoop = 0;
        std::unordered_set<int32_t> assignedInLoops;
    };

    void NoteVariable(const SeenToken& t, int32_t outerLoop) {
        if (t.number < 0) return;
        Variable& v = variables_[t.number];
        if (t.state & kDeclare) {
            if (!v.declaration) v.declaration = &t;
            return;
        }
        v.used = true;
        if (t.assigned) {
            if (!v.conditionUse) v.assignedBefore = true;
            v.assignedInLoops.insert(outerLoop);
        } else if ((t.state & kCondition) && !v.assignedBefore && !v.conditionUse) {
            v.conditionUse = &t;
            v.conditionLoop = outerLoop;
        }
    }

    void ReportVariables() {
        for (const auto& [index, v] : variables_) {
            if (!v.declaration) continue;
            std::string name(v.declaration->text);
            if (!v.used) {
                Add(kUnusedVariable, v.declaration->offset, name.size(),
                    "variable " + name + " is declared but never used");
            }
            // A use in a loop may read what a later part of the same loop assigned.
            if (v.conditionUse && !v.assignedBefore &&
                !(v.conditionLoop != 0 && v.assignedInLoops.count(v.conditionLoop))) {
                Add(kUnassignedVariable, v.conditionUse->offset, v.conditionUse->text.size(),
                    "variable " + name + " is used in a condition before any assignment");
            }
        }
    }

    /// Keeps the tags that decide which file is open: loops, IF and its parts, file tags.
    void NoteStructure(size_t index) {
        int32_t code = seen_.tokens[index].code;
        std::optional<TagRole> role = FactsOf(code).role;
        if (role == TagRole::Loop || role == TagRole::File || code == tag::IF ||
            code == tag::ELSEIF || code == tag::ELSE || code == tag::ENDIF) {
            if (code != tag::ENDCREATE) structure_.push_back(index);
        }
        if (code == tag::ENDCREATE && !structure_.empty() &&
            At(structure_.size() - 1).code == tag::CREATE &&
            OnlyBlanksBetween(At(structure_.size() - 1), seen_.tokens[index]))
            namelessCreates_.insert(structure_.back());
    }

    /// True when nothing but blanks and tabs stands between the tags `from` and `to`: a
    /// <CREATE> with such a name closes the open file and opens none.
    bool OnlyBlanksBetween(const SeenToken& from, const SeenToken& to) const {
        size_t begin = from.offset + from.text.size();
        if (to.offset < begin) return false;
        return text_.substr(begin, to.offset - begin).find_first_not_of(" \t") ==
               std::string_view::npos;
    }

    const SeenToken& At(size_t i) const { return seen_.tokens[structure_[i]]; }

    bool IsLoopOpening(int32_t code) const {
        return FactsOf(code).role == TagRole::Loop && !FactsOf(code).closing;
    }

    /// Walks the structure from `i` with file state `s` up to the tag that ends the enclosing
    /// block (returned) or the end. Reports what it finds while `s` is decided.
    size_t Walk(size_t i, FileState& s) {
        while (i < structure_.size()) {
            const SeenToken& t = At(i);
            if (t.code == tag::CREATE) {
                if (s.kind == FileState::Open) NoteUnclosed(s.createdAt, "the next <CREATE>");
                s = namelessCreates_.count(structure_[i])
                        ? FileState{FileState::Closed, 0}
                        : FileState{FileState::Open, structure_[i]};
                ++i;
            } else if (t.code == tag::CLOSE || t.code == tag::CLOSEASDFM) {
                if (s.kind == FileState::Closed) {
                    Note(kCloseWithoutCreate, t,
                         std::string(CodeName(t.code)) + " with no file open does nothing");
                }
                s = {FileState::Closed, 0};
                ++i;
            } else if (IsLoopOpening(t.code)) {
                i = WalkLoop(i, s);
            } else if (t.code == tag::IF) {
                i = WalkIf(i, s);
            } else {
                return i;
            }
        }
        return i;
    }

    size_t WalkLoop(size_t i, FileState& s) {
        // <TABLES> and <COLUMNS> run their body at least once; the other loops may skip it.
        bool once = At(i).code == tag::TABLES || At(i).code == tag::COLUMNS;
        FileState before = s;
        FileState first = s;
        size_t end = Walk(i + 1, first);
        FileState after = first;
        if (!(first == before)) {
            FileState second = first;
            Walk(i + 1, second);
            after = Join(first, second);
        }
        s = once ? after : Join(before, after);
        return end < structure_.size() ? end + 1 : end;
    }

    size_t WalkIf(size_t i, FileState& s) {
        FileState before = s;
        FileState branch = before;
        size_t end = Walk(i + 1, branch);
        FileState joined = branch;
        bool hasElse = false;
        while (end < structure_.size() &&
               (At(end).code == tag::ELSEIF || At(end).code == tag::ELSE)) {
            hasElse = hasElse || At(end).code == tag::ELSE;
            branch = before;
            end = Walk(end + 1, branch);
            joined = Join(joined, branch);
        }
        s = hasElse ? joined : Join(joined, before);
        return end < structure_.size() ? end + 1 : end;
    }

    void CheckFiles() {
        FileState s;
        size_t i = 0;
        while (i < structure_.size()) {
            i = Walk(i, s);
            if (i < structure_.size()) ++i;  // a stray closing tag
        }
        if (s.kind == FileState::Open) NoteUnclosed(s.createdAt, "the end of the script");
    }

    void NoteUnclosed(size_t tokenIndex, const char* before) {
        const SeenToken& t = seen_.tokens[tokenIndex];
        Note(kUnclosedCreate, t,
             std::string("the file of this <CREATE> is never closed before ") + before +
                 "; close it with <CLOSE>");
    }

    void Note(std::string_view check, const SeenToken& t, std::string message) {
        if (!noted_.insert({std::string(check), t.offset}).second) return;
        Add(check, t.offset, t.text.size(), std::move(message));
    }

    void AddCompileMessage(std::string_view line, std::string_view name,
                           const std::vector<Diagnostic>& diagnostics, std::vector<bool>& used) {
        if (!line.starts_with(name) || line.size() <= name.size() || line[name.size()] != '(')
            return;
        size_t close = line.find("): ", name.size());
        if (close == std::string_view::npos) return;
        int32_t number = 0;
        for (size_t i = name.size() + 1; i < close; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(line[i]))) return;
            number = number * 10 + (line[i] - '0');
            if (number > 100000000) return;
        }
        std::string_view message = line.substr(close + 3);
        bool warning = message.starts_with("Warning error:");
        // A warning about a tag points at the tag.
        if (warning) {
            for (size_t i = 0; i < diagnostics.size(); ++i) {
                if (used[i] || diagnostics[i].line != number) continue;
                used[i] = true;
                const char* spelling = CodeName(diagnostics[i].tag);
                Add(kCompileWarning, diagnostics[i].offset, spelling ? std::strlen(spelling) : 1,
                    std::string(message));
                return;
            }
        }
        size_t offset = std::min(lines_.StartOf(number), text_.size());
        Add(warning ? kCompileWarning : kCompileError, offset, lines_.LineLength(number),
            std::string(message));
        findings.back().line = number >= 1 ? number : 1;
        findings.back().column = 1;
    }

    std::string_view text_;
    LineIndex lines_;
    const Recorder& seen_;
    size_t bodyStart_ = 0;
    size_t bodyEnd_ = 0;
    Markup markup_;
    std::unordered_map<std::string, std::string> closest_;
    std::map<int32_t, Variable> variables_;
    std::vector<size_t> structure_;
    std::unordered_set<size_t> namelessCreates_;  // token indices of <CREATE>s that open no file
    std::set<std::pair<std::string, size_t>> noted_;
};

/// Removes `word` from the start of `rest`, in any letter case; false when it is not there.
bool TakeWord(std::string_view& rest, std::string_view word) {
    if (rest.size() < word.size() || !com::EqualsIgnoreCase(rest.substr(0, word.size()), word))
        return false;
    rest.remove_prefix(word.size());
    return true;
}

/// The checks each comment line "<COMMENT> lint: ignore NAME..." silences, by the line after it.
std::multimap<int32_t, std::string> IgnoredChecks(const std::vector<SeenComment>& comments,
                                                  const LineIndex& lines) {
    std::multimap<int32_t, std::string> ignored;
    for (const SeenComment& c : comments) {
        std::string_view rest = c.text.substr(std::min<size_t>(9, c.text.size()));
        auto skipBlanks = [&rest] {
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
                rest.remove_prefix(1);
        };
        skipBlanks();
        if (!TakeWord(rest, "lint:")) continue;
        skipBlanks();
        if (!TakeWord(rest, "ignore")) continue;
        int32_t next = lines.LineOf(c.offset) + 1;
        while (true) {
            while (!rest.empty() &&
                   (rest.front() == ' ' || rest.front() == '\t' || rest.front() == ','))
                rest.remove_prefix(1);
            size_t n = 0;
            while (n < rest.size() && !std::isspace(static_cast<unsigned char>(rest[n])) &&
                   rest[n] != ',')
                ++n;
            if (n == 0) break;
            ignored.emplace(next, std::string(rest.substr(0, n)));
            rest.remove_prefix(n);
        }
    }
    return ignored;
}

bool Selected(std::string_view check, const LintOptions& options) {
    if (!options.only.empty() &&
        std::find(options.only.begin(), options.only.end(), check) == options.only.end())
        return false;
    return std::find(options.skip.begin(), options.skip.end(), check) == options.skip.end();
}

}  // namespace

std::span<const std::string_view> LintCheckNames() {
    return kChecks;
}

bool IsLintCheck(std::string_view name) {
    return std::find(kChecks.begin(), kChecks.end(), name) != kChecks.end();
}

std::string FormatLintFinding(std::string_view file, const LintFinding& finding) {
    return std::string(file) + ":" + std::to_string(finding.line) + ":" +
           std::to_string(finding.column) + ": warning: " + finding.message + " [" + finding.check +
           "]";
}

std::vector<LintFinding> LintScript(std::string_view text, const LintOptions& options) {
    // The compilation goes through the engine's one state; what a host had there stays.
    const EngineState saved = Engine();
    static const std::string kName = "script";
    LogKeeper log;
    Recorder recorder;
    Exe script;
    CompileStatus status = CompileText(log, kName, text, script, &recorder);
    Engine() = saved;

    Linter linter(text, recorder);
    linter.CheckTokens(status.ok());
    linter.AddCompileMessages(log.log, kName, script.diagnostics());

    linter.Place();
    std::vector<LintFinding> all = std::move(linter.findings);
    std::stable_sort(all.begin(), all.end(), [](const LintFinding& a, const LintFinding& b) {
        return a.line != b.line ? a.line < b.line : a.offset < b.offset;
    });
    std::multimap<int32_t, std::string> ignored = IgnoredChecks(recorder.comments, linter.lines());
    std::vector<LintFinding> kept;
    for (LintFinding& f : all) {
        if (!Selected(f.check, options)) continue;
        auto [first, last] = ignored.equal_range(f.line);
        auto silencer =
            std::find_if(first, last, [&f](const auto& e) { return e.second == f.check; });
        if (silencer != last) {
            ignored.erase(silencer);
            continue;
        }
        kept.push_back(std::move(f));
    }
    return kept;
}

}  // namespace morva::tpx

#pragma once
// The tolerant scanner's interface (sql_auto_scanner.l): token kinds and a scanner over one
// decoded script text.

#include <string>
#include <string_view>

namespace morva::sql {

class Compilation;

namespace auto_token {
/// What the tolerant scanner delivers. kEnd is ";" while it is the boundary; kHardEnd is a
/// boundary that nothing inside a body can hide: a "/" line, a "GO" line, a DELIMITER or
/// SET TERM boundary.
enum Kind : int {
    kEof = 1,
    kEnd,
    kHardEnd,
    kWord,
    kQuoted,  // "name", [name] or `name`, quotes included
    kString,  // 'text' or a dollar-quoted body, quotes included
    kInteger,
    kNumber,
    kPunct,  // one character
};
}  // namespace auto_token

/// The scanner's state: the compilation (line counter, same-line comments), the boundary in
/// force and the tag of the dollar quote being skipped.
struct AutoScanState {
    Compilation* c = nullptr;
    std::string delimiter = ";";
    std::string dollarTag;
    bool labelComment = false;
};

/// Scans `text`, which must outlive the scanner.
class AutoScanner {
  public:
    AutoScanner(Compilation& c, std::string_view text);
    ~AutoScanner();
    AutoScanner(const AutoScanner&) = delete;
    AutoScanner& operator=(const AutoScanner&) = delete;

    /// The next token's kind; `text` is its text, valid while the scanner lives.
    int Next(std::string_view* text);

    /// Skips the data rows that follow COPY ... FROM stdin, up to the line "\.". Call it with
    /// no token scanned after the statement's boundary.
    void SkipCopyData();

  private:
    AutoScanState state_;
    void* handle_ = nullptr;
    void* buffer_ = nullptr;
};

}  // namespace morva::sql

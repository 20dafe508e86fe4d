#include "sqlcompiler/compilation.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <new>

#include "component/message_box.h"
#include "sqlcompiler/messages.h"

namespace morva::sql {

namespace {
constexpr size_t kCommentLineLimit = 1023;
}  // namespace

void Compilation::ResetCompilation(std::string scriptName) {
    model_.Clear();
    orphanColumns_.clear();
    texts_.clear();
    scriptName_ = std::move(scriptName);
    errors_ = warnings_ = fatals_ = 0;
    line = 1;
    mode = kModeSkipping;
    depth = 0;
    currentTable_ = nullptr;
    currentColumn_ = nullptr;
    tableLine_ = columnLine_ = -1;
    pendingMaster_.clear();
    pendingMasters_.clear();
    pendingLocals_.clear();
    commentOwner_ = CommentOwner::None;
    commentLines_.clear();
}

bool Compilation::OpenScript() {
    input_ = std::fopen(scriptName_.c_str(), "rb");
    // A folder opens for reading but cannot be read; it is no script either.
    struct stat info;
    if (input_ && (::fstat(::fileno(input_), &info) != 0 || S_ISDIR(info.st_mode))) {
        std::fclose(input_);
        input_ = nullptr;
    }
    if (!input_) {
        ReportLine(msg::kUnableToOpen, scriptName_.c_str());
        return false;
    }
    ReportLine(msg::kCompiling, scriptName_.c_str());
    StartInput();
    return true;
}

bool Compilation::CloseScript() {
    if (input_) std::fclose(input_);
    input_ = nullptr;
    if (fatals_ == 0) {
        ReportLine(msg::kSummary, errors_, warnings_);
        return true;
    }
    ReportLine(msg::kFatalSummary, fatals_);
    return false;
}

void Compilation::OpenText(std::string_view text) {
    textInput_ = text;
    StartInput();
}

void Compilation::CloseText() {
    textInput_ = {};
}

void Compilation::ReportLine(const char* format, ...) {
    va_list args, copy;
    va_start(args, format);
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    if (reporter_) reporter_(line, text);
}

void Compilation::ReportMemoryError() {
    com::ShowMessageBox(msg::kMemoryText, msg::kMemoryCaption, com::MbIcon::Stop);
    ++fatals_;
}

void Compilation::StartInput() {
    rawBegin_ = rawEnd_ = 0;
}

bool Compilation::FillRaw() {
    if (rawBegin_ < rawEnd_) return true;
    rawBegin_ = 0;
    if (input_) {
        rawEnd_ = std::fread(raw_.data(), 1, raw_.size(), input_);
    } else {
        rawEnd_ = std::min(raw_.size(), textInput_.size());
        std::copy_n(textInput_.data(), rawEnd_, raw_.data());
        textInput_.remove_prefix(rawEnd_);
    }
    return rawEnd_ > 0;
}

size_t Compilation::ReadInput(char* buffer, size_t max) {
    // The scanner may ask for a single byte when a long token has nearly filled its buffer, so
    // every request is filled as far as the input allows: only the end of the input gives 0.
    size_t n = 0;
    while (n < max && FillRaw()) {
        // The bytes up to the next carriage return move in one copy.
        const char* from = raw_.data() + rawBegin_;
        size_t take = std::min(max - n, rawEnd_ - rawBegin_);
        const void* cr = std::memchr(from, '\r', take);
        size_t plain = cr ? static_cast<size_t>(static_cast<const char*>(cr) - from) : take;
        std::memcpy(buffer + n, from, plain);
        n += plain;
        rawBegin_ += plain;
        if (!cr) continue;
        ++rawBegin_;
        // A carriage return is dropped when a line feed follows it, also across reads.
        if (FillRaw() && raw_[rawBegin_] == '\n') continue;
        buffer[n++] = '\r';
    }
    return n;
}

std::string Compilation::ReadWholeInput() {
    std::string text;
    while (FillRaw()) {
        text.append(raw_.data() + rawBegin_, rawEnd_ - rawBegin_);
        rawBegin_ = rawEnd_;
    }
    return text;
}

const std::string* Compilation::Intern(std::string_view text) {
    return &texts_.emplace_back(text);
}

void Compilation::OpenComment() {
    commentLines_.clear();
    if (currentColumn_ && line == columnLine_) {
        commentOwner_ = CommentOwner::Column;
    } else if (currentTable_ && line == tableLine_) {
        commentOwner_ = CommentOwner::Table;
    } else {
        commentOwner_ = CommentOwner::None;
        return;
    }
    commentLines_.emplace_back();
}

void Compilation::CommentText(std::string_view text) {
    if (commentOwner_ == CommentOwner::None) return;
    std::string& last = commentLines_.back();
    if (last.size() < kCommentLineLimit)
        last.append(text.substr(0, kCommentLineLimit - last.size()));
}

void Compilation::CommentNewline() {
    if (commentOwner_ != CommentOwner::None) commentLines_.emplace_back();
}

void Compilation::CloseComment() {
    if (commentOwner_ != CommentOwner::None) ApplyComment();
    commentOwner_ = CommentOwner::None;
    commentLines_.clear();
}

void Compilation::ApplyComment() {
    for (std::string& text : commentLines_) {
        size_t first = text.find_first_not_of(" \t");
        size_t last = text.find_last_not_of(" \t");
        text = first == std::string::npos ? "(None)" : text.substr(first, last - first + 1);
    }
    if (commentOwner_ == CommentOwner::Table) {
        currentTable_->label = commentLines_.front();
        return;
    }
    currentColumn_->label = commentLines_.front();
    for (size_t i = 1; i < commentLines_.size(); ++i)
        currentColumn_->lookupItems.push_back(commentLines_[i]);
}

}  // namespace morva::sql

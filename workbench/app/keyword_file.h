#pragma once
// The keyword language file "Keywords.CDF": named keyword lists for the editor's colouring.
//
// Layout, little-endian, no header: a 32-bit language count, then per language its name
// (one length byte and that many bytes), a 32-bit keyword count and the keywords (each one
// length byte and that many bytes).

#include <string>
#include <vector>

namespace morva::app {

struct KeywordLanguage {
    std::string name;
    std::vector<std::string> keywords;
};

/// Reads `path`. A file shorter than its fields, or with a negative count, is rejected with
/// "Invalid file format(path)"; a file that cannot be opened with "path: reason". Nothing is
/// stored in `languages` on failure.
bool ReadKeywordFile(const std::string& path, std::vector<KeywordLanguage>* languages,
                     std::string* error);

/// The file's bytes for `languages`; texts longer than 255 bytes are cut to 255 bytes without
/// splitting a UTF-8 sequence.
std::string EncodeKeywordFile(const std::vector<KeywordLanguage>& languages);

/// Replaces `path` atomically with the encoded `languages`.
bool WriteKeywordFile(const std::string& path, const std::vector<KeywordLanguage>& languages,
                      std::string* error);

}  // namespace morva::app

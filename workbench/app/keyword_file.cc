#include "workbench/app/keyword_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "component/atomic_file.h"
#include "component/binary_fields.h"

namespace morva::app {

bool ReadKeywordFile(const std::string& path, std::vector<KeywordLanguage>* languages,
                     std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string invalid = "Invalid file format(" + path + ")";
    com::FieldReader reader(data);
    int32_t count = 0;
    if (!reader.Count(&count)) {
        *error = invalid;
        return false;
    }
    std::vector<KeywordLanguage> read;
    for (int32_t i = 0; i < count; ++i) {
        KeywordLanguage language;
        int32_t keywords = 0;
        if (!reader.ShortString(&language.name) || !reader.Count(&keywords)) {
            *error = invalid;
            return false;
        }
        for (int32_t k = 0; k < keywords; ++k) {
            std::string word;
            if (!reader.ShortString(&word)) {
                *error = invalid;
                return false;
            }
            language.keywords.push_back(std::move(word));
        }
        read.push_back(std::move(language));
    }
    *languages = std::move(read);
    return true;
}

std::string EncodeKeywordFile(const std::vector<KeywordLanguage>& languages) {
    com::FieldWriter out;
    out.Int32(static_cast<int32_t>(languages.size()));
    for (const KeywordLanguage& language : languages) {
        out.ShortString(language.name);
        out.Int32(static_cast<int32_t>(language.keywords.size()));
        for (const std::string& word : language.keywords) out.ShortString(word);
    }
    return out.Take();
}

bool WriteKeywordFile(const std::string& path, const std::vector<KeywordLanguage>& languages,
                      std::string* error) {
    return com::WriteFileAtomically(path, EncodeKeywordFile(languages), error);
}

}  // namespace morva::app

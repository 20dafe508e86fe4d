#include "workbench/app/keyword_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "component/text_util.h"

namespace morva::app {

namespace {

// Reads fields from a byte buffer, checking each length against what is left.
class FieldReader {
  public:
    explicit FieldReader(std::string_view data) : data_(data) {}

    bool Int32(int32_t* value) {
        if (data_.size() - pos_ < 4) return false;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(data_[pos_ + i]);
        pos_ += 4;
        *value = static_cast<int32_t>(v);
        return true;
    }

    bool Text(std::string* text) {
        if (pos_ >= data_.size()) return false;
        const size_t length = static_cast<uint8_t>(data_[pos_]);
        if (data_.size() - pos_ - 1 < length) return false;
        text->assign(data_.substr(pos_ + 1, length));
        pos_ += 1 + length;
        return true;
    }

  private:
    std::string_view data_;
    size_t pos_ = 0;
};

void PutInt32(std::string* out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// At most 255 bytes, never ending inside a UTF-8 sequence.
void PutText(std::string* out, std::string_view text) {
    size_t length = text.size();
    if (length > 255) {
        length = 255;
        while (length > 0 && (static_cast<uint8_t>(text[length]) & 0xC0) == 0x80) --length;
    }
    out->push_back(static_cast<char>(length));
    out->append(text.substr(0, length));
}

}  // namespace

bool ReadKeywordFile(const std::string& path, std::vector<KeywordLanguage>* languages,
                     std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string invalid = "Invalid file format(" + path + ")";
    FieldReader reader(data);
    int32_t count = 0;
    if (!reader.Int32(&count) || count < 0) {
        *error = invalid;
        return false;
    }
    std::vector<KeywordLanguage> read;
    for (int32_t i = 0; i < count; ++i) {
        KeywordLanguage language;
        int32_t keywords = 0;
        if (!reader.Text(&language.name) || !reader.Int32(&keywords) || keywords < 0) {
            *error = invalid;
            return false;
        }
        for (int32_t k = 0; k < keywords; ++k) {
            std::string word;
            if (!reader.Text(&word)) {
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
    std::string out;
    PutInt32(&out, static_cast<int32_t>(languages.size()));
    for (const KeywordLanguage& language : languages) {
        PutText(&out, language.name);
        PutInt32(&out, static_cast<int32_t>(language.keywords.size()));
        for (const std::string& word : language.keywords) PutText(&out, word);
    }
    return out;
}

bool WriteKeywordFile(const std::string& path, const std::vector<KeywordLanguage>& languages,
                      std::string* error) {
    return com::WriteFileAtomically(path, EncodeKeywordFile(languages), error);
}

}  // namespace morva::app

// libFuzzer target for form file conversion: the input is read both as a binary form file
// and as a text form description. Whatever either side accepts must convert back and forth
// stably. Not built by default; for example:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/formfile_fuzz.cc \
//     $(ls workbench/formfile/*.cc | grep -v _test) component/text_util.cc -o formfile_fuzz

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "workbench/formfile/formfile.h"

using morva::formfile::BinaryToText;
using morva::formfile::ResourceHeader;
using morva::formfile::TextToBinary;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A binary that converts to text converts back, and that binary gives the same text.
void FromBinary(std::string_view data) {
    std::string text, binary, again, error;
    if (!BinaryToText(data, &text, &error)) return;
    Check(TextToBinary(text, ResourceHeader::kOmit, &binary, &error));
    Check(BinaryToText(binary, &again, &error));
    Check(again == text);
}

// A text that converts to binary converts back to text, and that text to the same binary.
void FromText(std::string_view data) {
    std::string binary, text, again, error;
    if (!TextToBinary(data, ResourceHeader::kInclude, &binary, &error)) return;
    Check(BinaryToText(binary, &text, &error));
    Check(TextToBinary(text, ResourceHeader::kInclude, &again, &error));
    Check(again == binary);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    FromBinary(input);
    FromText(input);
    return 0;
}

#pragma once
// A finding of the compiler about one tag of a script, for hosts that point at the tag. The log
// line that reports the same finding stays as it is; this adds which tag it was and where.

#include <cstddef>
#include <cstdint>
#include <string>

namespace morva::tpx {

struct Diagnostic {
    /// Line of the tag, from 1.
    int32_t line = 0;
    /// Character (code point) of the tag's "<" within its line, from 1.
    int32_t column = 0;
    /// Byte offset of the tag's "<" in the script.
    size_t offset = 0;
    /// Code of the tag.
    int32_t tag = 0;
    /// What is wrong, naming the tag: "<COLUMNS> depends on ...".
    std::string text;
};

}  // namespace morva::tpx

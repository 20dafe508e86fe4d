#pragma once
// Reading binary form files: the optional resource header, the "TPF0" signature and the
// object tree, every length checked against what is left.

#include <string_view>

#include "workbench/formfile/form_object.h"

namespace morva::formfile {

/// The binary form stream inside `data`: after the resource header when there is one (its
/// declared length checked), else `data` itself. Throws FormError when the header is
/// malformed or the data is neither.
std::string_view StripResourceHeader(std::string_view data);

/// Reads the top object of a binary form stream that begins with "TPF0". Throws FormError,
/// naming the offset in the file (`streamOffset` is where the stream begins there), on a
/// truncated or malformed stream. Bytes after the top object are ignored.
FormObject ReadBinary(std::string_view stream, size_t streamOffset = 0);

}  // namespace morva::formfile

#pragma once
// The binary form stream: "TPF0" followed by the top object in the value-type encoding.

#include <string>

#include "workbench/formfile/form_object.h"

namespace morva::formfile {

/// The value-type bytes of the binary form stream.
enum ValueType : unsigned char {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

/// Filer flags: a byte 0xF0 | flags before an object's class name.
enum FilerFlag : unsigned char { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

/// The four bytes every binary form stream begins with.
inline constexpr char kSignature[] = "TPF0";

/// The binary form stream of `root`, signature included. Throws FormError when a name does
/// not fit a short string or a value cannot be encoded.
std::string WriteBinary(const FormObject& root);

}  // namespace morva::formfile

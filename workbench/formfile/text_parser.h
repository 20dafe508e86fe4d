#pragma once
// Parsing the text form description: object, inherited and inline blocks, properties and
// their values.

#include <string_view>

#include "workbench/formfile/form_object.h"

namespace morva::formfile {

/// Parses a text form description holding one top object. Throws FormError with a message
/// "Line N: X expected but Y found" (or another line-numbered reason) on invalid text.
FormObject ParseText(std::string_view text);

}  // namespace morva::formfile

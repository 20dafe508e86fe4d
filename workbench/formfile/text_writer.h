#pragma once
// The text form of a form description: two spaces of indentation per level, list items,
// collection items and binary data on lines of their own, long strings wrapped with "+".

#include <string>

#include "workbench/formfile/form_object.h"

namespace morva::formfile {

/// The text form of `root`, lines ended by "\n". Throws FormError when a name is not an
/// identifier or a number cannot be written so that it reads back the same, because such a
/// text would not convert back to the same form.
std::string WriteText(const FormObject& root);

}  // namespace morva::formfile

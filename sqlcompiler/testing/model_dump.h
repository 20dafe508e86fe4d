#pragma once
// Canonical text form of the compiler's model, for tests that compare a model with its
// expected text.

#include <string>

#include "sqlcompiler/model.h"

namespace morva::sql::testing {

/// A canonical text form of the model (tables, then domains), one record a line.
std::string DumpModel(const Model& model);

}  // namespace morva::sql::testing

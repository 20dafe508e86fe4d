#pragma once
// Floating-point numbers as text, independent of the process locale, written so that they
// read back to exactly the same bits.

#include <string>

namespace morva::formfile {

/// Reads the whole of `text` as a decimal number. Values too small for the type round to a
/// tiny or zero value; false when the text is not a number or the value is too large.
bool ParseFloat(const std::string& text, long double* value);
bool ParseFloat(const std::string& text, double* value);
bool ParseFloat(const std::string& text, float* value);

/// The shortest decimal text that ParseFloat reads back to the same bits; throws FormError
/// for infinities, NaNs and encodings that no decimal reproduces.
std::string ExactFloatText(long double value);
std::string ExactFloatText(double value);
std::string ExactFloatText(float value);

}  // namespace morva::formfile

#pragma once
// The text form of a binary form file, for showing a ".DFM" file in an editor page.

#include <QString>

namespace morva::app {

/// Reads the binary form file `path` and gives its text form in `text`; false with a message
/// naming the file in `error` when it cannot be read or converted.
bool FormFileToText(const QString& path, QString* text, QString* error);

}  // namespace morva::app

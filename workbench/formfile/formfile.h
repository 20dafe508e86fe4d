#pragma once
// Form file conversion: the text form description ("object Form1: TForm1 ... end") to the
// binary form stream ("TPF0" ...) with or without its resource header, and back.

#include <cstdint>
#include <string>
#include <string_view>

namespace morva::formfile {

/// Whether a binary form file begins with the resource header (0xFF, type 10, the upper-cased
/// class name of the top object and a zero byte, memory flags 0x1030, the stream's length).
enum class ResourceHeader { kOmit, kInclude };

/// Converts a text form description to the binary form stream. False with a message naming
/// the line and what was expected in `error` when the text is not a valid form description.
bool TextToBinary(std::string_view text, ResourceHeader header, std::string* binary,
                  std::string* error);

/// Converts a binary form file, with or without the resource header, to its text form,
/// indented and line-wrapped. False with the reason in `error` when the data is truncated
/// or malformed.
bool BinaryToText(std::string_view data, std::string* text, std::string* error);

/// The resource header for a binary stream of `length` bytes whose top object has the class
/// `className`.
std::string MakeResourceHeader(std::string_view className, uint32_t length);

/// The target of converting `source`: its file name without directory and extension, then
/// ".DFM"; relative, so it lands in the current directory. Both "/" and "\" end a directory.
std::string FormFileTargetName(std::string_view source);

/// Reads the text form file `source`, converts it and writes the binary form file (with the
/// resource header) to `target`, or to FormFileTargetName(source) when `target` is empty.
/// The target is replaced only once the conversion succeeded; the source is never changed.
/// False with "<source>: Error on Converting to .DFM: <reason>" in `error` on failure.
bool ConvertToFormFile(const std::string& source, const std::string& target, std::string* error);

/// The output files of a run, as converting a form file the run just closed needs them.
class RunOutputFiles {
  public:
    virtual ~RunOutputFiles() = default;
    /// The text the run gave `name` when that is the file it closed last; false otherwise.
    virtual bool ClosedText(const std::string& name, std::string* text) = 0;
    /// `name` taken in the output folder.
    virtual std::string PathOf(const std::string& name) = 0;
    /// Writes the whole file `name` of `content` through the run's output files, leaving an
    /// unchanged file alone. 0 or the errno of the failure.
    virtual int Put(const std::string& name, const std::string& content) = 0;
};

/// Converts the text form file `filename`, just closed by a run, into FormFileTargetName of it
/// in the output folder, written through `files` so that an unchanged form file is left alone.
/// The text comes from the run when it has it, else from the file. False with
/// "<filename>: Error on Converting to .DFM: <reason>" in `error` on failure.
bool ConvertClosedFormFile(RunOutputFiles& files, const std::string& filename, std::string* error);

/// Reads the binary form file `path` and returns its text form, as the editor shows a ".DFM".
/// False with "<path>: <reason>" in `error` on failure.
bool ReadFormFileAsText(const std::string& path, std::string* text, std::string* error);

}  // namespace morva::formfile

#pragma once
// The output files of one run. Every output file passes through here: its text is collected
// while the run writes it and, when it is closed, compared with the file on disk. Identical
// text leaves the file untouched (its time stamp too), so builds that depend on generated code
// rebuild only what changed; different text replaces the file by renaming a temporary file of
// the same folder over it, so a reader never sees half a file. Into memory, nothing is written
// and the outcomes say what a run would change.

#include <string>
#include <string_view>
#include <vector>

#include "engine/script/kept_regions.h"

namespace morva::tpx {

/// Where the output goes.
enum class OutputTarget {
    Disk,    // the files are written (only those whose text changed)
    Memory,  // nothing is written; the outcomes and the texts are kept for a check or a diff
};

/// What a host chooses for the output of a run.
struct OutputPolicy {
    OutputTarget target = OutputTarget::Disk;
    /// The folder relative names are taken in; "" for the current folder.
    std::string folder;
};

/// What closing an output file did (or, into memory, would do).
enum class FileOutcome {
    Created,    // the file did not exist
    Changed,    // the file existed with other text
    Unchanged,  // the file existed with this text and was left alone
    Failed,     // the file could not be created, written or replaced
    Abandoned,  // the run stopped while the file was open; it keeps its previous text
};

/// One output file of the run, in the order they were closed.
struct OutputFile {
    std::string name;  // as the script named it
    FileOutcome outcome = FileOutcome::Failed;
    /// Into memory, for a file created or changed: the text on disk and the text the run made
    /// (after kept regions).
    std::string before, after;
};

/// A kept region that the file on disk had and the new text lacks.
struct LostRegion {
    std::string file;     // the output file, as the script named it
    std::string region;   // the region's name
    std::string savedAs;  // where its text was kept ("" into memory)
};

class OutputFiles {
  public:
    explicit OutputFiles(OutputPolicy policy = {});
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    /// Opens the output file `name`, closing an open one first. Folders in the name are made.
    /// On disk a file that does not exist is created empty at once. 0, or the errno that
    /// keeps the file from being written (the file is then not open).
    int Open(const std::string& name);
    /// Appends to the open file's text.
    void Write(std::string_view text) { text_.append(text); }
    bool IsOpen() const { return open_; }
    /// Closes the open file, applying kept regions and writing it when its text changed. 0 or
    /// the errno of the failure.
    int Close();
    /// Drops the open file's text: the file keeps what it held before the run.
    void Abandon();
    /// Writes a whole file `name` of `content` (a converted form file) as Close would, without
    /// kept regions. 0 or the errno of the failure.
    int Put(const std::string& name, std::string_view content);

    /// The text the last closed file was given, or null when `name` is not that file.
    const std::string* LastClosedText(const std::string& name) const;
    /// Every file closed, put or abandoned, in order.
    const std::vector<OutputFile>& files() const { return files_; }
    const std::vector<LostRegion>& lostRegions() const { return lost_; }
    /// How many files failed.
    int failures() const;
    const OutputPolicy& policy() const { return policy_; }
    /// `name` taken in the policy's folder.
    std::string PathOf(const std::string& name) const;

  private:
    /// Checks that `name` can be written and, on disk, makes its folders and creates it empty
    /// when new. 0 or errno.
    int Prepare(const std::string& name);
    /// Settles file `name` with `text`; `isNew` when the file did not exist before the run.
    int Finish(const std::string& name, std::string text, bool keepRegions, bool isNew);
    /// Settles the open file that Prepare created with `text`, through `newFd_`.
    int FinishCreated(std::string text);
    void SaveLostRegion(const std::string& name, const KeptRegion& region);

    OutputPolicy policy_;
    bool open_ = false;
    bool newFile_ = false;
    // The open file when Prepare created it: it is known to be empty, so its text is written
    // straight into it on closing, without reading it back or a temporary file.
    int newFd_ = -1;
    std::string name_;
    std::string text_;
    std::string lastText_;
    std::vector<OutputFile> files_;
    std::vector<LostRegion> lost_;
};

/// Makes sure `folder` can take a run's files before anything runs; when `make`, it is made
/// when missing (a run into memory writes nothing and makes nothing). "" when it can, else the
/// reason.
std::string PrepareOutputFolder(const std::string& folder, bool make);

/// Reads the whole file `path` into `text`; false when it cannot be read (errno set).
bool ReadWholeFile(const std::string& path, std::string* text);

/// Replaces `path` with `content` through a temporary file in its folder, keeping the
/// permissions of the file it replaces and following a symbolic link to its target. 0 or errno.
int ReplaceFile(const std::string& path, std::string_view content);

}  // namespace morva::tpx

#pragma once
// One folder of the file system and the few things the workbench does with folders.

#include <string>
#include <vector>

namespace morva::app {

class TDirectory {
  public:
    explicit TDirectory(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    /// True when the folder exists and can be entered.
    bool Exists() const;
    /// Creates the folder, one level only; the parent must exist.
    bool Make() const;
    /// Deletes every plain file of the folder; subfolders stay.
    bool DeleteFiles() const;
    /// Deletes the plain files, then the folder itself (which fails when anything is left).
    bool Remove() const;
    /// Names (without folder) of the plain files matching `pattern`, and with `withFolders`
    /// also of the subfolders, sorted by name ignoring case. Letter case is ignored when
    /// matching, "*.*" matches every name, and hidden entries (a leading dot) are left out.
    std::vector<std::string> List(const std::string& pattern, bool withFolders) const;

  private:
    std::string path_;
};

}  // namespace morva::app

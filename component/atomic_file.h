#pragma once
// Replacing files atomically and durably: data goes to a temporary file in the same folder,
// reaches the disk, and only then is renamed over the file, so that a failure or a crash
// while saving never destroys the previous copy.

#include <string>
#include <string_view>
#include <vector>

namespace morva::com {

/// Replaces files of one folder as one batch. Add writes each file's data to a temporary file
/// in the folder; Commit makes the data of every temporary durable with one sync of the
/// folder's file system, renames every temporary over its file, then syncs the folder. Until
/// Commit the previous files stay as they were; temporaries not committed are removed when
/// the batch ends. An open batch holds a shared lock on its folder, so that
/// RemoveStaleTemporaryFiles leaves its temporaries alone.
class AtomicFileBatch {
  public:
    /// A batch for files of `folder` ("" for the current folder).
    explicit AtomicFileBatch(std::string folder);
    ~AtomicFileBatch();
    AtomicFileBatch(const AtomicFileBatch&) = delete;
    AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;

    /// Writes `data` to a new temporary file that Commit renames to `name`. False with
    /// "path: reason" in `error` when the temporary cannot be made or written.
    bool Add(const std::string& name, std::string_view data, std::string* error);
    /// Syncs, renames and syncs the folder as described above; an empty batch succeeds. False
    /// with "path: reason" on the first failure; files renamed before it stay replaced.
    bool Commit(std::string* error);
    /// How many files wait for Commit.
    size_t size() const { return pending_.size(); }

  private:
    struct Pending {
        std::string temp;
        std::string target;
    };
    std::string PathOf(const std::string& name) const;
    bool SyncData();
    void Discard();

    std::string folder_;
    int folderFd_ = -1;
    std::vector<Pending> pending_;
};

/// Writes `data` to `path` through a batch of one, making missing parent folders first. False
/// with a reason ("path: strerror") in `error` on failure.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error);

/// Whether `name` is a temporary file that a batch makes (".morva-" and six letters or
/// digits) or that earlier table file saves made (".table-" and six): never a file of its own.
bool IsTemporaryFileName(std::string_view name);

/// Writes all of `data` to the descriptor, going on after short writes and interruptions; false
/// with errno set when a write fails.
bool WriteAll(int fd, std::string_view data);
/// Removes the temporaries `names` of `folder`, left behind by interrupted saves, unless a
/// batch has the folder open: then they may still be in use and stay. Best effort.
void RemoveStaleTemporaryFiles(const std::string& folder, const std::vector<std::string>& names);

}  // namespace morva::com

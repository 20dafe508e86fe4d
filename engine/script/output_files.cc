#include "engine/script/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "component/atomic_file.h"

namespace morva::tpx {

namespace fs = std::filesystem;

namespace {

/// The file a name finally stands for: symbolic links followed to their target, so that
/// replacing the file replaces the target and the link stays.
std::string FinalPath(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    fs::path target = fs::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

/// Makes the folders `path` lies in. 0 or errno.
int MakeParentFolders(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    if (parent.empty()) return 0;
    std::error_code ec;
    fs::create_directories(parent, ec);
    // A file where a folder should be reads better as "Not a directory" than "File exists".
    if (ec.value() == EEXIST) return ENOTDIR;
    return ec ? ec.value() : 0;
}

/// Creates `path` as a new empty file open for writing, making missing folders first; -1 when
/// a file (or a link, or a folder) is there already or the file cannot be made this way.
int CreateNewFile(const std::string& path) {
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags, 0666);
    if (fd < 0 && errno == ENOENT && MakeParentFolders(path) == 0)
        fd = ::open(path.c_str(), kFlags, 0666);
    return fd;
}

}  // namespace

std::string PrepareOutputFolder(const std::string& folder, bool make) {
    std::error_code ec;
    fs::file_status status = fs::status(folder, ec);
    if (!make) {
        if (fs::exists(status) && !fs::is_directory(status)) return "it is not a folder";
        return {};
    }
    if (!fs::exists(status)) {
        fs::create_directories(folder, ec);
        if (ec) return "cannot create it: " + ec.message();
        status = fs::status(folder, ec);
    }
    if (!fs::is_directory(status)) return "it is not a folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return std::string("cannot write in it: ") + std::strerror(errno);
    return {};
}

bool ReadWholeFile(const std::string& path, std::string* text) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    text->clear();
    if (::fstat(fd, &st) == 0 && st.st_size > 0) text->reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (n == 0) break;
        text->append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

int ReplaceFile(const std::string& path, std::string_view content) {
    std::string target = FinalPath(path);
    fs::path folder = fs::path(target).parent_path();
    std::string temp = (folder.empty() ? fs::path(".morva-XXXXXX") : folder / ".morva-XXXXXX");
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    // The new file gets the permissions of the one it replaces, or those a new file gets.
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !com::WriteAll(fd, content)) error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temp.c_str());
    return error;
}

OutputFiles::OutputFiles(OutputPolicy policy) : policy_(std::move(policy)) {}

OutputFiles::~OutputFiles() {
    Abandon();
}

std::string OutputFiles::PathOf(const std::string& name) const {
    if (policy_.folder.empty() || (!name.empty() && name[0] == '/')) return name;
    return (fs::path(policy_.folder) / name).string();
}

int OutputFiles::Open(const std::string& name) {
    if (open_) Close();
    int error = Prepare(name);
    if (error != 0) {
        files_.push_back({name, FileOutcome::Failed, {}, {}});
        return error;
    }
    open_ = true;
    name_ = name;
    text_.clear();
    return 0;
}

int OutputFiles::Prepare(const std::string& name) {
    std::string path = PathOf(name);
    if (policy_.target == OutputTarget::Disk) {
        // Most files of a run are new: one call creates them, as a copy would.
        newFd_ = CreateNewFile(path);
        if (newFd_ >= 0) {
            newFile_ = true;
            return 0;
        }
    }
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) return EISDIR;
    if (policy_.target == OutputTarget::Disk) {
        newFile_ = !fs::exists(status);
        // An existing file's folders exist.
        if (newFile_)
            if (int error = MakeParentFolders(path)) return error;
        // Opening without truncating tells whether the file may be written, and creates a new
        // one empty as a run always has; its text changes only when the file is closed.
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return errno;
        ::close(fd);
    }
    return 0;
}

int OutputFiles::Close() {
    if (!open_) return 0;
    open_ = false;
    if (newFd_ >= 0) return FinishCreated(std::move(text_));
    return Finish(name_, std::move(text_), true, newFile_);
}

void OutputFiles::Abandon() {
    if (!open_) return;
    open_ = false;
    // A file created on opening stays empty.
    if (newFd_ >= 0) ::close(std::exchange(newFd_, -1));
    text_.clear();
    files_.push_back({name_, FileOutcome::Abandoned, {}, {}});
}

int OutputFiles::Put(const std::string& name, std::string_view content) {
    if (open_) Close();
    std::string path = PathOf(name);
    std::error_code ec;
    bool isNew = !fs::exists(fs::status(path, ec));
    if (policy_.target == OutputTarget::Disk) {
        if (int error = MakeParentFolders(path)) {
            files_.push_back({name, FileOutcome::Failed, {}, {}});
            return error;
        }
    }
    return Finish(name, std::string(content), false, isNew);
}

int OutputFiles::Finish(const std::string& name, std::string text, bool keepRegions, bool isNew) {
    std::string path = PathOf(name);
    std::string before;
    // A file that cannot be read cannot be compared: it is replaced.
    bool existed = ReadWholeFile(path, &before);
    if (keepRegions && existed && HasKeptRegionMarker(before)) {
        std::vector<KeptRegion> lost;
        text = MergeKeptRegions(text, before, &lost);
        for (const KeptRegion& region : lost) SaveLostRegion(name, region);
    }
    // The text stays for a form file conversion that may follow.
    lastText_ = std::move(text);
    OutputFile file{name, FileOutcome::Unchanged, {}, {}};
    if (policy_.target == OutputTarget::Memory) {
        if (!existed) {
            file.outcome = FileOutcome::Created;
        } else if (before != lastText_) {
            file.outcome = FileOutcome::Changed;
        }
        // Both texts are kept for a difference, of the files that would change only.
        if (file.outcome != FileOutcome::Unchanged) {
            file.before = std::move(before);
            file.after = lastText_;
        }
        files_.push_back(std::move(file));
        return 0;
    }
    int error = 0;
    if (!existed || before != lastText_) {
        error = ReplaceFile(path, lastText_);
        file.outcome = FileOutcome::Changed;
    }
    // A new file was created empty when it was opened: it counts as created even when its
    // text is empty.
    if (isNew) file.outcome = FileOutcome::Created;
    if (error) file.outcome = FileOutcome::Failed;
    files_.push_back(std::move(file));
    return error;
}

// The file was created empty by this run, so there is nothing to compare with and no kept
// region to merge, and no earlier text that a failed write could destroy: a write that fails
// leaves it empty again, as a failed replacement would.
int OutputFiles::FinishCreated(std::string text) {
    int fd = std::exchange(newFd_, -1);
    lastText_ = std::move(text);
    int error = 0;
    if (!com::WriteAll(fd, lastText_)) {
        error = errno ? errno : EIO;
        // Best effort: the write's error is the one reported.
        [[maybe_unused]] int truncated = ::ftruncate(fd, 0);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    files_.push_back({name_, error ? FileOutcome::Failed : FileOutcome::Created, {}, {}});
    return error;
}

void OutputFiles::SaveLostRegion(const std::string& name, const KeptRegion& region) {
    LostRegion lost{name, region.name, {}};
    if (policy_.target == OutputTarget::Disk) {
        std::string saved = ".morva/regions/" + name + "." + region.name;
        std::string path = PathOf(saved);
        if (MakeParentFolders(path) == 0 && ReplaceFile(path, region.body) == 0)
            lost.savedAs = saved;
    }
    lost_.push_back(std::move(lost));
}

const std::string* OutputFiles::LastClosedText(const std::string& name) const {
    if (files_.empty() || files_.back().name != name) return nullptr;
    return &lastText_;
}

int OutputFiles::failures() const {
    int n = 0;
    for (const OutputFile& f : files_) n += f.outcome == FileOutcome::Failed;
    return n;
}

}  // namespace morva::tpx

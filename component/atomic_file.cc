#include "component/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace morva::com {

namespace {

constexpr std::string_view kTempPrefix = ".morva-";
constexpr std::string_view kOldTempPrefix = ".table-";
constexpr size_t kTempSuffixLength = 6;  // what mkstemp puts in place of "XXXXXX"

bool Fail(const std::string& path, std::string* error) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
}

int OpenFolder(const std::string& folder) {
    return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Keeps errno across a clean-up call, so that the failure reported is the first one.
template <typename F>
void KeepingErrno(F cleanUp) {
    int saved = errno;
    cleanUp();
    errno = saved;
}

}  // namespace

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

AtomicFileBatch::AtomicFileBatch(std::string folder) : folder_(std::move(folder)) {}

AtomicFileBatch::~AtomicFileBatch() {
    Discard();
    if (folderFd_ >= 0) ::close(folderFd_);  // releases the lock
}

std::string AtomicFileBatch::PathOf(const std::string& name) const {
    if (folder_.empty()) return name;
    return folder_.back() == '/' ? folder_ + name : folder_ + "/" + name;
}

bool AtomicFileBatch::Add(const std::string& name, std::string_view data, std::string* error) {
    std::string target = PathOf(name);
    if (folderFd_ < 0) {
        folderFd_ = OpenFolder(folder_);
        if (folderFd_ < 0) return Fail(target, error);
        ::flock(folderFd_, LOCK_SH);
    }
    // A short temporary name, so that a file name of the longest length allowed still works.
    std::string temp = PathOf(std::string(kTempPrefix) + "XXXXXX");
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return Fail(target, error);
    bool ok = WriteAll(fd, data) && ::fchmod(fd, 0644) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        KeepingErrno([&] { ::unlink(temp.c_str()); });
        return Fail(target, error);
    }
    pending_.push_back({std::move(temp), std::move(target)});
    return true;
}

// One file is synced on its own; for more, one sync of the whole file system costs less than
// a sync per file.
bool AtomicFileBatch::SyncData() {
    if (pending_.size() != 1) return ::syncfs(folderFd_) == 0;
    int fd = ::open(pending_[0].temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    KeepingErrno([&] { ::close(fd); });
    return ok;
}

bool AtomicFileBatch::Commit(std::string* error) {
    if (pending_.empty()) return true;
    if (!SyncData()) {
        std::string path = pending_[0].target;
        KeepingErrno([&] { Discard(); });
        return Fail(path, error);
    }
    for (size_t i = 0; i < pending_.size(); ++i) {
        if (std::rename(pending_[i].temp.c_str(), pending_[i].target.c_str()) != 0) {
            std::string path = pending_[i].target;
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(i));
            KeepingErrno([&] { Discard(); });
            return Fail(path, error);
        }
    }
    std::string last = pending_.back().target;
    pending_.clear();
    // The renames are durable once the folder is.
    if (::fsync(folderFd_) != 0) return Fail(last, error);
    return true;
}

void AtomicFileBatch::Discard() {
    for (const Pending& p : pending_) ::unlink(p.temp.c_str());
    pending_.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
    std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    AtomicFileBatch batch(target.has_parent_path() ? target.parent_path().string() : "");
    if (!batch.Add(target.filename().string(), data, error)) return false;
    return batch.Commit(error);
}

bool IsTemporaryFileName(std::string_view name) {
    if (!name.starts_with(kTempPrefix) && !name.starts_with(kOldTempPrefix)) return false;
    if (name.size() != kTempPrefix.size() + kTempSuffixLength) return false;
    for (char c : name.substr(kTempPrefix.size()))
        if (!(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z'))
            return false;
    return true;
}

void RemoveStaleTemporaryFiles(const std::string& folder, const std::vector<std::string>& names) {
    if (names.empty()) return;
    int fd = OpenFolder(folder);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        for (const std::string& name : names) ::unlinkat(fd, name.c_str(), 0);
    }
    ::close(fd);
}

}  // namespace morva::com

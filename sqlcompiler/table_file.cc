#include "sqlcompiler/table_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "component/text_util.h"

namespace morva::sql {
namespace fs = std::filesystem;

std::string CutText(std::string_view text, size_t max) {
    if (text.size() <= max) return std::string(text);
    size_t end = max;
    // Step back over continuation bytes so that a multi-byte sequence is never cut in two.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

namespace {

class Writer {
  public:
    void Int(int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    void Text(std::string_view s) {
        std::string cut = CutText(s);
        out_.push_back(static_cast<char>(cut.size()));
        out_ += cut;
    }
    void Count(size_t n) { Int(static_cast<int32_t>(n)); }
    std::string Take() { return std::move(out_); }

  private:
    std::string out_;
};

// Reads fields front to back; every read checks what is left and latches a failure.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    bool ok() const { return ok_; }

    int32_t Int() {
        if (!ok_ || rest_.size() < 4) return Fail();
        uint32_t u = 0;
        for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(rest_[i]);
        rest_.remove_prefix(4);
        return static_cast<int32_t>(u);
    }
    std::string Text() {
        if (!ok_ || rest_.empty()) return Fail(), std::string();
        size_t n = static_cast<unsigned char>(rest_[0]);
        if (rest_.size() - 1 < n) return Fail(), std::string();
        std::string s(rest_.substr(1, n));
        rest_.remove_prefix(1 + n);
        return s;
    }
    // A count of entries each at least `minBytes` long: rejects counts the rest cannot hold,
    // so that a corrupt count never makes the reader reserve absurd amounts of memory.
    size_t Count(size_t minBytes) {
        int32_t n = Int();
        if (!ok_ || n < 0 || static_cast<size_t>(n) > rest_.size() / minBytes) return Fail(), 0;
        return static_cast<size_t>(n);
    }

  private:
    int32_t Fail() {
        ok_ = false;
        return 0;
    }
    std::string_view rest_;
    bool ok_ = true;
};

// Smallest encodings: a column entry is 4 empty texts, 5 ints, 3 empty texts and a count.
constexpr size_t kMinColumnBytes = 4 + 5 * 4 + 3 + 4;
constexpr size_t kMinGroupBytes = 1 + 4;
constexpr size_t kMinPairBytes = 2;

ColumnEntry ReadColumn(Reader& r) {
    ColumnEntry c;
    c.name = r.Text();
    c.type = r.Text();
    c.label = r.Text();
    c.dataType = r.Text();
    c.length = r.Int();
    c.displayWidth = r.Int();
    c.flags = r.Int();
    c.precision = r.Int();
    c.scale = r.Int();
    c.lookupTable = r.Text();
    c.lookupColumn = r.Text();
    c.lookupKey = r.Text();
    size_t items = r.Count(1);
    for (size_t i = 0; i < items && r.ok(); ++i) c.lookupItems.push_back(r.Text());
    return c;
}

RefGroupEntry ReadGroup(Reader& r) {
    RefGroupEntry g;
    g.masterTable = r.Text();
    size_t pairs = r.Count(kMinPairBytes);
    for (size_t i = 0; i < pairs && r.ok(); ++i) {
        RefPairEntry p;
        p.masterColumn = r.Text();
        p.localColumn = r.Text();
        g.pairs.push_back(std::move(p));
    }
    return g;
}

std::string Reason(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Writes `data` to a temporary file in `folder`, then renames it to `name`. The temporary
// name is short, so that a table name of the longest length a file name allows still works.
bool ReplaceFile(const std::string& folder, const std::string& name, std::string_view data,
                 std::string* error) {
    std::string path = folder + "/" + name;
    std::string temp = folder + "/.table-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (error) *error = Reason(path);
        return false;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        if (error) *error = Reason(path);
        ::unlink(temp.c_str());
    }
    return ok;
}

}  // namespace

std::string EncodeTableFile(const TableFile& table) {
    Writer w;
    w.Int(kTableMagic);
    w.Int(kTableVersion);
    w.Text(table.name);
    w.Text(table.type);
    w.Text(table.label);
    w.Count(table.columns.size());
    w.Count(table.columns.size());
    for (const ColumnEntry& c : table.columns) {
        w.Text(c.name);
        w.Text(c.type);
        w.Text(c.label);
        w.Text(c.dataType);
        w.Int(c.length);
        w.Int(c.displayWidth);
        w.Int(c.flags);
        w.Int(c.precision);
        w.Int(c.scale);
        w.Text(c.lookupTable);
        w.Text(c.lookupColumn);
        w.Text(c.lookupKey);
        w.Count(c.lookupItems.size());
        for (const std::string& item : c.lookupItems) w.Text(item);
    }
    w.Count(table.groups.size());
    for (const RefGroupEntry& g : table.groups) {
        w.Text(g.masterTable);
        w.Count(g.pairs.size());
        for (const RefPairEntry& p : g.pairs) {
            w.Text(p.masterColumn);
            w.Text(p.localColumn);
        }
    }
    return w.Take();
}

bool DecodeTableFile(std::string_view bytes, TableFile* table) {
    Reader r(bytes);
    if (r.Int() != kTableMagic || r.Int() != kTableVersion) return false;
    TableFile t;
    t.name = r.Text();
    t.type = r.Text();
    t.label = r.Text();
    r.Int();  // the first column count is not used
    size_t columns = r.Count(kMinColumnBytes);
    for (size_t i = 0; i < columns && r.ok(); ++i) t.columns.push_back(ReadColumn(r));
    size_t groups = r.Count(kMinGroupBytes);
    for (size_t i = 0; i < groups && r.ok(); ++i) t.groups.push_back(ReadGroup(r));
    if (!r.ok()) return false;  // bytes after the last group are ignored, as before
    *table = std::move(t);
    return true;
}

bool ReadTableFile(const std::string& path, TableFile* table, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = Reason(path);
        return false;
    }
    // The header is checked before the rest is read, so that a large stray file in the
    // folder is turned away without being loaded.
    std::string bytes(8, '\0');
    in.read(bytes.data(), 8);
    bytes.resize(static_cast<size_t>(in.gcount()));
    bool header = bytes == EncodeTableFile({}).substr(0, 8);  // magic and version
    if (header) bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error) *error = Reason(path);
        return false;
    }
    if (!header || !DecodeTableFile(bytes, table)) {
        if (error) *error = "Invalid file format(" + path + ")";
        return false;
    }
    return true;
}

bool IsSafeTableFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

bool WriteTableFileTo(const std::string& folder, const TableFile& table, std::string* error) {
    std::string name = CutText(table.name);
    if (!IsSafeTableFileName(name)) {
        if (error) *error = "\"" + name + "\": not a valid table file name";
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (error) *error = folder + ": " + (ec ? ec.message() : "No such directory");
        return false;
    }
    return ReplaceFile(folder, name, EncodeTableFile(table), error);
}

bool ListTableFiles(const std::string& folder, std::vector<std::string>* names,
                    std::string* error) {
    names->clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc)) names->push_back(it->path().filename().string());
    }
    if (ec) {
        if (error) *error = folder + ": " + ec.message();
        return false;
    }
    std::sort(names->begin(), names->end(), [](const std::string& a, const std::string& b) {
        std::string ua = com::ToUpperAscii(a), ub = com::ToUpperAscii(b);
        return ua != ub ? ua < ub : a < b;
    });
    return true;
}

bool LoadDatabaseFolder(const std::string& folder, std::vector<TableFile>* tables,
                        std::string* error) {
    tables->clear();
    std::vector<std::string> names;
    if (!ListTableFiles(folder, &names, error)) return false;
    for (const std::string& name : names) {
        TableFile t;
        if (!ReadTableFile(folder + "/" + name, &t, error)) return false;
        tables->push_back(std::move(t));
    }
    return true;
}

bool EnsureDatabaseFolder(const std::string& folder, std::string* error) {
    std::error_code ec;
    fs::create_directories(fs::path(folder) / kSchemaFolderName, ec);
    if (ec) {
        if (error) *error = folder + ": " + ec.message();
        return false;
    }
    return true;
}

bool SaveDatabaseFolder(const std::string& folder, const std::vector<TableFile>& tables,
                        std::string* error) {
    if (!EnsureDatabaseFolder(folder, error)) return false;
    for (const TableFile& t : tables)
        if (!WriteTableFileTo(folder, t, error)) return false;
    return true;
}

namespace {

// Deletes the plain files of `folder`, then the folder.
bool DeleteFilesAndFolder(const std::string& folder, std::string* error) {
    std::vector<std::string> names;
    if (!ListTableFiles(folder, &names, error)) return false;
    for (const std::string& name : names) {
        std::string path = folder + "/" + name;
        if (::unlink(path.c_str()) != 0) {
            if (error) *error = Reason(path);
            return false;
        }
    }
    if (::rmdir(folder.c_str()) != 0) {
        if (error) *error = Reason(folder);
        return false;
    }
    return true;
}

}  // namespace

bool DeleteDatabaseFolder(const std::string& folder, std::string* error) {
    std::string schema = folder + "/" + kSchemaFolderName;
    std::error_code ec;
    if (fs::is_directory(schema, ec) && !DeleteFilesAndFolder(schema, error)) return false;
    return DeleteFilesAndFolder(folder, error);
}

}  // namespace morva::sql

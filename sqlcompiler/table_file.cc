#include "sqlcompiler/table_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "component/atomic_file.h"
#include "component/binary_fields.h"
#include "component/file_name.h"
#include "component/text_util.h"
#include "component/utf8.h"

namespace morva::sql {
namespace fs = std::filesystem;

std::string CutText(std::string_view text, size_t max) {
    return std::string(com::CutUtf8(text, max));
}

namespace {

// Reads fields front to back; a failed read latches and the values read after it are zero or
// empty, so that the decoder can read on and check once at the end.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : in_(bytes) {}
    bool ok() const { return !in_.failed(); }

    int32_t Int() {
        int32_t v = 0;
        return in_.Int32(&v) ? v : 0;
    }
    std::string Text() {
        std::string s;
        in_.ShortString(&s);
        return s;
    }
    // A count of entries each at least `minBytes` long: rejects counts the rest cannot hold,
    // so that a corrupt count never makes the reader reserve absurd amounts of memory.
    size_t Count(size_t minBytes) {
        int32_t n = 0;
        if (!in_.Count(&n)) return 0;
        if (static_cast<size_t>(n) > in_.remaining() / minBytes) return in_.Fail(), 0;
        return static_cast<size_t>(n);
    }

  private:
    com::FieldReader in_;
};

// Smallest encodings: a column entry is 4 empty texts, 5 ints, 3 empty texts and a count.
constexpr size_t kMinColumnBytes = 4 + 5 * 4 + 3 + 4;
constexpr size_t kMinGroupBytes = 1 + 4;
constexpr size_t kMinPairBytes = 2;

void ReadColumn(Reader& r, ColumnEntry& c) {
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

}  // namespace

TableFileEncoder::TableFileEncoder(std::string_view name, std::string_view type,
                                   std::string_view label, size_t columns) {
    out_.Int32(kTableMagic);
    out_.Int32(kTableVersion);
    out_.ShortString(name);
    out_.ShortString(type);
    out_.ShortString(label);
    Count(columns);
    Count(columns);
}

void TableFileEncoder::Count(size_t n) {
    out_.Int32(static_cast<int32_t>(n));
}

void TableFileEncoder::Column(const ColumnEntry& c) {
    out_.ShortString(c.name);
    out_.ShortString(c.type);
    out_.ShortString(c.label);
    out_.ShortString(c.dataType);
    out_.Int32(c.length);
    out_.Int32(c.displayWidth);
    out_.Int32(c.flags);
    out_.Int32(c.precision);
    out_.Int32(c.scale);
    out_.ShortString(c.lookupTable);
    out_.ShortString(c.lookupColumn);
    out_.ShortString(c.lookupKey);
    Count(c.lookupItems.size());
    for (const std::string& item : c.lookupItems) out_.ShortString(item);
}

void TableFileEncoder::GroupCount(size_t groups) {
    Count(groups);
}

void TableFileEncoder::Group(std::string_view masterTable, size_t pairs) {
    out_.ShortString(masterTable);
    Count(pairs);
}

void TableFileEncoder::Pair(const RefPairEntry& p) {
    out_.ShortString(p.masterColumn);
    out_.ShortString(p.localColumn);
}

std::string TableFileEncoder::Take() {
    return out_.Take();
}

std::string EncodeTableFile(const TableFile& table) {
    TableFileEncoder out(table.name, table.type, table.label, table.columns.size());
    for (const ColumnEntry& c : table.columns) out.Column(c);
    out.GroupCount(table.groups.size());
    for (const RefGroupEntry& g : table.groups) {
        out.Group(g.masterTable, g.pairs.size());
        for (const RefPairEntry& p : g.pairs) out.Pair(p);
    }
    return out.Take();
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
    t.columns.reserve(columns);  // the count is bounded by the bytes that follow
    for (size_t i = 0; i < columns && r.ok(); ++i) ReadColumn(r, t.columns.emplace_back());
    size_t groups = r.Count(kMinGroupBytes);
    for (size_t i = 0; i < groups && r.ok(); ++i) t.groups.push_back(ReadGroup(r));
    if (!r.ok()) return false;  // bytes after the last group are ignored, as before
    *table = std::move(t);
    return true;
}

namespace {

// Appends up to `limit` more bytes of `fd` to `bytes`, reading until the end of the file or the
// limit. A read error ends the data as the end of the file does: the decoder then turns the
// short file away.
void ReadOnto(int fd, std::string* bytes, size_t limit) {
    while (limit > 0) {
        if (bytes->size() == bytes->capacity()) bytes->reserve(2 * bytes->capacity());
        size_t at = bytes->size();
        size_t want = std::min(limit, bytes->capacity() - at);
        bytes->resize(at + want);
        ssize_t n;
        do n = ::read(fd, bytes->data() + at, want);
        while (n < 0 && errno == EINTR);
        bytes->resize(at + static_cast<size_t>(std::max<ssize_t>(n, 0)));
        if (n <= 0) break;
        limit -= static_cast<size_t>(n);
    }
}

}  // namespace

bool ReadTableFile(const std::string& path, TableFile* table, std::string* error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = Reason(path);
        return false;
    }
    struct stat st {};
    size_t size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    // A table file is read whole in one call, with a byte to spare to see its end; a larger
    // stray file in the folder is turned away on its header before the rest is loaded.
    constexpr size_t kFirstRead = 64 * 1024;
    size_t first = size == 0 ? kFirstRead : std::min(size + 1, kFirstRead);
    std::string bytes;
    bytes.reserve(first);
    ReadOnto(fd, &bytes, first);
    static const std::string kHeader = EncodeTableFile({}).substr(0, 8);  // magic and version
    bool header = bytes.size() >= kHeader.size() && bytes.compare(0, kHeader.size(), kHeader) == 0;
    if (header && bytes.size() == first) {
        bytes.reserve(size + 1);
        ReadOnto(fd, &bytes, SIZE_MAX);
    }
    ::close(fd);
    if (!header || !DecodeTableFile(bytes, table)) {
        if (error) *error = "Invalid file format(" + path + ")";
        return false;
    }
    return true;
}

TableFileBatch::TableFileBatch(std::string folder) : folder_(folder), files_(std::move(folder)) {}

bool TableFileBatch::Add(const TableFile& table, std::string* error) {
    return Add(table.name, EncodeTableFile(table), error);
}

bool TableFileBatch::Add(std::string_view tableName, std::string_view bytes, std::string* error) {
    std::string name = CutText(tableName);
    if (!com::IsSafeFileName(name)) {
        if (error) *error = "\"" + name + "\": not a valid table file name";
        return false;
    }
    if (files_.size() == 0) {
        std::error_code ec;
        if (!fs::is_directory(folder_, ec)) {
            if (error) *error = folder_ + ": " + (ec ? ec.message() : "No such directory");
            return false;
        }
    }
    return files_.Add(name, bytes, error);
}

bool TableFileBatch::Commit(std::string* error) {
    return files_.Commit(error);
}

bool WriteTableFileTo(const std::string& folder, const TableFile& table, std::string* error) {
    TableFileBatch batch(folder);
    return batch.Add(table, error) && batch.Commit(error);
}

namespace {

// The plain files of `folder`, unsorted; temporaries of interrupted saves apart.
bool ListPlainFiles(const std::string& folder, std::vector<std::string>* names,
                    std::vector<std::string>* temporaries, std::string* error) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        std::string name = it->path().filename().string();
        (com::IsTemporaryFileName(name) ? temporaries : names)->push_back(std::move(name));
    }
    if (ec) {
        if (error) *error = folder + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

bool ListTableFiles(const std::string& folder, std::vector<std::string>* names,
                    std::string* error) {
    names->clear();
    std::vector<std::string> temporaries;
    if (!ListPlainFiles(folder, names, &temporaries, error)) return false;
    com::RemoveStaleTemporaryFiles(folder, temporaries);
    // Each name's upper case is made once, not at every comparison.
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names->size());
    for (std::string& name : *names) keyed.emplace_back(com::ToUpperAscii(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names->clear();
    for (auto& [upper, name] : keyed) names->push_back(std::move(name));
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
    TableFileBatch batch(folder);
    for (const TableFile& t : tables)
        if (!batch.Add(t, error)) return false;
    return batch.Commit(error);
}

namespace {

// Deletes the plain files of `folder`, temporaries included, then the folder.
bool DeleteFilesAndFolder(const std::string& folder, std::string* error) {
    std::vector<std::string> names;
    if (!ListPlainFiles(folder, &names, &names, error)) return false;
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

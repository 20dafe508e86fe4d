#include "tests/support/postgres_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace morva::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBinDir = "/usr/lib/postgresql/15/bin";

// A port on the loopback interface that nobody listens on right now.
int FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

PostgresServer::~PostgresServer() {
    Stop();
}

int PostgresServer::Run(const std::string& command, std::string* output) {
    // From the root folder, which every user may enter, whatever the caller's folder is.
    std::string inRoot = "cd / && " + command;
    std::string full = asPostgresUser_ ? "runuser -u postgres -- sh -c " + Quote(inRoot)
                                       : "sh -c " + Quote(inRoot);
    full += " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    std::string text;
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    int status = ::pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PostgresServer::Start(std::string* why) {
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        Stop();
        return false;
    };
    if (!fs::exists(std::string(kBinDir) + "/initdb"))
        return fail(std::string("no PostgreSQL 15 binaries in ") + kBinDir);
    asPostgresUser_ = ::geteuid() == 0;
    if (asPostgresUser_) {
        if (!::getpwnam("postgres")) return fail("running as root and there is no postgres user");
        user_ = "postgres";
    } else {
        const passwd* me = ::getpwuid(::geteuid());
        user_ = me ? me->pw_name : "postgres";
    }
    std::string templ = (fs::temp_directory_path() / "morva-pgXXXXXX").string();
    if (!::mkdtemp(templ.data())) return fail("cannot make a temporary folder");
    folder_ = templ;
    if (asPostgresUser_) {
        const passwd* pg = ::getpwnam("postgres");
        if (::chown(folder_.c_str(), pg->pw_uid, pg->pw_gid) != 0)
            return fail("cannot hand " + folder_ + " to the postgres user");
    }
    std::string pwfile = folder_ + "/pwfile";
    std::ofstream(pwfile) << password_ << "\n";
    if (asPostgresUser_) {
        const passwd* pg = ::getpwnam("postgres");
        if (::chown(pwfile.c_str(), pg->pw_uid, pg->pw_gid) != 0) return fail("cannot chown");
    }
    std::string output;
    std::string initdb = std::string(kBinDir) + "/initdb -D " + Quote(folder_ + "/data") + " -U " +
                         Quote(user_) + " --pwfile=" + Quote(pwfile) +
                         " --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --no-sync";
    if (Run(initdb, &output) != 0) return fail("initdb failed: " + output);
    for (int attempt = 0; attempt < 5 && !running_; ++attempt) {
        port_ = FreePort();
        if (port_ == 0) continue;
        std::string options = "-p " + std::to_string(port_) + " -k " + folder_ +
                              " -c listen_addresses=127.0.0.1 -c fsync=off";
        std::string start = std::string(kBinDir) + "/pg_ctl start -w -t 60 -D " +
                            Quote(folder_ + "/data") + " -l " + Quote(folder_ + "/server.log") +
                            " -o " + Quote(options);
        running_ = Run(start, &output) == 0;
    }
    if (!running_) {
        std::ifstream log(folder_ + "/server.log");
        std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        return fail("the server did not start: " + output + text);
    }
    return true;
}

void PostgresServer::Stop() {
    if (running_) {
        Run(std::string(kBinDir) + "/pg_ctl stop -m fast -w -D " + Quote(folder_ + "/data"),
            nullptr);
        running_ = false;
    }
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        folder_.clear();
    }
}

std::string PostgresServer::Psql(const std::string& database) const {
    return std::string(kBinDir) + "/psql -X -q -v ON_ERROR_STOP=1 -h " + Quote(folder_) + " -p " +
           std::to_string(port_) + " -U " + Quote(user_) + " -d " + Quote(database);
}

bool PostgresServer::RunSql(const std::string& database, const std::string& sql,
                            std::string* error) {
    std::string output;
    if (Run(Psql(database) + " -c " + Quote(sql), &output) == 0) return true;
    if (error) *error = output;
    return false;
}

bool PostgresServer::RunSqlFile(const std::string& database, const std::string& path,
                                std::string* error) {
    // A copy in the server's folder, which the server's user can read wherever `path` is.
    std::string copy = folder_ + "/script.sql";
    std::error_code ec;
    fs::copy_file(path, copy, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        if (error) *error = path + ": " + ec.message();
        return false;
    }
    if (asPostgresUser_) {
        const passwd* pg = ::getpwnam("postgres");
        if (!pg || ::chown(copy.c_str(), pg->pw_uid, pg->pw_gid) != 0) {
            if (error) *error = "cannot hand " + copy + " to the postgres user";
            return false;
        }
    }
    std::string output;
    if (Run(Psql(database) + " -f " + Quote(copy), &output) == 0) return true;
    if (error) *error = output;
    return false;
}

bool PostgresServer::Query(const std::string& database, const std::string& sql,
                           std::string* output) {
    return Run(Psql(database) + " -A -t -F '|' -c " + Quote(sql), output) == 0;
}

}  // namespace morva::testing

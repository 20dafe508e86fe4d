#pragma once
// A throw-away PostgreSQL server for tests: a new cluster in a temporary folder, listening on a
// loopback port, user "morva" without password. Runs the server tools as the postgres user
// when the tests run as root, since the server refuses to run as root.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace morva::alias::testing {

class TestPostgres {
  public:
    /// Starts the server; ok() says whether it runs.
    TestPostgres() {
        bin_ = FindBinaries();
        if (bin_.empty()) return;
        std::string pattern = (std::filesystem::temp_directory_path() / "morva-pg-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        dir_ = pattern;
        port_ = 20000 + static_cast<int>(::getpid() % 20000);
        if (::geteuid() == 0) {
            as_ = "runuser -u postgres -- ";
            Run("chown postgres " + dir_);
        }
        if (!Run(as_ + bin_ + "/initdb -D " + dir_ + "/data -A trust -U morva --no-sync")) return;
        // Another test run may hold a port: try a few.
        for (int attempt = 0; attempt < 5 && !ok_; ++attempt) {
            ok_ = Run(as_ + bin_ + "/pg_ctl -D " + dir_ + "/data -w -l " + dir_ + "/log -o \"-k " +
                      dir_ + " -p " + std::to_string(port_) +
                      " -c listen_addresses=127.0.0.1 -c fsync=off\" start");
            if (!ok_) port_ += 7;
        }
    }
    ~TestPostgres() {
        if (!dir_.empty()) {
            if (ok_) Run(as_ + bin_ + "/pg_ctl -D " + dir_ + "/data -m immediate stop");
            std::error_code ec;
            std::filesystem::remove_all(dir_, ec);
        }
    }
    TestPostgres(const TestPostgres&) = delete;
    TestPostgres& operator=(const TestPostgres&) = delete;

    bool ok() const { return ok_; }
    int port() const { return port_; }
    /// Runs `sql` in database `db` through psql.
    bool Sql(const std::string& db, const std::string& sql) const {
        return Run(bin_ + "/psql -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + std::to_string(port_) +
                   " -U morva -d " + db + " -c \"" + sql + "\"");
    }

  private:
    static std::string FindBinaries() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec))
            if (std::filesystem::exists(entry.path() / "bin/initdb", ec))
                return (entry.path() / "bin").string();
        return {};
    }
    static bool Run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }

    std::string bin_, dir_, as_;
    int port_ = 0;
    bool ok_ = false;
};

}  // namespace morva::alias::testing

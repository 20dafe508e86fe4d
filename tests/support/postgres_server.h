#pragma once
// A private PostgreSQL 15 server for integration tests: a fresh cluster in a temporary
// folder, listening on 127.0.0.1 at a free port with its socket in that folder, run as the
// postgres user when the tests run as root. Stopped and removed when the object goes.

#include <string>

namespace morva::testing {

class PostgresServer {
  public:
    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    /// Creates and starts the cluster with the superuser `user()` whose password is
    /// `password()`; password authentication is required on TCP. False with the reason in
    /// `why` when the server cannot be started (no binaries, initdb or start failing).
    bool Start(std::string* why);
    /// Stops the server (fast shutdown) and removes its folder. Safe to call twice.
    void Stop();

    bool running() const { return running_; }
    int port() const { return port_; }
    std::string host() const { return "127.0.0.1"; }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }

    /// Runs `sql` with psql against `database` as the superuser. False with psql's output
    /// in `error` on failure.
    bool RunSql(const std::string& database, const std::string& sql, std::string* error);
    /// Runs the script file at `path` with psql against `database`, stopping at its first
    /// error. False with psql's output in `error` on failure.
    bool RunSqlFile(const std::string& database, const std::string& path, std::string* error);
    /// Runs the query `sql` against `database`; `output` gets its rows, one a line, the fields
    /// separated by '|'. False with psql's output in `output` on failure.
    bool Query(const std::string& database, const std::string& sql, std::string* output);

  private:
    /// Runs `command` (as the server's user when needed); its output goes to `output`.
    int Run(const std::string& command, std::string* output);
    /// psql as the superuser against `database`, quiet and stopping at the first error.
    std::string Psql(const std::string& database) const;

    std::string folder_;
    std::string user_;
    std::string password_ = "morva-test";
    int port_ = 0;
    bool asPostgresUser_ = false;
    bool running_ = false;
};

}  // namespace morva::testing

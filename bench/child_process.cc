#include "bench/child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace morva::bench {

ChildCost RunChild(const std::vector<std::string>& argv, const std::string& log,
                   const std::vector<std::string>& environment) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> settings = environment;  // putenv keeps the pointers
    pid_t pid = fork();
    if (pid == 0) {
        for (std::string& setting : settings) putenv(setting.data());
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        execvp(args[0], args.data());
        _exit(127);
    }
    ChildCost cost;
    if (pid < 0) return cost;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return cost;
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    cost.user = seconds(usage.ru_utime);
    cost.seconds = cost.user + seconds(usage.ru_stime);
    cost.peakKB = usage.ru_maxrss;
    return cost;
}

std::string ProgramFolder() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
}

}  // namespace morva::bench

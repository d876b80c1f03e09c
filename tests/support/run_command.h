// Runs a command line through the shell and collects its exit status and output, for tests that
// exercise the command-line tools the way a user does.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orv::test {

struct CommandResult {
    int status = -1;      // exit status, or -1 if it did not exit normally
    std::string output;   // stdout, plus stderr when merged
};

// `merge_stderr` appends 2>&1 so that messages can be checked too.
inline CommandResult RunCommand(const std::string& command, bool merge_stderr = true) {
    const std::string cmd = merge_stderr ? command + " 2>&1" : command;
    CommandResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

}  // namespace orv::test

// Running the outside tools of the independent checks (POSIX only: the
// checks run in the native build).
#ifndef ZUB_FLOPPY_TESTS_OUTSIDE_TOOLS_H
#define ZUB_FLOPPY_TESTS_OUTSIDE_TOOLS_H

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace floppytest {

struct Ran {
    int status;
    std::string out;
};

// Runs a shell command; its standard output (standard error joined).
inline Ran RunTool(const std::string& command)
{
    Ran ran{-1, ""};
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return ran;
    char block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0)
        ran.out.append(block, got);
    const int status = pclose(pipe);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

inline bool HaveTool(const char* name)
{
    return RunTool(std::string("command -v ") + name).status == 0;
}

}  // namespace floppytest

#endif

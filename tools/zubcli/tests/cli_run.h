// Runs zubcli in-process with its standard output and error captured.
#ifndef ZUB_ZUBCLI_TESTS_CLI_RUN_H
#define ZUB_ZUBCLI_TESTS_CLI_RUN_H

#include <sstream>
#include <string>
#include <vector>

#include "zubcli.h"

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun Zubcli(std::vector<std::string> args)
{
    args.insert(args.begin(), "zubcli");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = RunZubcli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

#endif

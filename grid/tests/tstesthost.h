// Native tests of the grid's portable core: the native host with its two
// output channels captured, installed for the life of a fixture.
#ifndef ZUB_GRID_TESTS_TSTESTHOST_H
#define ZUB_GRID_TESTS_TSTESTHOST_H

#include <string>
#include <vector>

#include "tshost.h"

class TsTestHost {
public:
    TsTestHost()
    {
        host_ = *TsNativeHost();
        host_.diagnostic = [](const char* line) { Diagnostics().push_back(line); };
        host_.trace = [](const char* text) { Traces().push_back(text); };
        previous_ = TsSetHost(&host_);
        Diagnostics().clear();
        Traces().clear();
    }
    ~TsTestHost() { TsSetHost(previous_); }
    TsTestHost(const TsTestHost&) = delete;
    TsTestHost& operator=(const TsTestHost&) = delete;

    static std::vector<std::string>& Diagnostics()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    static std::vector<std::string>& Traces()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    TsHost host_;
    TsHost* previous_;
};

#endif

#include <iostream>

#include "zubcli.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const int status = RunZubcli(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    return status;
}

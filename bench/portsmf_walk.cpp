// portsmf_walk FILE: the portSMF side of bench_smf's whole-process timing.
#include <cstdio>

#include "portsmf_read.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const long events = PortsmfReadAndWalk(argv[1]);
    if (events < 0)
        return 2;
    std::printf("%ld events\n", events);
    return 0;
}

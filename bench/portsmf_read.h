// The portSMF reader as the baseline of bench_smf: the whole file read into
// an Alg_seq (notes paired, tempo map built), then a walk of every event of
// every track, as a program that reads a song's facts would do.
#ifndef ZUB_BENCH_PORTSMF_READ_H
#define ZUB_BENCH_PORTSMF_READ_H

#include <cstring>  // allegro.h uses memcpy without including it
#include <fstream>

#include <allegro.h>

// The number of events, or -1 when the file cannot be read.
inline long PortsmfReadAndWalk(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return -1;
    Alg_seq seq(in, true);
    if (seq.get_read_error() != alg_no_error)
        return -1;
    long events = 0;
    double sum = 0;
    for (int t = 0; t < seq.tracks(); ++t) {
        Alg_track& track = *seq.track(t);
        for (int i = 0; i < track.length(); ++i) {
            sum += track[i]->time;
            ++events;
        }
    }
    return sum >= 0 ? events : -1;
}

#endif

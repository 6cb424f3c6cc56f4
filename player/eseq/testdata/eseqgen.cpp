// eseqgen: writes ESEQ test songs, the odd cases, or whole floppy trees.
//   eseqgen song OUT [SEED] [NOTES]
//   eseqgen odd FOLDER
//   eseqgen tree ROOT DISKS SONGS_PER_DISK [SEED]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "eseq_testdata.h"
#include "hostfile.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: eseqgen song OUT [SEED] [NOTES]\n"
                 "       eseqgen odd FOLDER\n"
                 "       eseqgen tree ROOT DISKS SONGS_PER_DISK [SEED]\n");
    return 1;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (WriteFileImage(path.c_str(), bytes.data(), bytes.size()) == FileResult::Ok)
        return true;
    std::fprintf(stderr, "eseqgen: cannot write %s\n", path.c_str());
    return false;
}

unsigned Number(const char* text)
{
    return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    if (command == "song") {
        const unsigned seed = argc > 3 ? Number(argv[3]) : 1;
        const int notes = argc > 4 ? static_cast<int>(Number(argv[4])) : 120;
        return Write(argv[2], eseqtest::BuildEseq(eseqtest::SampleSong(seed, "Generated Song", notes))) ? 0 : 2;
    }
    if (command == "odd") {
        for (const eseqtest::NamedSong& song : eseqtest::OddSongs()) {
            if (!Write(std::string(argv[2]) + "/" + song.name, song.bytes))
                return 2;
        }
        return 0;
    }
    if (command == "tree" && argc >= 5) {
        const int disks = static_cast<int>(Number(argv[3]));
        const int songs = static_cast<int>(Number(argv[4]));
        const unsigned seed = argc > 5 ? Number(argv[5]) : 1;
        const int written = eseqtest::WriteFloppyTree(argv[2], disks, songs, seed);
        std::printf("%d songs written\n", written);
        return written == disks * songs ? 0 : 2;
    }
    return Usage();
}

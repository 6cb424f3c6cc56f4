// Listing and extracting every file of 100 generated 720 KB images: zubcli
// (`image list` and `image get` per image) beside mtools (`mdir` and
// `mcopy` per image) in the same run, both started as programs the same
// way, and the image module in process for reference. Prints the times and
// the ratio zubcli / mtools (goal: below 1).
//   floppy_bench [WORK_FOLDER]   (default: under /dev/shm, else the temporary folder)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "floppy_image.h"
#include "hostfile.h"

extern char** environ;

namespace fs = std::filesystem;
using floppy::FloppyImage;

namespace {

constexpr int kImages = 100;

double Seconds(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs a program with its output thrown away; false unless it exits with 0.
bool Run(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Song-sized files (4 to 60 KB) until the disk is about nine tenths full.
std::vector<std::string> MakeImage(const std::string& path, uint32_t seed, size_t* bytes)
{
    FloppyImage image = FloppyImage::Blank(floppy::kImage720, seed);
    std::vector<std::string> names;
    uint32_t x = seed * 2654435761u + 7;
    for (int n = 1; image.FreeBytes() > floppy::kImage720 / 10; ++n) {
        x = x * 1103515245u + 12345u;
        std::vector<uint8_t> song(4096 + (x >> 8) % 57344);
        for (size_t i = 0; i < song.size(); ++i)
            song[i] = uint8_t((i * 31 + x) >> 3);
        char name[32];
        std::snprintf(name, sizeof name, "SONG%02d.MID", n);
        if (image.WriteFile(name, song.data(), song.size()) != floppy::ImageError::Ok)
            break;
        names.push_back(name);
        *bytes += song.size();
    }
    image.Save(path);
    return names;
}

}  // namespace

int main(int argc, char** argv)
{
    // By default the images and the extracted files are kept in memory
    // where the machine has such a folder. On a disk, creating the 6000
    // files takes most of the time of both tools alike, and more after
    // every run (the file system passes over the files the run before
    // deleted), which drowns what the tools themselves do.
    std::error_code noMemoryFolder;
    const fs::path base = fs::is_directory("/dev/shm", noMemoryFolder) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path work = argc > 1 ? fs::path(argv[1]) : base / "zub_floppy_bench";
    fs::remove_all(work);
    fs::create_directories(work / "images");
    if (!Run({"mcopy", "--version"})) {
        std::printf("mtools is not installed (scripts/setup.sh installs it): no baseline, no ratio\n");
        return 1;
    }
    std::vector<std::string> images;
    std::vector<std::vector<std::string>> names;
    size_t bytes = 0, files = 0;
    for (int i = 0; i < kImages; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "DSKA%04d.IMG", i);
        images.push_back((work / "images" / name).string());
        names.push_back(MakeImage(images.back(), uint32_t(i + 1), &bytes));
        files += names.back().size();
    }
    std::printf("%d images of 720 KB, %zu files, %.1f MB, in %s\n", kImages, files, bytes / 1e6, work.c_str());
    setenv("MTOOLS_SKIP_CHECK", "1", 1);

    bool ok = true;
    // The two tools take turns image by image (which one goes first
    // alternating), so the load of this shared machine falls on both alike.
    sync();
    fs::create_directories(work / "mtools");
    fs::create_directories(work / "zubcli");
    double mtools = 0, zubcli = 0;
    for (int i = 0; i < kImages; ++i) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool ours = (turn == 0) == (i % 2 == 0);
            const std::string out = (work / (ours ? "zubcli" : "mtools") / std::to_string(i)).string();
            fs::create_directory(out);
            const auto start = std::chrono::steady_clock::now();
            if (ours) {
                ok &= Run({ZUBCLI_PATH, "image", "list", images[i]});
                std::vector<std::string> get = {ZUBCLI_PATH, "image", "get", images[i]};
                get.insert(get.end(), names[i].begin(), names[i].end());
                get.insert(get.end(), {"-o", out});
                ok &= Run(get);
                zubcli += Seconds(start);
            } else {
                ok &= Run({"mdir", "-i", images[i], "::"});
                ok &= Run({"mcopy", "-n", "-i", images[i], "::*", out});
                mtools += Seconds(start);
            }
        }
    }

    sync();
    fs::create_directories(work / "inproc");
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kImages; ++i) {
        const std::string out = (work / "inproc" / std::to_string(i)).string();
        fs::create_directory(out);
        FloppyImage image;
        ok &= image.Open(images[i]) == floppy::ImageError::Ok;
        std::vector<floppy::ImageEntry> entries;
        image.List("", &entries);
        for (const floppy::ImageEntry& e : entries) {
            std::vector<uint8_t> song;
            ok &= image.ReadFile(e.name, &song) == floppy::ImageError::Ok;
            ok &= WriteFileImage((out + "/" + e.name).c_str(), song.data(), song.size()) == FileResult::Ok;
        }
    }
    const double inProcess = Seconds(start);

    // Every tool extracted every file, byte for byte the same.
    size_t checked = 0;
    for (int i = 0; i < kImages && ok; ++i) {
        for (const std::string& n : names[i]) {
            std::vector<uint8_t> a, b, c;
            ReadFileImage((work / "mtools" / std::to_string(i) / n).c_str(), &a);
            ReadFileImage((work / "zubcli" / std::to_string(i) / n).c_str(), &b);
            ReadFileImage((work / "inproc" / std::to_string(i) / n).c_str(), &c);
            ok &= !a.empty() && a == b && b == c;
            ++checked;
        }
    }
    std::printf("mtools  (mdir + mcopy per image)           %7.3f s\n", mtools);
    std::printf("zubcli  (image list + image get per image) %7.3f s\n", zubcli);
    std::printf("in process (FloppyImage, no program start) %7.3f s\n", inProcess);
    std::printf("%zu files compared: %s\n", checked, ok ? "all equal" : "FAILED");
    std::printf("ratio zubcli / mtools = %.2f (goal: below 1)\n", zubcli / mtools);
    fs::remove_all(work);
    return ok ? 0 : 1;
}

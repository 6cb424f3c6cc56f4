// zubcli image list|get|put|del|create|pack. Every change is made to the
// image in memory and written back only when the whole command succeeded.
#include "image_commands.h"

#include <iomanip>
#include <sstream>

#include <sys/stat.h>

#include "batch_host.h"
#include "eseq_commands.h"
#include "floppy_image.h"
#include "image_pack.h"
#include "image_paths.h"

using floppy::FloppyImage;
using floppy::ImageEntry;
using floppy::ImageError;

const char kImageUsage[] =
    "       zubcli image list IMG\n"
    "       zubcli image get IMG NAME... [-o DIR]\n"
    "       zubcli image put IMG FILE...\n"
    "       zubcli image del IMG NAME...\n"
    "       zubcli image create [--size 720|1440] IMG\n"
    "       zubcli image pack [--size 720|1440] [--prefix DSKA] SOURCE OUTDIR\n";

namespace {

class ImageCli {
public:
    ImageCli(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    int Usage(const std::string& problem) { return OptionError(err_, "image: " + problem); }
    int Fail(const std::string& path, const std::string& text)
    {
        err_ << "zubcli: " << path << ": " << text << "\n";
        return 2;
    }
    // Opens an image; a damaged one is reported (status 2 at the end) but
    // still read. False when there is nothing to read.
    bool Open(const std::string& path, FloppyImage* image)
    {
        const ImageError e = image->Open(path);
        if (e == ImageError::OpenFailed) {
            status_ = Fail(path, "open failed");
            return false;
        }
        if (!image->IsClean())
            status_ = Fail(path, "damaged image (" + image->Damage() + ")");
        return image->Size() != 0;
    }
    int Save(const FloppyImage& image, const std::string& path)
    {
        if (image.Save(path) != ImageError::Ok)
            return Fail(path, "write failed");
        return 0;
    }

    int List(const std::vector<std::string>& args);
    int Get(const std::vector<std::string>& args);
    int Put(const std::vector<std::string>& args);
    int Delete(const std::vector<std::string>& args);
    int Create(const std::vector<std::string>& args);
    int Pack(const std::vector<std::string>& args);

    int status_ = 0;

private:
    void ListFolder(const FloppyImage& image, const std::string& folder, int* files, int* folders);
    int DiskFull(const FloppyImage& image, const std::string& path, const std::vector<std::string>& files,
                 const std::vector<std::vector<uint8_t>>& contents);

    std::ostream& out_;
    std::ostream& err_;
};

std::string LeafName(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

std::time_t ModifiedTime(const std::string& path)
{
    struct stat info;
    return stat(HostPath(path.c_str()).c_str(), &info) == 0 ? info.st_mtime : 0;
}

// "--size 720|1440" at args[i]; false with a usage problem.
bool ParseSize(const std::vector<std::string>& args, size_t* i, size_t* size)
{
    if (*i + 1 >= args.size() || (args[*i + 1] != "720" && args[*i + 1] != "1440"))
        return false;
    *size = args[++*i] == "720" ? floppy::kImage720 : floppy::kImage1440;
    return true;
}

void ImageCli::ListFolder(const FloppyImage& image, const std::string& folder, int* files, int* folders)
{
    std::vector<ImageEntry> entries;
    if (image.List(folder, &entries) != ImageError::Ok)
        return;
    for (const ImageEntry& e : entries) {
        const std::string name = folder.empty() ? e.name : folder + "\\" + e.name;
        std::ostringstream line;
        line << std::left << std::setw(12) << (e.isFolder ? name + "\\" : name) << " " << std::right << std::setw(10);
        if (e.isFolder)
            line << "";
        else
            line << e.size;
        line << "  " << floppy::FatDateText(e.date, e.time) << "\n";
        out_ << line.str();
        ++*(e.isFolder ? folders : files);
        if (e.isFolder)
            ListFolder(image, name, files, folders);
    }
}

int ImageCli::List(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Usage("list: expected one image");
    FloppyImage image;
    if (!Open(args[0], &image))
        return status_;
    int files = 0, folders = 0;
    ListFolder(image, "", &files, &folders);
    out_ << files << (files == 1 ? " file, " : " files, ") << folders << (folders == 1 ? " folder, " : " folders, ")
         << image.FreeBytes() << " bytes free\n";
    return status_;
}

int ImageCli::Get(const std::vector<std::string>& args)
{
    std::string imagePath, outDir = ".";
    std::vector<std::string> names;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size())
                return Usage("get: -o needs a folder");
            outDir = args[++i];
        } else if (imagePath.empty()) {
            imagePath = args[i];
        } else {
            names.push_back(args[i]);
        }
    }
    if (imagePath.empty() || names.empty())
        return Usage("get: expected an image and at least one name");
    FloppyImage image;
    if (!Open(imagePath, &image))
        return status_;
    for (const std::string& name : names) {
        ImageEntry entry;
        std::vector<uint8_t> bytes;
        ImageError e = image.Find(name, &entry);
        if (e == ImageError::Ok)
            e = image.ReadFile(name, &bytes);
        if (e != ImageError::Ok) {
            status_ = Fail(imagePath, name + ": " + floppy::ImageErrorText(e));
            continue;
        }
        const std::string target = Join(outDir, entry.name);
        if (WriteFileImage(target.c_str(), bytes.data(), bytes.size()) != FileResult::Ok) {
            status_ = Fail(target, "write failed");
            continue;
        }
        out_ << target << "\n";
    }
    return status_;
}

// How much is missing for all the files together, once the files they
// replace are gone.
int ImageCli::DiskFull(const FloppyImage& image, const std::string& path, const std::vector<std::string>& files,
                       const std::vector<std::vector<uint8_t>>& contents)
{
    FloppyImage scratch = image;
    uint64_t need = 0;
    const size_t cluster = image.Geometry().ClusterBytes();
    for (size_t i = 0; i < files.size(); ++i) {
        scratch.Delete(LeafName(files[i]));
        need += (contents[i].size() + cluster - 1) / cluster * cluster;
    }
    if (need <= scratch.FreeBytes())
        return Fail(path, "the root folder is full (" + std::to_string(image.Geometry().rootEntries) +
                              " entries); nothing was written");
    return Fail(path, "disk full: " + std::to_string(need - scratch.FreeBytes()) +
                          " more bytes needed; nothing was written");
}

int ImageCli::Put(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return Usage("put: expected an image and at least one file");
    const std::string& imagePath = args[0];
    const std::vector<std::string> files(args.begin() + 1, args.end());
    FloppyImage image;
    if (!Open(imagePath, &image) || !image.IsClean())
        return status_ ? status_ : 2;
    std::vector<std::vector<uint8_t>> contents(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        if (ReadFileImage(files[i].c_str(), &contents[i]) != FileResult::Ok)
            return Fail(files[i], "cannot be read; nothing was written");
    }
    const FloppyImage original = image;
    std::ostringstream report;
    for (size_t i = 0; i < files.size(); ++i) {
        std::string written;
        const ImageError e = image.WriteFile(LeafName(files[i]), contents[i].data(), contents[i].size(),
                                             FloppyImage::Existing::Replace, &written, ModifiedTime(files[i]));
        if (e == ImageError::DiskFull || e == ImageError::RootFull)
            return DiskFull(original, imagePath, files, contents);
        if (e != ImageError::Ok)
            return Fail(imagePath, LeafName(files[i]) + ": " + floppy::ImageErrorText(e) + "; nothing was written");
        report << files[i] << " -> " << written << "\n";
    }
    if (int status = Save(image, imagePath))
        return status;
    out_ << report.str() << image.FreeBytes() << " bytes free\n";
    return 0;
}

int ImageCli::Delete(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        return Usage("del: expected an image and at least one name");
    FloppyImage image;
    if (!Open(args[0], &image) || !image.IsClean())
        return status_ ? status_ : 2;
    for (size_t i = 1; i < args.size(); ++i) {
        const ImageError e = image.Delete(args[i]);
        if (e != ImageError::Ok)
            return Fail(args[0], args[i] + ": " + floppy::ImageErrorText(e) + "; nothing was deleted");
    }
    if (int status = Save(image, args[0]))
        return status;
    out_ << image.FreeBytes() << " bytes free\n";
    return 0;
}

int ImageCli::Create(const std::vector<std::string>& args)
{
    size_t size = floppy::kImage720;
    std::string path;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (!ParseSize(args, &i, &size))
                return Usage("create: --size expects 720 or 1440");
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return Usage("create: unknown option " + args[i]);
        } else if (path.empty()) {
            path = args[i];
        } else {
            return Usage("create: one image only");
        }
    }
    if (path.empty())
        return Usage("create: no image");
    struct stat info;
    if (stat(HostPath(path.c_str()).c_str(), &info) == 0)
        return Fail(path, "already exists");
    const FloppyImage image = FloppyImage::Blank(size, uint32_t(std::time(nullptr)));
    if (int status = Save(image, path))
        return status;
    out_ << path << ": blank " << (size == floppy::kImage720 ? "720 KB" : "1.44 MB") << " image, "
         << image.FreeBytes() << " bytes free\n";
    return 0;
}

int ImageCli::Pack(const std::vector<std::string>& args)
{
    size_t size = floppy::kImage720;
    std::string prefix = "DSKA";
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (!ParseSize(args, &i, &size))
                return Usage("pack: --size expects 720 or 1440");
        } else if (args[i] == "--prefix") {
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].find_first_of("\\/:*?\"<>|") != std::string::npos)
                return Usage("pack: --prefix expects the start of a file name");
            prefix = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return Usage("pack: unknown option " + args[i]);
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2)
        return Usage("pack: expected SOURCE and OUTDIR");
    eseq::HostBatchFileSystem host;
    floppy::ImageAwareFileSystem fs(host);
    const std::string source = paths[0], outDir = paths[1];
    if (!fs.FolderExists(source))
        return Fail(source, "not a folder");
    if (!host.FolderExists(outDir) && !host.CreateFolder(outDir))
        return Fail(outDir, "cannot be created");
    floppy::PackResult packed = floppy::PackSongs(fs, source, size);
    for (const std::string& note : packed.notes)
        err_ << "zubcli: " << note << "\n";
    for (const std::string& problem : fs.Problems())
        err_ << "zubcli: " << problem << "\n";
    if (packed.images.empty())
        return Fail(source, "no songs found");
    int number = floppy::FirstFreeImageNumber(host, outDir, prefix);
    for (const floppy::PackedImage& p : packed.images) {
        const std::string name = floppy::PackedImageName(prefix, number++);
        if (int status = Save(p.image, Join(outDir, name)))
            return status;
        out_ << name << ": " << p.files << (p.files == 1 ? " file, " : " files, ") << p.image.FreeBytes()
             << " bytes free\n";
    }
    return packed.songsLeftOut > 0 || !fs.Problems().empty() ? 2 : 0;
}

}  // namespace

int RunImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ImageCli cli(out, err);
    if (args.empty())
        return cli.Usage("no command");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "list")
        return cli.List(rest);
    if (command == "get")
        return cli.Get(rest);
    if (command == "put")
        return cli.Put(rest);
    if (command == "del")
        return cli.Delete(rest);
    if (command == "create")
        return cli.Create(rest);
    if (command == "pack")
        return cli.Pack(rest);
    return cli.Usage("unknown command " + command);
}

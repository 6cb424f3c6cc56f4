// The main window's ESEQ seam: recognising and converting songs it opens,
// their stored titles, and the Batch Convert dialog.
#include <windows.h>

#include <string>

#include "batch_paths.h"
#include "conversion_dialog.h"
#include "eseq_convert.h"
#include "eseq_format.h"
#include "hostfile.h"
#include "seams.h"

namespace zub {
namespace eseq_seam {

bool Recognise(const char* path, bool* diskOrchestra)
{
    const eseq::EseqKind kind = eseq::RecogniseFile(path);
    if (diskOrchestra)
        *diskOrchestra = kind.diskOrchestra;
    return kind.isEseq;
}

namespace {

void ShowError(HWND main, const std::string& text)
{
    MessageBoxA(main, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    return n > 0 && n < MAX_PATH ? folder : "";
}

}  // namespace

bool ConvertForPlaying(HWND main, const char* path, const char* keepAs, bool diskFixup, std::vector<uint8_t>* midi)
{
    if (keepAs && eseq::EqualsNoCase(path, keepAs)) {
        // An ESEQ song named ".MID": converting beside it would replace it.
        ShowError(main, std::string("The converted song would replace the ESEQ song itself:\n") + path);
        return false;
    }
    std::vector<uint8_t> image;
    if (ReadFileImage(path, &image) != FileResult::Ok) {
        ShowError(main, std::string("Can't convert the ESEQ song:\n") + path);
        return false;
    }
    eseq::ConvertOptions options;
    options.diskFixup = diskFixup;
    const eseq::ConvertResult result = eseq::ConvertImage(image.data(), image.size(), options, midi);
    if (keepAs && WriteFileImage(keepAs, midi->data(), midi->size()) != FileResult::Ok) {
        ShowError(main, std::string("Can't convert the ESEQ song:\n") + path);
        return false;
    }
    if (result == eseq::ConvertResult::Truncated) {
        // The song ends early; the player then reports that it cannot open
        // it. The warning names the file the song was (or would be) kept in.
        const std::string shown = keepAs ? keepAs : eseq::ConvertedPathFor(path, TempFolder());
        MessageBoxA(main, shown.c_str(), "Error in file:", MB_OK | MB_ICONWARNING);
    }
    return true;
}

std::string StoredTitle(const char* path)
{
    std::string title;
    eseq::ReadTitle(path, &title);
    return title;
}

void BatchConvertDialog(HWND main, const std::string& startupFolder, bool diskFixup)
{
    eseq::BatchDialogContext context;
    context.startupFolder = startupFolder;
    context.diskFixup = diskFixup;
    eseq::ShowBatchConvertDialog(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main, GWLP_HINSTANCE)), main,
                                 context);
}

}  // namespace eseq_seam
}  // namespace zub

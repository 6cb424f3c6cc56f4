// The main window's ESEQ seam: recognising and converting songs it opens,
// their stored titles, and the Batch Convert dialog.
#include <windows.h>

#include <string>

#include "batch_paths.h"
#include "conversion_dialog.h"
#include "eseq_convert.h"
#include "eseq_format.h"
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

bool Convert(HWND main, const char* path, const char* target, bool diskFixup)
{
    if (eseq::EqualsNoCase(path, target)) {
        // An ESEQ song named ".MID": converting beside it would replace it.
        const std::string text = std::string("The converted song would replace the ESEQ song itself:\n") + path;
        MessageBoxA(main, text.c_str(), "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    eseq::ConvertOptions options;
    options.diskFixup = diskFixup;
    switch (eseq::ConvertFile(path, target, options)) {
    case eseq::FileConvertResult::Ok:
        return true;
    case eseq::FileConvertResult::Truncated:
        // The song ends early; the player then reports that it cannot open it.
        MessageBoxA(main, target, "Error in file:", MB_OK | MB_ICONWARNING);
        return true;
    case eseq::FileConvertResult::ReadFailed:
    case eseq::FileConvertResult::WriteFailed:
        break;
    }
    const std::string text = std::string("Can't convert the ESEQ song:\n") + path;
    MessageBoxA(main, text.c_str(), "Error", MB_OK | MB_ICONERROR);
    return false;
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

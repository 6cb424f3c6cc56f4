// The modal "Batch Convert ESEQ to Midi SMF" dialog ("CONVERSIONDLG"). Its
// walk runs as WM_COMMAND 101 to 104 that it posts to itself, so the dialog
// stays responsive and can be cancelled between files.
#ifndef ZUB_ESEQ_WIN32_CONVERSION_DIALOG_H
#define ZUB_ESEQ_WIN32_CONVERSION_DIALOG_H

#include <windows.h>

#include <string>

namespace eseq {

struct BatchDialogContext {
    std::string startupFolder;  // where ESEQ2MID.EXE is looked for
    bool diskFixup = false;     // "Disklavier Disk Fixup for Clavinova" for the internal converter
};

INT_PTR ShowBatchConvertDialog(HINSTANCE instance, HWND owner, const BatchDialogContext& context);

}  // namespace eseq

#endif

// "Copy Song to A:" and "Copy Disk/Dir to A:" with message boxes, to the
// target chosen in the "Copy Target" dialog (read as each copy starts).
#include <windows.h>
#include "copy_to_target.h"
#include "playlist_actions.h"
#include "playlist_actions_state.h"

namespace playlist {

namespace {

class MessageBoxPrompter : public CopyPrompter {
public:
    explicit MessageBoxPrompter(HWND owner) : owner_(owner) {}

    CopyAnswer Ask(CopyQuestion question, const std::string& caption, const std::string& text) override
    {
        UINT type = MB_OKCANCEL;
        switch (question) {
        case CopyQuestion::InsertDisk:
            type = MB_OKCANCEL | MB_ICONINFORMATION;
            break;
        case CopyQuestion::NotBlank:
            type = MB_YESNOCANCEL;
            break;
        case CopyQuestion::DiskFull:
            type = MB_OKCANCEL;
            break;
        case CopyQuestion::WriteFailed:
            type = MB_RETRYCANCEL | MB_ICONERROR;
            break;
        }
        const int answer = Show(text, caption, type);
        switch (answer) {
        case IDOK:
            return CopyAnswer::Ok;
        case IDYES:
            return CopyAnswer::Yes;
        case IDNO:
            return CopyAnswer::No;
        case IDRETRY:
            return CopyAnswer::Retry;
        default:
            return CopyAnswer::Cancel;
        }
    }
    void Error(const std::string& text) override { Show(text, "Error", MB_OK | MB_ICONERROR); }
    void Busy(bool busy) override
    {
        if (busy)
            old_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        else
            SetCursor(old_);
    }

private:
    int Show(const std::string& text, const std::string& caption, UINT type)
    {
        HCURSOR shown = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        const int answer = MessageBoxA(owner_, text.c_str(), caption.c_str(), type);
        SetCursor(shown);
        return answer;
    }

    HWND owner_;
    HCURSOR old_ = nullptr;
};

}  // namespace

void CopyCommand(PlaylistWindow& w, int command)
{
    const int row = w.session->SelectedRow();
    if (row < 0)
        return;
    std::unique_ptr<floppy::CopyTarget> target = floppy::MakeCopyTarget(w.host.CopyTarget());
    MessageBoxPrompter prompter(w.dialog);
    if (command == kCmdCopySongToA)
        CopySongToTarget(w.session->Rows(), row, w.session->Files(), *target, prompter);
    else
        CopyFolderToTarget(w.session->Rows(), row, w.session->Files(), ActionsOf(w).lister, *target, prompter);
}

}  // namespace playlist

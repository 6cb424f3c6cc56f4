#include "conversion_dialog.h"

#include <commctrl.h>

#include <memory>

#include "batch_host.h"
#include "batch_walk.h"
#include "conversion_dialog_ids.h"
#include "external_converter.h"
#include "folder_browser.h"
#include "win32_batch_fs.h"

namespace eseq {

namespace {

constexpr UINT_PTR kPaceTimer = 1;
constexpr UINT kPaceMs = 100;

// The internal or the outside converter, as the radio buttons say at the
// moment a song is converted.
class ChosenConverter : public BatchConverter {
public:
    ChosenConverter(BatchConverter& internal, BatchConverter& external) : internal_(internal), external_(external) {}
    bool Convert(const std::string& source, ConvertedSong* out) override
    {
        return (useExternal ? external_ : internal_).Convert(source, out);
    }
    bool useExternal = false;

private:
    BatchConverter& internal_;
    BatchConverter& external_;
};

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    return n > 0 && n < MAX_PATH ? folder : "";
}

struct DialogState {
    explicit DialogState(const BatchDialogContext& c)
        : context(c),
          internal(fs, ConvertOptions{c.diskFixup}, TempFolder(),
                   [this](const std::string& path) {
                       // The converted song ends early: warn, naming the output.
                       MessageBoxA(dialog, path.c_str(), "Error in file:", MB_OK | MB_ICONWARNING);
                   }),
          external(c.startupFolder),
          converter(internal, external),
          walk(fs, converter)
    {
    }
    HWND dialog = nullptr;
    BatchDialogContext context;
    Win32BatchFileSystem fs;
    InternalBatchConverter internal;
    ExternalConverter external;
    ChosenConverter converter;
    BatchWalk walk;
};

DialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::string ItemText(HWND dialog, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A length field: a number within the arrows' range, or the default.
int LengthField(HWND dialog, int id)
{
    BOOL ok = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(dialog, id, &ok, FALSE));
    if (!ok)
        return kBatchDefaultNameLength;
    return value < kBatchMinNameLength ? kBatchMinNameLength : (value > kBatchMaxNameLength ? kBatchMaxNameLength : value);
}

void EnableLengthField(HWND dialog, int field, int label, int arrows, bool on)
{
    for (int id : {field, label, arrows})
        EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

void AttachArrows(HWND dialog, int arrows, int field)
{
    HWND updown = GetDlgItem(dialog, arrows);
    SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, field)), 0);
    SendMessageA(updown, UDM_SETRANGE32, kBatchMinNameLength, kBatchMaxNameLength);
    SendMessageA(updown, UDM_SETPOS32, 0, kBatchDefaultNameLength);
    SetDlgItemInt(dialog, field, kBatchDefaultNameLength, FALSE);
}

// The options that may change during a run are read before every step.
void ReadLiveOptions(DialogState& s)
{
    HWND d = s.dialog;
    BatchOptions& o = s.walk.Live();
    o.createSubdirs = Checked(d, IDC_BATCH_CREATE_SUBDIRS);
    o.overwrite = Checked(d, IDC_BATCH_OVERWRITE);
    o.indexPrefix = Checked(d, IDC_BATCH_INDEX_PREFIX);
    o.songNames = Checked(d, IDC_BATCH_SONG_NAMES);
    o.diskNames = Checked(d, IDC_BATCH_DISK_NAMES);
    o.maxFileLength = LengthField(d, IDC_BATCH_MAX_FILE);
    o.maxDirLength = LengthField(d, IDC_BATCH_MAX_DIR);
    s.converter.useExternal = Checked(d, IDC_BATCH_EXTERNAL);
}

void Post(HWND dialog, BatchCommand command)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<int>(command), 0), 0);
}

void ShowError(HWND owner, const std::string& text)
{
    MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

void OnBrowse(HWND dialog, int field, const char* title)
{
    const std::string chosen = zub::BrowseForFolder(dialog, title);
    if (!chosen.empty())
        SetDlgItemTextA(dialog, field, chosen.c_str());
}

void OnInit(HWND dialog, DialogState& s)
{
    s.dialog = dialog;
    for (int id : {IDC_BATCH_TRAVERSE, IDC_BATCH_CREATE_SUBDIRS, IDC_BATCH_SKIP_DOC, IDC_BATCH_OVERWRITE,
                   IDC_BATCH_INTERNAL})
        CheckDlgButton(dialog, id, BST_CHECKED);
    AttachArrows(dialog, IDC_BATCH_FILE_ARROWS, IDC_BATCH_MAX_FILE);
    AttachArrows(dialog, IDC_BATCH_DIR_ARROWS, IDC_BATCH_MAX_DIR);
    SendDlgItemMessageA(dialog, IDC_BATCH_SOURCE, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SendDlgItemMessageA(dialog, IDC_BATCH_TARGET, EM_LIMITTEXT, MAX_PATH - 1, 0);
}

// The outside converter chosen but not there: said once, before the walk,
// and the user decides. False when the run is not to start.
bool ConfirmConverter(DialogState& s)
{
    HWND d = s.dialog;
    if (!Checked(d, IDC_BATCH_EXTERNAL) || s.external.Available())
        return true;
    const std::string text = "Can't find the external program:\n " + s.external.ProgramPath() +
                             "\n\nConvert with the internal algorithm instead?";
    if (MessageBoxA(d, text.c_str(), kEseq2MidProgram, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    CheckRadioButton(d, IDC_BATCH_EXTERNAL, IDC_BATCH_INTERNAL, IDC_BATCH_INTERNAL);
    return true;
}

void OnStart(DialogState& s)
{
    HWND d = s.dialog;
    BatchOptions options;
    options.source = ItemText(d, IDC_BATCH_SOURCE);
    options.target = ItemText(d, IDC_BATCH_TARGET);
    // Missing folders are reported by the walk's start, first.
    if (!options.source.empty() && !options.target.empty() && !ConfirmConverter(s))
        return;
    options.traverse = Checked(d, IDC_BATCH_TRAVERSE);
    options.skipDoc = Checked(d, IDC_BATCH_SKIP_DOC);
    const std::string problem = s.walk.Start(options);
    if (!problem.empty()) {
        ShowError(d, problem);
        return;
    }
    ReadLiveOptions(s);
    EnableWindow(GetDlgItem(d, IDC_BATCH_START), FALSE);
    SetDlgItemTextA(d, IDCANCEL, "&Cancel");
    Post(d, BatchCommand::EnterFolder);
}

void OnButton2(DialogState& s)
{
    if (IsWindowEnabled(GetDlgItem(s.dialog, IDC_BATCH_START)))
        EndDialog(s.dialog, 0);
    else
        Post(s.dialog, BatchCommand::Finish);
}

void OnWalkCommand(DialogState& s, BatchCommand command)
{
    if (!s.walk.Running())
        return;  // posted before the run ended
    ReadLiveOptions(s);
    const std::string before = s.walk.Line();
    const BatchStep step = s.walk.Step(command);
    if (s.walk.Line() != before || !s.walk.Running())
        SetDlgItemTextA(s.dialog, IDC_BATCH_CURRENT, s.walk.Line().c_str());
    if (!step.error.empty())
        ShowError(s.dialog, step.error);
    switch (step.kind) {
    case BatchStep::Post:
        Post(s.dialog, step.next);
        break;
    case BatchStep::WaitThen:
        SetTimer(s.dialog, kPaceTimer, kPaceMs, nullptr);
        break;
    case BatchStep::Ended:
        EnableWindow(GetDlgItem(s.dialog, IDC_BATCH_START), TRUE);
        SetDlgItemTextA(s.dialog, IDCANCEL, "&Done");
        break;
    }
}

void OnCommand(DialogState& s, int id)
{
    HWND d = s.dialog;
    switch (id) {
    case IDC_BATCH_BROWSE_SOURCE:
        return OnBrowse(d, IDC_BATCH_SOURCE, "Choose The Source Directory");
    case IDC_BATCH_BROWSE_TARGET:
        return OnBrowse(d, IDC_BATCH_TARGET, "Choose The Target Directory");
    case IDC_BATCH_SONG_NAMES:
        return EnableLengthField(d, IDC_BATCH_MAX_FILE, IDC_BATCH_MAX_FILE_LABEL, IDC_BATCH_FILE_ARROWS,
                                 Checked(d, IDC_BATCH_SONG_NAMES));
    case IDC_BATCH_DISK_NAMES:
        return EnableLengthField(d, IDC_BATCH_MAX_DIR, IDC_BATCH_MAX_DIR_LABEL, IDC_BATCH_DIR_ARROWS,
                                 Checked(d, IDC_BATCH_DISK_NAMES));
    case IDC_BATCH_START:
        return OnStart(s);
    case IDCANCEL:
        return OnButton2(s);
    case static_cast<int>(BatchCommand::Finish):
    case static_cast<int>(BatchCommand::EnterFolder):
    case static_cast<int>(BatchCommand::ConvertEntry):
    case static_cast<int>(BatchCommand::NextEntry):
        return OnWalkCommand(s, static_cast<BatchCommand>(id));
    default:
        break;
    }
}

void OnTimer(DialogState& s, UINT_PTR id)
{
    if (id != kPaceTimer)
        return;
    KillTimer(s.dialog, kPaceTimer);
    Post(s.dialog, BatchCommand::ConvertEntry);
}

INT_PTR CALLBACK ConversionDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    }
    DialogState* s = StateOf(dialog);
    if (!s)
        return FALSE;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(*s, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(*s, wParam);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);  // ends at once, also during a run
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, kPaceTimer);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR ShowBatchConvertDialog(HINSTANCE instance, HWND owner, const BatchDialogContext& context)
{
    std::unique_ptr<DialogState> state = std::make_unique<DialogState>(context);
    state->walk.SetPacing(true);
    return DialogBoxParamA(instance, "CONVERSIONDLG", owner, ConversionDialogProc,
                           reinterpret_cast<LPARAM>(state.get()));
}

}  // namespace eseq

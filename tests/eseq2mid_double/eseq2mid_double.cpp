// A stand-in for the outside converter ESEQ2MID, for tests under Wine: a
// main window with the class and title the player looks for, an opening
// box, a file-open command 33 that shows an "Open" dialog with an Edit
// control, and after OK a completion popup titled with the song's file
// name. It really converts (with the player's own converter), writing the
// song's path with ".MID" as its extension.
#include <windows.h>

#include <string>

#include "batch_paths.h"
#include "eseq_convert.h"

namespace {

const char kClass[] = "ESEQ2MID";
const char kTitle[] = "ESEQ2MID - Converts Yamaha ESEQ format files to MIDI (type 0)";
constexpr int kOpenCommand = 33;
constexpr int kEditId = 100;
constexpr int kTextId = 101;

HINSTANCE g_instance;

INT_PTR CALLBACK OpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* path = reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char text[MAX_PATH] = {};
            GetDlgItemTextA(dialog, kEditId, text, sizeof text);
            *path = text;
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    return FALSE;
}

struct Completion {
    std::string title;
    std::string text;
};

INT_PTR CALLBACK DoneProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const auto* done = reinterpret_cast<const Completion*>(lParam);
        SetWindowTextA(dialog, done->title.c_str());
        SetDlgItemTextA(dialog, kTextId, done->text.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK WelcomeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetForegroundWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

void OnOpenCommand(HWND main)
{
    std::string path;
    if (DialogBoxParamA(g_instance, "OPEN", main, OpenProc, reinterpret_cast<LPARAM>(&path)) != IDOK)
        return;
    const std::string target = eseq::WithMidExtension(path);
    const eseq::FileConvertResult result = eseq::ConvertFile(path.c_str(), target.c_str(), eseq::ConvertOptions());
    Completion done;
    done.title = eseq::FileNameOf(path);
    done.text = result == eseq::FileConvertResult::Ok ? "Conversion complete." : "Conversion failed.";
    DialogBoxParamA(g_instance, "DONE", main, DoneProc, reinterpret_cast<LPARAM>(&done));
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kOpenCommand) {
            OnOpenCommand(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    g_instance = instance;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    if (!RegisterClassA(&wc))
        return 1;
    HWND main = CreateWindowExA(0, kClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 200,
                                nullptr, nullptr, instance, nullptr);
    if (!main)
        return 1;
    ShowWindow(main, show);
    // Not owned by the main window, which may start minimised.
    CreateDialogParamA(instance, "WELCOME", nullptr, WelcomeProc, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// The cell editor of a grid window: a standard edit control over the cell,
// a child of the grid window, so that typing, the caret, the clipboard,
// input methods and screen readers all work as in any edit box.
#ifndef ZUB_GRID_WIN32_TSEDITWND_H
#define ZUB_GRID_WIN32_TSEDITWND_H

#include <windows.h>

#include "tsgrid.h"

class TsEditWindow final : public TsEditor {
public:
    // onEnd(accept) runs when the user ends the edit in the editor: Enter
    // and Tab accept, Esc cancels, leaving the editor accepts.
    typedef void (*EndFn)(void* context, bool accept);
    TsEditWindow(HWND grid, EndFn onEnd, void* context) : grid_(grid), onEnd_(onEnd), context_(context) {}
    ~TsEditWindow() { Destroy(); }
    TsEditWindow(const TsEditWindow&) = delete;
    TsEditWindow& operator=(const TsEditWindow&) = delete;

    // TsEditor
    bool Open(const TsPixels& cell, const char* text, int32_t maxLength, uintptr_t font) override;
    void Move(const TsPixels& cell) override;
    void Close() override;
    std::string Text() override;
    void SetText(const char* text) override;
    void Selection(int32_t* caret, int32_t* length) override;
    void SetSelection(int32_t caret, int32_t length) override;
    void Type(uint32_t code) override;

    // The window goes after the message that closed it (TSM_DEFERRED).
    void DestroyClosed()
    {
        if (closing_)
            Destroy();
    }
    HWND Window() const { return edit_; }
    // The grid window is going: nothing the editor does reaches the grid any more.
    void Abandon()
    {
        closing_ = true;
        onEnd_ = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
    void Destroy();
    void End(bool accept);

    HWND grid_;
    HWND edit_ = nullptr;
    WNDPROC original_ = nullptr;
    EndFn onEnd_;
    void* context_;
    bool closing_ = false;
    // The selection as last set, with its direction (the control reports
    // only its two ends).
    DWORD setStart_ = 0, setEnd_ = 0;
    int32_t setCaret_ = 0, setLength_ = 0;
};

#endif

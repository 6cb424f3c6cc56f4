// A message posted to a window after a delay, from any thread. The
// multimedia callbacks (the MIDI stream's buffer-done and the MIDI Reset's
// output-done) may do little more than post messages and set multimedia
// timers, and must not wait: a one-shot multimedia timer posts the message
// for them.
#ifndef ZUB_PLAYER_APP_WIN32_DELAYED_POST_H
#define ZUB_PLAYER_APP_WIN32_DELAYED_POST_H

#include <windows.h>

namespace zub {

// One message at a time. The object must outlive the delay: keep it for
// the program's run.
class DelayedPost {
public:
    // Posts at once if no timer can be had.
    void Post(HWND window, UINT message, WPARAM wParam, UINT delayMs);

private:
    static void CALLBACK OnTimer(UINT id, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR);

    HWND window_ = nullptr;
    UINT message_ = 0;
    WPARAM wParam_ = 0;
};

}  // namespace zub

#endif

#include "delayed_post.h"

#include <mmsystem.h>

namespace zub {

void DelayedPost::Post(HWND window, UINT message, WPARAM wParam, UINT delayMs)
{
    window_ = window;
    message_ = message;
    wParam_ = wParam;
    const UINT delay = delayMs > 0 ? delayMs : 1;
    if (timeSetEvent(delay, 1, &DelayedPost::OnTimer, reinterpret_cast<DWORD_PTR>(this),
                     TIME_ONESHOT | TIME_CALLBACK_FUNCTION) == 0)
        PostMessageA(window, message, wParam, 0);
}

// A one-shot timer ends by itself once it has fired.
void CALLBACK DelayedPost::OnTimer(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR)
{
    const DelayedPost* post = reinterpret_cast<const DelayedPost*>(self);
    PostMessageA(post->window_, post->message_, post->wParam_, 0);
}

}  // namespace zub

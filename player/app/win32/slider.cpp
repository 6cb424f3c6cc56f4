// Setting up the instrument dialogs' sliders.
#include <windows.h>
#include <commctrl.h>

#include "instruments.h"

namespace zub {

void SetUpSlider(HWND slider, int low, int high, int position)
{
    SendMessageA(slider, TBM_SETRANGEMIN, FALSE, low);
    SendMessageA(slider, TBM_SETRANGEMAX, TRUE, high);
    // A trackbar places its thumb only when the position changes, so a range
    // set around an unchanged position (0 in -24 to 24) would leave the thumb
    // drawn where it stood in the old range. Moving it away first places it.
    const int away = position != low ? low : high;
    SendMessageA(slider, TBM_SETPOS, TRUE, away);
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
}

}  // namespace zub

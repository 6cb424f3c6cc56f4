// Key codes of the grid's keyboard handling: the platform's virtual-key
// numbers, so the window side passes them on unchanged.
#ifndef ZUB_GRID_INPUT_TSKEYS_H
#define ZUB_GRID_INPUT_TSKEYS_H

#include <stdint.h>

enum : uint32_t {
    TS_KEY_BACK = 0x08,
    TS_KEY_TAB = 0x09,
    TS_KEY_RETURN = 0x0D,
    TS_KEY_ESCAPE = 0x1B,
    TS_KEY_SPACE = 0x20,
    TS_KEY_PAGEUP = 0x21,
    TS_KEY_PAGEDOWN = 0x22,
    TS_KEY_END = 0x23,
    TS_KEY_HOME = 0x24,
    TS_KEY_LEFT = 0x25,
    TS_KEY_UP = 0x26,
    TS_KEY_RIGHT = 0x27,
    TS_KEY_DOWN = 0x28,
    TS_KEY_APPS = 0x5D,  // the context-menu key
    TS_KEY_F2 = 0x71,
    TS_KEY_F10 = 0x79
};

#endif

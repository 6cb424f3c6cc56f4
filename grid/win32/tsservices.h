// The framework services of the grid library, taken at load: the root from
// QfGetInterface and the seven service interfaces from its slots 20 to 26.
#ifndef ZUB_GRID_WIN32_TSSERVICES_H
#define ZUB_GRID_WIN32_TSSERVICES_H

#include <windows.h>

#include "qf.h"
#include "qfguid.h"

struct TsServices {
    QfMgr* root = nullptr;
    IQfMemory* memory = nullptr;
    IQfTimerMgr* timer = nullptr;
    IQfRgnMgr* region = nullptr;
    IQfTextMgr* text = nullptr;
    IQfWndMgr* window = nullptr;
    IQfDispMgr* display = nullptr;
    IQfThreadMgr* thread = nullptr;
    QfGuid cafeObject = {};  // the base interface's identifier, read from its text
    HINSTANCE module = nullptr;
};

// Valid from the library's load to its unload.
TsServices& Ts();

// The two window classes' factories (tsframewnd.cpp, tsgridwnd.cpp).
IQfWindowObject* QFAPI TsMakeFrame(QfHandle window, const QfCreateRecord* record, void* context);
IQfWindowObject* QFAPI TsMakeGrid(QfHandle window, const QfCreateRecord* record, void* context);

#endif

// The library's entry point: load and unload in their fixed order.
#include "qfinternal.h"

HMODULE g_qfModule = nullptr;
HWND g_qfHiddenWindow = nullptr;
UINT g_qfDiagnotify = 0;
uint32_t g_qfObjectBank = 0;
uint32_t g_qfTraceBank = 0;

void QFAPI QfTraceBankCleanup(void* bank);

namespace {

bool Load()
{
    QfConvertIds();
    QfRegisterLocalCreators();
    QfLoadRootSettings();
    g_qfDiagnotify = RegisterWindowMessageA("QFM_DIAGNOTIFY");
    g_qfModule = GetModuleHandleA("Tsf");
    QfAcquireServices();
    if (IQfThreadMgr* threads = QfThreads()) {
        g_qfObjectBank = threads->AllocBank(4, nullptr);
        g_qfTraceBank = threads->AllocBank(260, QfTraceBankCleanup);
    }
    QfTooltipInit();
    QfWindowStatsInit();
    QfRegisterHiddenWindowClass();
    if (!g_qfModule)
        return false;
    if (QfThreads())
        QfThreads()->ThreadAttach();
    QfRoot()->AddResourceModule(g_qfModule);
    g_qfHiddenWindow = QfCreateHiddenWindow();
    return true;
}

void Unload(bool processEnding)
{
    // At process end other threads are gone and windows go with the
    // process; only an explicit unload tears the window down.
    if (!processEnding)
        QfDestroyHiddenWindow();
    QfRoot()->RemoveResourceModule(g_qfModule);
    if (!processEnding && QfThreads())
        QfThreads()->ThreadDetach();
    QfReleaseServices();
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        (void)instance;
        return Load() ? TRUE : FALSE;
    case DLL_THREAD_ATTACH:
        if (QfThreads())
            QfThreads()->ThreadAttach();
        break;
    case DLL_THREAD_DETACH:
        if (QfThreads())
            QfThreads()->ThreadDetach();
        break;
    case DLL_PROCESS_DETACH:
        Unload(reserved != nullptr);
        break;
    }
    return TRUE;
}

// The root object and the class server of Tsf.dll, reached as the grid
// reaches them: QfGetInterface, the root's slots, and the COM entry points.
#include "tsf_harness.h"

using tsf::Guid;
using tsf::Library;

namespace {

Library& Lib()
{
    return Library::Get();
}

TEST(TsfRoot, EveryServiceComesFromItsSlotAndAnswersItsIdentifier)
{
    ASSERT_NE(Lib().module, nullptr);
    ASSERT_NE(Lib().root, nullptr);
    struct Case {
        ICafeObject* service;
        const char* iid;
    } cases[] = {
        {Lib().memory(), QF_IID_IQFMEMORY_TEXT},  {Lib().timer(), QF_IID_IQFTIMERMGR_TEXT},
        {Lib().region(), QF_IID_IQFRGNMGR_TEXT},  {Lib().text(), QF_IID_IQFTEXTMGR_TEXT},
        {Lib().window(), QF_IID_IQFWNDMGR_TEXT},  {Lib().display(), QF_IID_IQFDISPMGR_TEXT},
        {Lib().thread(), QF_IID_IQFTHREADMGR_TEXT},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.service, nullptr) << c.iid;
        void* out = nullptr;
        EXPECT_EQ(c.service->QueryInterface(Guid(c.iid), &out), QF_S_OK) << c.iid;
        EXPECT_EQ(out, c.service);
        c.service->Release();
        EXPECT_EQ(c.service->QueryInterface(Guid(QF_IID_ICAFEOBJECT_TEXT), &out), QF_S_OK);
        c.service->Release();
        out = &out;
        EXPECT_EQ(c.service->QueryInterface(Guid(QF_IID_ICAFECREATOR_TEXT), &out), QF_E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    // The holders are the same places each time.
    EXPECT_EQ(Lib().root->MemoryHolder(), Lib().root->MemoryHolder());
    EXPECT_NE(static_cast<void*>(Lib().root->MemoryHolder()), static_cast<void*>(Lib().root->ThreadHolder()));
}

TEST(TsfRoot, ScreenResolutionAndStringPointers)
{
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(Lib().root->GetLogPixelsY(), GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(Lib().root->GetLogPixelsX(), GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
    EXPECT_FALSE(Lib().root->IsStringPointer(0));
    EXPECT_FALSE(Lib().root->IsStringPointer(0xFFFF));
    EXPECT_TRUE(Lib().root->IsStringPointer(0x10000));
    EXPECT_TRUE(Lib().root->IsStringPointer(reinterpret_cast<uintptr_t>("text")));
}

TEST(TsfRoot, TheHiddenFrameworkWindowExists)
{
    HWND hidden = tsf::FindThreadWindow("QfFrameworkGdtMgr");
    ASSERT_NE(hidden, nullptr) << "made by the thread that loaded the library";
    char name[32] = "";
    GetWindowTextA(hidden, name, sizeof name);
    EXPECT_STREQ(name, "TsFramework");
    EXPECT_EQ(GetWindowLongA(hidden, GWL_EXSTYLE) & 0x88, 0x88);
    EXPECT_FALSE(IsWindowVisible(hidden));
}

TEST(TsfRoot, SendMessageSafeReturnsTheReceiversResult)
{
    HWND edit = CreateWindowExA(0, "EDIT", "hello", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Lib().root->SendMessageSafe(edit, WM_GETTEXTLENGTH, 0, 0), 5);
    DestroyWindow(edit);
    EXPECT_EQ(Lib().root->SendMessageSafe(edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

uintptr_t QFAPI ReportThread(uintptr_t factor)
{
    return GetCurrentThreadId() * factor;
}

TEST(TsfRoot, RequestsRunOnTheFrameworkThread)
{
    DWORD main = GetCurrentThreadId();
    uintptr_t answer = 0;
    tsf::RunOnThread([&] { answer = Lib().root->CallOnFrameworkThread(ReportThread, 3); });
    EXPECT_EQ(answer, main * 3u);
    EXPECT_EQ(Lib().root->CallOnFrameworkThread(nullptr, 1), 0u);
}

TEST(TsfResourceModules, NumbersAndNamesAcrossModules)
{
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(Lib().root->LoadModuleMenu("2"), nullptr) << "not yet a resource module";
    ASSERT_TRUE(Lib().root->AddResourceModule(self));
    struct Case {
        const char* name;
        UINT firstItem;
    } cases[] = {{"2", 102}, {" 2 ", 102}, {"2A", 202}, {"2a", 202}};
    for (const Case& c : cases) {
        HMENU menu = static_cast<HMENU>(Lib().root->LoadModuleMenu(c.name));
        ASSERT_NE(menu, nullptr) << c.name;
        EXPECT_EQ(GetMenuItemID(menu, 0), c.firstItem) << c.name;
        DestroyMenu(menu);
    }
    HMENU byNumber = static_cast<HMENU>(Lib().root->LoadModuleMenu(reinterpret_cast<const char*>(MAKEINTRESOURCEA(2))));
    EXPECT_NE(byNumber, nullptr);
    DestroyMenu(byNumber);
    EXPECT_EQ(Lib().root->LoadModuleMenu("3"), nullptr);
    EXPECT_EQ(Lib().root->LoadModuleMenu("65538"), nullptr) << "too large for a resource number";
    EXPECT_TRUE(Lib().root->RemoveResourceModule(self));
    EXPECT_FALSE(Lib().root->RemoveResourceModule(self));
    EXPECT_EQ(Lib().root->LoadModuleMenu("2"), nullptr);
    EXPECT_FALSE(Lib().root->AddResourceModule(reinterpret_cast<QfHandle>(0x12340000)));
}

TEST(TsfClassServer, UnknownClassLeavesTheOutArgumentAlone)
{
    void* out = reinterpret_cast<void*>(0x1234);
    QfGuid unknown = Guid("{12345678-1234-1234-1234-123456789ABC}");
    EXPECT_EQ(Lib().getClassObject(unknown, Guid(QF_IID_ICAFECREATOR_TEXT), &out),
              static_cast<HRESULT>(0x80040111));
    EXPECT_EQ(out, reinterpret_cast<void*>(0x1234));
    // An interface identifier is not a class identifier.
    EXPECT_EQ(Lib().getClassObject(Guid(QF_IID_IQFMEMORY_TEXT), Guid(QF_IID_ICAFECREATOR_TEXT), &out),
              static_cast<HRESULT>(0x80040111));
}

TEST(TsfClassServer, ClassObjectsCreateTheSingletons)
{
    struct Case {
        const char* clsid;
        const char* iid;
        void* service;
    } cases[] = {
        {QF_CLSID_QFMEMORYMGR_TEXT, QF_IID_IQFMEMORY_TEXT, Lib().memory()},
        {QF_CLSID_QFTIMERMGR_TEXT, QF_IID_IQFTIMERMGR_TEXT, Lib().timer()},
        {QF_CLSID_QFRGNMGR_TEXT, QF_IID_IQFRGNMGR_TEXT, Lib().region()},
        {QF_CLSID_QFTEXTMGR_TEXT, QF_IID_IQFTEXTMGR_TEXT, Lib().text()},
        {QF_CLSID_QFWNDMGR_TEXT, QF_IID_IQFWNDMGR_TEXT, Lib().window()},
        {QF_CLSID_QFDISPMGR_TEXT, QF_IID_IQFDISPMGR_TEXT, Lib().display()},
        {QF_CLSID_QFTHREADMGR_TEXT, QF_IID_IQFTHREADMGR_TEXT, Lib().thread()},
    };
    for (const Case& c : cases) {
        ICafeCreator* creator = nullptr;
        ASSERT_EQ(Lib().getClassObject(Guid(c.clsid), Guid(QF_IID_ICAFECREATOR_TEXT), reinterpret_cast<void**>(&creator)),
                  S_OK)
            << c.clsid;
        void* made = nullptr;
        EXPECT_EQ(creator->CreateInstance(nullptr, Guid(c.iid), &made), QF_S_OK);
        EXPECT_EQ(made, c.service) << "one instance per class";
        static_cast<ICafeObject*>(made)->Release();
        made = reinterpret_cast<void*>(1);
        EXPECT_EQ(creator->CreateInstanceWithContext(creator, Guid(c.iid), &made, 0), QF_E_NOAGGREGATION);
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(creator->CreateInstanceWithContext(nullptr, Guid(c.iid), &made, 7), QF_S_OK) << "context unused";
        static_cast<ICafeObject*>(made)->Release();
        EXPECT_EQ(creator->CreateInstance(nullptr, Guid(QF_IID_ICAFECREATOR_TEXT), &made), QF_E_NOINTERFACE);
        creator->Release();
    }
    // The standard class-factory identifier reaches the same object.
    void* factory = nullptr;
    EXPECT_EQ(Lib().getClassObject(Guid(QF_CLSID_QFTEXTMGR_TEXT), Guid("{00000001-0000-0000-C000-000000000046}"),
                                   &factory),
              S_OK);
    EXPECT_NE(factory, nullptr);
}

TEST(TsfClassServer, LockCountDecidesWhetherTheLibraryMayUnload)
{
    ICafeCreator* creator = nullptr;
    ASSERT_EQ(Lib().getClassObject(Guid(QF_CLSID_QFMEMORYMGR_TEXT), Guid(QF_IID_ICAFECREATOR_TEXT),
                                   reinterpret_cast<void**>(&creator)),
              S_OK);
    EXPECT_EQ(Lib().canUnloadNow(), S_OK);
    creator->LockServer(TRUE);
    EXPECT_EQ(Lib().canUnloadNow(), S_FALSE);
    creator->LockServer(TRUE);
    creator->LockServer(FALSE);
    EXPECT_EQ(Lib().canUnloadNow(), S_FALSE);
    creator->LockServer(FALSE);
    EXPECT_EQ(Lib().canUnloadNow(), S_OK);
    creator->Release();
}

std::string ReadDefault(const std::string& path)
{
    char value[MAX_PATH] = "";
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

TEST(TsfRegistration, EntryPointsWriteAndRemoveTheKeys)
{
    ASSERT_EQ(Lib().registerServer(), S_OK);
    char modulePath[MAX_PATH];
    GetModuleFileNameA(Lib().module, modulePath, sizeof modulePath);
    std::string clsid = "CLSID\\{FD8A2651-39BB-11D0-89BE-00A0C9163A43}";
    EXPECT_EQ(ReadDefault(clsid), "QfMemoryMgr");
    EXPECT_EQ(ReadDefault(clsid + "\\InprocServer32"), modulePath);
    EXPECT_EQ(ReadDefault("CLSID\\{FD8A265B-39BB-11D0-89BE-00A0C9163A43}"), "QfDispMgr");
    EXPECT_EQ(ReadDefault("Interface\\{FD8A265C-39BB-11D0-89BE-00A0C9163A43}"), "IQfThreadMgr");
    EXPECT_EQ(ReadDefault("Interface\\{1A548B91-2768-11D0-97AD-02608C409255}"), "ICafeObject");

    // Registered, the services can be made by the system's class loader too.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    void* text = nullptr;
    QfGuid textClass = Guid(QF_CLSID_QFTEXTMGR_TEXT), textIid = Guid(QF_IID_IQFTEXTMGR_TEXT);
    EXPECT_EQ(CoCreateInstance(reinterpret_cast<const CLSID&>(textClass), nullptr, CLSCTX_INPROC_SERVER,
                               reinterpret_cast<const IID&>(textIid), &text),
              S_OK);
    EXPECT_EQ(text, Lib().text());
    if (text)
        static_cast<ICafeObject*>(text)->Release();
    CoUninitialize();

    ASSERT_EQ(Lib().unregisterServer(), S_OK);
    EXPECT_FALSE(KeyExists(clsid + "\\InprocServer32"));
    EXPECT_FALSE(KeyExists(clsid));
    EXPECT_FALSE(KeyExists("Interface\\{FD8A2650-39BB-11D0-89BE-00A0C9163A43}"));
    EXPECT_EQ(Lib().unregisterServer(), S_OK) << "nothing left to remove is not a failure";
}

int RunRegsvr32(const char* arguments)
{
    char command[MAX_PATH + 64];
    wsprintfA(command, "regsvr32.exe %s Tsf.dll", arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

TEST(TsfRegistration, Regsvr32RegistersAndUnregisters)
{
    std::string key = "CLSID\\{FD8A2657-39BB-11D0-89BE-00A0C9163A43}";
    ASSERT_EQ(RunRegsvr32("/s"), 0);
    EXPECT_EQ(ReadDefault(key), "QfTextMgr");
    ASSERT_EQ(RunRegsvr32("/s /u"), 0);
    EXPECT_FALSE(KeyExists(key));
}

// The alert is system-modal and blocks, so another thread answers it.
TEST(TsfRoot, AlertShowsItsCaption)
{
    std::string seenText;
    DWORD found = 1;
    DWORD mainThread = GetCurrentThreadId();
    HANDLE closer = tsf::StartThread([&] {
        // Up to a minute: a limit against hanging on a busy machine.
        for (int i = 0; i < 3000; ++i) {
            HWND box = FindWindowA(nullptr, "TsFramework Alert");
            if (box && GetWindowThreadProcessId(box, nullptr) == mainThread) {
                char text[64] = "";
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                seenText = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                found = 0;
                return;
            }
            Sleep(20);
        }
    });
    int answer = Lib().root->Alert("Something to say");
    WaitForSingleObject(closer, 90000);
    CloseHandle(closer);
    EXPECT_EQ(found, 0u) << "no window captioned TsFramework Alert";
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(seenText, "Something to say");
}

}  // namespace

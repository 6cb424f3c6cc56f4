// The COM server layer: identifiers, class records, interface descriptors,
// the class objects, service acquisition, the server lock count and
// self-registration through the registry key object.
#include <stdio.h>

#include "qfguid.h"
#include "qfinternal.h"
#include "qftrace.h"

QfIds g_qfIds;

namespace {

LONG g_lockCount = -1;  // -1: no locks

// One record per class: identifier, local creator and its context.
struct ClassRecord {
    const QfGuid* clsid;
    const char* name;
    QfLocalCreator creator;
    uint32_t context;
};

ClassRecord g_classes[] = {
    {&g_qfIds.memoryClass, "QfMemoryMgr", nullptr, 0},   {&g_qfIds.threadClass, "QfThreadMgr", nullptr, 0},
    {&g_qfIds.timerClass, "QfTimerMgr", nullptr, 0},     {&g_qfIds.regionClass, "QfRgnMgr", nullptr, 0},
    {&g_qfIds.textClass, "QfTextMgr", nullptr, 0},       {&g_qfIds.displayClass, "QfDispMgr", nullptr, 0},
    {&g_qfIds.windowClass, "QfWndMgr", nullptr, 0},
};
const int kClassCount = sizeof g_classes / sizeof g_classes[0];

// Interface descriptors, linked at load into the library's list and the
// process-wide chain.
struct InterfaceDescriptor {
    const QfGuid* iid;
    const char* name;
    InterfaceDescriptor* nextInLibrary;
    InterfaceDescriptor* nextInProcess;

};

InterfaceDescriptor g_interfaces[] = {
    {&g_qfIds.cafeObject, "ICafeObject", nullptr, nullptr}, {&g_qfIds.display, "IQfDispMgr", nullptr, nullptr},
    {&g_qfIds.memory, "IQfMemory", nullptr, nullptr},       {&g_qfIds.region, "IQfRgnMgr", nullptr, nullptr},
    {&g_qfIds.text, "IQfTextMgr", nullptr, nullptr},        {&g_qfIds.thread, "IQfThreadMgr", nullptr, nullptr},
    {&g_qfIds.timer, "IQfTimerMgr", nullptr, nullptr},      {&g_qfIds.window, "IQfWndMgr", nullptr, nullptr},
};
InterfaceDescriptor* g_libraryInterfaces = nullptr;
InterfaceDescriptor* g_processInterfaces = nullptr;

// Registry key object: a parent, a path, and the handle while open.
class RegKey {
public:
    RegKey(HKEY parent, const char* path) : parent_(parent) { lstrcpynA(path_, path, sizeof path_); }
    ~RegKey()
    {
        if (open_)
            RegCloseKey(open_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    QfResult SetValue(const char* name, const char* text)
    {
        char shortPath[49];
        QfShortenKeyPath(path_, shortPath);
        QF_COM_TRACE("Tf:  I - RegKey %48s.Value(%s) << '%s'\n", shortPath, name ? name : "", text);
        (void)shortPath;
        if (!open_ && RegCreateKeyA(parent_, path_, &open_) != ERROR_SUCCESS) {
            open_ = nullptr;
            return QF_E_FAIL;
        }
        if (RegSetValueExA(open_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1) !=
            ERROR_SUCCESS)
            return QF_E_FAIL;
        return QF_S_OK;
    }
    QfResult SetValue(const char* name, unsigned number)
    {
        char text[16];
        wsprintfA(text, "%u", number);
        return SetValue(name, text);
    }
    // Deletes the key with every subkey below it.
    QfResult Delete()
    {
        if (open_) {
            RegCloseKey(open_);
            open_ = nullptr;
        }
        return DeleteTree(parent_, path_) ? QF_S_OK : QF_E_FAIL;
    }

private:
    static bool DeleteTree(HKEY parent, const char* path)
    {
        HKEY key = nullptr;
        LONG opened = RegOpenKeyA(parent, path, &key);
        if (opened == ERROR_FILE_NOT_FOUND)
            return true;  // nothing left to delete
        if (opened != ERROR_SUCCESS)
            return false;
        char child[256];
        // Always the first subkey: each deletion shifts the enumeration.
        while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) {
            if (!DeleteTree(key, child))
                break;
        }
        RegCloseKey(key);
        return RegDeleteKeyA(parent, path) == ERROR_SUCCESS;
    }

    HKEY parent_;
    char path_[300];
    HKEY open_ = nullptr;
};

// Class objects: one per class record.
class Creator : public ICafeCreator {
public:
    explicit Creator(const ClassRecord* record) : record_(record) {}
    QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) override
    {
        if (!out)
            return QF_E_POINTER;
        if (QfGuidEqual(iid, g_qfIds.unknown) || QfGuidEqual(iid, g_qfIds.classFactory) ||
            QfGuidEqual(iid, g_qfIds.cafeObject) || QfGuidEqual(iid, g_qfIds.cafeCreator)) {
            *out = static_cast<ICafeCreator*>(this);
            AddRef();
            return QF_S_OK;
        }
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return 2; }
    uint32_t QFAPI Release() override { return 1; }
    QfResult QFAPI CreateInstance(ICafeObject* outer, const QfGuid& iid, void** out) override
    {
        return CreateInstanceWithContext(outer, iid, out, 0);
    }
    QfResult QFAPI LockServer(int32_t lock) override
    {
        if (lock) {
            InterlockedIncrement(&g_lockCount);
            QF_COM_TRACE("Tf:  I - Server locked.\n");
        } else {
            InterlockedDecrement(&g_lockCount);
            QF_COM_TRACE("Tf:  I - Server unlocked.\n");
        }
        return QF_S_OK;
    }
    QfResult QFAPI CreateInstanceWithContext(ICafeObject* outer, const QfGuid& iid, void** out,
                                             uint32_t context) override
    {
        if (!record_->creator) {
            if (out)
                *out = nullptr;
            return QF_E_CLASSNOTAVAILABLE;
        }
        return record_->creator(iid, out, outer, context);
    }

    const QfGuid& ClassId() const { return *record_->clsid; }
    QfResult Register(const char* modulePath) const
    {
        char clsid[39], path[128];
        QfGuidToText(ClassId(), clsid);
        wsprintfA(path, "CLSID\\%s", clsid);
        RegKey key(HKEY_CLASSES_ROOT, path);
        QfResult status = key.SetValue(nullptr, record_->name);
        if (status != QF_S_OK)
            return status;
        wsprintfA(path, "CLSID\\%s\\InprocServer32", clsid);
        RegKey server(HKEY_CLASSES_ROOT, path);
        status = server.SetValue(nullptr, modulePath);
        return status == QF_S_OK ? server.SetValue("ThreadingModel", "Both") : status;
    }
    QfResult Unregister() const
    {
        char clsid[39], path[128];
        QfGuidToText(ClassId(), clsid);
        wsprintfA(path, "CLSID\\%s", clsid);
        return RegKey(HKEY_CLASSES_ROOT, path).Delete();
    }

private:
    const ClassRecord* record_;
};

Creator g_creators[] = {Creator(&g_classes[0]), Creator(&g_classes[1]), Creator(&g_classes[2]),
                        Creator(&g_classes[3]), Creator(&g_classes[4]), Creator(&g_classes[5]),
                        Creator(&g_classes[6])};

QfResult RegisterInterface(const InterfaceDescriptor& d)
{
    char iid[39], path[128];
    QfGuidToText(*d.iid, iid);
    wsprintfA(path, "Interface\\%s", iid);
    return RegKey(HKEY_CLASSES_ROOT, path).SetValue(nullptr, d.name);
}

QfResult UnregisterInterface(const InterfaceDescriptor& d)
{
    char iid[39], path[128];
    QfGuidToText(*d.iid, iid);
    wsprintfA(path, "Interface\\%s", iid);
    return RegKey(HKEY_CLASSES_ROOT, path).Delete();
}

// Acquires one service into its holder: the local creator when the class
// has one, otherwise the class object of whatever server is registered.
template <class Interface>
void Acquire(const ClassRecord& record, const QfGuid& iid, Interface** holder)
{
    *holder = nullptr;
    void* out = nullptr;
    if (record.creator) {
        if (record.creator(iid, &out, nullptr, record.context) >= 0)
            *holder = static_cast<Interface*>(out);
        return;
    }
    IClassFactory* factory = nullptr;
    if (FAILED(CoGetClassObject(reinterpret_cast<const CLSID&>(*record.clsid), 23, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory))) ||
        !factory)
        return;
    ICafeCreator* creator = nullptr;
    HRESULT hr;
    if (SUCCEEDED(factory->QueryInterface(reinterpret_cast<const IID&>(g_qfIds.cafeCreator),
                                          reinterpret_cast<void**>(&creator))) &&
        creator) {
        hr = creator->CreateInstanceWithContext(nullptr, iid, &out, record.context);
        creator->Release();
    } else {
        hr = factory->CreateInstance(nullptr, reinterpret_cast<const IID&>(iid), &out);
    }
    factory->Release();
    if (SUCCEEDED(hr))
        *holder = static_cast<Interface*>(out);
}

void Convert(const char* text, QfGuid* out)
{
    bool ok = QfGuidFromText(text, out);
    QF_ASSERT(ok);
    (void)ok;
}

}  // namespace

void QfConvertIds()
{
    Convert(QF_IID_ICAFEOBJECT_TEXT, &g_qfIds.cafeObject);
    Convert(QF_IID_ICAFECREATOR_TEXT, &g_qfIds.cafeCreator);
    Convert("{00000000-0000-0000-C000-000000000046}", &g_qfIds.unknown);
    Convert("{00000001-0000-0000-C000-000000000046}", &g_qfIds.classFactory);
    Convert(QF_IID_IQFMEMORY_TEXT, &g_qfIds.memory);
    Convert(QF_IID_IQFTIMERMGR_TEXT, &g_qfIds.timer);
    Convert(QF_IID_IQFRGNMGR_TEXT, &g_qfIds.region);
    Convert(QF_IID_IQFTEXTMGR_TEXT, &g_qfIds.text);
    Convert(QF_IID_IQFWNDMGR_TEXT, &g_qfIds.window);
    Convert(QF_IID_IQFDISPMGR_TEXT, &g_qfIds.display);
    Convert(QF_IID_IQFTHREADMGR_TEXT, &g_qfIds.thread);
    Convert(QF_CLSID_QFMEMORYMGR_TEXT, &g_qfIds.memoryClass);
    Convert(QF_CLSID_QFTIMERMGR_TEXT, &g_qfIds.timerClass);
    Convert(QF_CLSID_QFRGNMGR_TEXT, &g_qfIds.regionClass);
    Convert(QF_CLSID_QFTEXTMGR_TEXT, &g_qfIds.textClass);
    Convert(QF_CLSID_QFWNDMGR_TEXT, &g_qfIds.windowClass);
    Convert(QF_CLSID_QFDISPMGR_TEXT, &g_qfIds.displayClass);
    Convert(QF_CLSID_QFTHREADMGR_TEXT, &g_qfIds.threadClass);
    QF_COM_TRACE("Tf:  I - TfCoServer initializing.\n");
    for (InterfaceDescriptor& d : g_interfaces) {
        QF_COM_TRACE("Tf:  I - Initializing an %s interface.\n", d.name);
        d.nextInLibrary = g_libraryInterfaces;
        g_libraryInterfaces = &d;
        d.nextInProcess = g_processInterfaces;
        g_processInterfaces = &d;
    }
}

void QfRegisterLocalCreators()
{
    const QfLocalCreator creators[kClassCount] = {QfCreateMemoryMgr, QfCreateThreadMgr, QfCreateTimerMgr,
                                                  QfCreateRgnMgr,    QfCreateTextMgr,   QfCreateDispMgr,
                                                  QfCreateWndMgr};
    for (int i = 0; i < kClassCount; ++i) {
        QF_COM_TRACE("Tf:  I - Registering local creator for CoClass '%s'\n", g_classes[i].name);
        g_classes[i].creator = creators[i];
    }
}

void QfAcquireServices()
{
    QfMgr* root = QfRoot();
    Acquire(g_classes[0], g_qfIds.memory, root->MemoryHolder());
    Acquire(g_classes[1], g_qfIds.thread, root->ThreadHolder());
    Acquire(g_classes[2], g_qfIds.timer, root->TimerHolder());
    Acquire(g_classes[3], g_qfIds.region, root->RegionHolder());
    Acquire(g_classes[4], g_qfIds.text, root->TextHolder());
    Acquire(g_classes[5], g_qfIds.display, root->DisplayHolder());
    Acquire(g_classes[6], g_qfIds.window, root->WindowHolder());
}

template <class Interface>
void ReleaseHolder(Interface** holder)
{
    if (*holder) {
        (*holder)->Release();
        *holder = nullptr;
    }
}

void QfReleaseServices()
{
    QfMgr* root = QfRoot();
    ReleaseHolder(root->WindowHolder());
    ReleaseHolder(root->DisplayHolder());
    ReleaseHolder(root->TextHolder());
    ReleaseHolder(root->RegionHolder());
    ReleaseHolder(root->TimerHolder());
    ReleaseHolder(root->ThreadHolder());
    ReleaseHolder(root->MemoryHolder());
}

extern "C" {

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    for (Creator& creator : g_creators) {
        if (memcmp(&creator.ClassId(), &clsid, sizeof(QfGuid)) == 0)
            return creator.QueryInterface(reinterpret_cast<const QfGuid&>(iid), out);
    }
    return QF_E_CLASSNOTAVAILABLE;
}

HRESULT __stdcall DllCanUnloadNow(void)
{
    return g_lockCount == -1 ? S_OK : S_FALSE;
}

HRESULT __stdcall DllRegisterServer(void)
{
    char modulePath[MAX_PATH];
    if (!GetModuleFileNameA(g_qfModule, modulePath, sizeof modulePath))
        return QF_E_FAIL;
    for (const Creator& creator : g_creators) {
        QfResult status = creator.Register(modulePath);
        if (status != QF_S_OK)
            return status;
    }
    for (InterfaceDescriptor* d = g_libraryInterfaces; d; d = d->nextInLibrary) {
        QfResult status = RegisterInterface(*d);
        if (status != QF_S_OK)
            return status;
    }
    return S_OK;
}

HRESULT __stdcall DllUnregisterServer(void)
{
    for (const Creator& creator : g_creators) {
        QfResult status = creator.Unregister();
        if (status != QF_S_OK)
            return status;
    }
    for (InterfaceDescriptor* d = g_libraryInterfaces; d; d = d->nextInLibrary) {
        QfResult status = UnregisterInterface(*d);
        if (status != QF_S_OK)
            return status;
    }
    return S_OK;
}

}  // extern "C"

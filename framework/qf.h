// The framework's binary contract with the grid library: the root object,
// the service interfaces in their slot order, their identifiers as text, and
// the shared record layouts (framework strings, window records, timer
// clients, graphic objects). Every interface is a COM-compatible table of
// operations: single inheritance, no virtual destructor, __stdcall on
// Windows. Adding, removing or reordering a virtual function breaks every
// library built against this header.
#ifndef ZUB_FRAMEWORK_QF_H
#define ZUB_FRAMEWORK_QF_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define QFAPI __stdcall
#else
#define QFAPI
#endif

typedef int32_t QfResult;  // negative on failure, as HRESULT

#define QF_S_OK ((QfResult)0)
#define QF_S_FALSE ((QfResult)1)
#define QF_E_NOTIMPL ((QfResult)0x80004001)
#define QF_E_NOINTERFACE ((QfResult)0x80004002)
#define QF_E_POINTER ((QfResult)0x80004003)
#define QF_E_FAIL ((QfResult)0x80004005)
#define QF_E_OUTOFMEMORY ((QfResult)0x8007000E)
#define QF_E_NOAGGREGATION ((QfResult)0x80040110)
#define QF_E_CLASSNOTAVAILABLE ((QfResult)0x80040111)

// Laid out as the platform's GUID.
struct QfGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// Identifiers as text; each side converts them once at load.
#define QF_IID_ICAFEOBJECT_TEXT "{1A548B91-2768-11d0-97AD-02608C409255}"
#define QF_IID_ICAFECREATOR_TEXT "{1A548B90-2768-11d0-97AD-02608C409255}"
#define QF_IID_IQFMEMORY_TEXT "{FD8A2650-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFMEMORYMGR_TEXT "{FD8A2651-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFTIMERMGR_TEXT "{FD8A2652-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFTIMERMGR_TEXT "{FD8A2653-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFRGNMGR_TEXT "{FD8A2654-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFRGNMGR_TEXT "{FD8A2655-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFTEXTMGR_TEXT "{FD8A2656-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFTEXTMGR_TEXT "{FD8A2657-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFWNDMGR_TEXT "{FD8A2658-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFWNDMGR_TEXT "{FD8A2659-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFDISPMGR_TEXT "{FD8A265A-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFDISPMGR_TEXT "{FD8A265B-39BB-11d0-89BE-00A0C9163A43}"
#define QF_IID_IQFTHREADMGR_TEXT "{FD8A265C-39BB-11d0-89BE-00A0C9163A43}"
#define QF_CLSID_QFTHREADMGR_TEXT "{FD8A265D-39BB-11d0-89BE-00A0C9163A43}"

// Handles of the platform (windows, icons, cursors, menus, fonts, modules,
// device contexts) cross the boundary as opaque pointers.
typedef void* QfHandle;

// ---------------------------------------------------------------------------
// Shared records

// Framework string: a 6-byte header, then the characters and a NUL. Always
// made and released through IQfTextMgr. Reference count = holders minus one.
struct QfString {
    volatile int32_t refs;
    uint8_t length;
    uint8_t sizeClass;  // low 4 bits: 0 (shared empty) to 5
};
#define QF_STRING_HEADER 6
// The same layout with room for text, for strings in static storage.
template <int Capacity>
struct QfStaticString {
    int32_t refs;
    uint8_t length;
    uint8_t sizeClass;
    char text[Capacity + 1];
    QfString* AsString() { return reinterpret_cast<QfString*>(this); }
};
inline char* QfStringText(QfString* s) { return reinterpret_cast<char*>(s) + QF_STRING_HEADER; }
inline const char* QfStringText(const QfString* s) { return reinterpret_cast<const char*>(s) + QF_STRING_HEADER; }

// Window creation record, laid out as the platform's CREATESTRUCTA.
struct QfCreateRecord {
    void* createParams;
    QfHandle instance;
    QfHandle menu;
    QfHandle parent;
    int32_t cy;
    int32_t cx;
    int32_t y;
    int32_t x;
    int32_t style;
    const char* name;
    const char* className;
    uint32_t exStyle;
};

typedef intptr_t(QFAPI* QfWindowProc)(QfHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Window class record, laid out as the platform's WNDCLASSA.
struct QfClassRecord {
    uint32_t style;
    QfWindowProc procedure;
    int32_t classExtra;
    int32_t windowExtra;
    QfHandle instance;
    QfHandle icon;
    QfHandle cursor;
    QfHandle background;
    const char* menuName;
    const char* className;
};

// The result record of a window object: the value the window procedure
// returns and a flag word the dispatcher acts on after the handler.
struct QfMessageResult {
    intptr_t value;
    uint32_t flags;
};
// Flag word: pass the message on to the parent window (mouse coordinates
// mapped into the parent's client area).
#define QF_RESULT_FORWARD_TO_PARENT 0x100000u
// Flag word: repaint the window after the current message.
#define QF_RESULT_UPDATE_PENDING 0x1u

// The data every window object carries.
struct QfWindowRecord {
    QfHandle window;  // null before creation and after destruction
    QfMessageResult result;
    void* children;  // the object's own list of child window objects
};

struct ICafeObject;
struct IQfWindowObject;

// Factory for the manager object of a window class: called with the window's
// creation record when a window of the class is being created. Returns an
// object carrying one reference (kept by the window map), or null to fail the
// creation.
typedef IQfWindowObject*(QFAPI* QfWindowFactory)(QfHandle window, const QfCreateRecord* record, void* context);
// The creation data given to RegisterClassProbed; it must outlive the class.
struct QfClassCreation {
    QfWindowFactory factory;
    void* context;
};

// An object with a timer slot. The timer service calls onTimer on the thread
// that added the timer, with the identifier AddTimer returned; each timer
// fires once. Timers belong to the thread that added them: one client may
// have timers on several threads, and RemoveTimer and RemoveAllTimers act on
// the calling thread's. The node field belongs to the timer service: it
// starts null and is non-null exactly while the client has a timer pending
// on some thread.
struct QfTimerClient {
    void(QFAPI* onTimer)(QfTimerClient* client, uint32_t timerId);
    void* node;
};

// Graphic object of the display service. Reference count = holders minus
// one; release through IQfDispMgr slot 17.
struct QfGraphic {
    volatile int32_t refs;
    uint32_t type;  // QF_GRAPHIC_*; icons and cursors by number add number << 16
    QfString* name;
    uintptr_t value;  // platform handle, or the colour value for colours
    uint32_t flags;   // QF_GRAPHIC_DESTROYING, QF_GRAPHIC_STATIC
};
#define QF_GRAPHIC_FONT 1u
#define QF_GRAPHIC_ICON 2u
#define QF_GRAPHIC_PALETTE 3u
#define QF_GRAPHIC_CURSOR 4u
#define QF_GRAPHIC_COLOR 5u
#define QF_GRAPHIC_TEXT 6u
#define QF_GRAPHIC_DESTROYING 0x1u
#define QF_GRAPHIC_STATIC 0x2u

// Font specification record (the font language's parse result).
struct QfFontSpec {
    char face[32];
    int32_t size;  // hundredths of a point or pixels; negative = character height
    uint8_t charSet;
    uint8_t flags;  // QF_FONT_*
};
#define QF_FONT_POINTS 0x01u
#define QF_FONT_BOLD 0x02u
#define QF_FONT_ITALIC 0x04u
#define QF_FONT_UNDERLINE 0x08u
#define QF_FONT_STRIKEOUT 0x10u
#define QF_FONT_HALFWIDTH 0x20u
#define QF_FONT_DOUBLEWIDTH 0x40u
#define QF_FONT_INVALID 0x80u

// A pooled reference-counted holder of one 32-bit value (display slot 25).
struct QfValueObject {
    volatile int32_t refs;
    uint32_t value;
};

// Pooled rectangle record of the region service.
struct QfRectRecord {
    int32_t left, top, right, bottom;
    uint32_t reserved[2];
};

typedef void(QFAPI* QfBankCleanup)(void* bank);
typedef uintptr_t(QFAPI* QfFrameworkCall)(uintptr_t argument);

// Private messages of the framework.
#define QF_MSG_NOTIFY_1038 1038u
#define QF_MSG_NOTIFY_1039 1039u
#define QF_MSG_CALLOBJECT 1048u
#define QF_MSG_REQUEST 1226u
#define QF_MSG_REFRESH 1227u
#define QF_MSG_SETDIAGWND 1229u
#define QF_MSG_CREATEWINDOW 1230u

// ---------------------------------------------------------------------------
// Interfaces

struct ICafeObject {
    virtual QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) = 0;  // 0
    virtual uint32_t QFAPI AddRef() = 0;                                       // 1
    virtual uint32_t QFAPI Release() = 0;                                      // 2
};

// Class objects; the first five slots match the platform's class factory.
struct ICafeCreator : ICafeObject {
    virtual QfResult QFAPI CreateInstance(ICafeObject* outer, const QfGuid& iid, void** out) = 0;  // 3
    virtual QfResult QFAPI LockServer(int32_t lock) = 0;                                            // 4
    virtual QfResult QFAPI CreateInstanceWithContext(ICafeObject* outer, const QfGuid& iid, void** out,
                                                     uint32_t context) = 0;  // 5
};

// A window object: what the window service dispatches a window's messages
// to. AddRef/Release follow holders minus one; Release destroys the object
// when its last holder lets go.
struct IQfWindowObject : ICafeObject {
    // Returns nonzero when handled; the message's result is GetRecord()->result.value.
    virtual int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;  // 3
    virtual QfWindowRecord* QFAPI GetRecord() = 0;                                                 // 4
};

struct IQfMemory : ICafeObject {
    virtual void* QFAPI AllocBlock(uint32_t size) = 0;                          // 3
    virtual QfResult QFAPI FreeBlock(void* address, uint32_t size) = 0;         // 4
    virtual QfResult QFAPI FreePoolBlock(void* address) = 0;                    // 5
    virtual QfResult QFAPI FindBlock(const void* address, void** owner) = 0;    // 6
    virtual void* QFAPI AllocTagged(uint32_t size, uint32_t tag) = 0;           // 7
    // Next tagged block after block (null: the first) carrying tag (0: any).
    virtual void* QFAPI NextTagged(void* block, uint32_t tag) = 0;              // 8
    // Frees block, or with a null block every block carrying tag (0: all);
    // returns the number freed.
    virtual uint32_t QFAPI FreeTagged(void* block, uint32_t tag) = 0;           // 9
    virtual void* QFAPI Alloc(uint32_t size) = 0;                               // 10
    virtual void* QFAPI ReAlloc(void* block, uint32_t size) = 0;                // 11
    virtual int32_t QFAPI Free(void* block) = 0;                                // 12
};

struct IQfThreadMgr : ICafeObject {
    virtual int32_t QFAPI IsThreadReady() = 0;                                  // 3
    virtual void* QFAPI GetBank(uint32_t handle) = 0;                           // 4
    virtual uint32_t QFAPI AllocBank(uint32_t size, QfBankCleanup cleanup) = 0;  // 5
    virtual int32_t QFAPI ThreadAttach() = 0;                                   // 6
    virtual int32_t QFAPI ThreadDetach() = 0;                                   // 7
    // Hand message 1038 (1039) to the calling thread's window object (the
    // value IQfWndMgr::SetThreadValue stored) and return the handler's
    // result; 0 when the thread has none.
    virtual intptr_t QFAPI Notify1038() = 0;                                    // 8
    virtual intptr_t QFAPI Notify1039() = 0;                                    // 9
};
#define QF_BANK_FAILED 0xFFFFFFFFu

struct IQfTimerMgr : ICafeObject {
    // The service's inner object, which lies just past the interface
    // pointer: a second table of the three base operations, answering for
    // the timer service itself. It is not a reference; the caller adds one
    // through it if it keeps it.
    virtual ICafeObject* QFAPI GetInner() = 0;                                      // 3
    virtual uint32_t QFAPI AddTimer(QfTimerClient* client, uint32_t ticks) = 0;     // 4
    virtual QfResult QFAPI RemoveTimer(QfTimerClient* client, uint32_t timerId) = 0;  // 5
    virtual QfResult QFAPI RemoveAllTimers(QfTimerClient* client) = 0;              // 6
};
// Milliseconds per timer tick.
#define QF_TIMER_TICK_MS 50u

struct IQfRgnMgr : ICafeObject {
    virtual QfRectRecord* QFAPI AllocRect(const int32_t* rect) = 0;  // 3
    virtual QfResult QFAPI FreeRect(QfRectRecord* record) = 0;       // 4
};

struct IQfTextMgr : ICafeObject {
    virtual QfString* QFAPI AllocString(uint32_t capacity) = 0;                                // 3
    virtual QfResult QFAPI FreeString(QfString* string) = 0;                                   // 4
    virtual QfString* QFAPI ResizeString(QfString* string, uint32_t capacity, int32_t keepText) = 0;  // 5
    virtual QfString* QFAPI AddRefString(QfString* string) = 0;                                // 6
    // Drops one holder; frees the string when that was the last one.
    virtual QfResult QFAPI ReleaseString(QfString* string) = 0;                                // 7
    // A new string holding text (length -1: up to its NUL), cut at 249.
    virtual QfString* QFAPI MakeString(const char* text, int32_t length) = 0;                  // 8
};

struct IQfWndMgr : ICafeObject {
    virtual QfHandle QFAPI GetMessageSink() = 0;                                          // 3
    virtual IQfWindowObject* QFAPI FindWindowObject(QfHandle window) = 0;                 // 4 (no reference added)
    virtual QfResult QFAPI AttachWindowObject(QfHandle window, IQfWindowObject* object) = 0;  // 5
    virtual IQfWindowObject* QFAPI GetWindowObject(QfHandle window) = 0;                  // 6 (reference added)
    virtual IQfWindowObject* QFAPI GetNullWindowObject() = 0;                             // 7 (reference added)
    virtual QfResult QFAPI DetachWindowObject(QfHandle window) = 0;                       // 8
    virtual uintptr_t QFAPI SetThreadValue(uintptr_t value) = 0;                          // 9
    virtual uintptr_t QFAPI GetThreadValue() = 0;                                         // 10
    virtual QfWindowProc QFAPI GetDispatcherProc() = 0;                                   // 11
    // Creates a window from the record; the window object with a reference,
    // or the null window object when creation failed.
    virtual IQfWindowObject* QFAPI CreateWindowObject(const QfCreateRecord* record) = 0;  // 12
    virtual intptr_t QFAPI CallWindowObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam,
                                            intptr_t lParam) = 0;  // 13
    // Posts a message to the object's window for later delivery.
    virtual int32_t QFAPI PostWindowObject(IQfWindowObject* object, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam) = 0;  // 14
    // Shows the framework tooltip with text near the object's window at
    // client point x,y after a short delay; a null text hides it.
    virtual int32_t QFAPI ShowTooltip(IQfWindowObject* object, const char* text, int32_t x, int32_t y) = 0;  // 15
    // Hands a window object back: detaches it when its window is gone and
    // drops the caller's reference.
    virtual QfResult QFAPI ReturnWindowObject(IQfWindowObject* object) = 0;  // 16
    virtual uint16_t QFAPI RegisterClassProbed(const QfClassRecord* record, const char* name,
                                               const QfClassCreation* creation) = 0;  // 17
    virtual uint16_t QFAPI RegisterClass(const QfClassRecord* record, const char* name) = 0;  // 18
    virtual int32_t QFAPI UnregisterClass(const char* name) = 0;                              // 19
};

struct IQfDispMgr : ICafeObject {
    virtual QfResult QFAPI GetColor(QfGraphic** out, const char* text) = 0;                 // 3
    // A font made from the record itself: its character set is kept, and an
    // empty face lets the system choose one. Shared with GetFont of the text
    // that spells the same record.
    virtual QfResult QFAPI GetFontVariant(QfGraphic** out, const QfFontSpec* spec) = 0;     // 4
    virtual QfResult QFAPI GetFont(QfGraphic** out, const char* text) = 0;                  // 5
    virtual QfResult QFAPI GetTextObject(QfGraphic** out, const char* text) = 0;            // 6
    // Draws an icon or cursor object, or fills with a colour object, into
    // the rectangle x,y,width,height. Returns 1 when something was drawn.
    // Six arguments (the position, the width and height, the device context
    // and the object): the operation takes no flags.
    virtual int32_t QFAPI DrawObject(QfHandle dc, int32_t x, int32_t y, int32_t width, int32_t height,
                                     QfGraphic* object) = 0;  // 7
    virtual QfResult QFAPI GetCursor(QfGraphic** out, const char* reference) = 0;           // 8
    virtual QfResult QFAPI GetIcon(QfGraphic** out, const char* reference, int32_t width, int32_t height) = 0;  // 9
    virtual QfResult QFAPI GetDefaultPalette(QfGraphic** out) = 0;                          // 10
    // Selects and realises the default palette into dc; returns the previous palette.
    virtual QfHandle QFAPI SelectDefaultPalette(QfHandle dc, int32_t background) = 0;       // 11
    // Selects back the palette SelectDefaultPalette returned.
    virtual int32_t QFAPI RestorePalette(QfHandle dc, QfHandle previous) = 0;               // 12
    virtual int32_t QFAPI IsDitheredColor(uint32_t colour) = 0;                             // 13
    // The null object of a type (no reference added; it is never freed).
    virtual QfGraphic* QFAPI GetNullObject(uint32_t type) = 0;                              // 14
    // A memory device context compatible with dc with a new 8x8 monochrome
    // bitmap selected; the caller deletes the context, then the bitmap.
    virtual QfHandle QFAPI PrepareMonoDC(QfHandle dc, QfHandle* bitmap) = 0;               // 15
    // Bits 0-7: the top (flag) byte of a colour object's value; bits 8-15:
    // its low (red) byte. 0xFFFF for an object that is not a colour.
    virtual uint32_t QFAPI GetColorBytes(const QfGraphic* object) = 0;                      // 16
    virtual QfResult QFAPI ReleaseObject(QfGraphic* object) = 0;                            // 17
    virtual QfGraphic* QFAPI AddRefObject(QfGraphic* object) = 0;                           // 18
    // Inverts a frame of the given thickness inside rect (left, top, right,
    // bottom) with the cached 50 percent checker brush.
    virtual int32_t QFAPI DrawFrame(QfHandle dc, const int32_t* rect, int32_t thickX, int32_t thickY) = 0;  // 19
    virtual QfHandle QFAPI GetPaletteHandle() = 0;                                          // 20
    virtual QfHandle QFAPI LoadMenuRef(const char* reference, int32_t option) = 0;          // 21
    // The framework's blank icon ("!BlankIcon") at a size (0: the system
    // icon size): shared, never destroyed by the caller.
    virtual QfHandle QFAPI GetBlankIcon(int32_t size) = 0;                                  // 22
    virtual int32_t QFAPI IsBlankIcon(QfHandle icon) = 0;                                   // 23
    // A copy of the blank icon that the caller owns and destroys.
    virtual QfHandle QFAPI CopyBlankIcon(int32_t size) = 0;                                 // 24
    virtual QfValueObject* QFAPI AllocValueObject(uint32_t value) = 0;                      // 25
    virtual QfResult QFAPI ReleaseValueObject(QfValueObject* object) = 0;                   // 26
};

// The root object. Not reference counted: callers keep it as long as they
// like. Slot 18 is variadic and therefore uses the C calling convention.
struct QfMgr {
    virtual int32_t QFAPI Alert(const char* text) = 0;                                      // 0
    virtual int32_t QFAPI IsStringPointer(uintptr_t value) = 0;                             // 1
    virtual QfHandle QFAPI LoadMenuRef(const char* reference, int32_t option) = 0;          // 2
    virtual intptr_t QFAPI SendMessageSafe(QfHandle window, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam) = 0;  // 3
    // Slots 4 to 8 and 9 go through the framework's hidden window, so they
    // run on the thread that loaded the framework.
    virtual const char* QFAPI GetStockColorName(uint32_t index) = 0;                        // 4
    virtual const char* QFAPI GetStockCursorName(uint32_t index) = 0;                       // 5
    virtual const char* QFAPI GetStockIconName(uint32_t index) = 0;                         // 6
    virtual uintptr_t QFAPI CallOnFrameworkThread(QfFrameworkCall call, uintptr_t argument) = 0;  // 7
    virtual IQfWindowObject* QFAPI CreateWindowOnFrameworkThread(const QfCreateRecord* record) = 0;  // 8
    // Tells every attached window object that display settings changed (message 1126).
    virtual intptr_t QFAPI RefreshDisplayObjects() = 0;                                     // 9
    virtual int32_t QFAPI GetLogPixelsY() = 0;                                              // 10
    virtual int32_t QFAPI GetLogPixelsX() = 0;                                              // 11
    virtual IQfWindowObject* QFAPI CreateWindowObject(const QfCreateRecord* record) = 0;    // 12
    virtual int32_t QFAPI SetCursorObject(QfGraphic* cursor) = 0;                           // 13
    virtual QfHandle QFAPI GetBlankIcon(int32_t size) = 0;                                  // 14
    virtual int32_t QFAPI IsBlankIcon(QfHandle icon) = 0;                                   // 15
    virtual QfHandle QFAPI CopyBlankIcon(int32_t size) = 0;                                 // 16
    virtual QfHandle QFAPI GetPaletteHandle() = 0;                                          // 17
    virtual int32_t DiagnosticPrintf(int32_t level, const char* format, ...) = 0;           // 18
    virtual intptr_t QFAPI SetDiagnosticWindow(QfHandle window) = 0;                        // 19
    virtual IQfMemory** QFAPI MemoryHolder() = 0;                                           // 20
    virtual IQfTimerMgr** QFAPI TimerHolder() = 0;                                          // 21
    virtual IQfRgnMgr** QFAPI RegionHolder() = 0;                                           // 22
    virtual IQfTextMgr** QFAPI TextHolder() = 0;                                            // 23
    virtual IQfWndMgr** QFAPI WindowHolder() = 0;                                           // 24
    virtual IQfDispMgr** QFAPI DisplayHolder() = 0;                                         // 25
    virtual IQfThreadMgr** QFAPI ThreadHolder() = 0;                                        // 26
    virtual int32_t QFAPI AddResourceModule(QfHandle module) = 0;                           // 27
    virtual int32_t QFAPI RemoveResourceModule(QfHandle module) = 0;                        // 28
    virtual QfHandle QFAPI LoadModuleIcon(const char* name) = 0;                            // 29
    virtual QfHandle QFAPI LoadModuleCursor(const char* name) = 0;                          // 30
    virtual QfHandle QFAPI LoadModuleMenu(const char* name) = 0;                            // 31
};

#ifdef _WIN32
extern "C" {
QfMgr* QFAPI QfGetInterface(void);
int QfTraceOutput(const char* format, ...);
}
#endif

#endif

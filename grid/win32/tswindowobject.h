// The part every window object of the grid library shares: its window
// record, and the base operations with the framework's count (holders minus
// one; the last release destroys the object).
#ifndef ZUB_GRID_WIN32_TSWINDOWOBJECT_H
#define ZUB_GRID_WIN32_TSWINDOWOBJECT_H

#include <windows.h>

#include <string.h>

#include "tsservices.h"

template <class Derived>
class TsWindowObject : public IQfWindowObject {
public:
    explicit TsWindowObject(HWND window) { record_.window = window; }

    QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) override
    {
        if (!out)
            return QF_E_POINTER;
        if (memcmp(&iid, &Ts().cafeObject, sizeof iid) == 0) {
            *out = static_cast<IQfWindowObject*>(this);
            AddRef();
            return QF_S_OK;
        }
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return static_cast<uint32_t>(InterlockedIncrement(&refs_) + 1); }
    uint32_t QFAPI Release() override
    {
        LONG left = InterlockedDecrement(&refs_);
        if (left == -1)
            delete static_cast<Derived*>(this);
        return static_cast<uint32_t>(left + 1);
    }
    QfWindowRecord* QFAPI GetRecord() override { return &record_; }

protected:
    ~TsWindowObject() = default;
    HWND Window() const { return static_cast<HWND>(record_.window); }

    QfWindowRecord record_ = {};

private:
    LONG refs_ = 0;
};

#endif

// Owns one GDI object (brush, font, bitmap, pen) and deletes it when it goes
// or is replaced, so that no path can leak or double-delete one.
#ifndef ZUB_PLAYER_APP_WIN32_GDI_OBJECT_H
#define ZUB_PLAYER_APP_WIN32_GDI_OBJECT_H

#include <windows.h>

namespace zub {

template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Deletes the object held and takes `handle` (may be null).
    void Reset(Handle handle = nullptr)
    {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

private:
    Handle handle_ = nullptr;
};

}  // namespace zub

#endif

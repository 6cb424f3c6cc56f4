// A window side for native tests of the grid's behaviour: it hands
// notifications to a "parent" (a function the test writes) the way the
// window sends WM_COMMAND, records what the grid asks of it (timers,
// deferred work, the AutoSearch field, events for assistive technology,
// capture) and can offer a fake editor window.
#ifndef ZUB_GRID_TESTS_TSRECORDINGHOST_H
#define ZUB_GRID_TESTS_TSRECORDINGHOST_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tsgrid.h"

// An editor window as a record of what was done to it.
class FakeEditor final : public TsEditor {
public:
    bool Open(const TsPixels& cell, const char* text, int32_t maxLength, uintptr_t) override
    {
        open = true;
        at = cell;
        content = text;
        limit = maxLength;
        ++opened;
        return true;
    }
    void Move(const TsPixels& cell) override { at = cell; }
    void Close() override { open = false; }
    std::string Text() override { return content; }
    void SetText(const char* text) override { content = std::string(text).substr(0, static_cast<size_t>(limit)); }
    void Selection(int32_t* c, int32_t* length) override
    {
        *c = caret;
        *length = selection;
    }
    void SetSelection(int32_t c, int32_t length) override
    {
        caret = c;
        selection = length;
    }
    void Type(uint32_t code) override
    {
        int32_t a = selection < 0 ? caret + selection : caret;
        int32_t n = selection < 0 ? -selection : selection;
        content.replace(static_cast<size_t>(a), static_cast<size_t>(n), 1, static_cast<char>(code));
        caret = a + 1;
        selection = 0;
    }

    bool open = false;
    int opened = 0;
    TsPixels at = {0, 0, 0, 0};
    std::string content;
    int32_t limit = 0;
    int32_t caret = 0, selection = 0;
};

class RecordingHost final : public TsGridHost {
public:
    TsGrid* grid = nullptr;
    // The parent's handling of each notification the grid sends.
    std::function<void(uint32_t code)> parent;
    std::vector<uint32_t> heard;  // notifications in the order the parent heard them
    bool defers = false;          // the host runs deferred work after the message
    std::vector<uint32_t> deferred;
    FakeEditor* editor = nullptr;
    std::vector<std::pair<uint32_t, uint32_t>> events;  // (event, row) for assistive technology
    std::string field;  // the AutoSearch field's text
    bool fieldShown = false;
    int endSearchRequests = 0;
    bool captured = false;
    uint32_t now = 1000;
    uint32_t timers = 0;
    std::vector<std::pair<uint32_t, uint32_t>> started;  // (id, ticks)

    // What the window does after every message: send what is pending.
    void EndOfMessage() { FlushNotifications(); }
    // Runs the posted work, as the message loop would.
    void RunDeferred()
    {
        std::vector<uint32_t> items;
        items.swap(deferred);
        for (uint32_t item : items)
            grid->Deferred(item);
        EndOfMessage();
    }

    intptr_t SendToFrame(uint32_t, ParamBlock*) override { return 0; }
    bool FillSlotFromGrid(uintptr_t, uint32_t, TsGrid*, uint32_t) override { return false; }
    uint32_t StartTimer(uint32_t ticks) override
    {
        started.emplace_back(++timers, ticks);
        return timers;
    }
    void StopTimer(uint32_t) override {}
    uint32_t Now() override { return now; }
    void ModeChanged(bool) override {}
    bool MapPixels(TsPixels*, int) override { return false; }
    void FlushNotifications() override
    {
        if (!grid)
            return;
        for (uint32_t code : grid->TakeNotifications()) {
            heard.push_back(code);
            if (parent)
                parent(code);
        }
    }
    bool PostDeferred(uint32_t item) override
    {
        if (!defers)
            return false;
        deferred.push_back(item);
        return true;
    }
    TsEditor* Editor() override { return editor; }
    void SearchField(const char* text, const TsPixels&) override
    {
        fieldShown = text != nullptr;
        field = text ? text : "";
    }
    void EndSearchLater() override { ++endSearchRequests; }
    void Capture(bool on) override { captured = on; }
    void Accessible(uint32_t event, uint32_t row) override { events.emplace_back(event, row); }
};

#endif

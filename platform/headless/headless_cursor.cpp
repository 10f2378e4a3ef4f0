// headless_cursor.cpp: the six cursor functions of platform/platform_display.h for the headless
// backend. Handles are entries of a fixed table that remember what they stand for; nothing is
// drawn. Leaves out: cursor pictures and any real pointer. Test access: headless_cursor.h.
#include "platform/headless/headless_cursor.h"

struct PlatformCursorTag {
    int number;   // resource or system cursor number; 0 for the desktop cursor
    bool system;  // from PlatformLoadSystemCursor
    bool live;    // loaded and not released
};

namespace {

// Enough for any test; beyond it released entries are reused, and with none free a load fails.
constexpr int kMaxHandles = 256;

struct HeadlessCursorState {
    PlatformCursorTag handles[kMaxHandles];
    int used = 0;
    PlatformCursorTag desktop{0, true, true};
    PlatformCursor current = nullptr;
    bool resourcesAvailable = true;
    HeadlessCursorCounts counts{};
};

HeadlessCursorState& State() {
    static HeadlessCursorState state;
    if (state.current == nullptr) state.current = &state.desktop;
    return state;
}

bool IsOurHandle(PlatformCursor cursor) {
    HeadlessCursorState& state = State();
    if (cursor == &state.desktop) return true;
    for (int i = 0; i < state.used; ++i) {
        if (cursor == &state.handles[i]) return true;
    }
    return false;
}

PlatformCursor NewHandle(int number, bool system) {
    HeadlessCursorState& state = State();
    PlatformCursorTag* handle = nullptr;
    if (state.used < kMaxHandles) {
        handle = &state.handles[state.used++];
    } else {
        // A long run without a reset: reuse a released entry, as a real system reuses handles.
        for (PlatformCursorTag& entry : state.handles) {
            if (!entry.live) {
                handle = &entry;
                break;
            }
        }
        if (handle == nullptr) return nullptr;
    }
    *handle = PlatformCursorTag{number, system, true};
    return handle;
}

}  // namespace

PlatformCursor PlatformLoadCursorResource(int id) {
    HeadlessCursorState& state = State();
    if (!state.resourcesAvailable || id < 101 || id > 103) return nullptr;
    PlatformCursor cursor = NewHandle(id, false);
    if (cursor != nullptr) ++state.counts.resourceLoads;
    return cursor;
}

PlatformCursor PlatformLoadSystemCursor(int id) {
    if (id != 32512 && id != 32514) return nullptr;
    PlatformCursor cursor = NewHandle(id, true);
    if (cursor != nullptr) ++State().counts.systemLoads;
    return cursor;
}

PlatformCursor PlatformGetCursor() { return State().current; }

void PlatformSetCursor(PlatformCursor cursor) {
    HeadlessCursorState& state = State();
    ++state.counts.setCalls;
    state.current = cursor;
}

void PlatformShowCursor(bool show) {
    HeadlessCursorCounts& counts = State().counts;
    if (show) {
        ++counts.showCalls;
        ++counts.displayCount;
    } else {
        ++counts.hideCalls;
        --counts.displayCount;
    }
}

void PlatformDestroyCursor(PlatformCursor cursor) {
    HeadlessCursorState& state = State();
    if (cursor == nullptr || cursor == &state.desktop || !IsOurHandle(cursor) || !cursor->live) {
        ++state.counts.badDestroys;
        return;
    }
    cursor->live = false;
    ++state.counts.destroys;
}

void HeadlessResetCursors() {
    HeadlessCursorState& state = State();
    state.used = 0;
    state.current = &state.desktop;
    state.resourcesAvailable = true;
    state.counts = HeadlessCursorCounts{};
}

void HeadlessSetCursorResourcesAvailable(bool available) { State().resourcesAvailable = available; }

const HeadlessCursorCounts& HeadlessCursorCounters() { return State().counts; }

PlatformCursor HeadlessCurrentCursor() { return State().current; }

PlatformCursor HeadlessDesktopCursor() { return &State().desktop; }

int HeadlessCursorNumber(PlatformCursor cursor) {
    if (cursor == nullptr || !IsOurHandle(cursor)) return -1;
    return cursor->number;
}

bool HeadlessCursorIsSystem(PlatformCursor cursor) {
    return cursor != nullptr && IsOurHandle(cursor) && cursor->system;
}

int HeadlessLiveCursors() {
    HeadlessCursorState& state = State();
    int live = 0;
    for (int i = 0; i < state.used; ++i) {
        if (state.handles[i].live) ++live;
    }
    return live;
}

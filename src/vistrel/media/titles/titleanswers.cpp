#include "vistrel/media/titles/titleanswers.h"

#include "core/msgreader.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr int32_t kMinTitleBytes = 12;  // id, unused, empty name
constexpr int32_t kEntryBytes = 4;
constexpr int kStateStopped = 1001;
constexpr int kStatePlaying = 1002;
constexpr int kStatePaused = 1004;

}  // namespace

int ReadOwnObject(CZVMSG& message, int object) {
    int32_t first = 0;
    if (message.ReadInt(first) && first == object) return 1;
    message.ResetPosition();
    return 0;
}

int ReadTitleEntries(CZVMSG& message, std::vector<CTitleEntry>* out) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kMinTitleBytes, [&](int32_t) {
        CTitleEntry entry;
        int32_t unused = 0;
        if (!CMsgReader(message).Int(entry.id).Int(unused).String(entry.name)) return false;
        out->push_back(std::move(entry));
        return true;
    });
}

bool ReadTitleState(CZVMSG& message, int group, CTitleState* out) {
    int32_t count = 0;
    if (!message.ReadInt(out->state)) return false;
    out->hasGroup = false;
    if (!message.ReadInt(count) || group < 0) return true;
    ReadRecords(message, count, kEntryBytes, [&](int32_t index) {
        int32_t entry = 0;
        if (!message.ReadInt(entry)) return false;
        if (index != group) return true;
        out->current = entry;
        out->hasGroup = true;
        return false;
    });
    return true;
}

COLORREF TitleStateColour(int state, COLORREF other) {
    switch (state) {
    case kStateStopped: return 0xFF0000;
    case kStatePlaying: return 0x00FF00;
    case kStatePaused: return 0x00FFFF;
    default: return other;
    }
}

void RepaintWhenFree(CZVWindow* window) {
    if (CMainWndBase::InputBlockedFor(window))
        window->SetDeferredRepaint(1);
    else if (window->IsShown())
        window->RedrawBuffered();
}

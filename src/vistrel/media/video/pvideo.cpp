#include "vistrel/media/video/pvideo.h"

#include <algorithm>
#include <memory>

#include "core/zvoblist.h"
#include "platform/report.h"
#include "vistrel/media/video/videownd.h"

int g_videoThrottle = 0;
int g_videoPageOpen = 0;

namespace {

struct Registries {
    CZVObList speakers;
    CZVObList windows;
    CZVObList levels;
    CZVObList caps;
};

std::unique_ptr<Registries> g_registries;

void Add(CZVObList Registries::*list, void* item) {
    if (g_registries) ((*g_registries).*list).AddTail(item);
}

void RemoveFromRegistry(CZVObList Registries::*list, void* item) {
    if (!g_registries) return;
    CZVObList& items = (*g_registries).*list;
    if (ZVPOSITION pos = items.Find(item))
        items.RemoveAt(pos);
    else
        ReportAssert("pvideo", __LINE__, 1);
}

template <typename Item, typename Call>
void ForEach(CZVObList Registries::*list, Call call) {
    if (!g_registries) return;
    const CZVObList& items = (*g_registries).*list;
    for (ZVPOSITION pos = items.GetHeadPosition(); pos;) call(static_cast<Item*>(items.GetNext(pos)));
}

}  // namespace

CVideoCapsListener::CVideoCapsListener(int source) : m_source(source) { RegisterCapsListener(this); }
CVideoCapsListener::~CVideoCapsListener() { UnregisterCapsListener(this); }

void CreateVideoRegistries() { g_registries = std::make_unique<Registries>(); }

void DestroyVideoRegistries() {
    if (!g_registries) return;
    for (CZVObList* list :
         {&g_registries->speakers, &g_registries->windows, &g_registries->levels, &g_registries->caps})
        if (!list->IsEmpty()) ReportAssert("pvideo", __LINE__, 1);
    g_registries.reset();
}

void RegisterVideoWindow(CVideoWnd* window) { Add(&Registries::windows, window); }
void UnregisterVideoWindow(CVideoWnd* window) { RemoveFromRegistry(&Registries::windows, window); }
void RegisterSpeakerControl(CSpeakerControl* control) { Add(&Registries::speakers, control); }
void UnregisterSpeakerControl(CSpeakerControl* control) { RemoveFromRegistry(&Registries::speakers, control); }
void RegisterLevelControl(CLevelControl* control) { Add(&Registries::levels, control); }
void UnregisterLevelControl(CLevelControl* control) { RemoveFromRegistry(&Registries::levels, control); }
void RegisterCapsListener(CVideoCapsListener* listener) { Add(&Registries::caps, listener); }
void UnregisterCapsListener(CVideoCapsListener* listener) { RemoveFromRegistry(&Registries::caps, listener); }

int GetVideoWindowCount() { return g_registries ? g_registries->windows.GetCount() : 0; }

void StopAllVideo() {
    ForEach<CVideoWnd>(&Registries::windows, [](CVideoWnd* w) { w->Pause(); });
}

void RestartAllVideo() {
    ForEach<CVideoWnd>(&Registries::windows, [](CVideoWnd* w) { w->Restart(); });
}

void NotifyVideoQuality(int source, int level) {
    ForEach<CLevelControl>(&Registries::levels, [&](CLevelControl* c) {
        if (c->GetSource() == source) c->OnQualityLevel(level);
    });
}

void NotifyVideoCaps(int source, int a, int b, int c, int d) {
    ForEach<CVideoCapsListener>(&Registries::caps, [&](CVideoCapsListener* l) {
        if (l->GetSourceKey() == source) l->OnVideoCaps(a, b, c, d);
    });
}

int SelectVideoAudio(int source) {
    CVideoWnd* found = nullptr;
    ForEach<CVideoWnd>(&Registries::windows, [&](CVideoWnd* w) {
        if (w->GetSource() != source)
            w->StopAudio();
        else
            found = w;
    });
    if (found) found->StartAudio();
    ForEach<CSpeakerControl>(&Registries::speakers, [&](CSpeakerControl* c) {
        if (c->GetSource() != source) c->ShowOff();
    });
    return found != nullptr;
}

int StopAllVideoAudio(CVideoWnd*) {
    ForEach<CVideoWnd>(&Registries::windows, [](CVideoWnd* w) { w->StopAudio(); });
    ForEach<CSpeakerControl>(&Registries::speakers, [](CSpeakerControl* c) { c->ShowOff(); });
    return 1;
}

void SetVideoThrottle(int on) {
    g_videoThrottle = on;
    if (!on) ForEach<CVideoWnd>(&Registries::windows, [](CVideoWnd* w) { w->StampThrottle(); });
}

void AlignVideoSize(int* width, int* height, int flags) {
    if (!(flags & kAlignVideo4By3)) return;
    const int n = std::max(1, std::min(*width / 16, *height / 12));
    *width = 16 * n;
    *height = 12 * n;
}

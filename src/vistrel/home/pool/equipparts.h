#pragma once
// Parts the pool equipment's pages share.
// CPollPacer: when a blocking poll of the gateway is due: an interval after the last
// poll or command, or a minute after a poll that went unanswered, so that a
// gateway that stays connected but never answers cannot hold the tablet in
// one wait after the other. An answer brings back the interval.
#include <cstdint>

#include <algorithm>

#include "platform/clock.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/regions/rregion.h"
#include "widgets/window/zvwindow.h"

class CPollPacer {
public:
    static constexpr uint32_t kSilentWait = 60000;  // ms

    explicit CPollPacer(uint32_t interval) : m_interval(interval), m_last(platform::GetTickCount()) {}

    int IsDue() const { return m_first || platform::TicksSince(m_last) >= (m_unanswered ? kSilentWait : m_interval); }
    // A command or an edit: the next poll comes an interval later.
    void Restamp() { m_last = platform::GetTickCount(); }
    void Polled(int answered) {
        m_first = 0;
        m_unanswered = !answered;
        Restamp();
    }
    int IsWaitingOut() const { return m_unanswered; }

private:
    uint32_t m_interval;
    uint32_t m_last;
    int m_first = 1;
    int m_unanswered = 0;
};

// CCommandRelay: a plain area inside a captioned panel that hands its
// buttons' commands, with their repeat counts, straight to the page that
// handles them (the panel between would drop the counts).
class CCommandRelay : public CZVWindow {
public:
    CCommandRelay(CZVWindow* parent, CZVRect rect, CZVWindow* target)
        : CZVWindow(parent, rect, parent->GetStyleClass()), m_target(target) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
        parent->AddChild(this);
    }
    int OnChildCommand(int id, int count) override { return m_target->OnChildCommand(id, count); }

private:
    CZVWindow* m_target;
};

// The body of a captioned panel (CSubPanel::CreateCaptionPanel): inside its
// rounded edge and below its caption band.
inline CZVRect CaptionPanelBody(CRRegion* panel) {
    CZVRect client, content;
    panel->GetClientRect(&client);
    panel->GetContentRect(&content);
    const int top = std::max(content.y, client.y + PickByScreenHeight(600, 20, 30));
    return CZVRect(content.x, top, content.w, content.y + content.h - top);
}

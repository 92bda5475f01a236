#pragma once
// CRemoteStatusWnd (control type 187): one line at a time about the
// house's remotes ("Remote 1/2: Spa Side") and, on battery, the tablet's
// own charge. Each line stays 1500 ms, then the next slides up into its
// place over 100 ms; the lines are rebuilt every second so the charge
// stays current. The remotes are asked for at start, on every connection
// and whenever the gateway says they changed.
#include <memory>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

class CRemoteStatusWnd : public CZVWindow, public CSocketSink {
public:
    static constexpr uint32_t kRebuildInterval = 1000;  // ms
    static constexpr uint32_t kLineHold = 1500;         // ms
    static constexpr uint32_t kScrollTime = 100;        // ms

    // What the gateway tells of a remote; only the name is shown.
    struct RemoteInfo {
        std::string first;
        std::string name;
        std::string third;
    };

    CRemoteStatusWnd(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CRemoteStatusWnd() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;
    int OnIdle(int busy) override;
    // Draws no text: the current line slides in again over the new background.
    void OnPaint(CZVDC* dc) override;

    const std::vector<RemoteInfo>& GetRemotes() const { return m_remotes; }
    const std::vector<std::string>& GetLines() const { return m_lines; }
    const std::string& GetShownText() const { return m_shownText; }
    int IsScrolling() const { return m_scrolling; }
    // The battery line (when off AC power), then one line per remote.
    void RebuildLines();

private:
    void AskRemotes();
    void ReadRemotes(CZVMSG* message);
    // The step of a slide elapsed milliseconds in; 0 when it would look as the last one.
    int DrawStep(uint32_t elapsed);
    void StartNextLine();

    std::vector<RemoteInfo> m_remotes;
    std::vector<std::string> m_lines;
    uint32_t m_rebuildTick;
    int m_lastOffset = 0;
    std::string m_shownText;
    size_t m_lineIndex = 0;
    int m_scrolling = 0;
    uint32_t m_stepTick;
    std::unique_ptr<CDibDC> m_background;
};

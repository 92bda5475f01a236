#pragma once
// CMediaListPage: a scrolling list that mirrors a list a media device of the
// gateway keeps. The gateway tells how many rows there are and sends the
// texts of six rows from the top one; the page reports where the user
// scrolled to, once the list has come to rest, and which row was chosen.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/lists/textlist.h"

class CMediaListPage : public CTextList, public CSocketSink {
public:
    static constexpr int kRowCommand = 1001;
    static constexpr int kGoCommand = 1000;
    static constexpr int kRowsPerAnswer = 6;
    static constexpr int kMaxRows = 100000;
    static constexpr uint32_t kScrollSettleMs = 250;
    static constexpr const char* kGoIcon = "TRANSPORT\\ICON32RIGHT";

    // fontSize 0: the style's; visibleRows above 0 sizes the rows so that
    // that many fill the height (the height shrinks to fit them exactly).
    CMediaListPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int deviceId, int fontSize, int visibleRows);
    ~CMediaListPage() override;

    void OnScroll(CZVDC* dc, int position) override;
    // A row press or "Go" tells the gateway the selected row; nothing goes
    // on to the parent.
    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int IsScrollPending() const { return m_scrollPending; }

private:
    void Request();
    // Makes count empty rows with the "Go" button, when the count changed.
    void Resize(int count);

    int m_deviceId;
    int m_scrollPending = 0;
    uint32_t m_lastScrollTick;
};

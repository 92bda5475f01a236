#pragma once
// CVideoInfoCtl: four lines of text that a media or video source of the
// gateway reports about itself, and a notice beside the first line that
// shows for a second. It registers with the source, asks once and shows
// every update the gateway pushes.
#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CZVLabel;

class CVideoInfoCtl : public CZVWindow, public CSocketSink {
public:
    static constexpr int kStyleClass = 8;
    static constexpr int kLines = 4;
    static constexpr int kNoticeMs = 1000;

    // fontSize 0: the window's own.
    CVideoInfoCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int source, int fontSize);
    ~CVideoInfoCtl() override;

    void OnTimer() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    CZVLabel* GetLine(int index) const { return m_lines[index]; }
    CZVLabel* GetNotice() const { return m_notice; }

private:
    void Request();

    int m_source;
    CZVLabel* m_lines[kLines] = {};
    CZVLabel* m_notice = nullptr;
};

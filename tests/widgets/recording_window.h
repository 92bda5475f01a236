#pragma once
// Windows for the toolkit's tests: they log what the tree asks of them and
// paint their face colour over their whole area.
#include <string>
#include <vector>

#include "widgets/window/zvwindow.h"

namespace widgettest {

class RecordingWindow : public CZVWindow {
public:
    RecordingWindow(CZVWindow* parent, CZVRect rect, std::string name, std::vector<std::string>* log,
                    int styleClass = 0)
        : CZVWindow(parent, rect, styleClass), m_name(std::move(name)), m_log(log) {
        if (parent) parent->AddChild(this);
    }

    void OnPaint(CZVDC* dc) override {
        CZVWindow::OnPaint(dc);
        if (m_log) m_log->push_back("paint " + m_name);
        if (paintsFace) FillFaceColor(dc, 0, 0, m_width, m_height);
    }
    int OnLButtonDown(int x, int y, int keys) override {
        if (!m_shown) return 0;
        if (m_log) m_log->push_back("down " + m_name);
        if (CZVWindow::OnLButtonDown(x, y, keys)) return 1;
        return takesInput && HitTest(x, y);
    }
    int OnChildCommand(int id, int count) override {
        if (m_log) m_log->push_back("child " + m_name + " " + std::to_string(id));
        return id == consumes ? count : 0;
    }
    void OnTimer() override { ++timers; }
    int OnIdle(int busy) override {
        ++idles;
        const int result = CZVWindow::OnIdle(busy);
        return idleAnswer ? idleAnswer : result;
    }
    std::optional<CZVRect> GetOpaqueRect() override {
        if (opaque) return CZVRect(0, 0, m_width, m_height);
        return std::nullopt;
    }
    void SetKeepHidden(int on) { m_keepHidden = on; }

    bool paintsFace = false;
    bool takesInput = false;
    bool opaque = false;
    int consumes = -1;
    int idleAnswer = 0;
    int timers = 0;
    int idles = 0;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

}  // namespace widgettest

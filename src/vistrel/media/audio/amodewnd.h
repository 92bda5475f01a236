#pragma once
// CAModeWnd: the mode selector of one group of a gateway audio object, made
// by the control factory: one check button per mode name the gateway lists,
// in a grid of buttons near 10 : 1 in shape; the button of the gateway's
// current mode is the one set.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CZVCheckButton;

struct CModeGrid {
    int columns = 0;
    int rows = 0;
};

// The grid of n buttons over a window of width x height: one column while
// its buttons are no wider than ten times their height, else the fewest
// columns that bring them there, at most n.
CModeGrid ModeGridOf(int n, int width, int height);

class CAModeWnd : public CZVWindow, public CSocketSink {
public:
    static constexpr int kFirstCommand = 1000;
    static constexpr int kLastCommand = 1100;
    static constexpr int kMaxCaptionLines = 8;

    CAModeWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int group, CZVString text, int fontSize,
              COLORREF textColour, COLORREF faceColour, int objectId);
    ~CAModeWnd() override;

    int OnChildCommand(int id, int count) override;
    void OnMessage(CZVMSG* message) override;

    int GetModeCount() const { return static_cast<int>(m_buttons.size()); }
    CZVCheckButton* GetModeButton(int index) const { return m_buttons[static_cast<size_t>(index)]; }
    // The index of the set button, -1 when none is.
    int GetSelectedMode() const;

private:
    void BuildButtons(const std::vector<std::string>& names);
    // Sets that button and clears the others; an index that names no button clears them all.
    void SelectMode(int index, int redraw);
    int ControlIndex() const { return m_group + 2; }

    int32_t m_objectId;
    int m_group;
    COLORREF m_textColour;
    int m_fontSize;
    int m_givenFace;
    std::vector<CZVCheckButton*> m_buttons;
};

#pragma once
// CNowPlayingPanel: the "Now Playing" tab of a music source. It holds the
// media player of a music server, or the now-playing page of internet radio,
// and swaps them when a zone state names the other kind of source; a state
// of the same kind keeps the page it has, with its queue and album art.
#include "vistrel/shell/audiosourcepage.h"

class CNowPlayingPanel : public CAudioSourcePage {
public:
    static constexpr int kPageClass = 6;

    CNowPlayingPanel(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, COLORREF faceColour, int radio);

    // Hidden, the child may not repaint.
    void OnSourceMessage(CZVMSG* message, int redraw) override;
    void SetRadioMode(int radio, int redraw);

    int IsRadioMode() const { return m_radio; }
    CAudioSourcePage* GetChild() const { return m_child; }

private:
    CAudioSourcePage* MakeChild(int radio, CZVRect rect);

    CAudioSourcePage* m_child = nullptr;
    int m_radio = 0;
};

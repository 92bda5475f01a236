#pragma once
// CLevelSelectCtl: "Low", "Med" and "High", the picture quality of a video
// source. A tap asks the gateway for that quality; the lit button follows the
// quality the source's pictures report.
#include "vistrel/media/video/pvideo.h"
#include "widgets/window/zvwindow.h"

class CLevelSelectCtl : public CZVWindow, public CLevelControl {
public:
    static constexpr int kStyleClass = 8;
    static constexpr int kButtonClass = 17;
    static constexpr int kLevels = 3;
    static constexpr int kFirstCommand = 1000;

    CLevelSelectCtl(CZVWindow* parent, int source, CZVRect rect);
    ~CLevelSelectCtl() override;

    // Taps of the three buttons; nothing goes on to the parent.
    int OnCommand(int id) override;

    int GetSource() const override { return m_source; }
    // A level outside 0..2 is not one of the buttons and changes nothing.
    void OnQualityLevel(int level) override;

    CZVCheckButton* GetButton(int level) const { return m_buttons[level]; }

private:
    void Light(int level, int redraw);

    int m_source;
    CZVCheckButton* m_buttons[kLevels] = {};
};

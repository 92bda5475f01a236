#pragma once
// CPresetButtonsCtl: eight numbered preset buttons of a source and, when
// asked for, a "Set" button. A tap recalls the preset, or stores it when Set
// is on (Set then goes off); the lit preset is the one the gateway reports.
#include "vistrel/media/video/pvideo.h"
#include "widgets/window/zvwindow.h"

class CPresetButtonsCtl : public CZVWindow, public CVideoCapsListener {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kButtonClass = 17;
    static constexpr int kPresetCount = 8;
    static constexpr int kFirstPresetCommand = 1000;
    static constexpr int kLastPresetCommand = 1100;
    static constexpr int kSetCommand = -1;

    CPresetButtonsCtl(CZVWindow* parent, int source, CZVRect rect, int withSet);

    // Taps of the presets; nothing goes on to the parent.
    int OnCommand(int id) override;
    void OnVideoCaps(int a, int b, int c, int d) override;

    CZVCheckButton* GetPreset(int index) const { return m_presets[index]; }
    CZVCheckButton* GetSetButton() const { return m_set; }

private:
    void LightPreset(int index);

    CZVCheckButton* m_set = nullptr;
    CZVCheckButton* m_presets[kPresetCount] = {};
};

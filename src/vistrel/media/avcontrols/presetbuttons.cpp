#include "vistrel/media/avcontrols/presetbuttons.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kGap = 2;
constexpr int kSetShare = 6;  // the Set strip takes a sixth of the long side

}  // namespace

CPresetButtonsCtl::CPresetButtonsCtl(CZVWindow* parent, int source, CZVRect rect, int withSet)
    : CZVWindow(parent, rect, kStyleClass), CVideoCapsListener(source) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    GetClientRect(&area);
    // Upright controls stack the presets in two columns, wide ones in two rows.
    const bool upright = area.w <= 2 * area.h;
    const int columns = upright ? 2 : 4;
    const int rows = upright ? 4 : 2;
    CZVRect setCell;
    if (withSet) setCell = upright ? area.CutBottom(area.h / kSetShare, kGap) : area.CutRight(area.w / kSetShare, kGap);
    for (int n = 0; n < kPresetCount; ++n) {
        const CZVRect cell = area.Row(n / columns, rows, kGap).Column(n % columns, columns, kGap);
        CZVCheckButton* button =
            AddCheckButton(cell, kFirstPresetCommand + n, kButtonClass, CZVString(std::to_string(n + 1).c_str()));
        if (n > 0) button->SetLookSource(m_presets[0]);
        button->SetStyleBit(k3DSmoothFont, 0);
        button->SetStaysChecked(1);
        m_presets[n] = button;
    }
    if (withSet) m_set = AddCheckButton(setCell, kSetCommand, kButtonClass, "Set");
}

int CPresetButtonsCtl::OnCommand(int id) {
    if (id < kFirstPresetCommand || id > kLastPresetCommand) return 1;
    const int set = m_set && m_set->GetCheck() ? 1 : 0;
    SendToGateway(ZVM_AV_SETPRESET, {GetSourceKey(), set, id - kFirstPresetCommand});
    if (set) m_set->SetCheck(0, 0, 1);
    LightPreset(id - kFirstPresetCommand);
    return 1;
}

void CPresetButtonsCtl::OnVideoCaps(int /*a*/, int /*b*/, int /*c*/, int d) { LightPreset(d); }

void CPresetButtonsCtl::LightPreset(int index) {
    for (int k = 0; k < kPresetCount; ++k) m_presets[k]->SetCheck(k == index, 0, 1);
}

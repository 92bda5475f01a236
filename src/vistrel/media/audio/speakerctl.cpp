#include "vistrel/media/audio/speakerctl.h"

#include "av/audioplayer.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kButtonGap = 2;
constexpr int kIconLayout = 1;

}  // namespace

CSpeakerCtl::CSpeakerCtl(CZVWindow* parent, int source, CZVRect rect)
    : CZVWindow(parent, rect, kStyleClass), m_source(source) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetShape(m_height / 6, m_height / 8, 0);
    CZVRect area;
    GetClientRect(&area);
    for (int i = 0; i < kPositions; ++i) {
        auto* button =
            new CZVCheckButton(this, area.Column(i, kPositions, kButtonGap), kFirstCommand + i, kButtonClass);
        CZVString icon;
        icon.Format("speaker_%d", i);
        button->SetIconName(icon, kIconLayout);
        if (i > 0) button->SetLookSource(m_buttons[0]);
        m_buttons[i] = button;
        AddChild(button);
    }
    SetSpeaker(0, 0, 0);
    RegisterSpeakerControl(this);
}

CSpeakerCtl::~CSpeakerCtl() { UnregisterSpeakerControl(this); }

void CSpeakerCtl::SetSpeaker(int position, int redraw, int apply) {
    for (int i = 0; i < kPositions; ++i) m_buttons[i]->SetCheck(i == position ? 1 : 0, 0, redraw);
    if (!apply) return;
    if (position >= 1) {
        SelectVideoAudio(m_source);
        if (g_audioplayer) g_audioplayer->SetVolume(VolumeOf(position));
    } else {
        StopAllVideoAudio(nullptr);
    }
}

int CSpeakerCtl::OnCommand(int id) {
    if (id >= kFirstCommand && id < kFirstCommand + kPositions) SetSpeaker(id - kFirstCommand, 1, 1);
    return 1;
}

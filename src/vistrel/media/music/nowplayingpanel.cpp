#include "vistrel/media/music/nowplayingpanel.h"

#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/music/mediaplayerpage.h"
#include "vistrel/media/radio/radionowplaying.h"

CNowPlayingPanel::CNowPlayingPanel(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, COLORREF faceColour,
                                   int radio)
    : CAudioSourcePage(parent, owner, rect, kPageClass) {
    SetFaceColor(faceColour);
    SetBackColor(faceColour);
    SetRadioMode(radio, 0);
}

CAudioSourcePage* CNowPlayingPanel::MakeChild(int radio, CZVRect rect) {
    if (radio) return new CRadioNowPlayingPage(this, GetOwner(), rect, kPageClass);
    const int features = static_cast<int>(static_cast<uint32_t>(GetSourceKindWord()) & kSourceFeatureMask);
    return new CMediaPlayerPage(this, GetOwner(), rect, kPageClass, GetFaceColor(), features);
}

void CNowPlayingPanel::SetRadioMode(int radio, int redraw) {
    if (m_child && radio == m_radio) return;
    m_radio = radio;
    if (m_child) {
        m_child->Show(0, 0);
        RemoveChild(m_child);
        delete m_child;
    }
    CZVRect client;
    GetClientRect(&client);
    m_child = MakeChild(radio, client);
    AddChild(m_child);
    m_child->Show(IsShown(), 0);
    if (redraw) m_child->Redraw(1);
}

void CNowPlayingPanel::OnSourceMessage(CZVMSG* message, int redraw) {
    if (!IsShown()) redraw = 0;
    if (m_child) m_child->OnSourceMessage(message, redraw);
}

#include "vistrel/media/avcontrols/levelselect.h"

#include "core/messages/mediamessages.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kGap = 2;
constexpr const char* kCaptions[] = {"Low", "Med", "High"};

}  // namespace

CLevelSelectCtl::CLevelSelectCtl(CZVWindow* parent, int source, CZVRect rect)
    : CZVWindow(parent, rect, kStyleClass), m_source(source) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    GetClientRect(&area);
    for (int k = 0; k < kLevels; ++k) {
        m_buttons[k] = AddCheckButton(area.Column(k, kLevels, kGap), kFirstCommand + k, kButtonClass, kCaptions[k]);
        if (k > 0) m_buttons[k]->SetLookSource(m_buttons[0]);
    }
    CCaptionFitter fitter(this);
    fitter.AddChildren(this, kButtonClass, -1);
    RegisterLevelControl(this);
}

CLevelSelectCtl::~CLevelSelectCtl() { UnregisterLevelControl(this); }

int CLevelSelectCtl::OnCommand(int id) {
    if (id < kFirstCommand || id >= kFirstCommand + kLevels) return 1;
    Light(id - kFirstCommand, 1);
    SendToGateway(ZVM_VIDEO_SETQUALITY, {m_source, id - kFirstCommand});
    return 1;
}

void CLevelSelectCtl::OnQualityLevel(int level) {
    if (level < 0 || level >= kLevels) return;
    Light(level, m_paintedOnce);
}

void CLevelSelectCtl::Light(int level, int redraw) {
    for (int k = 0; k < kLevels; ++k) m_buttons[k]->SetCheck(k == level, 0, redraw);
}

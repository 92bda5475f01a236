#include "vistrel/media/video/arrowpad.h"

#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kGap = 2;
constexpr int kIconLayout = 0xFF0000;
constexpr const char* kIcons[4] = {
    "TRANSPORT\\ICON32_LEFT_ARROW_GREEN",
    "TRANSPORT\\ICON32_RIGHT_ARROW_GREEN",
    "TRANSPORT\\ICON32_UP_ARROW_GREEN",
    "TRANSPORT\\ICON32_DOWN_ARROW_GREEN",
};

}  // namespace

CArrowPad::CArrowPad(CZVWindow* parent, CVideoWnd* video, CZVRect rect)
    : CZVWindow(parent, rect, kStyleClass), m_video(video) {
    if (parent) m_faceColor = parent->GetFaceColor();
    SetShape(m_height / 4, m_height / 6, 0);
    CZVRect client;
    GetClientRect(&client);
    const CZVRect middle = client.Column(1, 3, kGap);
    const CZVRect cells[4] = {client.Column(0, 3, kGap), client.Column(2, 3, kGap), middle.Row(0, 2, kGap),
                              middle.Row(1, 2, kGap)};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = AddIconButton(cells[i], kLeftId + i, kButtonClass, kIcons[i], kIconLayout);
        m_buttons[i]->SetFontSize(client.h / 3);
    }
}

int CArrowPad::OnCommand(int id) {
    if (!m_video) return 0;
    switch (id) {
    case kLeftId: return m_video->CameraLeft();
    case kRightId: return m_video->CameraRight();
    case kUpId: return m_video->CameraUp();
    case kDownId: return m_video->CameraDown();
    default: return 0;
    }
}

void CArrowPad::OnCameraMoves(int left, int right, int up, int down) {
    const COLORREF base = MixColors(m_faceColor, CSetServer::CurrentStyleColor(16, 0), 0.5);
    const COLORREF lit = ScaleColor(1.5, base);
    const int on[4] = {left, right, up, down};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i]->SetFaceColor(on[i] ? lit : base);
        m_buttons[i]->Redraw(1);
    }
}

#include "vistrel/media/avcontrols/plusminus.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "vistrel/media/video/videownd.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kResetIconKind = 20;
constexpr COLORREF kResetIconColour = 0x0000FF;  // red
constexpr int kGap = 2;
constexpr const char* kMinusIcon = "TRANSPORT\\ICON32_MINUS_GREEN";
constexpr const char* kPlusIcon = "TRANSPORT\\ICON32_PLUS_GREEN";

}  // namespace

CPlusMinusCtl::CPlusMinusCtl(CZVWindow* parent, int source, CZVRect rect, int flags)
    : CZVWindow(parent, rect, kStyleClass), m_source(source) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    GetClientRect(&area);
    const bool withReset = (flags & CVideoWnd::kCapZoomRect) != 0;
    const int columns = withReset ? 3 : 2;
    const int step = area.w / columns;
    const int fontSize = std::min(area.h, kMaxFontSize);
    int column = 0;
    auto cell = [&] { return CZVRect(area.x + step * column++, area.y, step, area.h).LeftPart(step - kGap); };
    CZV3DButton* buttons[3] = {};
    int count = 0;
    if (withReset)
        buttons[count++] = AddImageButton(cell(), kResetCommand, kButtonClass, kResetIconKind, kResetIconColour);
    buttons[count++] = AddIconButton(cell(), kMinusCommand, kButtonClass, kMinusIcon, 0);
    buttons[count++] = AddIconButton(cell(), kPlusCommand, kButtonClass, kPlusIcon, 0);
    for (int i = 0; i < count; ++i) buttons[i]->SetFontSize(fontSize);
}

int CPlusMinusCtl::OnCommand(int id) {
    switch (id) {
    case kMinusCommand: SendToGateway(ZVM_AV_STEP, {m_source, 1}); break;
    case kPlusCommand: SendToGateway(ZVM_AV_STEP, {m_source, 0}); break;
    case kResetCommand: SendToGateway(ZVM_AV_SETAXIS, {m_source, 0}); break;
    default: break;
    }
    return 1;
}

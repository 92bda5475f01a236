#include "widgets/lists/listrowbutton.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/speed.h"
#include "widgets/lists/listwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

constexpr int kButtonStyleClass = 16;
constexpr int kScrollBarStyleClass = 13;
constexpr int kButtonBevel = 6;
constexpr int kButtonShadeDepth = 50;

COLORREF ScrollBarFace() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(kScrollBarStyleClass, 0) : 0;
}

// A parentless button of the row buttons' style.
std::unique_ptr<CZV3DButton> MakeFaceButton(CZVRect rect, int commandId) {
    auto button = std::make_unique<CZV3DButton>(nullptr, CZVRect(0, 0, rect.w, rect.h), commandId, kButtonStyleClass);
    button->SetShape(0, kButtonBevel, 0);
    button->SetShadeDepth(kButtonShadeDepth);
    return button;
}

}  // namespace

CListRowButton::CListRowButton(CZVRect rect, int commandId, int autoRepeat, const CRowButtonLook& look)
    : m_rect(rect), m_autoRepeat(autoRepeat), m_commandId(commandId) {
    // One quarter scroll-bar colour, three quarters small-button colour,
    // brightened.
    const COLORREF buttonFace = MakeFaceButton(rect, commandId)->GetFaceColor();
    const COLORREF up = ScaleColor(1.2, MixColors(ScrollBarFace(), buttonFace, 0.75));
    const COLORREF icon = look.iconColour ? *look.iconColour : ScaleColor(1.2, up);
    m_normalImage = Render(up, icon, look);
    m_pressedImage = Render(ScrollBarFace(), icon, look);
}

CListRowButton::~CListRowButton() = default;

std::unique_ptr<CDibDC> CListRowButton::Render(COLORREF face, COLORREF iconColour, const CRowButtonLook& look) {
    if (m_rect.w <= 0 || m_rect.h <= 0) return nullptr;
    std::unique_ptr<CZV3DButton> button = MakeFaceButton(m_rect, m_commandId);
    button->SetFaceColor(face);
    button->SetText(look.caption, nullptr, 0);
    if (!look.iconName.IsEmpty()) {
        button->SetIconName(look.iconName, look.iconLayout);
        button->RefreshIcon();
        button->SetTextChanged(0);
    } else if (look.iconKind > 0) {
        button->SetIconKind(look.iconKind, &iconColour);
        button->SetIconLayout(look.caption.IsEmpty() ? 1 : look.iconLayout);
    }
    auto image = std::make_unique<CDibDC>(m_rect.w, m_rect.h, 0, 0, 1);
    if (!image->GetBits()) return nullptr;
    button->OnPaint(image.get());
    return image;
}

CZVRect CListRowButton::GetRectInRow(CZVRect row) const {
    return CZVRect(m_rect.x + row.x + row.w - 1, m_rect.y + row.y, m_rect.w, m_rect.h);
}

void CListRowButton::Draw(CListWnd* list, CZVDC* dc, CZVRect rect, CDibDC* image) {
    if (!image) return;
    const int bevel = list->GetBevel();
    dc->PushClipBounds(bevel, std::max(list->GetHeaderHeight(), bevel), list->GetWidth() - bevel,
                       list->GetHeight() - bevel);
    dc->BitBlt(rect.x, rect.y, image, 0, 0, rect.w, rect.h);
    dc->PopClip();
}

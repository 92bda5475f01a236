#include "widgets/lists/listrowbutton.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/speed.h"
#include "widgets/lists/listwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/buttons/buttonicon.h"
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

// The parentless button that paints a row button's faces. Its icon's
// arrival repaints the list that shows the faces.
class CRowFaceButton : public CZV3DButton {
public:
    CRowFaceButton(CListWnd* list, CZVRect rect, int commandId)
        : CZV3DButton(nullptr, CZVRect(0, 0, rect.w, rect.h), commandId, kButtonStyleClass), m_list(list) {
        SetShape(0, kButtonBevel, 0);
        SetShadeDepth(kButtonShadeDepth);
    }
    CPaintWindow* GetIconOwner() override { return m_list; }

private:
    CListWnd* m_list;
};

}  // namespace

CListRowButton::CListRowButton(CListWnd* list, CZVRect rect, int commandId, int autoRepeat,
                               const CRowButtonLook& look)
    : m_rect(rect),
      m_faceButton(std::make_unique<CRowFaceButton>(list, rect, commandId)),
      m_autoRepeat(autoRepeat),
      m_commandId(commandId) {
    // One quarter scroll-bar colour, three quarters small-button colour,
    // brightened.
    m_upFace = ScaleColor(1.2, MixColors(ScrollBarFace(), m_faceButton->GetFaceColor(), 0.75));
    m_downFace = ScrollBarFace();
    const COLORREF icon = look.iconColour ? *look.iconColour : ScaleColor(1.2, m_upFace);
    CZV3DButton* button = m_faceButton.get();
    button->SetText(look.caption, nullptr, 0);
    if (!look.iconName.IsEmpty()) {
        button->SetIconName(look.iconName, look.iconLayout);
        button->RefreshIcon();
        button->SetTextChanged(0);
    } else if (look.iconKind > 0) {
        button->SetIconKind(look.iconKind, &icon);
        button->SetIconLayout(look.caption.IsEmpty() ? 1 : look.iconLayout);
    }
    RenderFaces();
}

CListRowButton::~CListRowButton() = default;

void CListRowButton::RenderFaces() {
    m_normalImage = Render(m_upFace);
    m_pressedImage = Render(m_downFace);
    CButtonIcon* icon = m_faceButton->GetIcon();
    if (!icon || !icon->IsRequestPending()) m_faceButton.reset();
}

void CListRowButton::RenderIfIconArrived() {
    if (m_faceButton && !m_faceButton->GetIcon()->IsRequestPending()) RenderFaces();
}

std::unique_ptr<CDibDC> CListRowButton::Render(COLORREF face) {
    if (m_rect.w <= 0 || m_rect.h <= 0) return nullptr;
    m_faceButton->SetFaceColor(face);
    m_faceButton->FreeImages();
    auto image = std::make_unique<CDibDC>(m_rect.w, m_rect.h, 0, 0, 1);
    if (!image->GetBits()) return nullptr;
    m_faceButton->OnPaint(image.get());
    return image;
}

void CListRowButton::DrawNormal(CListWnd* list, CZVDC* dc, CZVRect rect) {
    RenderIfIconArrived();
    Draw(list, dc, rect, m_normalImage.get());
}

void CListRowButton::DrawPressed(CListWnd* list, CZVDC* dc, CZVRect rect) {
    RenderIfIconArrived();
    Draw(list, dc, rect, m_pressedImage.get());
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

#include "vistrel/media/advlbitem/advlbitem.h"

#include "gfx/dibdc.h"
#include "gfx/shellservices.h"
#include "platform/report.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr const char* kSource = "advlbitem";
constexpr int kSavedRowLine = 148;
constexpr int kMissingSaveLine = 199;

}  // namespace

CAdvLBItem::CAdvLBItem(int index, const char* text, int length, void* data) : CTextItem(index, text, length, data) {}

CAdvLBItem::~CAdvLBItem() = default;

void CAdvLBItem::AddSubItem(int width, int commandId, CZVString caption, CZV3DButton* look) {
    m_subItems.push_back(std::make_unique<CAdvLBSubItem>(width, caption, commandId, look));
}

void CAdvLBItem::SelectSubItem(int k) {
    for (int i = 0; i < GetSubItemCount(); ++i) m_subItems[static_cast<size_t>(i)]->chosen = i == k ? 1 : 0;
}

void CAdvLBItem::DeleteSubItems() { m_subItems.clear(); }

void CAdvLBItem::GetSubItemSpan(CZVRect row, int i, int* left, int* right) const {
    int end = row.x + row.w - 1;
    for (int j = 0; j < i; ++j) end -= m_subItems[static_cast<size_t>(j)]->width;
    *right = end;
    *left = end - m_subItems[static_cast<size_t>(i)]->width + 1;
}

int CAdvLBItem::SubItemAt(CZVRect row, int x) const {
    for (int i = 0; i < GetSubItemCount(); ++i) {
        int left = 0, right = 0;
        GetSubItemSpan(row, i, &left, &right);
        if (left < x && x < right) return i;
    }
    return -1;
}

void CAdvLBItem::DrawSubItem(CZVDC* dc, CZVRect row, int inset, int i) {
    const CAdvLBSubItem& item = *m_subItems[static_cast<size_t>(i)];
    CZV3DButton* look = item.look;
    if (!look) return;
    int left = 0, right = 0;
    GetSubItemSpan(row, i, &left, &right);
    const int w = right - left + 1 - 2 * inset;
    const int h = row.h - 2 * inset;
    if (w <= 0 || h <= 0) return;
    if (CZVCheckButton* check = look->AsCheckButton()) check->SetCheck(item.chosen, 0, 0);
    if (look->GetWidth() != w || look->GetHeight() != h) {
        // The look's faces are made for its size: a new size needs new ones.
        look->SetRect(CZVRect(look->GetX(), look->GetY(), w, h));
        look->FreeImages();
    }
    look->SetText(item.caption, nullptr, 0);
    int x = 0, y = 0;
    dc->GetOrigin(&x, &y);
    dc->SetOrigin(x + left + inset, y + row.y + inset);
    const int pressed = item.pressed || item.chosen;
    look->DrawFace(dc, pressed);
    look->DrawCaption(dc, pressed);
    dc->SetOrigin(x, y);
}

void CAdvLBItem::Draw(CZVDC* dc, int fontSize, int inset, CZVRect row) {
    m_inset = inset;
    dc->SetFont(fontSize, 0, 1);
    for (int i = 0; i < GetSubItemCount(); ++i) DrawSubItem(dc, row, inset, i);
}

int CAdvLBItem::OnLButtonDown(CZVDC* dc, CZVRect row, int /*fontSize*/, int x) {
    const int hit = SubItemAt(row, x);
    if (hit < 0) return 0;
    if (m_savedRow) ReportAssert(kSource, kSavedRowLine, 1);
    m_savedRow.reset();
    if (CDibDC* screen = Shell().GetScreen(); screen && row.w > 0 && row.h > 0) {
        int ox = 0, oy = 0;
        dc->GetOrigin(&ox, &oy);
        m_savedRow = std::make_unique<CDibDC>(row.w, row.h, 0, 0, 0);
        m_savedRow->BitBlt(0, 0, screen, ox + row.x, oy + row.y, row.w, row.h);
    }
    m_subItems[static_cast<size_t>(hit)]->pressed = 1;
    DrawSubItem(dc, row, m_inset, hit);
    return 1;
}

int CAdvLBItem::OnLButtonUp(CZVDC* dc, CZVRect row, int /*fontSize*/, int x) {
    int result = 0;
    for (int i = 0; i < GetSubItemCount(); ++i) {
        CAdvLBSubItem& item = *m_subItems[static_cast<size_t>(i)];
        if (!item.pressed) continue;
        item.pressed = 0;
        int left = 0, right = 0;
        GetSubItemSpan(row, i, &left, &right);
        result = left < x && x < right ? item.commandId : kNoCommand;
    }
    if (!result) return 0;
    if (!m_savedRow) {
        ReportAssert(kSource, kMissingSaveLine, 1);
        return result;
    }
    dc->BitBlt(row.x, row.y, m_savedRow.get(), 0, 0, row.w, row.h);
    m_savedRow.reset();
    return result;
}

#include "vistrel/shell/fontpage.h"

#include "gfx/fontserver.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kGap = 5;
constexpr int kTitleHeight = 25;
constexpr int kButtonHeight = 40;
constexpr int kButtonClass = 18;

}  // namespace

CFontList::CFontList(CZVWindow* parent, CZVRect rect) : CTextList(parent, rect, kNoCommand) {}

void CFontList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    CFontServer* fonts = CFontServer::Get();
    auto* item = static_cast<CTextItem*>(row);
    if (!fonts || !item) {
        CTextList::DrawRow(dc, row, top, bottom);
        return;
    }
    const CZVString face = fonts->GetFaceName();
    const int size = GetFontSize();
    fonts->SetFaceName(item->GetText(), false);
    SetFontSize(size + 1);
    CTextList::DrawRow(dc, row, top, bottom);
    SetFontSize(size);
    fonts->SetFaceName(face, false);
}

CFontPage::CFontPage(CZVWindow* parent, CZVRect rect) : CPageBase(parent, rect) {
    AddLabel(CZVRect(kGap, 0, rect.w - 2 * kGap, kTitleHeight), "Please Select a Font", kFontSize);
    AddButton(CZVRect(kGap, rect.h - kButtonHeight, rect.w - 2 * kGap, kButtonHeight - kGap), kDone, kButtonClass,
              "Done");
    m_list = new CFontList(
        this, CZVRect(kGap, kTitleHeight + kGap, rect.w - 2 * kGap, rect.h - kTitleHeight - kButtonHeight - 2 * kGap));
    AddChild(m_list);
    m_list->SetFontSize(kFontSize);
    m_list->SetRowHeight(kRowHeight);
    if (CFontServer* fonts = CFontServer::Get()) {
        if (fonts->GetFamilies().empty()) fonts->EnumerateFonts();
        for (const CFontFamily& family : fonts->GetFamilies()) m_list->AddString(family.name, nullptr);
    }
    if (m_list->GetCount() > 0) m_list->Select(m_list->GetItemAt(0), 0);
}

// Without any family "Done" keeps the face as it was and starts the pages.
int CFontPage::OnCommand(int id) {
    if (id != kDone) return 0;
    CFontServer* fonts = CFontServer::Get();
    auto* selected = static_cast<CTextItem*>(m_list->GetItemAt(m_list->GetSelectedIndex()));
    if (fonts && selected) fonts->SetFaceName(selected->GetText(), true);
    if (CMainWnd* main = GetTabletMainWnd()) {
        // The page is released here: it leaves the tree now and is deleted in the next idle pass.
        main->StartPages();
        main->PaintAll();
    }
    return 1;
}

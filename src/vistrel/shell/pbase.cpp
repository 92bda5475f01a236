#include "vistrel/shell/pbase.h"

#include <algorithm>
#include <vector>

#include "core/zvserver.h"
#include "gfx/speed.h"
#include "platform/report.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/poptabrow.h"
#include "widgets/tabs/tabcolumn.h"
#include "widgets/tabs/tabstrip.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr const char* kSource = "pbase";
constexpr int kFirstPageId = 5000;
constexpr int kCompactSideList = 50;
constexpr int kRowSideList = 100;
constexpr int kMenuClass = 2;
constexpr int kTabRowClass = 3;
constexpr int kTabRowOption = 0x400000;
constexpr const char* kLoadingText = "Loading Please Wait...";

// Sub-panel looks.
constexpr int kRaisedBevelType = 1;
constexpr int kWrapFlag = 4;
constexpr int kCentredFormat = 18;
constexpr int kTopLeftFormat = 17;
constexpr int kCaptionPanelClass = 6;
constexpr int kCaptionMaxWidth = 200;
constexpr int kRepeatShadeDepth = 75;

int LayoutBits() { return CSetServer::Get() ? CSetServer::Get()->GetFlags() & 0xF00 : 0; }
// The tabs stand in a column left of the content.
bool IsColumnLayout() { return LayoutBits() == 0x300; }
bool IsCompactStyle() { return LayoutBits() == 0x300 || LayoutBits() == 0x500; }

}  // namespace

CPageBase::CPageBase(CZVWindow* parent, CZVRect rect) : CZVWindow(parent, rect, 5) {
    SetBevel(0);
    SetMargin(0);
}

CPageBase::~CPageBase() = default;

void CPageBase::OnShow(int show) {
    m_shown = show;
    if (show) SendPageShown();
}

void CPageBase::SendPageShown() {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (!server) return;
    auto* tabs = dynamic_cast<CTabContainer*>(m_tabControl);
    CZVMSG message(0, ZVM_UI_PAGESELECTED);
    message.WriteInt(m_pageId - kFirstPageId);
    message.WriteInt(tabs ? tabs->GetSelectedIndex() : -1);
    server->Send(&message);
}

// ---- geometry

void CPageBase::GetTabsRect(CZVRect* out) {
    CZVRect client;
    GetClientRect(&client);
    const int menuBevel = CSetServer::CurrentStyle(2, 5);
    if (IsColumnLayout()) {
        *out = CZVRect(-menuBevel, client.y, CSetServer::CurrentStyle(2, 0), client.h);
        if (m_hasSideList) out->h -= kCompactSideList;
        return;
    }
    const int tabHeight = CSetServer::CurrentStyle(3, 1);
    *out = CZVRect(-menuBevel, m_height - tabHeight, m_width + menuBevel, tabHeight);
    if (m_hasSideList) out->w -= kRowSideList;
}

void CPageBase::GetSideListRect(CZVRect* out) {
    if (!m_hasSideList) ReportAssert(kSource, __LINE__, 1);
    CZVRect client;
    GetClientRect(&client);
    if (IsColumnLayout()) {
        *out = CZVRect(-CSetServer::CurrentStyle(2, 5), client.h - kCompactSideList, CSetServer::CurrentStyle(2, 0),
                       kCompactSideList);
        return;
    }
    const int tabHeight = CSetServer::CurrentStyle(3, 1);
    *out = CZVRect(m_width - kRowSideList, m_height - tabHeight, kRowSideList, tabHeight);
}

void CPageBase::GetContentRect(CZVRect* out, CZVWindow* tabs) {
    GetClientRect(out);
    auto* container = dynamic_cast<CTabContainer*>(tabs);
    if (!container) return;
    if (container->GetTabCount() <= 1 && !m_hasSideList) {
        // One tab and no side list: no tab row at all.
        container->SetRect(CZVRect(container->GetX(), container->GetY(), container->GetWidth(), 0));
        return;
    }
    if (IsColumnLayout()) {
        if (m_tabsFloat) return;
        const int right = container->GetX() + container->GetWidth();
        out->w -= right - out->x;
        out->x = right;
        return;
    }
    if (!(m_tabsFloat && IsCompactStyle())) out->h -= container->GetHeight();
}

int CPageBase::HasTabs() { return m_tabControl && m_tabControl->GetWidth() > 0 && m_tabControl->GetHeight() > 0; }

int CPageBase::GetPageMargin() {
    CMainWndBase* main = GetMainWnd();
    return main && main->GetHeight() < 600 ? 3 : 5;
}

void CPageBase::InsetContentRect(CZVRect* rect) {
    const int margin = GetPageMargin();
    rect->w -= margin;
    rect->y += margin;
    rect->h -= margin;
    if (!HasTabs()) rect->h -= margin;
}

// ---- tab controls

void CPageBase::HideIfFloating(CZVWindow* tabs, int floatsHere) {
    if (!m_tabsFloat || !floatsHere) return;
    tabs->Show(0, 1);
    tabs->SetKeepHidden(1);
}

COLORREF CPageBase::TabRowBackColour(CMainMenu* menu) {
    if (!menu || !menu->FillsColumn()) return 0;
    CSetServer* style = CSetServer::Get();
    if (style && style->GetTabPressColor()) return style->GetTabPressColor();
    return CSetServer::GetPressedShade(menu->GetFaceColor());
}

CZVWindow* CPageBase::CreateTabs(int count, CZVString title) {
    if (count <= 0) return nullptr;
    CMainWnd* main = GetTabletMainWnd();
    CMainMenu* menu = main ? main->GetMenu() : nullptr;
    CZVRect rect;
    GetTabsRect(&rect);
    if (IsColumnLayout()) {
        auto* column = new CTabColumn(this, rect, kMenuClass, menu ? menu->GetBackColor() : 0);
        AddChild(column);
        HideIfFloating(column, 1);
        const int rowHeight = CSetServer::CurrentStyle(kTabRowClass, 1);
        const int titleHeight = std::min(rowHeight * 3 / 2, rect.h / (count + 1));
        column->SetTitle(title, titleHeight);
        column->SetTabHeight(std::min(rowHeight, (rect.h - titleHeight) / count));
        CZVWindow* firstEntry = menu ? menu->GetTab(0) : nullptr;
        if (firstEntry) column->SetFontSize(firstEntry->GetFontSize());
        return column;
    }
    const int fit = rect.w / std::max(1, CSetServer::CurrentStyle(kTabRowClass, 0));
    const COLORREF back = TabRowBackColour(menu);
    CTabContainer* tabs = nullptr;
    if (count >= 2 && count > fit) {
        auto* row = new CPopTabRow(this, rect, kTabRowClass, main, back, fit, count, title,
                                   CSetServer::CurrentFlags() & kTabRowOption);
        const bool lastEntrySelected = menu && menu->GetSelectedIndex() == menu->GetTabCount() - 1;
        row->SetLeftEndStyle(lastEntrySelected ? 2 : 0);
        tabs = row;
    } else {
        auto* strip = new CTabStrip(this, rect, kTabRowClass, main, back);
        strip->SetTabsPerRow(std::max(count, 2), count);
        strip->SetRightEndStyle(m_hasSideList ? 2 : 1);
        tabs = strip;
    }
    tabs->SetLayoutMode(2);
    AddChild(tabs);
    if (menu && menu->FillsColumn()) tabs->SetBackColor(back);
    HideIfFloating(tabs, IsCompactStyle());
    return tabs;
}

CZVWindow* CPageBase::CreateLoadingTabs() {
    CZVWindow* tabs = CreateTabs(1, "");
    static_cast<CTabContainer*>(tabs)->AddTab(kLoadingText, kNoCommand);
    return tabs;
}

CZVWindow* CPageBase::CreateSideList() {
    if (m_sideList) ReportAssert(kSource, __LINE__, 1);
    m_hasSideList = 1;
    CZVRect rect;
    GetSideListRect(&rect);
    if (IsColumnLayout()) {
        CMainWnd* main = GetTabletMainWnd();
        CMainMenu* menu = main ? main->GetMenu() : nullptr;
        auto* column = new CTabColumn(this, rect, kMenuClass, menu ? menu->GetBackColor() : 0);
        column->SetTabHeight(rect.h);
        AddChild(column);
        HideIfFloating(column, 1);
        m_sideList = column;
        return column;
    }
    auto* strip = new CTabStrip(this, rect, kTabRowClass, GetTabletMainWnd(), 0);
    strip->ClearPressed();
    strip->SetRightEndStyle(1);
    strip->SetLeftEndStyle(2);
    AddChild(strip);
    HideIfFloating(strip, IsCompactStyle());
    m_sideList = strip;
    return strip;
}

void CPageBase::DeleteContent() {
    std::vector<CZVWindow*> content;
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;) {
        auto* child = static_cast<CZVWindow*>(m_children.GetNext(pos));
        if (child != m_tabControl && child != m_sideList) content.push_back(child);
    }
    for (CZVWindow* child : content) {
        RemoveChild(child);
        delete child;
    }
}

// ---- status box

CZVRect CPageBase::GetStatusRect() {
    CZVRect content;
    GetContentRect(&content, m_tabControl);
    return CZVRect(content.x + content.w / 2 - kStatusWidth / 2, content.y + content.h / 2 - kStatusHeight / 2,
                   kStatusWidth, kStatusHeight);
}

void CPageBase::SetStatus(int show, int redraw, CZVString text, COLORREF colour) {
    show = show ? 1 : 0;
    if (show == m_statusShown) return;
    m_statusColour = colour;
    m_statusShown = show;
    if (!show) {
        m_statusSurface.reset();
        if (redraw && m_shown) Redraw(1);
        return;
    }
    m_statusText = text;
    if (!m_shown) return;
    // Under the idle screen or an overlay the box waits for the idle walk's repaint.
    CMainWndBase* main = GetMainWnd();
    if (main && main->IsInputBlocked(this)) {
        SetDeferredRepaint(1);
        return;
    }
    CZVDC dc(this);
    DrawStatus(&dc);
}

void CPageBase::DrawStatus(CZVDC* dc) {
    if (m_statusSurface) ReportAssert(kSource, __LINE__, 1);
    const CZVRect box = GetStatusRect();
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    m_statusSurface = std::make_unique<CDibDC>(kStatusWidth, kStatusHeight, 0, 0, 1);
    m_statusSurface->BltFromDC(0, 0, dc, box.x, box.y, kStatusWidth, kStatusHeight);
    CDibDC tint(kStatusWidth, kStatusHeight, 0, 0, 1);
    tint.FillRect(m_statusColour, 0, 0, kStatusWidth, kStatusHeight, 0);
    tint.BevelBox(m_statusColour, false, 0, 0, kStatusWidth - 1, kStatusHeight - 1, 4);
    m_statusSurface->BlendAll(&tint, 0, 0, kStatusBlendLevel);
    m_statusSurface->SetFont(kStatusFontSize, 0, 1);
    m_statusSurface->SetColor(0xFFFFFF);
    m_statusSurface->DrawText(m_statusText, CZVRect(0, 0, kStatusWidth, kStatusHeight), 18);
    m_statusSurface->FlushDeferredText();
    dc->BitBlt(box.x, box.y, m_statusSurface.get(), 0, 0, kStatusWidth, kStatusHeight);
}

void CPageBase::RedrawStatus(CZVDC* dc) {
    m_statusSurface.reset();
    if (m_shown) {
        DrawStatus(dc);
        return;
    }
    // A hidden page draws nothing on the screen: the box takes its background from the page
    // painted off-screen, ready for when the page shows.
    CDibDC page(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    m_shown = 1;
    CZVWindow::Paint(&page, 1);
    m_shown = 0;
    DrawStatus(&page);
}

void CPageBase::Paint(CZVDC* dc, int withBackground) {
    CZVWindow::Paint(dc, withBackground);
    if (!m_statusShown || !m_shown) return;
    m_statusSurface.reset();
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    DrawStatus(dc);
}

// ---- sub-panels

CZVLabel* CSubPanel::CreatePanelButton(CZVWindow* parent, CZVRect rect, CZVString text, int fontSize) {
    auto* label = new CZVLabel(parent, rect, text, parent->GetStyleClass());
    label->SetBevelType(kRaisedBevelType);
    label->SetFlag(kWrapFlag, 1);
    label->SetTextFormat(kCentredFormat);
    label->SetFontSize(fontSize ? fontSize : PickByScreenHeight(600, 18, 20));
    parent->AddChild(label);
    return label;
}

CRRegion* CSubPanel::CreateCaptionPanel(CZVWindow* parent, CZVRect rect, CZVString caption, int centreCaption) {
    auto* panel = new CRRegion(parent, rect, kCaptionPanelClass);
    const int rounding = PickByScreenHeight(600, 8, 10);
    panel->SetCornerRadius(rounding);
    panel->SetBevel(rounding);
    if (panel->GetFaceColor() == parent->GetFaceColor()) panel->SetFaceColor(ScaleColor(0.9, parent->GetFaceColor()));
    CZVRect area;
    panel->GetClientRect(&area);
    const int height = std::min(area.h, PickByScreenHeight(600, 20, 30));
    const int top = centreCaption ? area.y + (area.h - height) / 2 : area.y;
    auto* label = new CZVLabel(panel, CZVRect(area.x, top, std::min(area.w, kCaptionMaxWidth), height), caption,
                               kCaptionPanelClass);
    label->SetTextColor(ScaleColor(0.25, panel->GetFaceColor()));
    label->SetTextFormat(kTopLeftFormat);
    label->SetFontSize(PickByScreenHeight(600, 18, 24));
    panel->AddChild(label);
    parent->AddChild(panel);
    return panel;
}

void CSubPanel::SetButtonHighlight(CZVWindow* button, int highlighted, int redraw) {
    CSetServer* style = CSetServer::Get();
    CZVWindow* parent = button->GetParent();
    if (highlighted && style)
        button->SetFaceColor(style->GetSelectionColor());
    else if (parent)
        button->SetFaceColor(parent->GetFaceColor());
    if (redraw) button->Redraw(1);
}

void CSubPanel::SetupRepeatButton(CZV3DButton* button, int pressId, int cancelId) {
    button->SetAutoRepeat(1);
    button->SetPressIds(pressId, cancelId);
    button->SetRepeatTiming(250, 10, 500, 1500);
    button->MakeRound();
    button->SetShadeDepth(kRepeatShadeDepth);
}

#include "vistrel/shell/homepage.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/zvquery.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kSunkenBands = 0x80000;
constexpr int kTextureFlag = 0x2000;
constexpr int kCornerFlags = 16;
constexpr int kTopEdgeDepth = 25;
constexpr int kLabelClass = 5;
constexpr const char* kWaitingText = "Looking For Gateway, Please Wait...";

struct SectionEntry {
    int32_t top = 0;
    int32_t bottom = 0;
    uint32_t colour = 0;
};

CMainMenu* MainMenu() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetMenu() : nullptr;
}

}  // namespace

// ---- CPageSection

CPageSection::CPageSection(CZVWindow* page, int top, int bottom, COLORREF colour)
    : CShadeWnd(page, CZVRect(0, top, page->GetWidth() - 4, bottom - top + 1), 0) {
    const int flags = CSetServer::CurrentFlags();
    const bool sunken = flags & kSunkenBands;
    const int f = sunken ? CSetServer::CurrentStyle(8, 6) : CSetServer::CurrentStyle(6, 5);
    const int r = std::max(CSetServer::CurrentStyle(sunken ? 8 : 6, 3), f);
    SetFaceColor(colour);
    if (flags & kTextureFlag) SetTexture(1);
    const int w = m_width, h = m_height;
    AddRect(f, f, w - 1 - f, h - 1 - f);
    AddEdge(0, r - 1, 0, w - 2 * r + 2, f);
    AddEdge(2, r - 1, h - f, w - 2 * r + 2, f);
    AddEdge(3, w - f, r, f, h - 2 * r);
    AddEdge(1, 0, r, f + 1, h - 2 * r);
    AddCorner(1, CZVRect(0, 0, r, r), kCornerFlags);
    AddCorner(2, CZVRect(w - r, 0, r, r), kCornerFlags);
    AddCorner(0, CZVRect(0, h - r, r, r), kCornerFlags);
    AddCorner(3, CZVRect(w - r, h - r, r, r), kCornerFlags);
    SetOutlines(1, 1);
    SetOpaqueRect(CZVRect(r, 0, w - 2 * r, h));
    SetBevel(f);
    if (sunken) {
        SetPressed(false);
        SetTexture(0);
        ToggleRectShapes();
        SetOutlines(0, 0);
    }
}

// ---- CHomePage

CHomePage::CHomePage(CZVWindow* parent, CZVRect rect) : CPageBase(parent, rect) {
    m_joinsMenuTab = 0;
    SetPageId(kPageId);
    OnShow(1);
    SetTimer(kTimerInterval);
    if (!LoadPage()) ShowWaiting();
}

CHomePage::~CHomePage() { OnShow(0); }

void CHomePage::ShowWaiting() {
    CZVLabel* label = AddLabelClass(CZVRect(0, 0, m_width, m_height), kWaitingText, kWaitingFontSize, kLabelClass);
    label->SetTextColor(kWaitingColour);
    label->SetFlag(kLabelFramed, 0);
    if (CMainWnd* main = GetTabletMainWnd()) main->SetMenuReloadPending(1);
    RequestRebuild(1);
}

void CHomePage::OnShow(int show) {
    if (!show)
        if (CMainMenu* menu = MainMenu())
            for (int i = 0; i < menu->GetTabCount(); ++i)
                if (auto* entry = dynamic_cast<CZVButton*>(menu->GetTab(i))) entry->SetTouchMargins(0, 0, 0, 0);
    CPageBase::OnShow(show);
}

int CHomePage::LoadPage() {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (!server) return 0;
    const int layout = main->GetLayoutType();
    CZVMSG sectionsRequest(0, ZVM_LAYOUT_GETSECTIONSQ);
    sectionsRequest.WriteInt(layout);
    CZVMSG controlsRequest(0, ZVM_LAYOUT_GETCONTROLSQ);
    controlsRequest.WriteInt(layout);
    CZVQuery sections(*server, 1);
    CZVQuery controls(*server, 1);
    sections.SetTimeout(kSectionsWait);
    // Both asked before either wait: the gateway prepares them together.
    CZVMSG* sectionsAnswer = nullptr;
    CZVMSG* controlsAnswer = nullptr;
    if (!sections.Send(&sectionsRequest) || !controls.Send(&controlsRequest) || !sections.Wait(&sectionsAnswer) ||
        !controls.Wait(&controlsAnswer))
        return 0;
    CZVObList built;
    if (!LoadPageSections(sectionsAnswer, &built)) return 0;
    BuildPageControls(controlsAnswer, this, &built, PageScaling::kByEdges, 0);
    return 1;
}

int CHomePage::LoadPageSections(CZVMSG* answer, CZVObList* built) {
    int32_t count = 0;
    if (!answer->ReadInt(count) || count < 0 || count > kMaxSections) return 0;
    std::vector<SectionEntry> entries;
    for (int i = 0; i < count; ++i) {
        SectionEntry entry;
        if (!answer->ReadInt(entry.top) || !answer->ReadInt(entry.bottom) || !answer->ReadColor(entry.colour)) break;
        entries.push_back(entry);
    }
    for (const SectionEntry& entry : entries) {
        const COLORREF colour = entry.colour ? entry.colour : ScaleColor(0.75, m_faceColor);
        const int top = std::max(ScaleY(entry.top), 0);
        const int bottom = std::min(ScaleY(entry.bottom), m_height - 1);
        auto* band = new CPageSection(this, top, bottom, colour);
        AddChild(band);
        built->AddTail(band);
    }
    return 1;
}

void CHomePage::DrawTopEdge(CZVDC* dc) {
    CMainMenu* menu = MainMenu();
    const int bevel = menu ? menu->GetBevel() : 0;
    if (bevel <= 0) return;
    CShadeWnd edge(this, CZVRect(0, 0, m_width, bevel), 0);
    edge.SetFaceColor(menu->GetFaceColor());
    edge.SetDepth(kTopEdgeDepth);
    edge.AddEdge(0, 0, 0, m_width, bevel);
    edge.Paint(dc, 0);
}

void CHomePage::Paint(CZVDC* dc, int /*withBackground*/) {
    if (!m_shown) return;
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    DrawBackground(dc);
    const CZVRect clip(0, 0, m_width, m_height);
    dc->PushClip(&clip);
    CSetServer* style = CSetServer::Get();
    if (!(style && style->IsCompactLayout())) DrawTopEdge(dc);
    CZVWindow::Paint(dc, 0);
    if (CMainMenu* menu = MainMenu()) menu->DrawEntries(dc);
    dc->PopClip();
}

#include "vistrel/shell/customlayoutpage.h"

#include <string>

#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/tabs/trregion.h"

namespace {

// A page on the wire is at least an empty name and a control count.
constexpr int kMinPageWireSize = 8;

// The window that holds the controls of the page a tab shows.
class CCustomPageContent : public CZVWindow {
public:
    CCustomPageContent(CZVWindow* parent, CZVRect rect) : CZVWindow(parent, rect, 0) {
        m_opaque = 0;
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
};

}  // namespace

// ---- CCustomPageDef

CCustomPageDef::~CCustomPageDef() {
    for (ZVPOSITION pos = m_definitions.GetHeadPosition(); pos;)
        delete static_cast<CPageControlDesc*>(m_definitions.GetNext(pos));
}

void CCustomPageDef::Build(CZVWindow* window) {
    CZVObList built;
    for (ZVPOSITION pos = m_definitions.GetHeadPosition(); pos;) {
        auto* definition = static_cast<CPageControlDesc*>(m_definitions.GetNext(pos));
        CZVRect rect(definition->x, definition->y, definition->width, definition->height);
        CZVWindow* container = CZVWindow::FindContainer(window, &rect, &built);
        CZVWindow* control = CreatePageControl(window, container, rect, *definition, &m_definitions, 0);
        if (!control) continue;
        container->AddChild(control);
        built.AddTail(control);
    }
}

// ---- CCustomLayoutPage

CCustomLayoutPage::CCustomLayoutPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass,
                                     int pageSetId)
    : CAudioSourcePage(parent, owner, rect, styleClass) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (!server) return;
    CZVMSG request(0, ZVM_LAYOUT_GETCUSTOMPAGESQ);
    request.WriteInt(pageSetId);
    request.WriteInt(main->GetLayoutType());
    CZVQuery query(*server, 1);
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request)) ReadPages(answer);
}

void CCustomLayoutPage::ReadPages(CZVMSG* answer) {
    int32_t unused = 0, sent = 0;
    if (!answer->ReadInt(unused) || !answer->ReadInt(sent)) return;
    bool cut = false;
    const int32_t count = BoundCount(sent, *answer, kMinPageWireSize, &cut);
    CZVRect content;
    GetClientRect(&content);
    if (count > 1) {
        m_tabRegion = new CTRRegion(this, content, kTabClass, GetFaceColor());
        AddChild(m_tabRegion);
        m_tabRegion->GetContentRect(&content);
    }
    CZVObList tabs;
    for (int32_t i = 0; i < count; ++i) {
        std::string name;
        if (!answer->ReadString(name)) break;
        auto& page = m_pages.emplace_back(std::make_unique<CCustomPageDef>(CZVString(name.c_str())));
        tabs.AddTail(new CTabDescriptor(page->GetName(), kFirstTab + i, nullptr));
        int controls = 0;
        if (!ReadControlCount(answer, &controls)) break;
        bool whole = true;
        for (int c = 0; c < controls && whole; ++c) {
            auto definition = std::make_unique<CPageControlDesc>();
            whole = definition->Read(answer) != 0;
            if (!whole) break;
            definition->x = ScalePageUnits(definition->x, content.w);
            definition->y = ScalePageUnits(definition->y, content.h);
            definition->width = ScalePageUnits(definition->width, content.w);
            definition->height = ScalePageUnits(definition->height, content.h);
            page->Add(definition.release());
        }
        if (!whole) break;
    }
    if (m_tabRegion && m_pages.empty()) {
        RemoveChild(m_tabRegion);
        delete m_tabRegion;
        m_tabRegion = nullptr;
    }
    if (m_tabRegion) {
        m_tabRegion->SetTabCount(static_cast<int>(m_pages.size()), 0, &tabs);
        SelectPage(0, 0);
    } else {
        for (ZVPOSITION pos = tabs.GetHeadPosition(); pos;) delete static_cast<CTabDescriptor*>(tabs.GetNext(pos));
        if (!m_pages.empty()) m_pages.front()->Build(this);
    }
}

void CCustomLayoutPage::SelectPage(int index, int redraw) {
    if (!m_tabRegion || index < 0 || index >= GetPageCount()) return;
    if (m_content) {
        m_tabRegion->RemoveChild(m_content);
        delete m_content;
        m_content = nullptr;
    }
    CZVRect area;
    m_tabRegion->GetContentRect(&area);
    m_content = new CCustomPageContent(m_tabRegion, area);
    m_tabRegion->AddChild(m_content);
    m_pages[static_cast<size_t>(index)]->Build(m_content);
    if (redraw) m_content->Redraw(1);
}

int CCustomLayoutPage::OnCommand(int id) {
    if (id >= kFirstTab && id <= kLastTab) SelectPage(id - kFirstTab, 1);
    return id;
}

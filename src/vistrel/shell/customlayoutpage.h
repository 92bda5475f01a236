#pragma once
// CCustomLayoutPage: an audio source page made of one or more pages of
// controls that the gateway defines for a page set; several pages are shown
// as tabs (commands 1000 + page index), a single page straight in the page.
#include <memory>
#include <vector>

#include "core/zvoblist.h"
#include "gfx/zvstring.h"
#include "vistrel/shell/audiosourcepage.h"

class CTRRegion;
class CPageControlDesc;

// One gateway-defined page: its tab caption and its control definitions,
// already in pixels of the content area.
class CCustomPageDef {
public:
    explicit CCustomPageDef(CZVString name) : m_name(name) {}
    ~CCustomPageDef();
    CCustomPageDef(const CCustomPageDef&) = delete;
    CCustomPageDef& operator=(const CCustomPageDef&) = delete;

    CZVString GetName() const { return m_name; }
    // Takes the definition.
    void Add(CPageControlDesc* definition) { m_definitions.AddTail(definition); }
    const CZVObList& GetDefinitions() const { return m_definitions; }
    // Builds every definition into the window, each into the deepest control
    // built so far that contains it.
    void Build(CZVWindow* window);

private:
    CZVString m_name;
    CZVObList m_definitions;  // of CPageControlDesc*, owned
};

class CCustomLayoutPage : public CAudioSourcePage {
public:
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1100;
    static constexpr int kTabClass = 6;

    // Asks the gateway for the page set at once (a blocking, cached query)
    // and builds it; a failed query leaves the page empty.
    CCustomLayoutPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, int pageSetId);

    // Tab commands show their page; every command ends here.
    int OnCommand(int id) override;
    // Shows page `index` (tabbed layouts only), built afresh.
    void SelectPage(int index, int redraw);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    const CCustomPageDef* GetPageDef(int index) const { return m_pages[static_cast<size_t>(index)].get(); }
    CTRRegion* GetTabRegion() const { return m_tabRegion; }
    CZVWindow* GetContent() const { return m_content; }

private:
    // Reads the pages of the answer; what was read before a cut stays.
    void ReadPages(CZVMSG* answer);

    CTRRegion* m_tabRegion = nullptr;
    CZVWindow* m_content = nullptr;
    std::vector<std::unique_ptr<CCustomPageDef>> m_pages;
};

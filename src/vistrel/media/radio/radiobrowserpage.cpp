#include "vistrel/media/radio/radiobrowserpage.h"

#include "vistrel/media/radio/radiostationlistpage.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/window/gateway.h"

namespace {

// Screens this high or higher take the tall content area.
constexpr int kTallScreen = 600;
constexpr int kTabsPerRow = 2;

}  // namespace

CRadioBrowserPage::CRadioBrowserPage(CZVWindow* parent, CAudioSourcePage* sourcePage, CAudioZonesPage* zones,
                                     CZVRect rect, COLORREF face, int kindWord)
    : CTRRegion(parent, rect, kStyleClass, parent ? parent->GetFaceColor() : face, face),
      m_sourcePage(sourcePage),
      m_zones(zones),
      m_kindWord(kindWord) {
    CZVObList tabs;
    tabs.AddTail(new CTabDescriptor("All Radio Stations", kAllStationsTab, nullptr));
    tabs.AddTail(new CTabDescriptor("Favorite Radio Stations", kFavouritesTab, nullptr));
    SetTabCount(kTabsPerRow, 0, &tabs);
    GetTabs()->SetTabsPerRow(kTabsPerRow, kTabsPerRow);
    GetTabs()->Select(0, 0);
    ShowStationPage(kAllStationsTab, 0);
}

void CRadioBrowserPage::ShowStationPage(int tabId, int redraw) {
    if (m_stationPage) {
        RemoveChild(m_stationPage);
        delete m_stationPage;
        m_stationPage = nullptr;
    }
    CZVServer* server = GetGatewayServer();
    if (!server) return;
    CZVRect area;
    if (PickByScreenHeight(kTallScreen, 0, 1))
        GetContentRectTall(&area);
    else
        GetContentRectWide(&area);
    m_stationPage =
        new CRadioStationListPage(this, area, *server, m_sourcePage, m_zones, tabId == kFavouritesTab, m_kindWord);
    AddChild(m_stationPage);
    m_stationPage->Show(IsShown(), 0);
    if (redraw) m_stationPage->Redraw(1);
}

int CRadioBrowserPage::OnCommand(int id) {
    if (id != kAllStationsTab && id != kFavouritesTab) return CTRRegion::OnCommand(id);
    ShowStationPage(id, 1);
    return 1;
}

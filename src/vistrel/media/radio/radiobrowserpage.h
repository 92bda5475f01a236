#pragma once
// CRadioBrowserPage: the internet radio directory of a music source, a
// tabbed panel with "All Radio Stations" and "Favorite Radio Stations". Each
// tab change makes the station page of that tab anew.
#include "widgets/tabs/trregion.h"

class CAudioSourcePage;
class CAudioZonesPage;
class CRadioStationListPage;

class CRadioBrowserPage : public CTRRegion {
public:
    static constexpr int kStyleClass = 6;
    enum : int { kAllStationsTab = 6005, kFavouritesTab = 6006 };

    // kindWord: the music source's, passed on to the station pages.
    CRadioBrowserPage(CZVWindow* parent, CAudioSourcePage* sourcePage, CAudioZonesPage* zones, CZVRect rect,
                      COLORREF face, int kindWord);

    int OnCommand(int id) override;
    // Replaces the station page by the tab's; redraws it when asked.
    void ShowStationPage(int tabId, int redraw);

    CRadioStationListPage* GetStationPage() const { return m_stationPage; }

private:
    CRadioStationListPage* m_stationPage = nullptr;
    CAudioSourcePage* m_sourcePage;
    CAudioZonesPage* m_zones;
    int m_kindWord;
};

#pragma once
// CRadioStationListPage: one tab of the internet radio directory. Radio
// genres on the left, the stations of the chosen genre on the right, each
// with "Listen", and under them the button that adds the chosen station to
// the favourites (all-stations tab) or removes it (favourites tab). While it
// is shown, its station list is the zones page's now-playing listener, so
// that the station being listened to carries the stream's level bar.
#include "core/zvserver.h"
#include "vistrel/media/music/musicsource.h"
#include "widgets/window/zvwindow.h"

class CAudioSourcePage;
class CAudioZonesPage;
class CGenreList;
class CStationList;
class CZV3DButton;
class CZVLabel;

class CRadioStationListPage : public CZVWindow, public CSocketSink, public CMusicSource {
public:
    enum : int {
        kGenreSelected = 1011,
        kStationSelected = 1012,
        kListen = 1013,
        kGenresLoaded = 2004,
        kStationsLoaded = 2005,
        kFavouriteButton = 3000,
    };
    static constexpr int kHeadingHeight = 25;
    static constexpr int kHeadingFont = 18;
    static constexpr int kButtonHeight = 25;
    static constexpr int kButtonClass = 17;

    // favourites: 1 for the favourites tab. kindWord: the music source's, whose high bits are
    // the lists' features.
    CRadioStationListPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CAudioSourcePage* sourcePage,
                          CAudioZonesPage* zones, int favourites, int kindWord);
    ~CRadioStationListPage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;
    void OnMessage(CZVMSG* message) override;

    // CMusicSource: the zone's chosen source, and the music source's feature bits.
    int GetSelectedAudioItem() override;
    int GetSourceFeatures() override { return m_features; }

    int IsFavouritesTab() const { return m_favourites; }
    CGenreList* GetGenreList() const { return m_genres; }
    CStationList* GetStationList() const { return m_stations; }
    CZVLabel* GetStationsHeading() const { return m_stationsHeading; }
    CZV3DButton* GetFavouriteButton() const { return m_favouriteButton; }

private:
    // A station by the rows of the two lists; -1 for none.
    struct Choice {
        int genre;
        int station;
        bool operator==(const Choice&) const = default;
    };

    void Build(CZVServer& server);
    void OnGenreSelected();
    void OnStationSelected();
    void OnListen();
    void OnGenresLoaded();
    void OnStationsLoaded();
    void OnFavouriteButton();
    Choice Chosen();
    void SendChoice(uint16_t id, Choice choice);
    void EnableFavouriteButton(int enable);
    // With no genre left, nothing is chosen: no stations and the plain heading.
    void ShowNoGenre();
    int IsGenreLoaded();

    CAudioSourcePage* m_sourcePage;
    CAudioZonesPage* m_zones;
    int m_favourites;
    int m_features;
    int m_genresLoaded = 0;
    int m_stationsLoaded = 0;
    int m_lastGenreRow = 0;
    // The genre row the station list was loaded with.
    int m_stationsGenre = -1;
    // The station whose favourite state was asked last; the answer counts only while it is chosen.
    Choice m_asked{-1, -1};
    CGenreList* m_genres = nullptr;
    CStationList* m_stations = nullptr;
    CZVLabel* m_stationsHeading = nullptr;
    CZV3DButton* m_favouriteButton = nullptr;
};

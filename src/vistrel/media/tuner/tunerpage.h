#pragma once
// CTunerPage: the source page of an AM/FM tuner. It shows the tuned
// frequency (or the station), switches the band, seeks, tunes while a Tune
// button is held, takes a frequency typed on its keypad and adds the station
// to the favourites shown beside it. The artist/track variant adds a top
// panel with the lines the gateway sends. Every change is a command to the
// gateway; the display follows its statuses, except while the user types or
// holds Tune.
#include <array>
#include <cstdint>
#include <string>

#include "core/zvserver.h"
#include "vistrel/media/tuner/tunerband.h"
#include "vistrel/shell/audiosourcepage.h"

class CRRegion;
class CStationFavoritesPage;
class CZV3DButton;
class CZVCheckButton;
class CZVLabel;

class CTunerPage : public CAudioSourcePage {
public:
    enum : int {
        kBandOffId = 1000,
        kAmId = 1001,
        kFmId = 1002,
        kSeekUpId = 1003,
        kSeekDownId = 1004,
        kTuneUpId = 1005,
        kTuneDownId = 1006,
        kTuneUpPressId = 1007,
        kTuneDownPressId = 1008,
        kTuneReleaseId = 1009,
        kAddId = 1010,
        kFavoriteSelectedId = 1013,
    };
    static constexpr int kTuneTimerMs = 100;
    // A status that comes sooner after the last key leaves the entry alone.
    static constexpr uint32_t kEntryHoldOffMs = 2000;
    static constexpr int kMaxDigits = 8;

    CTunerPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, CZVServer& server,
               int kindWord);

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnShow(int show) override;
    void OnSourceMessage(CZVMSG* message, int redraw) override;

    void ShowFrequency();
    void ShowEntry();
    void DirectKey(int key);
    void UpdateBandButtons(int redraw);

    const CTunerVariant& GetVariant() const { return m_variant; }
    int GetBand() const { return m_band; }
    int GetFrequency() const { return m_frequency; }
    int GetFavorite() const { return m_favorite; }
    int GetTuneStep() const { return m_tuneStep; }
    int IsEntryActive() const { return m_entryActive; }
    CZVLabel* GetDisplay() const { return m_display; }
    CZVLabel* GetArtistLine() const { return m_artist; }
    CZVLabel* GetTrackLine() const { return m_track; }
    CZVCheckButton* GetFmButton() const { return m_fm; }
    CZVCheckButton* GetAmButton() const { return m_am; }
    CZV3DButton* GetAddButton() const { return m_add; }
    CZV3DButton* GetTuneUpButton() const { return m_tuneUp; }
    CStationFavoritesPage* GetFavorites() const { return m_favorites; }

private:
    void BuildTopPanel(int width);
    CZV3DButton* AddAddButton(CZVWindow* panel, CZVRect rect);
    void BuildDisplayRow(CRRegion* panel, CZVRect row);
    void BuildTuneColumn(CRRegion* panel, CZVRect column);
    void BuildReducedControls(CRRegion* panel, CZVRect content);
    CZV3DButton* AddTransportButton(CZVWindow* panel, CZVRect rect, int id, const char* caption, const char* icon,
                                    int layout);
    void ReadStatus(CZVMSG* message, int redraw);
    void AddFavorite();
    void ClearArtistTrack();
    // A key that stays within the band: the value it makes, or -1.
    int EntryValue(int digit) const;
    void EnableAdd(int enable, int redraw);
    int CanRedraw();

    CTunerVariant m_variant;
    int m_reduced;
    int m_compactFavorites;
    CZVServer& m_server;
    CZVLabel* m_display = nullptr;
    CZVLabel* m_artist = nullptr;
    CZVLabel* m_track = nullptr;
    CZVCheckButton* m_fm = nullptr;
    CZVCheckButton* m_am = nullptr;
    CZV3DButton* m_add = nullptr;
    CZV3DButton* m_tuneUp = nullptr;
    CStationFavoritesPage* m_favorites = nullptr;
    int m_entryActive = 0;
    int m_digitCount = 0;
    std::array<int, kMaxDigits> m_digits{};
    uint32_t m_lastKeyTime = 0;
    int m_frequency = 0;
    int m_band = kBandOff;
    int m_favorite = -1;
    std::string m_stationName;
    int m_tuneStep = 0;
};

#pragma once
// CStationBrowsePage: the source page of a channel-numbered radio. The top
// shows the channel, its name and two lines of what plays, with "Add To
// Favorites"; tabs offer the genre and station lists ("Browse Stations") and
// a keypad for a three-digit channel ("Direct Tuning"); the favourites sit
// on the right.
#include <array>
#include <cstdint>

#include "core/zvserver.h"
#include "vistrel/shell/audiosourcepage.h"

class CEntryPanel;
class CStationFavoritesPage;
class CTRRegion;
class CTunerGenrePage;
class CZV3DButton;
class CZVLabel;

class CStationBrowsePage : public CAudioSourcePage {
public:
    enum : int { kDirectTuningTab = 1030, kBrowseTab = 1031, kAddId = 1010 };
    static constexpr int kChannelDigits = 3;
    // A channel entry completes with leading zeros this long after its last
    // digit; a status waits as long before it drops the entry.
    static constexpr uint32_t kEntryCompletionMs = 2500;
    static constexpr int kTimerMs = 1000;

    CStationBrowsePage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, CZVServer& server,
                       int kindWord);
    ~CStationBrowsePage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnShow(int show) override;
    void OnSourceMessage(CZVMSG* message, int redraw) override;

    void DirectDigit(int digit);
    void ShowEntryPanel();
    void ShowGenrePage();

    CZVLabel* GetChannelLine() const { return m_channelLine; }
    CZVLabel* GetNameLine() const { return m_nameLine; }
    CZVLabel* GetFirstLine() const { return m_firstLine; }
    CZVLabel* GetSecondLine() const { return m_secondLine; }
    CZV3DButton* GetAddButton() const { return m_add; }
    CStationFavoritesPage* GetFavorites() const { return m_favorites; }
    CTRRegion* GetTabPanel() const { return m_tabPanel; }
    CEntryPanel* GetEntryPanel() const { return m_entryPanel; }
    CTunerGenrePage* GetGenrePage() const { return m_genrePage; }
    int IsEntryShown() const { return m_entryShown; }
    int IsEntryActive() const { return m_entryActive; }

private:
    void BuildTopPanel();
    void ReadStatus(CZVMSG* message, int redraw);
    // Drops a pending entry and clears the title it left.
    void DropEntry(int redraw);
    void CompleteEntry();
    void SwapContent(CZVWindow* out, CZVWindow* in);
    void EnableAdd(int enable, int redraw);
    int IsBlocked();

    CZVLabel* m_firstLine = nullptr;
    CZVLabel* m_secondLine = nullptr;
    CZVLabel* m_channelLine = nullptr;
    CZVLabel* m_nameLine = nullptr;
    CZV3DButton* m_add = nullptr;
    CStationFavoritesPage* m_favorites = nullptr;
    CZVServer& m_server;
    int m_kindWord;
    int m_entryActive = 0;
    int m_digitCount = 0;
    std::array<int, kChannelDigits> m_digits{};
    uint32_t m_lastDigitTime = 0;
    int m_favorite = -1;
    CTRRegion* m_tabPanel = nullptr;
    int m_entryShown = 0;
    CEntryPanel* m_entryPanel = nullptr;
    CTunerGenrePage* m_genrePage = nullptr;
};

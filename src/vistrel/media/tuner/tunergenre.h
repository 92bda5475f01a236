#pragma once
// CTunerGenrePage: the "Browse Stations" content of the station browse
// page, the genres a channel-numbered radio offers on the left and the
// stations of the chosen genre on the right, each with a tune button. All
// three exchanges wait for the gateway's answer.
#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CTunerStationList;
class CZVMSG;

class CTunerGenrePage : public CZVWindow {
public:
    enum : int { kGenreSelectedId = 1000, kStationSelectedId = 1001, kTuneStationId = 1002 };

    CTunerGenrePage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int kindWord);

    int OnCommand(int id) override;

    // Refill their list; 1 when the answer was read whole.
    int LoadGenres();
    int LoadStations(int genreId);
    // 1000 and 1002; other ids are dropped.
    void HandleCommand(int id, int redraw);

    CTunerStationList* GetGenreList() const { return m_genres; }
    CTunerStationList* GetStationList() const { return m_stations; }

private:
    int Load(CTunerStationList* list, uint16_t request, int32_t value, int useCache);

    CZVServer& m_server;
    CTunerStationList* m_genres = nullptr;
    CTunerStationList* m_stations = nullptr;
    int m_kindWord;
};

// Adds the genres or stations of an answer {count, then id and name each} to the list; 1 when
// the answer was read whole, 0 when it was cut (the rows read so far stay).
int ReadStationEntries(CZVMSG& answer, CTunerStationList* list);

#include "vistrel/media/tuner/tunergenre.h"

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr double kGenreShare = 0.4;
constexpr int kHeadingHeight = 25;
constexpr int kHeadingFont = 18;
constexpr int kHeadingFormat = 0x11;
constexpr int kListFont = 18;
constexpr int kRowHeight = 34;
constexpr int kRowButtonWidth = 50;
// A genre or station on the wire: its id and an empty name.
constexpr int kMinEntryBytes = 8;

}  // namespace

CTunerGenrePage::CTunerGenrePage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int kindWord)
    : CZVWindow(parent, rect, styleClass), m_server(server), m_kindWord(kindWord) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int w = GetWidth();
    const int h = GetHeight();
    const int genreWidth = static_cast<int>(w * kGenreShare);
    CZVRect genreColumn(0, 0, genreWidth, h);
    CZVRect stationColumn(genreWidth, 0, w - genreWidth + 1, h + 1);
    AddLabel(genreColumn.CutTop(kHeadingHeight, 0), "Genre", kHeadingFont)->SetTextFormat(kHeadingFormat);
    AddLabel(stationColumn.CutTop(kHeadingHeight, 0), "Station", kHeadingFont)->SetTextFormat(kHeadingFormat);
    m_genres = new CTunerStationList(this, genreColumn, kGenreSelectedId, server, kListFont, kRowHeight);
    m_stations = new CTunerStationList(this, stationColumn, kStationSelectedId, server, kListFont, kRowHeight);
    m_stations->SetTuneButton(kTuneStationId, kRowButtonWidth, GetFaceColor());
    AddChild(m_genres);
    AddChild(m_stations);
    LoadGenres();
    m_genres->SelectIndex(0, 0);
    HandleCommand(kGenreSelectedId, 0);
}

int CTunerGenrePage::OnCommand(int id) {
    HandleCommand(id, 1);
    return 1;
}

int CTunerGenrePage::LoadGenres() { return Load(m_genres, ZVM_TUNER_GETGENRESQ, m_kindWord, 1); }

int CTunerGenrePage::LoadStations(int genreId) { return Load(m_stations, ZVM_TUNER_GETSTATIONSQ, genreId, 0); }

int CTunerGenrePage::Load(CTunerStationList* list, uint16_t request, int32_t value, int useCache) {
    list->ClearRows();
    CZVQuery query(m_server, useCache);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, request, value) || !answer) return 0;
    return ReadStationEntries(*answer, list);
}

int ReadStationEntries(CZVMSG& answer, CTunerStationList* list) {
    int32_t count = 0;
    if (!answer.ReadInt(count)) return 0;
    bool cut = false;
    count = BoundCount(count, answer, kMinEntryBytes, &cut);
    for (int i = 0; i < count; ++i) {
        CStationRecord record;
        if (!CMsgReader(answer).Int(record.id).String(record.name)) return 0;
        const std::string text = record.name;
        list->AddStation(text, std::move(record));
    }
    return cut ? 0 : 1;
}

void CTunerGenrePage::HandleCommand(int id, int redraw) {
    if (id == kGenreSelectedId) {
        const CStationRecord* genre = m_genres->SelectedRecord();
        if (!genre) return;
        LoadStations(genre->id);
        if (redraw) m_stations->Redraw(1);
    } else if (id == kTuneStationId) {
        const CStationRecord* station = m_stations->SelectedRecord();
        if (!station) return;
        CZVQuery query(m_server);
        query.Command2(ZVM_TUNER_TUNESTATIONQ, GetCurrentAudioZone(), station->id);
    }
}

#include "vistrel/media/radio/radionowplaying.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/music/musiclists.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kGap = 2;
constexpr int kFieldClass = 5;
constexpr int kFieldFontClass = 3;
constexpr int kLevelBarClass = 17;
constexpr int kFieldFormat = 17;
constexpr int kIconStyleBit = 8;
constexpr int kIconLeft = 2;  // the icon left of the caption
constexpr int kMeterGroups[CLampMeter::kGroups] = {2, 4, 8, 0};

constexpr struct {
    int minimum;  // bits a second
    RadioQuality quality;
} kQualities[] = {
    {128001, {7, "CD Quality"}}, {128000, {6, "CD Quality"}}, {96000, {5, "Near CD"}},
    {56000, {4, "FM Radio"}},    {24000, {3, "AM Radio"}},    {10000, {2, "Shortwave Radio"}},
};

}  // namespace

// One status of the radio as the gateway sends it.
struct CRadioNowPlayingPage::Status {
    std::string station, track, artist, levelCaption;
    int32_t streamBitRate = 0, incoming = 0, frequency = 0, level = 0, unused = 0;
    uint32_t fill = 0;

    bool Read(CZVMSG& message) {
        return static_cast<bool>(CMsgReader(message)
                                     .String(station)
                                     .String(track)
                                     .String(artist)
                                     .String(levelCaption)
                                     .Int(streamBitRate)
                                     .Int(incoming)
                                     .Int(frequency)
                                     .Int(level)
                                     .Color(fill)
                                     .Int(unused));
    }
};

RadioQuality QualityOfBitRate(int bitRate) {
    for (const auto& row : kQualities)
        if (bitRate >= row.minimum) return row.quality;
    return {1, "Telephone"};
}

int ReceptionLamps(int incoming, int streamBitRate) {
    if (streamBitRate < 1) return 0;
    const int64_t lamps = static_cast<int64_t>(incoming) * 8 / streamBitRate;
    return static_cast<int>(std::clamp<int64_t>(lamps, 0, CRadioNowPlayingPage::kMeterLamps));
}

CRadioNowPlayingPage::CRadioNowPlayingPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass)
    : CAudioSourcePage(parent, owner, rect, styleClass) {
    m_opaque = 0;
    g_bSmoothLabels = 1;
    Build();
}

void CRadioNowPlayingPage::Build() {
    CZVRect area;
    GetClientRect(&area);
    const int height = area.h;
    area.Deflate(kGap, kGap);
    area.CutTop(height / 10, 0);
    const int m = height / 8;
    CZVRect band = area.CutBottom(2 * m, m);

    const int barInset = CSetServer::CurrentStyle(kLevelBarClass, kStyleMargin);
    CZVRect bar = band.Column(1, 2, kGap);
    bar.Deflate(0, barInset);
    m_levelBar = new CZVLevelBar(this, bar, 0, 0);
    m_levelBar->SetCornerRadius(CSetServer::CurrentStyle(kLevelBarClass, kStyleRadius));
    AddChild(m_levelBar);
    const CZVRect buttons = band.Column(0, 2, kGap);
    AddTransportButton(buttons.Column(0, 2, kGap), kPause, "TRANSPORT\\ICON32PAUSE", "Pause");
    AddTransportButton(buttons.Column(1, 2, kGap), kStop, "TRANSPORT\\ICON32STOP", "Stop");

    area.Deflate(kGap, 0);
    const CZVRect upper = area.CutTop((m + area.h) / 2, m);
    m_station = AddFieldLabels(upper.Row(0, 3, kGap), "Station", nullptr);
    m_station->SetFlag(kLabelMultiLine, 1);
    m_artist = AddFieldLabels(upper.Row(1, 3, kGap), "Artist", nullptr);
    m_track = AddFieldLabels(upper.Row(2, 3, kGap), "Track", nullptr);
    m_frequency = AddFieldLabels(area.Row(0, 3, kGap), "Frequency", nullptr);
    CZVRect meter;
    m_incoming = AddFieldLabels(area.Row(1, 3, kGap), "Incoming\nBitrate", &meter);
    m_reception = AddMeter(meter);
    m_quality = AddFieldLabels(area.Row(2, 3, kGap), "Quality", &meter);
    m_qualityMeter = AddMeter(meter);
}

void CRadioNowPlayingPage::AddTransportButton(CZVRect rect, int id, const char* icon, const char* caption) {
    CZV3DButton* button = AddIconButton(rect, id, GetStyleClass(), icon, kIconLeft);
    button->SetStyleBit(kIconStyleBit, 1);
    button->SetText(caption, nullptr, 0);
}

CZVLabel* CRadioNowPlayingPage::AddFieldLabels(CZVRect row, const char* caption, CZVRect* meter) {
    const int fontSize = CSetServer::CurrentStyle(kFieldFontClass, kStyleFontSize);
    CZVLabel* label = AddLabelClass(row.CutLeft(m_width / 4, kGap), caption, fontSize, kFieldClass);
    label->SetTextFormat(kFieldFormat);
    if (meter) {
        *meter = row.Column(1, 2, kGap);
        meter->Deflate(0, meter->h / 8);
        row = row.Column(0, 2, kGap);
    }
    CZVLabel* value = AddLabelClass(row, "", fontSize, kFieldClass);
    value->SetTextFormat(kFieldFormat);
    return value;
}

CLampMeter* CRadioNowPlayingPage::AddMeter(CZVRect rect) {
    auto* meter = new CLampMeter(this, rect, kMeterGroups[0], kMeterGroups[1], kMeterGroups[2], kMeterGroups[3], 0, 0);
    AddChild(meter);
    return meter;
}

void CRadioNowPlayingPage::OnPaint(CZVDC* dc) {
    RequestSourceStatus();
    CAudioSourcePage::OnPaint(dc);
}

int CRadioNowPlayingPage::OnCommand(int id) {
    if (id == kStop) SendToGateway(ZVM_AUDIO_SOURCECOMMAND, {GetZone(), kStopCode, 0, 0});
    if (id == kPause) SendToGateway(ZVM_AUDIO_SOURCECOMMAND, {GetZone(), kPauseCode, 0, 0});
    return 1;
}

void CRadioNowPlayingPage::OnSourceMessage(CZVMSG* message, int visible) {
    if (message->GetId() != ZVM_AUDIO_GETSOURCESTATUSA && message->GetId() != ZVM_AUDIO_SOURCESTATUSCHANGED) return;
    message->ResetPosition();
    int32_t kind = 0;
    Status status;
    // The feature bits of the kind word are the music source's; the low half names the radio.
    const bool radio = message->ReadInt(kind) && SourcePageType(kind) == kInternetRadioType;
    if (!radio || !status.Read(*message)) {
        message->ResetPosition();
        return;
    }
    const int blocked = CMainWndBase::InputBlockedFor(this);
    ShowStatus(status, visible && !blocked && IsShown());
    if (!(visible && IsShown()) && !blocked) TellListener(status);
}

void CRadioNowPlayingPage::ShowStatus(const Status& status, int redraw) {
    if (status.station != m_stationName) {
        m_station->SetText(status.station.c_str(), nullptr, redraw);
        m_stationName = status.station;
    }
    m_artist->SetText(status.artist.c_str(), nullptr, redraw);
    m_track->SetText(status.track.c_str(), nullptr, redraw);
    CZVString text;
    text.Format("%d kbps", status.incoming / 1000);
    m_incoming->SetText(text, nullptr, redraw);
    text.Format("%d Hz", status.frequency);
    m_frequency->SetText(text, nullptr, redraw);
    if (redraw) ShowMeters(status);
}

void CRadioNowPlayingPage::ShowMeters(const Status& status) {
    m_levelBar->SetText(status.levelCaption.c_str(), nullptr, 0);
    m_levelBar->SetFillColor(status.fill);
    m_levelBar->SetLevel(status.level, 1);
    if (status.streamBitRate != m_streamBitRate) {
        const RadioQuality quality = QualityOfBitRate(status.streamBitRate);
        CZVString text;
        text.Format("%d kbps\n(%s)", status.streamBitRate / 1000, quality.text);
        m_quality->SetText(text, nullptr, 1);
        m_qualityMeter->SetValue(2 * quality.level, 1);
        m_streamBitRate = status.streamBitRate;
    }
    m_reception->SetValue(ReceptionLamps(status.incoming, m_streamBitRate), 1);
}

void CRadioNowPlayingPage::TellListener(const Status& status) {
    auto* zones = dynamic_cast<CAudioZonesPage*>(GetOwner());
    auto* listener = zones ? static_cast<CListenProgressListener*>(zones->GetSourceListener()) : nullptr;
    if (listener) listener->ShowListenProgress(status.level, status.levelCaption, status.fill);
}

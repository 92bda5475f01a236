#include "vistrel/media/tuner/tunerpage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "vistrel/media/tuner/stationfavorites.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "vistrel/media/tuner/tunersend.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPanelClass = 6;
constexpr int kBoxClass = 8;
constexpr int kButtonClass = 17;
constexpr int kKeyClass = 18;
constexpr int kMargin = 5;
constexpr int kTopPanelHeight = 76;
constexpr int kBelowTopPanel = 85;
constexpr int kDisplayBoxWidth = 212;
constexpr int kArtistBoxLess = 342;
constexpr int kTopAddWidth = 120;
constexpr int kDisplayFont = 30;
constexpr int kLineFont = 24;
constexpr int kLeftFormat = 0x11;
constexpr int kCentredFormat = 0x12;
constexpr int kMultiLineFlag = 4;
constexpr int kMaxLeftWidth = 400;
constexpr int kRightRoom = 225;
constexpr int kRowHeight = 60;
constexpr int kRowStep = 65;
constexpr int kRowAddWidth = 100;
constexpr int kDisplayFitStart = 40;
constexpr char kDisplaySample[] = "1030 KHZ AM ";
constexpr int kColumnWidth = 70;
constexpr int kColumnBottom = 30;
constexpr int kKeypadGap = 4;
constexpr int kKeyShrink = 2;
constexpr int kKeyFont = 40;
constexpr char kKeySound[] = "bleep10.wav";
constexpr int kEnterKeyMask = 1;
constexpr int kReducedRows = 4;
constexpr int kReducedShrink = 10;
constexpr int kIconAbove = 17;
constexpr int kIconBelow = 16;
constexpr int kIconReduced = 8;
constexpr int kFavoritesFont = 16;
constexpr int kFavoritesRow = 34;
constexpr int kFavoritesButton = 60;

}  // namespace

CTunerPage::CTunerPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, CZVServer& server,
                       int kindWord)
    : CAudioSourcePage(parent, owner, rect, styleClass),
      m_variant(kindWord),
      m_reduced((kindWord & kTunerReduced) != 0),
      m_compactFavorites((kindWord & kTunerCompactFavorites) != 0),
      m_server(server) {
    const int w = GetWidth();
    const int h = GetHeight();
    const bool artistTrack = m_variant.IsArtistTrack();
    if (artistTrack) BuildTopPanel(w);
    const int left = m_reduced ? w / 3 : std::min(kMaxLeftWidth, w - kRightRoom);
    const int top = artistTrack ? kBelowTopPanel : kMargin;
    auto* panel = new CRRegion(this, CZVRect(kMargin, top, left - 9, h - top - 4), kPanelClass);
    TextureByStyle(panel);
    AddChild(panel);
    CZVRect content;
    panel->GetContentRect(&content);
    if (m_reduced) {
        BuildReducedControls(panel, content);
    } else {
        CZVRect rest = content;
        if (!artistTrack) BuildDisplayRow(panel, rest.CutTop(kRowStep, kRowStep - kRowHeight));
        const CZVRect column = rest.CutRight(kColumnWidth, 0);
        CZVRect bandRow = rest.CutTop(kRowHeight + kKeypadGap, kKeypadGap);
        m_fm = panel->AddCheckButton(bandRow.CutLeft(bandRow.w / 2, kMargin), kFmId, kButtonClass, "FM");
        m_am = panel->AddCheckButton(bandRow.CutLeft(bandRow.w, kMargin), kAmId, kButtonClass, "AM");
        CZV3DButton* keys[12];
        panel->BuildKeypad(rest, kKeyShrink, kKeyFont, kKeySound, m_variant.IsSubChannel() ? kEnterKeyMask : 0, keys, 0,
                           kKeyClass);
        CZVRect tall = content;
        tall.CutTop(kRowStep, 0);
        tall.CutBottom(kColumnBottom, 0);
        BuildTuneColumn(panel, CZVRect(column.x, tall.y, column.w, tall.h));
    }
    CCaptionFitter(this).AddChildren(panel, kButtonClass, -1);
    m_favorites = new CStationFavoritesPage(this, CZVRect(left, top, w - left - 4, h - top - 4), server,
                                            CStationFavoritesPage::kTunerList, kFavoritesFont, kFavoritesRow,
                                            kFavoritesButton, kindWord);
    TextureByStyle(m_favorites);
    AddChild(m_favorites);
    RequestSourceStatus();
}

void CTunerPage::BuildTopPanel(int width) {
    auto* top = new CRRegion(this, CZVRect(kMargin, kMargin, width - 9, kTopPanelHeight), kPanelClass);
    TextureByStyle(top);
    AddChild(top);
    CZVRect area;
    top->GetContentRect(&area);
    const int middleWidth = area.w - kArtistBoxLess;
    auto* displayBox = new CRRegion(top, area.CutLeft(kDisplayBoxWidth + kMargin, kMargin), kBoxClass);
    auto* linesBox = new CRRegion(top, area.CutLeft(middleWidth + kMargin, kMargin), kBoxClass);
    top->AddChild(displayBox);
    top->AddChild(linesBox);
    m_add = AddAddButton(top, area.RightPart(kTopAddWidth));
    CZVRect inner;
    displayBox->GetContentRect(&inner);
    m_display = displayBox->AddLabel(inner, "", kDisplayFont);
    m_display->SetTextFormat(kLeftFormat);
    linesBox->GetContentRect(&inner);
    m_artist = linesBox->AddLabel(inner.Row(0, 2, 0), "Artist", kLineFont);
    m_track = linesBox->AddLabel(inner.Row(1, 2, 0), "Track", kLineFont);
    for (CZVLabel* line : {m_artist, m_track}) line->SetTextFormat(kLeftFormat);
}

CZV3DButton* CTunerPage::AddAddButton(CZVWindow* panel, CZVRect rect) {
    CZV3DButton* add = panel->Add3DButtonDefault(rect, kAddId, kButtonClass, "Add To\\nFavorites");
    add->SetFlag(kMultiLineFlag, 1);
    add->SetTextFormat(kCentredFormat);
    return add;
}

void CTunerPage::BuildDisplayRow(CRRegion* panel, CZVRect row) {
    if (!m_compactFavorites) m_add = AddAddButton(panel, row.CutRight(kRowAddWidth, 0));
    auto* box = new CRRegion(panel, row, kBoxClass);
    panel->AddChild(box);
    CZVRect inner;
    box->GetContentRect(&inner);
    m_display = box->AddLabel(inner, kDisplaySample, kDisplayFont);
    m_display->SetTextFormat(kCentredFormat);
    CCaptionFitter fitter(this);
    fitter.AddWindow(m_display);
    fitter.Apply(kDisplayFitStart);
    m_display->SetText("", nullptr, 0);
}

CZV3DButton* CTunerPage::AddTransportButton(CZVWindow* panel, CZVRect rect, int id, const char* caption,
                                            const char* icon, int layout) {
    CZV3DButton* button = panel->Add3DButtonDefault(rect, id, kButtonClass, caption);
    button->SetIconName(icon, layout);
    return button;
}

void CTunerPage::BuildTuneColumn(CRRegion* panel, CZVRect column) {
    const int part = column.h / 2 - kMargin;
    const int half = part / 2 - 2;
    const CZVRect tune = column.TopPart(part);
    const CZVRect seek = column.BottomPart(part);
    m_tuneUp = AddTransportButton(panel, tune.TopPart(half), kTuneUpId, "Tune", "TRANSPORT\\TUNER_TUNEUP", kIconAbove);
    m_tuneUp->SetPressIds(kTuneUpPressId, kTuneReleaseId);
    AddTransportButton(panel, tune.BottomPart(half), kTuneDownId, "Tune", "TRANSPORT\\TUNER_TUNEDOWN", kIconBelow)
        ->SetPressIds(kTuneDownPressId, kTuneReleaseId);
    AddTransportButton(panel, seek.TopPart(half), kSeekUpId, "Seek", "TRANSPORT\\TUNER_SEEKUP", kIconAbove);
    AddTransportButton(panel, seek.BottomPart(half), kSeekDownId, "Seek", "TRANSPORT\\TUNER_SEEKDOWN", kIconBelow);
}

void CTunerPage::BuildReducedControls(CRRegion* panel, CZVRect content) {
    BuildDisplayRow(panel, content.Row(0, kReducedRows, kMargin));
    CZVRect bandRow = content.Row(1, kReducedRows, kMargin);
    bandRow.CutTop(kReducedShrink, 0);
    bandRow.CutBottom(kReducedShrink, 0);
    m_fm = panel->AddCheckButton(bandRow.Column(0, 2, kMargin), kFmId, kButtonClass, "FM");
    m_am = panel->AddCheckButton(bandRow.Column(1, 2, kMargin), kAmId, kButtonClass, "AM");
    CZVRect seekRow = content.Row(1, 2, kMargin);
    seekRow.CutTop(kReducedShrink, 0);
    seekRow.CutBottom(kReducedShrink, 0);
    CZVRect up = seekRow.TopPart(seekRow.h / 2);
    CZVRect down = seekRow.BottomPart(seekRow.h - up.h);
    up.Deflate(kMargin, kMargin);
    down.Deflate(kMargin, kMargin);
    AddTransportButton(panel, up, kSeekUpId, "Seek", "TRANSPORT\\TUNER_SEEKUP", kIconReduced);
    AddTransportButton(panel, down, kSeekDownId, "Seek", "TRANSPORT\\TUNER_SEEKDOWN", kIconReduced);
}

int CTunerPage::CanRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }

void CTunerPage::OnShow(int show) {
    if (show) {
        RequestSourceStatus();
        m_favorites->RequestList();
    }
    CAudioSourcePage::OnShow(show);
}

int CTunerPage::OnCommand(int id) {
    if (id >= kKeypadFirstKey && id <= kKeypadEnter) {
        DirectKey(id);
    } else {
        switch (id) {
        case kBandOffId:
        case kAmId:
        case kFmId:
            m_band = kBandOff + (id - kBandOffId);
            SendTunerCommand(this, kBandCode, m_band, 0);
            UpdateBandButtons(1);
            break;
        case kSeekUpId:
        case kSeekDownId:
            m_frequency = 0;
            if (m_display) m_display->SetText(id == kSeekUpId ? "Seek Up" : "Seek Down", nullptr, CanRedraw());
            SendTunerCommand(this, id == kSeekUpId ? kSeekUpCode : kSeekDownCode, 0, 0);
            break;
        case kTuneUpPressId:
        case kTuneDownPressId:
            m_tuneStep = m_variant.GetTuneStep(m_band) * (id == kTuneDownPressId ? -1 : 1);
            SetTimer(kTuneTimerMs);
            break;
        case kTuneReleaseId:
            KillTimer();
            SendTunerCommand(this, kTuneCode, m_frequency, m_tuneStep);
            break;
        case kAddId: AddFavorite(); return 1;
        case kFavoriteSelectedId: EnableAdd(0, !CMainWndBase::InputBlockedFor(this)); return 1;
        default: break;
        }
    }
    ClearArtistTrack();
    return 1;
}

void CTunerPage::AddFavorite() {
    CZVQuery query(m_server);
    if (query.Command2(ZVM_TUNER_ADDFAVORITEQ, GetZone(), 0)) m_favorites->RequestList();
}

void CTunerPage::ClearArtistTrack() {
    for (CZVLabel* line : {m_artist, m_track})
        if (line) line->SetText("", nullptr, CanRedraw());
}

void CTunerPage::EnableAdd(int enable, int redraw) {
    if (m_add) m_add->Enable(enable, redraw);
}

void CTunerPage::OnTimer() {
    m_frequency += m_tuneStep;
    if (m_frequency > m_variant.GetMaxFrequency(m_band)) m_frequency = m_variant.GetMinFrequency(m_band);
    if (m_frequency < m_variant.GetMinFrequency(m_band)) m_frequency = m_variant.GetMaxFrequency(m_band);
    ShowFrequency();
}

void CTunerPage::ShowFrequency() {
    if (!m_display) return;
    const std::string text = m_variant.FormatFrequency(m_band, m_frequency, m_stationName);
    if (m_variant.IsArtistTrack()) {
        // The top panel's display names the station beside its frequency: the font shrinks
        // until the whole text fits its box.
        CZVRect inner;
        m_display->GetInnerRect(&inner);
        CCaptionFitter fitter(this);
        fitter.AddCaption(text.c_str(), inner);
        m_display->SetFontSize(fitter.FindFontSize(1, 1, kDisplayFont));
    }
    m_display->SetText(text.c_str(), nullptr, CanRedraw());
}

void CTunerPage::ShowEntry() {
    if (!m_display) return;
    const int length = m_variant.GetEntryLength(m_band, m_digits[0]);
    m_display->SetText(m_variant.FormatEntry(m_band, m_digits.data(), m_digitCount, length).c_str(), nullptr,
                       IsShown());
}

void CTunerPage::UpdateBandButtons(int redraw) {
    redraw = redraw && CanRedraw();
    if (m_fm) m_fm->SetCheck(m_band == kBandFM, 0, redraw);
    if (m_am) m_am->SetCheck(m_band == kBandAM, 0, redraw);
}

int CTunerPage::EntryValue(int digit) const {
    const int length = m_variant.GetEntryLength(m_band, m_digits[0]);
    int value = 0;
    for (int i = 0; i < length; ++i)
        value = 10 * value + (i < m_digitCount ? m_digits[static_cast<size_t>(i)] : i == m_digitCount ? digit : 0);
    if (m_band == kBandAM) return value >= kAmEntryMinimum && value <= kAmEntryMaximum ? value * 10 : -1;
    if (value > m_variant.GetEntryMaximum(m_band) || value < m_variant.GetEntryMinimum(m_band, m_digitCount)) return -1;
    return value;
}

void CTunerPage::DirectKey(int key) {
    if (key == kKeypadCancel) return;
    m_lastKeyTime = platform::GetTickCount();
    int digit = key - kKeypadFirstKey;
    if (!m_entryActive) {
        if (key == kKeypadEnter || !CTunerVariant::CanStartEntry(m_band, digit)) return;
        m_digits.fill(0);
        m_digits[0] = digit;
        m_digitCount = 1;
        m_entryActive = 1;
        ShowEntry();
        return;
    }
    const int length = m_variant.GetEntryLength(m_band, m_digits[0]);
    const bool fm = m_band == kBandFM;
    if (fm && m_variant.IsFineStep() && m_digitCount == 4) {
        if (digit != 0 && digit != 5) return;
    } else if (fm && m_variant.IsSubChannel() && m_digitCount == length - 1) {
        if (key == kKeypadEnter) digit = 0;
        if (digit > 2) return;
    } else if (key == kKeypadEnter) {
        return;
    }
    int value = EntryValue(digit);
    if (value < 0) return;
    m_digits[static_cast<size_t>(m_digitCount++)] = digit;
    ShowEntry();
    if (m_digitCount < length) return;
    m_entryActive = 0;
    m_tuneStep = 0;
    if (fm && m_variant.IsSubChannel()) value *= 10;
    SendTunerCommand(this, kTuneCode, value, 0);
}

void CTunerPage::OnSourceMessage(CZVMSG* message, int redraw) {
    if (!message) return;
    switch (message->GetId()) {
    case ZVM_AUDIO_GETSOURCESTATUSA:
    case ZVM_AUDIO_SOURCESTATUSCHANGED:
        if (m_entryActive && platform::TicksSince(m_lastKeyTime) < kEntryHoldOffMs) return;
        message->ResetPosition();
        ReadStatus(message, redraw);
        return;
    case ZVM_AUDIO_SOURCEINFOCHANGED:
        message->ResetPosition();
        m_favorites->ReadFavorites(message, 1);
        m_favorites->SelectFavorite(m_favorite, 1);
        return;
    default: return;
    }
}

void CTunerPage::ReadStatus(CZVMSG* message, int redraw) {
    // An entry the status ends shows the tuned frequency again.
    const int dropped = m_entryActive;
    m_entryActive = 0;
    if (dropped) ShowFrequency();
    int32_t band = 0, frequency = 0, favorite = 0;
    if (!CMsgReader(*message).Int(band).Int(frequency).Int(favorite)) return;
    const int blocked = CMainWndBase::InputBlockedFor(this);
    EnableAdd(favorite == 0, !blocked);
    m_favorite = favorite;
    m_favorites->SelectFavorite(favorite, !blocked);
    std::string name = m_stationName;
    if (m_variant.IsArtistTrack()) {
        std::string artist, track;
        if (!CMsgReader(*message).String(artist).String(track)) return;
        const int shown = redraw && CanRedraw();
        m_artist->SetText(artist.c_str(), nullptr, shown);
        m_track->SetText(track.c_str(), nullptr, shown);
        if (!message->ReadString(name)) name.clear();
    }
    if (band == m_band && frequency == m_frequency && name == m_stationName) return;
    m_band = band;
    m_frequency = frequency;
    m_stationName = name;
    ShowFrequency();
    UpdateBandButtons(1);
}

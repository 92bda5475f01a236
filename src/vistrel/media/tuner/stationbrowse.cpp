#include "vistrel/media/tuner/stationbrowse.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "vistrel/media/tuner/stationfavorites.h"
#include "vistrel/media/tuner/tunerband.h"
#include "vistrel/media/tuner/tunergenre.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "vistrel/media/tuner/tunersend.h"
#include "vistrel/shell/gatewaypanel.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPanelClass = 6;
constexpr int kBoxClass = 8;
constexpr int kButtonClass = 17;
constexpr int kTopHeight = 76;
constexpr int kGap = 5;
constexpr int kFullSideBox = 175;
constexpr int kFullMiddleLess = 360;
constexpr int kCompactSideBox = 227;
constexpr int kCompactMiddleLess = 232;
constexpr double kBoxBrightening = 1.2;
constexpr int kChannelFont = 22;
constexpr int kLineFont = 24;
constexpr int kLineFormat = 0x11;
constexpr int kAddFormat = 0x12;
constexpr int kMultiLineFlag = 4;
constexpr int kBodyTop = 80;
constexpr int kBodyLess = 84;
constexpr int kTabPanelWidth = 406;
constexpr int kFavoritesLeft = 410;
constexpr int kEntryTitleHeight = 75;
constexpr int kEntryGap = 5;
constexpr int kSmallScreen = 600;
constexpr int kEntryFontSmall = 20;
constexpr int kEntryFontLarge = 40;
constexpr int kFavoritesFont = 18;
constexpr int kFavoritesRow = 34;
constexpr int kFavoritesButton = 50;
constexpr int kLastDigitKey = 11009;
constexpr char kStationTitle[] = "Station: ";

}  // namespace

CStationBrowsePage::CStationBrowsePage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass,
                                       CZVServer& server, int kindWord)
    : CAudioSourcePage(parent, owner, rect, styleClass), m_server(server), m_kindWord(kindWord) {
    const int w = GetWidth();
    const int h = GetHeight();
    BuildTopPanel();
    m_tabPanel = new CTRRegion(this, CZVRect(0, kBodyTop, kTabPanelWidth, h - kBodyLess), kPanelClass, 0);
    TextureByStyle(m_tabPanel);
    AddChild(m_tabPanel);
    CZVObList tabs;
    tabs.AddTail(new CTabDescriptor("Browse Stations", kBrowseTab, nullptr));
    tabs.AddTail(new CTabDescriptor("Direct Tuning", kDirectTuningTab, nullptr));
    m_tabPanel->SetTabCount(2, 0, &tabs);
    m_tabPanel->GetTabs()->Select(0, 0);
    CZVRect content;
    m_tabPanel->GetContentRect(&content);
    CMainWndBase* main = GetMainWnd();
    const int entryFont = main && main->GetHeight() < kSmallScreen ? kEntryFontSmall : kEntryFontLarge;
    m_entryPanel = new CEntryPanel(m_tabPanel, content, kPanelClass, kEntryTitleHeight, kEntryGap, entryFont);
    m_entryPanel->Show(0, 0);
    m_genrePage = new CTunerGenrePage(m_tabPanel, content, kPanelClass, server, kindWord);
    m_tabPanel->AddChild(m_genrePage);
    m_favorites = new CStationFavoritesPage(this, CZVRect(kFavoritesLeft, kBodyTop, w - kFavoritesLeft, h - kBodyLess),
                                            server, CStationFavoritesPage::kBrowseList, kFavoritesFont, kFavoritesRow,
                                            kFavoritesButton, kindWord);
    m_favorites->SetFaceColor(m_tabPanel->GetFaceColor());
    TextureByStyle(m_favorites);
    AddChild(m_favorites);
    RequestSourceStatus();
    SetTimer(kTimerMs);
}

CStationBrowsePage::~CStationBrowsePage() {
    // The one of the two that is not in the tab panel is this page's own.
    if (m_entryShown)
        delete m_genrePage;
    else
        delete m_entryPanel;
}

void CStationBrowsePage::BuildTopPanel() {
    auto* top = new CRRegion(this, CZVRect(0, 0, GetWidth(), kTopHeight), kPanelClass);
    top->SetMargin(0);
    TextureByStyle(top);
    AddChild(top);
    CZVRect area;
    top->GetContentRect(&area);
    const bool compact = (m_kindWord & kTunerCompactFavorites) != 0;
    const int width = area.w;
    const CZVRect leftRect = area.CutLeft((compact ? kCompactSideBox : kFullSideBox) + kGap, kGap);
    const CZVRect middleRect = area.CutLeft(width - (compact ? kCompactMiddleLess : kFullMiddleLess) + kGap, kGap);
    auto* middle = new CRRegion(top, middleRect, kBoxClass);
    auto* left = new CRRegion(top, leftRect, kBoxClass);
    const COLORREF face = ScaleColor(kBoxBrightening, middle->GetFaceColor());
    for (CRRegion* box : {left, middle}) {
        box->SetFaceColor(face);
        top->AddChild(box);
    }
    CZVRect leftArea;
    left->GetContentRect(&leftArea);
    m_channelLine = left->AddLabel(leftArea.Row(0, 2, 0), "", kChannelFont);
    m_nameLine = left->AddLabel(leftArea.Row(1, 2, 0), "", kChannelFont);
    CZVRect middleArea;
    middle->GetContentRect(&middleArea);
    m_firstLine = middle->AddLabel(middleArea.Row(0, 2, 0), "", kLineFont);
    m_secondLine = middle->AddLabel(middleArea.Row(1, 2, 0), "", kLineFont);
    for (CZVLabel* line : {m_firstLine, m_secondLine}) line->SetTextFormat(kLineFormat);
    if (compact) return;
    m_add = top->Add3DButtonDefault(area, kAddId, kButtonClass, "Add To\\nFavorites");
    m_add->SetFlag(kMultiLineFlag, 1);
    m_add->SetTextFormat(kAddFormat);
}

int CStationBrowsePage::IsBlocked() { return CMainWndBase::InputBlockedFor(this); }

int CStationBrowsePage::OnCommand(int id) {
    if (id >= kKeypadFirstKey && id <= kLastDigitKey) {
        m_lastDigitTime = platform::GetTickCount();
        DirectDigit(id - kKeypadFirstKey);
        return 1;
    }
    switch (id) {
    case kBrowseTab:
        DropEntry(1);
        ShowGenrePage();
        return 1;
    case kDirectTuningTab: ShowEntryPanel(); return 1;
    case kAddId: {
        CZVQuery query(m_server);
        if (query.Command2(ZVM_TUNER_ADDFAVORITEQ, GetZone(), 1)) {
            m_favorites->RequestList();
            EnableAdd(0, !IsBlocked());
        }
        return 1;
    }
    case CStationFavoritesPage::kDeleteId: EnableAdd(1, !IsBlocked()); return 1;
    default: return 1;
    }
}

void CStationBrowsePage::EnableAdd(int enable, int redraw) {
    if (m_add) m_add->Enable(enable, redraw);
}

void CStationBrowsePage::SwapContent(CZVWindow* out, CZVWindow* in) {
    out->Show(0, 0);
    m_tabPanel->RemoveChild(out);
    m_tabPanel->AddChild(in);
    in->Show(1, 0);
    if (IsShown() && !IsBlocked()) {
        m_tabPanel->EraseChildArea(out);
        in->Redraw(1);
    }
}

void CStationBrowsePage::ShowEntryPanel() {
    if (m_entryShown) return;
    SwapContent(m_genrePage, m_entryPanel);
    m_entryShown = 1;
}

void CStationBrowsePage::ShowGenrePage() {
    if (!m_entryShown) return;
    SwapContent(m_entryPanel, m_genrePage);
    m_entryShown = 0;
}

void CStationBrowsePage::DirectDigit(int digit) {
    if (!m_entryActive) {
        m_digits.fill(0);
        m_digitCount = 0;
        m_entryActive = 1;
    }
    m_digits[static_cast<size_t>(m_digitCount++)] = digit;
    std::string title = kStationTitle;
    for (int i = 0; i < m_digitCount; ++i) title += std::to_string(m_digits[static_cast<size_t>(i)]);
    for (int i = m_digitCount; i < kChannelDigits; ++i) title += " _";
    m_entryPanel->SetTitle(title.c_str(), IsShown() && m_entryShown && !IsBlocked());
    if (m_digitCount < kChannelDigits) return;
    SendTunerCommand(this, kTuneCode, 100 * m_digits[0] + 10 * m_digits[1] + m_digits[2], 0);
    m_entryActive = 0;
}

void CStationBrowsePage::DropEntry(int redraw) {
    if (!m_entryActive) return;
    m_entryActive = 0;
    m_entryPanel->SetTitle("", redraw && IsShown() && m_entryShown && !IsBlocked());
}

void CStationBrowsePage::CompleteEntry() {
    const std::array<int, kChannelDigits> kept = m_digits;
    const int count = m_digitCount;
    m_entryActive = 0;
    for (int i = count; i < kChannelDigits; ++i) DirectDigit(0);
    for (int i = 0; i < count; ++i) DirectDigit(kept[static_cast<size_t>(i)]);
}

void CStationBrowsePage::OnTimer() {
    if (m_entryActive && platform::TicksSince(m_lastDigitTime) >= kEntryCompletionMs) CompleteEntry();
}

void CStationBrowsePage::OnShow(int show) {
    if (show) RequestSourceStatus();
    CAudioSourcePage::OnShow(show);
}

void CStationBrowsePage::OnSourceMessage(CZVMSG* message, int redraw) {
    if (!message) return;
    switch (message->GetId()) {
    case ZVM_AUDIO_GETSOURCESTATUSA:
    case ZVM_AUDIO_SOURCESTATUSCHANGED:
        // A status waits for a channel being typed, as long as its completion does.
        if (m_entryActive && platform::TicksSince(m_lastDigitTime) < kEntryCompletionMs) return;
        DropEntry(redraw);
        ReadStatus(message, redraw && !IsBlocked());
        return;
    case ZVM_AUDIO_SOURCEINFOCHANGED:
        message->ResetPosition();
        m_favorites->ReadFavorites(message, 1);
        m_favorites->SelectFavorite(m_favorite, redraw);
        return;
    default: return;
    }
}

void CStationBrowsePage::ReadStatus(CZVMSG* message, int redraw) {
    message->ResetPosition();
    int32_t unused = 0, channel = 0, favorite = 0;
    std::string first, second, name;
    if (!CMsgReader(*message).Int(unused).Int(channel).Int(favorite).String(first).String(second).String(name)) return;
    m_firstLine->SetText(first.c_str(), nullptr, redraw);
    m_secondLine->SetText(second.c_str(), nullptr, redraw);
    m_channelLine->SetText(("Channel " + std::to_string(channel)).c_str(), nullptr, redraw);
    m_nameLine->SetText(name.c_str(), nullptr, redraw);
    EnableAdd(favorite == 0, redraw);
    m_favorite = favorite;
    m_favorites->SelectFavorite(favorite, redraw);
}

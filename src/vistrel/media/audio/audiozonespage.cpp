#include "vistrel/media/audio/audiozonespage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "platform/report.h"
#include "vistrel/media/audio/audioreaders.h"
#include "vistrel/media/audio/audiosettingswnd.h"
#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "paudio";
constexpr int kNoSelection = 0x7FFF;
constexpr int kZoneIconLayout = 9;
constexpr int kSmallButtonClass = 16;
constexpr int kTabRowClass = 3;
constexpr int kLibraryBits[] = {1, 2, 4, 8, 16, 32};

// Feature bits of the kind word.
constexpr int kNoAlbumsTab = 0x800000;
constexpr int kNoGenresTab = 0x2000000;
constexpr int kRadioTab = 0x4000000;

CTabContainer* Tabs(CZVWindow* w) { return dynamic_cast<CTabContainer*>(w); }

// The selected tab's position; -1 while none is selected.
int SelectedIndex(CTabContainer* tabs) { return tabs && tabs->GetSelectedTab() ? tabs->GetSelectedIndex() : -1; }

// The style flags that limit the sources in a row, first match first.
struct RowLimit {
    int flag;
    int limit;
};
constexpr RowLimit kRowLimits[] = {
    {0x8000000, 8}, {0x4000000, 6}, {0x2000000, 4}, {0x1000000, 2}, {0x800000, 0},
};

}  // namespace

CAudioZonesPage::CAudioZonesPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server) {
    SetPageId(kPageId);
    SetCurrentAudioZone(nullptr);
    server.RegisterSink(this);
    Send(ZVM_AUDIO_SUBSCRIBEPAGEQ, {});
    if (!BuildZoneTabs()) {
        m_loading = 1;
        if (CZVWindow* old = GetTabControl()) {
            RemoveChild(old);
            delete old;
        }
        SetTabControl(CreateLoadingTabs());
    } else if (CTabContainer* tabs = Tabs(GetTabControl())) {
        tabs->Select(ClampRememberedTab(), 0);
    }
    Rebuild();
    if (!m_loading) SelectZone(TabCommand(GetRememberedAudioTab()), 0);
    OnShow(1);
    m_sourceListener = nullptr;
    Send(ZVM_AUDIO_STARTUPDATES, {});
}

CAudioZonesPage::~CAudioZonesPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    // Before the zone records: its settings pop-up serves this page.
    DeleteSettingsColumn();
    // While this page is whole: the source page's own pages still talk to it as they go.
    DeleteSourcePage();
    if (const CAudioZone* zone = GetCurrentAudioZoneRecord()) Send(ZVM_AUDIO_UNSUBSCRIBEZONE, {zone->GetId(), GetId()});
    Send(ZVM_AUDIO_STOPUPDATES, {});
    SetCurrentAudioZone(nullptr);
}

void CAudioZonesPage::Send(uint16_t id, std::initializer_list<int32_t> values) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), id);
    for (int32_t value : values) message.WriteInt(value);
    server->Send(&message);
}

int CAudioZonesPage::CanRepaint() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }

bool CAudioZonesPage::BuildZoneTabs() {
    CZVServer* server = GetServer();
    if (!server) return false;
    CZVQuery query(*server, 1);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_AUDIO_GETSOURCESQ);
    int32_t preview = 0;
    std::vector<std::unique_ptr<CAudioZone>> zones;
    if (!query.Query(&answer, &request) || !ReadZoneList(*answer, kLastZoneTab - kFirstZoneTab + 1, &preview, &zones))
        return false;
    m_hasPreview = preview != 0;
    if (m_hasPreview && !GetSideList()) SetHasSideList(1);
    const int tabCount = static_cast<int>(std::count_if(
        zones.begin(), zones.end(), [](const auto& z) { return z->GetId() != CAudioZone::kPreviewZone; }));
    CTabContainer* tabs = Tabs(CreateTabs(tabCount, "Media\nZones"));
    SetTabControl(tabs);
    if (m_hasPreview && !GetSideList())
        if (CTabContainer* side = Tabs(CreateSideList())) {
            side->AddTab("Source\nPreview", kPreviewEntry);
            side->Select(-1, 0);
        }
    for (size_t i = 0; i < zones.size(); ++i) {
        const CAudioZone* zone = zones[i].get();
        if (zone->GetId() == CAudioZone::kPreviewZone) {
            if (!GetSideList()) continue;
            m_previewZone = zone;
        } else if (tabs) {
            const int command = kFirstZoneTab + static_cast<int>(i);
            tabs->AddTab(zone->GetName(), command);
            m_tabZones.push_back(zone);
            m_tabCommands.push_back(command);
        }
    }
    m_zones = std::move(zones);
    return true;
}

int CAudioZonesPage::TabCommand(int position) const {
    if (position < 0 || position >= static_cast<int>(m_tabCommands.size())) return kNoCommand;
    return m_tabCommands[static_cast<size_t>(position)];
}

int CAudioZonesPage::ClampRememberedTab() {
    const int last = std::max(static_cast<int>(m_tabCommands.size()) - 1, 0);
    SetRememberedAudioTab(std::clamp(GetRememberedAudioTab(), 0, last));
    return GetRememberedAudioTab();
}

CTabContainer* CAudioZonesPage::GetZoneTabs() const { return Tabs(GetTabControl()); }
CTabContainer* CAudioZonesPage::GetPreviewList() const { return Tabs(GetSideList()); }

int CAudioZonesPage::OnCommand(int id) {
    if ((id >= kFirstZoneTab && id <= kLastZoneTab) || id == kPreviewEntry) {
        SelectZone(id, 1);
        return 1;
    }
    if (id == kSelectorCommand) {
        OnSelectorChoice();
        return 1;
    }
    return CPageBase::OnCommand(id);
}

void CAudioZonesPage::SelectZone(int command, int redraw) {
    const CAudioZone* zone = nullptr;
    CTabContainer* tabs = GetZoneTabs();
    CTabContainer* side = GetPreviewList();
    if (command == kPreviewEntry) {
        if (!side || !m_previewZone) {
            ReportAssert(kSource, __LINE__, 1);
            return;
        }
        zone = m_previewZone;
    } else {
        const auto at = std::find(m_tabCommands.begin(), m_tabCommands.end(), command);
        if (at == m_tabCommands.end()) return;
        const int position = static_cast<int>(at - m_tabCommands.begin());
        SetRememberedAudioTab(position);
        zone = m_tabZones[static_cast<size_t>(position)];
    }
    if (const CAudioZone* old = GetCurrentAudioZoneRecord()) Send(ZVM_AUDIO_UNSUBSCRIBEZONE, {old->GetId(), GetId()});
    if (command == kPreviewEntry) {
        if (tabs) tabs->Select(-1, redraw);
        side->Select(0, redraw);
    } else {
        if (tabs && SelectedIndex(tabs) != GetRememberedAudioTab()) tabs->Select(GetRememberedAudioTab(), redraw);
        if (side) side->Select(-1, redraw);
    }
    SetCurrentAudioZone(zone);
    RebuildSelector(redraw);
    UpdateSettingsColumn(redraw);
    Send(ZVM_AUDIO_SUBSCRIBEZONE, {zone->GetId(), GetId(), 0});
    Send(ZVM_AUDIO_GETZONEQ, {zone->GetId()});
    Send(ZVM_AUDIO_GETZONESQ, {});
    SendPageShown();
}

int CAudioZonesPage::SourceRowLimit(int styleFlags) {
    for (const RowLimit& row : kRowLimits)
        if (styleFlags & row.flag) return row.limit;
    return -1;
}

int CAudioZonesPage::SettingsFlags(const CAudioZone& zone) {
    if (zone.GetId() == CAudioZone::kPreviewZone) return 8;
    int flags = zone.GetKind() == 4 ? 16 : (zone.GetKind() == 1 ? 1 : 0) + (zone.HasExtraControl() ? 2 : 0);
    if (zone.GetSettingsLayout() != CAudioZone::kNoSettingsLayout) flags += 4;
    return flags;
}

void CAudioZonesPage::RebuildSelector(int redraw) {
    const CAudioZone* zone = GetCurrentAudioZoneRecord();
    if (!zone || (m_selector && m_selector->IsSameSourceList(zone))) return;
    if (m_selector) {
        RemoveChild(m_selector);
        delete m_selector;
    }
    const int limit = SourceRowLimit(CSetServer::CurrentFlags());
    if (limit >= 0 && zone->GetSourceCount() > limit)
        m_selector = new CSourceListWnd(this, m_selectorRect, kSelectorCommand);
    else
        m_selector = new CSourceRadioWnd(this, m_selectorRect, kSelectorCommand);
    AddChild(m_selector);
    m_selector->Build(zone);
    if (redraw && CanRepaint()) m_selector->Redraw(1);
}

void CAudioZonesPage::PlaceSettingsColumn() {
    const CZVRect& r = m_settingsRect;
    if (m_settings && (m_settings->GetX() != r.x || m_settings->GetY() != r.y || m_settings->GetWidth() != r.w ||
                       m_settings->GetHeight() != r.h))
        DeleteSettingsColumn();
    CZVServer* server = GetServer();
    if (m_settings || !server) return;
    m_settings = new CAudioSettingsWnd(this, m_settingsRect, *server, CAudioZone::kPreviewZone);
    AddChild(m_settings);
}

void CAudioZonesPage::DeleteSettingsColumn() {
    if (!m_settings) return;
    RemoveChild(m_settings);
    delete m_settings;
    m_settings = nullptr;
}

void CAudioZonesPage::UpdateSettingsColumn(int redraw) {
    const CAudioZone* zone = GetCurrentAudioZoneRecord();
    if (!m_settings || !zone) return;
    m_settings->UpdateZone(zone, this, SettingsFlags(*zone), redraw && CanRepaint());
}

void CAudioZonesPage::OnSelectorChoice() {
    const CAudioZone* zone = GetCurrentAudioZoneRecord();
    if (!m_selector || !zone) return;
    const CSourceOption* item = m_selector->GetSelectedItem();
    const int source = item ? item->sourceId : CSourceOption::kOff;
    SetSelectedAudioItem(source);
    if (source == CSourceOption::kOff) {
        Send(ZVM_AUDIO_SOURCECOMMAND, {zone->GetId(), kZoneOff, 0, 0});
        return;
    }
    m_sourceName = item->name;
    Send(ZVM_AUDIO_ZONECOMMAND, {zone->GetId(), source, item->value, 0});
}

int CAudioZonesPage::GetSelectedSourceId() { return GetSelectedAudioItem(); }

CZVString CAudioZonesPage::GetSourceName() const { return GetCurrentAudioZoneRecord() ? m_sourceName : CZVString(""); }

int CAudioZonesPage::IsLibraryTabEnabled(int bit) const {
    const int features = GetSourceFeatures();
    if (bit == 1 && (features & kNoAlbumsTab)) return 0;
    if (bit == 4 && (features & kNoGenresTab)) return 0;
    if (bit == 32) return (features & kRadioTab) != 0;
    return (m_libraryBits & bit) != 0;
}

int CAudioZonesPage::CountLibraryTabs() const {
    return static_cast<int>(std::count_if(std::begin(kLibraryBits), std::end(kLibraryBits),
                                          [&](int bit) { return IsLibraryTabEnabled(bit); }));
}

void CAudioZonesPage::OnShow(int show) {
    CTabContainer* tabs = GetZoneTabs();
    if (show && tabs && !m_loading && SelectedIndex(tabs) != GetRememberedAudioTab()) {
        const int remembered = ClampRememberedTab();
        tabs->Select(remembered, 1);
        SelectZone(TabCommand(remembered), 1);
    }
    CPageBase::OnShow(show);
}

int CAudioZonesPage::OnIdle(int busy) {
    if (m_sourcePage) {
        if (m_pendingRepaint && !CMainWndBase::InputBlockedFor(this)) {
            m_sourcePage->Invalidate();
            m_pendingRepaint = 0;
        }
        if (m_pendingState) {
            const std::unique_ptr<CZVMSG> state = std::move(m_pendingState);
            state->ResetPosition();
            m_sourcePage->OnSourceMessage(state.get(), 1);
            busy = 1;
        }
    }
    return CPageBase::OnIdle(busy);
}

void CAudioZonesPage::OnResume() {
    if (const CAudioZone* zone = GetCurrentAudioZoneRecord()) Send(ZVM_AUDIO_GETZONEQ, {zone->GetId()});
    Send(ZVM_AUDIO_GETZONESQ, {});
    CPageBase::OnResume();
}

void CAudioZonesPage::OnConnect(int connected) {
    if (!connected) return;
    const CAudioZone* zone = GetCurrentAudioZoneRecord();
    if (zone) Send(ZVM_AUDIO_SUBSCRIBEZONE, {zone->GetId(), GetId(), 0});
    Send(ZVM_AUDIO_STARTUPDATES, {});
    if (zone) Send(ZVM_AUDIO_GETZONEQ, {zone->GetId()});
    Send(ZVM_AUDIO_GETZONESQ, {});
}

void CAudioZonesPage::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_AUDIO_SUBSCRIBEPAGEA: {
        int32_t unused = 0, bits = 0, preview = 0;
        if (CMsgReader(*message).Int(unused).Int(unused).Int(unused).Int(bits).Int(unused).Int(preview)) {
            m_libraryBits = bits;
            m_hasPreview = preview != 0;
        }
        return;
    }
    case ZVM_AUDIO_GETZONEA:
    case ZVM_AUDIO_ZONECHANGED: OnZoneState(message); return;
    case ZVM_AUDIO_GETZONESA:
    case ZVM_AUDIO_ZONESCHANGED: OnZoneIcons(message); return;
    default:
        if (m_sourcePage) m_sourcePage->OnSourceMessage(message, CanRepaint());
        return;
    }
}

void CAudioZonesPage::OnZoneState(CZVMSG* message) {
    // While the zone list could not be read there is no zone to show.
    if (!m_selector) return;
    CZoneState state;
    if (!ReadZoneState(*message, &state)) return;
    SetSelectedAudioItem(state.source);
    m_selector->SetSelection(state.source, state.detail, CanRepaint());
    if (state.source == CSourceOption::kOff) state.kind = kNoSourceKind;
    const int built = ShowSource(state.kind, state.subId, state.path);
    if (!m_sourcePage) return;
    m_pendingState = message->Clone();
    if (built && IsShown()) m_pendingRepaint = 1;
}

void CAudioZonesPage::OnZoneIcons(CZVMSG* message) {
    CTabContainer* tabs = GetZoneTabs();
    if (!tabs) return;
    CSetServer* style = CSetServer::Get();
    const bool compact = style && style->IsCompactLayout();
    for (const CZoneIcon& entry : ReadZoneIcons(*message)) {
        for (size_t i = 0; i < m_tabZones.size(); ++i) {
            if (m_tabZones[i]->GetId() != entry.zoneId) continue;
            auto* tab = dynamic_cast<CZVButton*>(tabs->GetTab(static_cast<int>(i)));
            if (!tab) continue;
            tab->SetIconName(CZVString(entry.icon.c_str()), kZoneIconLayout);
            if (compact) tab->EnsureIcon();
        }
    }
    if (!CMainWndBase::InputBlockedFor(this) && tabs->IsShown()) tabs->Redraw(1);
}

int CAudioZonesPage::ShowSource(int kindWord, int subId, const CAudDataList& path) {
    const int type = SourcePageType(m_sourceType);
    if (m_sourcePage && IsSameSourceType(kindWord, m_sourceType) && path.IsSame(m_sourcePath) &&
        ((type != kSourceSoftKeys && type != kSourceCustomLayout) || subId == m_sourceSubId)) {
        if (m_sourcePage->IsShown() != IsShown()) m_sourcePage->Show(IsShown(), 0);
        return 0;
    }
    SetSourceKindWord(kindWord);
    m_sourcePath.CopyFrom(path);
    if (m_settings) m_settings->ClosePopup();
    DeleteSourcePage();
    m_sourcePage = MakeSourcePage({this, this, m_sourcePageRect, m_styleClass, kindWord, subId, m_sourcePath});
    if (!IsShown()) m_sourcePage->Show(0, 0);
    m_sourceType = kindWord;
    m_sourceSubId = subId;
    AddChild(m_sourcePage);
    return 1;
}

void CAudioZonesPage::DeleteSourcePage() {
    if (!m_sourcePage) return;
    RemoveChild(m_sourcePage);
    delete m_sourcePage;
    m_sourcePage = nullptr;
    m_pendingState.reset();
}

void CAudioZonesPage::Rebuild() {
    const int selected =
        m_selector && m_selector->GetSelectedItem() ? m_selector->GetSelectedItem()->sourceId : kNoSelection;
    const bool hadSelector = m_selector != nullptr;
    DeleteSourcePage();
    if (m_selector) {
        RemoveChild(m_selector);
        delete m_selector;
        m_selector = nullptr;
    }
    CZVRect rest;
    GetContentRect(&rest, GetTabControl());
    const int m = GetPageMargin();
    rest.y += m;
    rest.h -= m;
    if (!HasTabs()) rest.h -= m;
    CMainWndBase* main = GetMainWnd();
    const int band = main && main->GetHeight() < 600 ? 40 : 50;
    m_selectorRect = CZVRect(rest.x, rest.y, rest.w - CSetServer::CurrentStyle(kSmallButtonClass, 6), band);
    rest.y += band + m;
    rest.h -= band + m;
    const int column = CSetServer::CurrentStyle(kTabRowClass, 1);
    m_settingsRect = CZVRect(rest.x + rest.w - column, rest.y, column, rest.h);
    PlaceSettingsColumn();
    rest.w -= column + m;
    m_sourcePageRect = rest;
    if (!hadSelector) return;
    RebuildSelector(0);
    UpdateSettingsColumn(0);
    const CAudDataList path = m_sourcePath;
    ShowSource(m_sourceType, m_sourceSubId, path);
    if (m_selector) m_selector->SetSelection(selected, 0, 0);
}

namespace {

CZVWindow* MakeAudioZonesPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CAudioZonesPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterAudioPages() {
    static const CPageMakerRow kPages[] = {{CAudioZonesPage::kPageId, MakeAudioZonesPage}};
    RegisterPageMakers(kPages);
}

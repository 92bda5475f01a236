#include "vistrel/media/video/videosources.h"

#include <algorithm>
#include <array>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/audio/speakerctl.h"
#include "vistrel/media/avcontrols/levelselect.h"
#include "vistrel/media/avcontrols/plusminus.h"
#include "vistrel/media/avcontrols/presetbuttons.h"
#include "vistrel/media/video/arrowpad.h"
#include "vistrel/media/video/fullscreen.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr int kCellWidth = 40;  // the picture grows in 4:3 steps of 40 x 30
constexpr int kCellHeight = 30;
constexpr int kStripRoom = 64;  // what the strip's side of the picture keeps free
constexpr int kOtherRoom = 14;
constexpr int kPortraitRoom = 60;
constexpr int kMaxStripWidth = 150;
constexpr int kMaxStripHeight = 80;
constexpr int kVideoMargin = 2;
constexpr int kStripGap = 2;
constexpr int kTabRowClass = 3;
constexpr int kMinSourceBytes = 16;  // id, an empty name, two flag words

// Sizes of each strip control: strip below, strip beside.
constexpr std::array<std::array<int, 2>, static_cast<size_t>(VideoStripSlot::kCount)> kStripSizes = {{
    {200, 100},  // arrow pad
    {150, 50},   // - / +
    {400, 200},  // presets
    {200, 50},   // Low / Med / High
    {200, 50},   // speaker
    {70, 50},    // full screen
}};

bool WantsSlot(VideoStripSlot slot, int32_t controlFlags, int32_t videoFlags) {
    switch (slot) {
    case VideoStripSlot::kArrowPad: return controlFlags & kVideoArrowPad;
    case VideoStripSlot::kPlusMinus: return controlFlags & kVideoPlusMinus;
    case VideoStripSlot::kPresets: return controlFlags & kVideoPresets;
    case VideoStripSlot::kLevels: return !(videoFlags & kVideoNoLevels);
    case VideoStripSlot::kSpeaker: return controlFlags & kVideoSpeaker;
    case VideoStripSlot::kFullScreen: return !(videoFlags & kVideoNoFullScreen);
    case VideoStripSlot::kCount: break;
    }
    return false;
}

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

int SelectedIndex(CTabContainer* tabs) { return tabs && tabs->GetSelectedTab() ? tabs->GetSelectedIndex() : -1; }

}  // namespace

int ReadVideoSources(CZVMSG& message, std::vector<CVideoSourceEntry>* out) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kMinSourceBytes, [&](int32_t) {
        CVideoSourceEntry entry;
        if (!CMsgReader(message).Int(entry.sourceId).String(entry.name).Int(entry.controlFlags).Int(entry.videoFlags))
            return false;
        out->push_back(std::move(entry));
        return true;
    });
}

int VideoQualityIndex(int32_t videoFlags, int pictureWidth) {
    if (videoFlags & kVideoQualityByWidth) return pictureWidth > 320 ? 2 : pictureWidth > 240 ? 1 : 0;
    if (videoFlags & kVideoQualityLow) return 0;
    if (videoFlags & kVideoQualityMed) return 1;
    return 2;
}

CVideoPageLayout LayoutVideoPage(int width, int height, int gap) {
    CVideoPageLayout layout;
    int n = 0;
    if (width > height) {
        // The strip's side keeps its room and the gap that parts it from the picture, so a
        // picture that takes the room it leaves does not squeeze the strip below its captions.
        const int stripRoom = kStripRoom + std::max(gap, 0);
        const int below = std::max(std::min((width - kOtherRoom) / kCellWidth, (height - stripRoom) / kCellHeight), 0);
        const int beside = std::max(std::min((width - stripRoom) / kCellWidth, (height - kOtherRoom) / kCellHeight), 0);
        layout.vertical = beside > below ? 1 : 0;
        n = layout.vertical ? beside : below;
    } else {
        n = std::max(std::min((width - kPortraitRoom) / kCellWidth, (height - kPortraitRoom) / kCellHeight), 0);
    }
    layout.pictureWidth = kCellWidth * n;
    layout.pictureHeight = kCellHeight * n;
    CZVRect rest(0, 0, width, height);
    if (layout.vertical)
        layout.strip = rest.CutRight(std::min(width - layout.pictureWidth, kMaxStripWidth), gap);
    else
        layout.strip = rest.CutBottom(std::min(kMaxStripHeight, height - layout.pictureHeight - gap - 4), gap);
    layout.pictureX = std::max(2, rest.x + rest.w / 2 - layout.pictureWidth / 2);
    layout.pictureY = std::max(2, rest.y + rest.h / 2 - layout.pictureHeight / 2);
    layout.overhang = std::max(0, 2 * layout.pictureX + layout.pictureWidth - width);
    layout.video =
        CZVRect(layout.pictureX - kVideoMargin, layout.pictureY - kVideoMargin,
                layout.pictureWidth - layout.overhang + 2 * kVideoMargin, layout.pictureHeight + 2 * kVideoMargin);
    return layout;
}

std::vector<CVideoStripCell> LayoutVideoStrip(CZVRect* strip, int vertical, int32_t controlFlags, int32_t videoFlags) {
    std::vector<CVideoStripCell> cells;
    int sum = 0;
    for (int i = 0; i < static_cast<int>(VideoStripSlot::kCount); ++i) {
        const auto slot = static_cast<VideoStripSlot>(i);
        if (!WantsSlot(slot, controlFlags, videoFlags)) continue;
        const int size = kStripSizes[static_cast<size_t>(i)][vertical ? 1 : 0];
        cells.push_back({slot, CZVRect(0, 0, size, size)});
        sum += size;
    }
    const int length = vertical ? strip->h : strip->w;
    if (sum > length) {
        for (CVideoStripCell& cell : cells) cell.rect.w = cell.rect.w * std::max(length, 0) / sum;
    } else if (vertical) {
        strip->y += (strip->h - sum) / 2;
        strip->h = sum;
    }
    for (CVideoStripCell& cell : cells)
        cell.rect = vertical ? strip->CutTop(cell.rect.w, kStripGap) : strip->CutRight(cell.rect.w, kStripGap);
    return cells;
}

// ---- the page

CVideoSourcesPage::CVideoSourcesPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), m_server(server), m_savedVolume(g_audioplayer ? g_audioplayer->GetVolume() : -1) {
    SetPageId(kPageId);
    LoadSources();
    Rebuild();
    OnShow(1);
    if (CMainWnd* main = GetTabletMainWnd()) main->SetFocusWindow(this);
}

CVideoSourcesPage::~CVideoSourcesPage() {
    KillTimer();
    CMainWnd* main = GetTabletMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
    if (g_audioplayer && m_savedVolume >= 0) g_audioplayer->SetVolume(m_savedVolume);
    g_videoPageOpen = 0;
}

void CVideoSourcesPage::LoadSources() {
    CZVQuery query(m_server, 1);
    CZVMSG request(0, ZVM_VIDEO_GETSOURCESQ);
    CZVMSG* answer = nullptr;
    int32_t count = 0;
    if (query.Query(&answer, &request) && answer && answer->GetId() == ZVM_VIDEO_GETSOURCESA) {
        answer->ResetPosition();
        ReadVideoSources(*answer, &m_sources);
        answer->ResetPosition();
        answer->ReadInt(count);
    }
    if (count <= 0 && m_sources.empty()) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
        return;
    }
    if (static_cast<int>(m_sources.size()) > kLastTab - kFirstTab + 1) m_sources.resize(kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(static_cast<int>(m_sources.size()), "Video\nSources"));
    SetTabControl(tabs);
    for (size_t i = 0; tabs && i < m_sources.size(); ++i)
        tabs->AddTab(m_sources[i].name.c_str(), kFirstTab + static_cast<int>(i));
}

void CVideoSourcesPage::Rebuild() {
    DeleteContent();
    m_panel = nullptr;
    m_video = nullptr;
    g_videoPageOpen = 1;
    g_videoThrottle = 0;
    CZVRect content;
    GetContentRect(&content, GetTabControl());
    m_layout = LayoutVideoPage(content.w, content.h, CSetServer::CurrentStyle(kTabRowClass, 7));
    OnTabCommand(kFirstTab + GetPageVariable(kSourceVariable), 0);
}

int CVideoSourcesPage::OnTabCommand(int id, int redraw) {
    if (id < kFirstTab || id > kLastTab) return id;
    SetPageVariable(kSourceVariable, id - kFirstTab);
    ShowSource(redraw);
    return 1;
}

void CVideoSourcesPage::OnShow(int show) {
    CTabContainer* tabs = Tabs(GetTabControl());
    if (show && tabs && SelectedIndex(tabs) != GetPageVariable(kSourceVariable)) {
        const int last = std::max(tabs->GetTabCount() - 1, 0);
        const int index = std::clamp(GetPageVariable(kSourceVariable), 0, last);
        SetPageVariable(kSourceVariable, index);
        tabs->Select(index, 1);
        ShowSource(1);
    }
    CPageBase::OnShow(show);
}

void CVideoSourcesPage::RemovePanel() {
    if (!m_panel) return;
    RemoveChild(m_panel);
    delete m_panel;
    m_panel = nullptr;
    m_video = nullptr;
    m_listener.SetTarget(nullptr);
}

void CVideoSourcesPage::ShowSource(int redraw) {
    RemovePanel();
    CTabContainer* tabs = Tabs(GetTabControl());
    const int index = SelectedIndex(tabs);
    if (index < 0 || index >= static_cast<int>(m_sources.size())) return;
    const CVideoSourceEntry& source = m_sources[static_cast<size_t>(index)];
    CZVRect content;
    GetContentRect(&content, tabs);
    if (source.controlFlags & kVideoPanel) {
        m_panel = new CGatewayPanel(this, content, m_styleClass, kPanelId, source.sourceId);
    } else {
        m_panel = new CZVWindow(this, content, 0);
        m_panel->SetColors(m_faceColor, m_faceColor);
        const int quality = VideoQualityIndex(source.videoFlags, m_layout.pictureWidth);
        m_video = new CVideoWnd(m_panel, m_layout.video, m_layout.pictureWidth, m_layout.pictureHeight, &m_listener,
                                kVideoMargin, source.sourceId, quality, 1);
        m_video->Start(source.sourceId, quality);
        m_panel->AddChild(m_video);
        BuildStrip(source);
        m_video->SetCapabilities(source.controlFlags);
    }
    AddChild(m_panel);
    if (redraw) m_panel->Redraw(1);
}

void CVideoSourcesPage::BuildStrip(const CVideoSourceEntry& source) {
    CZVRect strip = m_layout.strip;
    for (const CVideoStripCell& cell :
         LayoutVideoStrip(&strip, m_layout.vertical, source.controlFlags, source.videoFlags)) {
        CZVWindow* control = MakeStripControl(cell, source);
        if (!control) continue;
        m_panel->AddChild(control);
        if (cell.slot == VideoStripSlot::kArrowPad) m_listener.SetTarget(dynamic_cast<CVideoListener*>(control));
    }
}

CZVWindow* CVideoSourcesPage::MakeStripControl(const CVideoStripCell& cell, const CVideoSourceEntry& source) {
    switch (cell.slot) {
    case VideoStripSlot::kArrowPad: return new CArrowPad(m_panel, m_video, cell.rect);
    case VideoStripSlot::kPlusMinus: return new CPlusMinusCtl(m_panel, source.sourceId, cell.rect, source.controlFlags);
    case VideoStripSlot::kPresets: return new CPresetButtonsCtl(m_panel, source.sourceId, cell.rect, 1);
    case VideoStripSlot::kLevels: return new CLevelSelectCtl(m_panel, source.sourceId, cell.rect);
    case VideoStripSlot::kSpeaker: return new CSpeakerCtl(m_panel, source.sourceId, cell.rect);
    case VideoStripSlot::kFullScreen: return new CFullScreenButton(m_panel, cell.rect, source.sourceId, -1);
    case VideoStripSlot::kCount: break;
    }
    return nullptr;
}

// ---- registration

namespace {

CZVWindow* MakeVideoSourcesPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CVideoSourcesPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterVideoSourcesPage() {
    static const CPageMakerRow kPages[] = {{CVideoSourcesPage::kPageId, MakeVideoSourcesPage}};
    RegisterPageMakers(kPages);
}

#include "vistrel/media/tv/tvfavorites.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "platform/report.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "tvfavs";
constexpr int kReportLine = 131;
constexpr int kMinGroupBytes = 8;      // id and an empty name
constexpr int kMinFavoriteBytes = 12;  // id and two empty strings
constexpr int kIconLayout = 1;
constexpr int kFontInset = 4;
constexpr int kRatioLimit = 132;

}  // namespace

CFavoriteGrid LayoutFavoriteGrid(int width, int height, int sizeClass, int count) {
    CFavoriteGrid grid;
    grid.columns = std::max(1, width / (24 * sizeClass + 48));
    grid.rows = std::max(1, height / (18 * sizeClass + 36));
    while (grid.columns * grid.rows < count) {
        // Grows the side whose cells are the longer, so that cells stay near 4:3.
        const int cellWidth = width * 100 / grid.columns;
        const int cellHeight = height * 100 / grid.rows;
        const int ratio = cellHeight > 0 ? cellWidth * 100 / cellHeight : kRatioLimit + 1;
        if (ratio > kRatioLimit)
            ++grid.columns;
        else
            ++grid.rows;
    }
    return grid;
}

int ReadChannelGroups(CZVMSG& message, size_t limit, std::vector<CChannelGroup>* out) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kMinGroupBytes, [&](int32_t) {
        CChannelGroup group;
        if (out->size() >= limit || !CMsgReader(message).Int(group.id).String(group.name)) return false;
        out->push_back(std::move(group));
        return true;
    });
}

CTvFavoritesCtl::CTvFavoritesCtl(CZVWindow* parent, CZVServer& server, CZVRect rect, int source, int sizeClass,
                                 int fontSize)
    : CTRRegion(parent, rect, kStyleClass, parent ? parent->GetFaceColor() : 0),
      CSocketSink(server),
      m_source(source),
      m_sizeClass(sizeClass) {
    m_opaque = 0;
    if (fontSize > 0) SetFontSize(fontSize);
    const int loaded = LoadGroups(0);
    server.RegisterSink(this);
    if (loaded)
        OnTabCommand(kFirstTab, 0);
    else
        SetTimer(kRetryInterval);
}

CTvFavoritesCtl::~CTvFavoritesCtl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    m_buttons.clear();
}

int CTvFavoritesCtl::LoadGroups(int redraw) {
    CZVServer* server = GetServer();
    if (!server) return 0;
    CZVQuery query(*server, 1);
    CZVMSG request(0, ZVM_TV_GETCHANNELGROUPSQ);
    request.WriteInt(m_source);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || !answer || answer->GetId() != ZVM_TV_GETCHANNELGROUPSA) return 0;
    answer->ResetPosition();
    std::vector<CChannelGroup> groups;
    // Tabs past the last tab command would take the favourites' ids.
    ReadChannelGroups(*answer, kLastTab - kFirstTab + 1, &groups);
    CZVObList descriptors;
    m_groupIds.clear();
    for (const CChannelGroup& group : groups) {
        descriptors.AddTail(
            new CTabDescriptor(group.name.c_str(), kFirstTab + static_cast<int>(m_groupIds.size()), nullptr));
        m_groupIds.push_back(group.id);
    }
    if (m_groupIds.empty()) {
        SetTabCount(1, 0, nullptr);
        if (CZVWindow* tab = GetTabs()->AddTab(kNoGroups, kFirstTab)) tab->SetFontSize(GetFontSize());
        m_groupIds.push_back(0);
    } else {
        SetTabCount(static_cast<int>(m_groupIds.size()), 0, &descriptors);
    }
    GetTabs()->Select(0, 0);
    m_loaded = 1;
    if (redraw) Redraw(1);
    return 1;
}

void CTvFavoritesCtl::OnTimer() {
    if (!LoadGroups(m_shown)) return;
    KillTimer();
    OnTabCommand(kFirstTab, m_shown);
}

void CTvFavoritesCtl::Send(uint16_t id, int32_t first, int32_t second) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), id);
    message.WriteInt(first);
    message.WriteInt(second);
    server->Send(&message);
}

int CTvFavoritesCtl::OnTabCommand(int id, int) {
    if (id >= kFirstTab && id <= kLastTab) {
        const size_t index = static_cast<size_t>(id - kFirstTab);
        if (index >= m_groupIds.size()) return 1;
        // A fresh id: the answer to an earlier tab's request finds no sink.
        RenewId();
        Send(ZVM_TV_GETFAVORITESQ, m_groupIds[index], m_source);
        return 1;
    }
    if (id >= kFirstFavorite && id < kFirstFavorite + kMaxFavorites) {
        const size_t index = static_cast<size_t>(id - kFirstFavorite);
        if (index >= m_favoriteIds.size()) {
            ReportAssert(kSource, kReportLine, 1);
            return 1;
        }
        Send(ZVM_TV_FAVORITESCOMMAND, m_source, m_favoriteIds[index]);
    }
    return 1;
}

void CTvFavoritesCtl::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_TV_GETFAVORITESA) return;
    message->ResetPosition();
    ShowFavorites(message);
}

CZVRect CTvFavoritesCtl::GridArea() {
    CZVRect area;
    if (m_width < m_height)
        GetContentRectTall(&area);
    else
        GetContentRectWide(&area);
    return area;
}

void CTvFavoritesCtl::RemoveButtons() {
    for (CZV3DButton* button : m_buttons) {
        RemoveChild(button);
        delete button;
    }
    m_buttons.clear();
    m_favoriteIds.clear();
}

void CTvFavoritesCtl::ShowFavorites(CZVMSG* message) {
    const bool hadButtons = !m_buttons.empty();
    RemoveButtons();
    int32_t sent = 0;
    message->ReadInt(sent);
    bool cut = false;
    const int count = std::min(BoundCount(sent, *message, kMinFavoriteBytes, &cut), kMaxFavorites);
    const CZVRect area = GridArea();
    m_grid = LayoutFavoriteGrid(area.w, area.h, m_sizeClass, count);
    for (int i = 0; i < count; ++i) {
        int32_t favorite = 0;
        std::string icon, unused;
        if (!CMsgReader(*message).Int(favorite).String(icon).String(unused)) break;
        const int row = i / m_grid.columns, column = i % m_grid.columns;
        const CZVRect cell = area.Row(row, m_grid.rows, kCellGap).Column(column, m_grid.columns, kCellGap);
        auto* button = new CZV3DButton(this, cell, kFirstFavorite + i, kButtonClass);
        button->SetIconName(icon.c_str(), kIconLayout);
        button->SetFontSize(cell.h - kFontInset);
        if (m_favoriteFace) button->SetFaceColor(m_favoriteFace);
        if (!m_buttons.empty()) button->SetLookSource(m_buttons.front());
        AddChild(button);
        m_buttons.push_back(button);
        m_favoriteIds.push_back(favorite);
    }
    if (!m_shown || CMainWndBase::InputBlockedFor(this)) return;
    if (hadButtons)
        RedrawBuffered();
    else
        for (CZV3DButton* button : m_buttons) button->Redraw(1);
}

// ---- the factory

CZVWindow* MakeTvFavorites(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CTvFavoritesCtl(args.parent, *server, args.rect, args.desc.id,
                               static_cast<uint8_t>(args.desc.Attribute(kAttrParameter)), args.fontSize);
}

#include "vistrel/media/titles/titleswnd.h"

#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "vistrel/media/audio/titlerequests.h"
#include "vistrel/media/pictures/picturefolder.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/titles/titleanswers.h"
#include "vistrel/media/titles/titleslist.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kCaptionHeight = 22;
constexpr int kCellGap = 4;
constexpr int kGridBevelClass = 11;
constexpr int kGridBevelIndex = 5;
constexpr int32_t kMinGroupBytes = 4;  // an empty name

}  // namespace

CTitlesWnd::CTitlesWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int object, int sizeStep, int thumbnails,
                       int fontSize)
    : CTRRegion(parent, rect, kStyleClass, parent ? parent->GetFaceColor() : 0),
      CSocketSink(server),
      m_object(object),
      m_thumbnailWidth(kBaseWidth + kWidthStep * sizeStep),
      m_thumbnailHeight(kBaseHeight + kHeightStep * sizeStep) {
    if (fontSize > 0) SetFontSize(fontSize);
    server.RegisterSink(this);
    SendSubscribeTitles(*this, m_object);
    CZVRect area;
    GetContentRect(&area);
    if (thumbnails) {
        m_thumbnails =
            new CPicWnd(this, area, kSelectCommand, kPlayCommand, m_thumbnailWidth, m_thumbnailHeight, kCaptionHeight,
                        kCellGap, CSetServer::CurrentStyle(kGridBevelClass, kGridBevelIndex), CPicWnd::kPlayBand);
        AddChild(m_thumbnails);
    } else {
        m_list = new CTitlesList(this, area, server, m_object, m_fontSize);
        AddChild(m_list);
    }
    SendGetTitleState(*this, m_object);
}

CTitlesWnd::~CTitlesWnd() {
    SendUnsubscribeTitles(*this, m_object);
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    // The grid points into the folder: it goes first.
    if (m_thumbnails) {
        RemoveChild(m_thumbnails);
        delete m_thumbnails;
    }
}

int CTitlesWnd::OnCommand(int id) {
    if (id >= kFirstTab && id <= kLastTab && id - kFirstTab < m_groupCount) SelectGroup(id - kFirstTab);
    if (id == kPlayCommand) Play();
    return 1;
}

void CTitlesWnd::OnMessage(CZVMSG* message) {
    const uint16_t id = message->GetId();
    if (id != ZVM_MEDIA_GETTITLESTATEA && id != ZVM_MEDIA_GETTITLESA && id != ZVM_MEDIA_GETTITLELISTA &&
        id != ZVM_AUDIO_TITLESCHANGED)
        return;
    message->ResetPosition();
    if (!ReadOwnObject(*message, m_object)) return;
    if (id == ZVM_MEDIA_GETTITLESTATEA)
        ShowGroups(message);
    else if (id == ZVM_AUDIO_TITLESCHANGED)
        SendGetTitleState(*this, m_object);
    else if (m_thumbnails && id == ZVM_MEDIA_GETTITLESA)
        ShowTitles(message);
    else if (m_thumbnails)
        ShowState(message);
    message->ResetPosition();
}

void CTitlesWnd::ShowGroups(CZVMSG* message) {
    int32_t count = 0;
    message->ReadInt(count);
    std::vector<std::string> names;
    ReadRecords(*message, count, kMinGroupBytes, [&](int32_t) {
        std::string name;
        // Tabs past the last tab command would take no command.
        if (names.size() > static_cast<size_t>(kLastTab - kFirstTab) || !message->ReadString(name)) return false;
        names.push_back(std::move(name));
        return true;
    });
    if (names.empty()) names.emplace_back(kNoTitles);
    CZVObList descriptors;
    for (size_t i = 0; i < names.size(); ++i)
        descriptors.AddTail(new CTabDescriptor(names[i].c_str(), kFirstTab + static_cast<int>(i), nullptr));
    m_groupCount = static_cast<int>(names.size());
    SetTabCount(m_groupCount, 0, &descriptors);
    GetTabs()->Select(0, 0);
    OnCommand(kFirstTab);
    RepaintWhenFree(this);
}

void CTitlesWnd::SelectGroup(int group) {
    m_group = group;
    if (m_thumbnails)
        SendGetTitles(*this, m_object, group);
    else if (m_list)
        m_list->SetGroup(group);
    SendGetTitleList(*this, m_object);
}

void CTitlesWnd::ShowTitles(CZVMSG* message) {
    std::vector<CTitleEntry> titles;
    ReadTitleEntries(*message, &titles);
    CZVServer* server = GetServer();
    if (!server) return;
    m_thumbnails->SetFolder(nullptr);
    m_folder = std::make_unique<CPictureFolder>(*server, m_object, ZVM_AUDIO_GETTITLETHUMBQ, m_group);
    for (const CTitleEntry& title : titles) m_folder->AddPicture(CZVString(title.name.c_str()), title.id);
    m_thumbnails->SetFolder(m_folder.get());
    HighlightCurrent();
    RepaintWhenFree(m_thumbnails);
}

void CTitlesWnd::ShowState(CZVMSG* message) {
    if (!m_folder) return;
    CTitleState read;
    if (!ReadTitleState(*message, m_group, &read) || !read.hasGroup) return;
    m_state = read.state;
    m_currentTitle = read.current;
    HighlightCurrent();
    RepaintWhenFree(m_thumbnails);
}

void CTitlesWnd::HighlightCurrent() {
    if (!m_folder) return;
    const COLORREF colour = TitleStateColour(m_state, kOtherStateColour);
    for (int i = 0; i < m_folder->GetPictureCount(); ++i) {
        CPictureItem* item = m_folder->GetPicture(i);
        item->SetHighlight(item->GetIndex() == m_currentTitle, colour);
    }
}

void CTitlesWnd::Play() {
    CPictureItem* item = m_thumbnails ? m_thumbnails->GetSelectedItem() : nullptr;
    if (item) SendTitlesCommand(*this, m_object, m_group, item->GetIndex());
}

// ---- the factory

CZVWindow* MakeTitles(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    const int thumbnails = args.desc.type == CTitlesWnd::kThumbnailType;
    const int sizeStep = static_cast<uint8_t>(args.desc.Attribute(kAttrParameter));
    return new CTitlesWnd(args.parent, args.rect, *server, args.desc.id, sizeStep, thumbnails, args.fontSize);
}

void RegisterTitlesControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CTitlesWnd::kListType, MakeTitles, kSkipCommon},
        {CTitlesWnd::kThumbnailType, MakeTitles, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}

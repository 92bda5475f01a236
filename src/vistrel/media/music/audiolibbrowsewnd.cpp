#include "vistrel/media/music/audiolibbrowsewnd.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "gfx/dibdc.h"
#include "vistrel/media/music/audiolibsearchbox.h"
#include "vistrel/media/music/coverartlist.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvedit.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kHeaderBevel = 5;
constexpr int kLoadingFontSize = 22;
constexpr COLORREF kLoadingColour = 0x640000;
constexpr int kScrollBarClass = 13;
// The smallest header entry {node, ""} and list entry {id, flags, ""}.
constexpr int32_t kMinHeaderEntry = 8;
constexpr int32_t kMinListEntry = 12;
constexpr int kIndentShift = 16;
constexpr int kFlagsMask = 0xFFFF;

// Leading spaces, then leading tabs, go.
std::string Trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
    text.erase(0, text.find_first_not_of('\t') == std::string::npos ? text.size() : text.find_first_not_of('\t'));
    return text;
}

}  // namespace

CAudioLibBrowseWnd::CAudioLibBrowseWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int sourceId)
    : CZVWindow(parent, rect, 0), CSocketSink(server), m_sourceId(sourceId) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    server.RegisterSink(this);
    CZVRect client;
    GetClientRect(&client);
    CZVRect rest = client;
    m_header = new CZVWindow(this, rest.CutTop(kHeaderHeight - kHeaderGap, kHeaderGap), 0);
    m_header->SetFaceColor(GetFaceColor());
    m_header->SetBackColor(GetFaceColor());
    AddChild(m_header);
    m_list = new CCoverArtList(this, rest);
    AddChild(m_list);
    // Go, Play, Add, Search: the order of the entry flags' bits, Go rightmost.
    static const struct {
        const char* icon;
        int command;
    } kButtons[] = {{"TRANSPORT\\ICON32RIGHT", kGoCommand},
                    {"TRANSPORT\\ICON32PLAY", kPlayCommand},
                    {"TRANSPORT\\ICON32_PLUS_GREEN", kAddCommand},
                    {"TRANSPORT\\MUSIC_SEARCH_32", kSearchCommand}};
    for (const auto& button : kButtons) m_list->AddRowButton(button.icon, 0, "", button.command, 0, 0, 1);
    SendBrowse(0, 0, kOpenAction, "");
}

CAudioLibBrowseWnd::~CAudioLibBrowseWnd() {
    if (!m_searchBox) return;
    m_searchBox->ForgetOwner();
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetOverlayWindow() == m_searchBox) main->CloseOverlay();
}

void CAudioLibBrowseWnd::SendBrowse(int node, int entry, int action, const std::string& text) {
    CZVServer* server = CSocketSink::GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_AUDIO_GETCOVERARTQ);
    message.WriteInt(m_sourceId);
    message.WriteInt(node);
    message.WriteInt(entry);
    message.WriteInt(action);
    message.WriteString(text);
    server->Send(&message);
}

void CAudioLibBrowseWnd::OnConnect(int connected) {
    // A new connection shows the level again.
    if (connected) SendBrowse(m_node, 0, kOpenAction, "");
}

void CAudioLibBrowseWnd::SelectedEntry(int* entry, std::string* text) {
    *entry = 0;
    text->clear();
    if (auto* row = static_cast<CCoverArtItem*>(m_list->GetSelected())) *entry = row->GetEntryId();
}

// ---- answers

void CAudioLibBrowseWnd::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_MESSAGES_GETNEWCOUNTA) return;
    message->ResetPosition();
    int32_t status = 0, headers = 0;
    if (!CMsgReader(*message).Int(status) || status != 0 || !CMsgReader(*message).Int(headers)) return;
    ReadHeader(message, headers);
    int32_t entries = 0;
    m_list->RemoveAll(0);
    if (CMsgReader(*message).Int(entries)) ReadEntries(message, entries);
    if (IsShown() && IsPaintedOnce() && !CMainWndBase::InputBlockedFor(this)) {
        m_list->RedrawBuffered();
        m_header->Redraw(1);
    }
}

void CAudioLibBrowseWnd::ClearHeader() {
    for (CZV3DButton* button : m_headerButtons) {
        m_header->RemoveChild(button);
        delete button;
    }
    m_headerButtons.clear();
    m_headerIds.clear();
}

void CAudioLibBrowseWnd::ReadHeader(CZVMSG* message, int count) {
    ClearHeader();
    std::vector<std::pair<int32_t, std::string>> read;
    ReadRecords(*message, std::min(count, kLastHeaderCommand - kFirstHeaderCommand + 1), kMinHeaderEntry, [&](int32_t) {
        int32_t node = 0;
        std::string caption;
        if (!CMsgReader(*message).Int(node).String(caption)) return false;
        read.emplace_back(node, caption);
        return true;
    });
    CZVRect area;
    m_header->GetClientRect(&area);
    CSetServer* style = CSetServer::Get();
    const int n = static_cast<int>(read.size());
    for (int i = 0; i < n; ++i) {
        CZV3DButton* button = m_header->Add3DButton(area.Column(i, n, 0), kFirstHeaderCommand + i, kButtonClass,
                                                    read[static_cast<size_t>(i)].second.c_str(), nullptr);
        button->SetFontSize(CSetServer::CurrentStyle(kButtonClass, 7));
        button->SetBevelType(kHeaderBevel);
        if (i == n - 1 && style) {
            button->SetFaceColor(style->GetSelectionColor());
            button->SetTextColor(style->GetSelectionTextColor());
        }
        m_headerButtons.push_back(button);
        m_headerIds.push_back(read[static_cast<size_t>(i)].first);
    }
}

void CAudioLibBrowseWnd::ReadEntries(CZVMSG* message, int count) {
    CZVDC dc(m_list);
    dc.SelectFont(m_list->GetFontSize(), 0, 1);
    const int scrollBar = CSetServer::CurrentStyle(kScrollBarClass, 0);
    CZVServer* server = CSocketSink::GetServer();
    if (!server) return;
    ReadRecords(*message, count, kMinListEntry, [&](int32_t index) {
        int32_t id = 0, packed = 0;
        std::string text;
        if (!CMsgReader(*message).Int(id).Int(packed).String(text)) return false;
        const int flags = packed & kFlagsMask;
        const int indent = static_cast<int>(static_cast<uint32_t>(packed) >> kIndentShift);
        auto row = std::make_unique<CCoverArtItem>(m_list, *server, index, text.c_str(), id, indent, flags);
        if (row->GetFlags() == 0) {
            const int width = m_list->GetWidth() - 2 * m_list->GetBevel() - scrollBar - indent * m_list->GetFontSize();
            int lines = 0;
            const CZVString wrapped = dc.WrapTextCopy(text.c_str(), std::max(1, width), 0, &lines);
            if (lines > 1) {
                row->SetSpan(lines);
                row->SetText(wrapped);
            }
        }
        m_list->AddItem(std::move(row));
        return true;
    });
}

// ---- commands

int CAudioLibBrowseWnd::OnCommand(int id) {
    int entry = 0;
    std::string text;
    switch (id) {
    case kGoCommand:
        SelectedEntry(&entry, &text);
        Open(entry, text, 1);
        return 1;
    case kPlayCommand:
    case kAddCommand:
        SelectedEntry(&entry, &text);
        SendBrowse(m_node, entry, id == kPlayCommand ? kPlayAction : kAddAction, text);
        return 1;
    case kSearchCommand: OpenSearch(); return 1;
    case kSearchGoCommand: SearchGo(); return 1;
    case kUpCommand: return OnCommand(kFirstHeaderCommand + std::max(0, GetHeaderCount() - 2));
    default: break;
    }
    if (id >= kFirstHeaderCommand && id <= kLastHeaderCommand) {
        const int i = id - kFirstHeaderCommand;
        if (i >= GetHeaderCount()) return 1;
        m_node = m_headerIds[static_cast<size_t>(i)];
        SendBrowse(m_node, 0, kOpenAction, "");
        m_list->RemoveAll(0);
        ShowLoading(0);
        return 1;
    }
    return 0;
}

void CAudioLibBrowseWnd::Open(int entry, const std::string& text, int fromRight) {
    SendBrowse(m_node, entry, kOpenAction, text);
    m_node = entry;
    m_list->RemoveAll(0);
    ShowLoading(fromRight);
}

void CAudioLibBrowseWnd::ShowLoading(int fromRight) {
    if (!IsShown() || CMainWndBase::InputBlockedFor(this)) return;
    const int w = m_list->GetWidth(), h = m_list->GetHeight();
    CDibDC incoming(w, h, m_list->ToRootX(0), m_list->ToRootY(0), 1);
    incoming.SetThemedFills(true);
    m_list->Paint(&incoming, 1);
    incoming.SelectFont(kLoadingFontSize, 0, 1);
    incoming.SetColor(kLoadingColour);
    incoming.DrawText("Loading ...", CZVRect(0, 0, w, h), kTextCentre | kTextVCentre);
    m_list->SlideHorizontal(fromRight ? -w : w, kSlideMs, &incoming, 0, 0, 0, 0);
}

void CAudioLibBrowseWnd::OpenSearch() {
    auto* row = static_cast<CCoverArtItem*>(m_list->GetSelected());
    CMainWndBase* main = GetMainWnd();
    if (!row || !main) return;
    CZVRect band;
    m_list->GetItemRect(&band, row);
    const int top = m_list->ToRootY(band.y) - 10;
    const CZVRect rect(0, top, main->GetWidth(), band.h + 20);
    m_searchBox = new CAudioLibSearchBox(main, rect, this, row->GetEntryId(), Trimmed(row->GetText().GetAnsi()));
    main->ShowOverlay(m_searchBox, rect, rect.x + rect.w / 2, rect.y + rect.h, 1, 0);
    m_searchBox->GetEdit()->BeginEdit();
}

void CAudioLibBrowseWnd::SearchGo() {
    if (!m_searchBox) return;
    // Copied before the overlay closes: the box goes on the main window's next idle pass.
    const int entry = m_searchBox->GetEntryId();
    const std::string text = m_searchBox->GetSearchText();
    m_searchBox = nullptr;
    if (CMainWndBase* main = GetMainWnd()) main->CloseOverlay();
    Open(entry, text, 1);
}

#include "vistrel/media/messaging/messageviewer.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/dibdc.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/zvdc.h"
#include "platform/clock.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kStripHeight = 30;
constexpr int kGap = 4;
constexpr int kButtonWidth = 100;
constexpr int kButtonClass = 16;
constexpr int kStatusClass = 17;
constexpr int kStatusBevelType = 2;
enum PartType : int32_t { kTextPart = 1, kJpegPart = 3, kLastPartType = 5 };

}  // namespace

std::vector<std::string> BreakMessageLines(const std::string& text, int width,
                                           const std::function<int(const char*, int)>& measure) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const char* rest = text.c_str() + start;
        const int left = static_cast<int>(text.size() - start);
        int take = left;
        if (measure(rest, left) >= width) {
            take = 0;
            while (take + 1 < left && measure(rest, take + 1) < width) ++take;
            take = std::max(take, 1);
        }
        lines.emplace_back(rest, static_cast<size_t>(take));
        start += static_cast<size_t>(take);
    }
    return lines;
}

CMessageViewerCtl::CMessageViewerCtl(CZVWindow* parent, CZVRect rect, int fontSize, int32_t listId, int controlType,
                                     CZVServer& server)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      CSocketSink(server),
      m_listId(listId),
      m_hasBody(controlType == kBodyType),
      m_shownSince(platform::GetTickCount()) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetFontSize(fontSize);
    CZVRect area;
    GetClientRect(&area);
    CZVRect strip = area.CutBottom(kStripHeight, kGap);
    m_mark = Add3DButtonDefault(strip.CutRight(kButtonWidth + kGap, kGap), kMark, kButtonClass, "Mark As...");
    m_delete = Add3DButtonDefault(strip.CutRight(kButtonWidth + kGap, kGap), kDelete, kButtonClass, "Delete");
    m_checkNow = Add3DButtonDefault(strip.CutRight(kButtonWidth + kGap, kGap), kCheckNow, kButtonClass, "Check Now");
    m_status = AddLabelClass(strip, "", fontSize, kStatusClass);
    m_status->SetBevelType(kStatusBevelType);
    if (m_hasBody) m_viewRect = area.CutBottom(area.h / 2, kGap);
    m_list = new CMessageList(this, area, kRowTouched, kReloaded, listId, server);
    m_list->SetFontSize(fontSize);
    m_list->SetRowFontSize(fontSize);
    m_list->SetRowHeight(fontSize * 15 / 10);
    m_list->SetSelectedRowHeight(fontSize * 15 / 10);
    AddChild(m_list);
    server.RegisterSink(this);
    CZVMSG request(GetId(), ZVM_MESSAGES_OPENVIEWERQ);
    request.WriteInt(listId);
    server.Send(&request);
    UpdateButtons(0, 0);
    SetTimer(kTimerInterval);
}

CMessageViewerCtl::~CMessageViewerCtl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CMessageViewerCtl::UpdateButtons(int redraw, int keepPending) {
    const int row = m_list->GetSelectedIndex();
    m_delete->Enable(row >= 0, redraw);
    m_mark->Enable(row >= 0, redraw);
    CZVString caption("Mark As...");
    if (row >= 0 && m_list->GetState(row) == CMessageList::kUnread) {
        caption = "Mark As Read";
        if (!keepPending) m_pendingRead = m_list->GetKey(row);
    } else if (row >= 0) {
        caption = "Mark As Unread";
    }
    if (m_mark->GetText().Compare(caption) != 0) m_mark->SetText(caption, nullptr, redraw);
}

void CMessageViewerCtl::SendState(int row, int state) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_MESSAGES_SETSTATE);
    message.WriteInt(m_listId);
    message.WriteInt(row);
    message.WriteInt(state);
    server->Send(&message);
}

int CMessageViewerCtl::OnCommand(int id) {
    const int row = m_list->GetSelectedIndex();
    switch (id) {
    case kMark:
    case kDelete:
        if (row < 0) break;
        if (id == kDelete)
            SendState(row, kSetDeleted);
        else
            SendState(row, m_list->GetState(row) != CMessageList::kRead ? kSetRead : kSetUnread);
        m_pendingRead.reset();
        m_autoReadArmed = 0;
        break;
    case kCheckNow:
        if (CZVServer* server = GetServer()) {
            CZVMSG message(GetId(), ZVM_MESSAGES_CHECKNOW);
            message.WriteInt(m_listId);
            server->Send(&message);
        }
        break;
    case kRowTouched:
    case kReloaded: ShowSelection(id); break;
    default: break;
    }
    UpdateButtons(1, id == kReloaded);
    return id;
}

void CMessageViewerCtl::ShowSelection(int id) {
    m_shownSince = platform::GetTickCount();
    m_autoReadArmed = 1;
    if (!m_hasBody) return;
    if (m_body) {
        m_body->ResetScroll();
    } else {
        m_body = new CScrollPanel(this, m_viewRect);
        AddChild(m_body);
    }
    const int row = m_list->GetSelectedIndex();
    CZVServer* server = GetServer();
    if (row >= 0 && server) {
        CZVMSG request(GetId(), ZVM_MESSAGES_GETMESSAGEQ);
        request.WriteInt(m_listId);
        request.WriteInt(row);
        server->Send(&request);
    }
    if (id != kRowTouched || !m_pendingRead) return;
    // The message the user moved away from, wherever it is now; gone: nothing.
    const int pending = m_list->FindRow(*m_pendingRead);
    m_pendingRead.reset();
    if (pending >= 0 && pending != row) SendState(pending, kSetRead);
}

void CMessageViewerCtl::OnTimer() {
    if (!m_autoReadArmed || platform::TicksSince(m_shownSince) <= kAutoReadAfter) return;
    const int row = m_list->GetSelectedIndex();
    if (row < 0 || m_list->GetState(row) != CMessageList::kUnread) return;
    SendState(row, kSetRead);
    m_pendingRead.reset();
    m_shownSince = platform::GetTickCount();
}

void CMessageViewerCtl::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    if (message->GetId() == ZVM_MESSAGES_GETMESSAGEA)
        ReadBody(message);
    else if (message->GetId() == ZVM_MESSAGES_OPENVIEWERA)
        ReadTitle(message);
}

void CMessageViewerCtl::ReadTitle(CZVMSG* message) {
    int32_t id = 0;
    std::string title;
    if (!message->ReadInt(id) || id != m_listId || !message->ReadString(title)) return;
    m_status->SetText(CZVString(title.c_str()), nullptr, IsShown() && !CMainWndBase::InputBlockedFor(this));
}

void CMessageViewerCtl::ReadBody(CZVMSG* message) {
    if (!m_hasBody || !m_body) return;
    CZVRect client;
    m_body->GetClientRect(&client);
    const int f = GetFontSize();
    const int textLeft = client.x + f;
    const int textWidth = client.w - 2 * f;
    int y = client.y;
    int32_t parts = 0;
    if (!message->ReadInt(parts)) return;
    for (int32_t i = 0; i < parts; ++i) {
        int32_t type = 0;
        if (!message->ReadInt(type)) break;
        if (type == kTextPart) {
            AddTextLines(message, textLeft, textWidth, &y);
            continue;
        }
        if (type < kTextPart || type > kLastPartType) break;
        int32_t size = 0;
        if (!message->ReadInt(size) || size < 0 || size > message->GetRemaining()) break;
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        if (size > 0 && !message->ReadBytes(bytes.data(), size)) break;
        if (type == kJpegPart) AddPicture(bytes, textLeft, &y);
    }
    if (!CMainWndBase::InputBlockedFor(m_body)) m_body->Redraw(1);
}

void CMessageViewerCtl::AddTextLines(CZVMSG* message, int textLeft, int textWidth, int* y) {
    const int f = GetFontSize();
    int32_t count = 0;
    if (!message->ReadInt(count)) return;
    CZVDC dc(this);
    dc.SelectFont(f, 0, 1);
    const auto measure = [&dc](const char* text, int n) { return dc.GetTextExtent(text, n).cx; };
    // Each string takes at least its 4-byte length.
    ReadRecords(*message, count, 4, [&](int32_t) {
        std::string text;
        if (!message->ReadString(text)) return false;
        for (const std::string& line : BreakMessageLines(text, textWidth, measure)) {
            CZVLabel* label = new CZVLabel(m_body, CZVRect(textLeft, *y, textWidth, f), CZVString(line.c_str()),
                                           m_body->GetStyleClass());
            label->SetFontSize(f);
            label->SetTextFormat(0);
            m_body->AddChild(label);
            *y += f;
        }
        return true;
    });
}

void CMessageViewerCtl::AddPicture(const std::vector<uint8_t>& jpeg, int textLeft, int* y) {
    int width = 0;
    int height = 0;
    if (jpeg.empty() || !ReadJpegSize(jpeg.data(), jpeg.size(), &width, &height) || !WithinPictureLimits(width, height))
        return;
    auto* picture = new CDibWnd(m_body, CZVRect(textLeft, *y, width, height), m_body->GetStyleClass());
    CDibDC* surface = picture->GetSurface();
    if (!surface || !DecodeJpegWithProgress(jpeg.data(), jpeg.size(), surface->GetBits(), surface->GetWidth(),
                                            surface->GetHeight(), 0, 0, 1, nullptr)) {
        delete picture;
        return;
    }
    m_body->AddChild(picture);
    *y += height;
}

CZVWindow* MakeMessageViewer(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CMessageViewerCtl(args.parent, args.rect, args.fontSize, args.desc.id, args.desc.type, *server);
}

void RegisterMessageControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CMessageViewerCtl::kListType, MakeMessageViewer, kSkipCommon},
        {CMessageViewerCtl::kBodyType, MakeMessageViewer, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}

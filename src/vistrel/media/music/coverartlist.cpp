#include "vistrel/media/music/coverartlist.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "gfx/dibdc.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/speed.h"
#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kSkinsFlag = 0x40000;
constexpr int kAccentClass = 11;
constexpr COLORREF kPlayableColour = 0x00C800;
constexpr COLORREF kActionColour = 0xFF0000;
constexpr int kSpanFormat = 17;
constexpr int kTextInset = 5;
constexpr int kRowButtons = 4;

bool Skinned() { return (CSetServer::CurrentFlags() & kSkinsFlag) != 0; }

}  // namespace

// ---- CCoverArtItem

int CCoverArtItem::RowFlags(int flags) {
    flags &= 0xFF;
    if (flags & kEntrySearchable) return kEntrySearchable;
    if (flags & kEntryPlayable) flags |= kEntryCanAdd;
    return flags;
}

CCoverArtItem::CCoverArtItem(CCoverArtList* list, CZVServer& server, int index, const char* text, int entryId,
                             int indent, int flags)
    : CTextItem(index, text, static_cast<int>(std::char_traits<char>::length(text)), nullptr),
      CSocketSink(server),
      m_list(list),
      m_entryId(entryId),
      m_indent(std::max(0, indent)) {
    m_buttonMask = static_cast<uint8_t>(RowFlags(flags));
}

CCoverArtItem::~CCoverArtItem() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
}

void CCoverArtItem::RequestCover() {
    m_requestSent = 1;
    CZVServer* server = CSocketSink::GetServer();
    if (!server) return;
    server->RegisterSink(this);
    CAudioLibBrowseWnd* owner = m_list->GetOwner();
    CZVMSG message(GetId(), ZVM_AUDIO_GETCOVERARTQ);
    message.WriteInt(owner->GetSourceId());
    message.WriteInt(owner->GetCurrentNode());
    message.WriteInt(m_entryId);
    message.WriteInt(CAudioLibBrowseWnd::kCoverAction);
    server->Send(&message);
}

CDibDC* CCoverArtItem::GetImage(int side) {
    if (!m_image) {
        if (!m_requestSent) RequestCover();
        return nullptr;
    }
    if (side <= 0) return nullptr;
    if (!m_scaled || m_scaled->GetRequestedWidth() != side || m_scaled->GetHeight() != side)
        m_scaled.reset(m_image->Scale(side, side, 1));
    return m_scaled.get();
}

void CCoverArtItem::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_MESSAGES_GETNEWCOUNTA) return;
    message->ResetPosition();
    int32_t count = 0, width = 0, height = 0;
    if (CSocketSink::GetServer()) CSocketSink::GetServer()->UnregisterSink(this);
    if (!CMsgReader(*message).Int(count).Int(width).Int(height)) return;
    // The byte count must be what the message holds.
    if (count <= 0 || count > message->GetRemaining()) return;
    m_bytes.assign(message->GetUnread(), message->GetUnread() + count);
    m_imageWidth = width;
    m_imageHeight = height;
}

int CCoverArtItem::DecodePending() {
    if (m_bytes.empty()) return 0;
    const std::vector<uint8_t> bytes = std::move(m_bytes);
    m_bytes.clear();
    int width = 0, height = 0;
    // The picture's own header decides its size; an answer that declares another is refused.
    if (!ReadJpegSize(bytes.data(), bytes.size(), &width, &height) || width != m_imageWidth ||
        height != m_imageHeight || !WithinPictureLimits(width, height))
        return 1;
    auto image = std::make_unique<CDibDC>(width, height, 0, 0, 0);
    if (DecodeJpeg(bytes.data(), bytes.size(), image->GetBits(), width, height, 1)) m_image = std::move(image);
    return 1;
}

// ---- CCoverArtList

CCoverArtList::CCoverArtList(CAudioLibBrowseWnd* owner, CZVRect rect)
    : CTextList(owner, rect, CAudioLibBrowseWnd::kListCommand), m_owner(owner) {
    m_rowButtonWidth = kButtonWidth;
    SetSelectedRowHeight(kCoverRowHeight);
    const double t = Skinned() ? 0.75 : 0.25;
    const COLORREF accent = CSetServer::CurrentStyleColor(kAccentClass, 0);
    m_rowColours = {m_backColor, MixColors(accent, kPlayableColour, t), MixColors(accent, kActionColour, t),
                    m_selectedFillColour};
}

int CCoverArtList::RowKind(int flags) {
    if (flags == 0) return kPlainRow;
    return (flags & kEntryPlayable) ? kPlayableRow : kActionRow;
}

int CCoverArtList::GetItemHeight(int, CListItem* row) {
    const auto* item = static_cast<CCoverArtItem*>(row);
    if (item->GetFlags() & kEntryCoverRow) return kCoverRowHeight;
    if (IsSelected(row)) return GetSelectedRowHeight();
    return item->GetSpan() > 1 ? item->GetSpan() * GetRowHeight() : GetRowHeight();
}

int CCoverArtList::IsSelectable(CListItem* row) { return static_cast<CCoverArtItem*>(row)->GetFlags() != 0; }

int CCoverArtList::GetReservedWidth(CListItem* row) {
    const auto* item = static_cast<CCoverArtItem*>(row);
    return item && item->GetDecoded() ? GetItemHeight(0, row) : 0;
}

int CCoverArtList::ShownButtons(const CCoverArtItem* row) const {
    int shown = 0;
    for (int i = 0; i < kRowButtons; ++i) shown += (row->GetFlags() >> i) & 1;
    return shown;
}

void CCoverArtList::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    // Rows paint their own backgrounds; the list's shows below the last one.
    int end = 0;
    if (GetCount() > 0) {
        CZVRect last;
        GetItemRectAt(&last, GetCount() - 1);
        end = last.y + last.h;
    }
    CTextList::DrawRowBackground(dc, std::max(top, end), std::max(bottom, end), fadeLevel);
}

void CCoverArtList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    auto* item = static_cast<CCoverArtItem*>(row);
    const int bevel = GetBevel();
    const int inner = m_width - 2 * bevel;
    const int kind = RowKind(item->GetFlags());
    const COLORREF colour = m_rowColours[static_cast<size_t>(kind)];
    if (!ListSkinsOn() || !FillSkinPiece(dc, colour, bevel, top, inner, bottom - top))
        dc->FillRect(colour, bevel, top, inner, bottom - top, 0);
    const bool selected = IsSelected(row);
    const int fontSize = GetFontSize();
    const int x = bevel + item->GetIndent() * fontSize;
    const int imageWidth = GetReservedWidth(row);
    dc->SetColor(m_rowTextColour);
    if (selected) {
        const COLORREF line = kind == kPlayableRow ? kPlayableColour
                              : kind == kActionRow ? kActionColour
                                                   : m_rowColours[kPlainRow];
        dc->Line(ListSkinsOn() ? colour : line, bevel, top, m_width - bevel, top);
        dc->Line(ListSkinsOn() ? colour : line, bevel, bottom - 1, m_width - bevel, bottom - 1);
        dc->SetColor(m_rowTextColour);
        const int width = inner - item->GetIndent() * fontSize - ShownButtons(item) * kButtonWidth - imageWidth;
        int lines = 0;
        const CZVString wrapped = dc->WrapTextCopy(item->GetText(), std::max(1, width - kTextInset), 0, &lines);
        dc->DrawText(wrapped, CZVRect(x + kTextInset, top, std::max(1, width - kTextInset), bottom - top), kSpanFormat);
        if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
    } else if (item->GetSpan() > 1) {
        dc->DrawText(item->GetText(), CZVRect(x + kTextInset, top, inner - (x - bevel) - kTextInset, bottom - top),
                     kSpanFormat);
    } else {
        dc->TextOutString(item->GetText(), x + kTextInset, (GetTextOffset() + top + bottom) / 2);
    }
    if (!(item->GetFlags() & kEntryCoverRow)) return;
    const int side = bottom - top - 2;
    if (CDibDC* image = item->GetImage(side))
        dc->BitBlt(m_width + 1 - bevel - (bottom - top), top + 1, image, 0, 0, side, side);
}

int CCoverArtList::OnIdle(int busy) {
    if (!IsDragging() && GetFlickVelocity() == 0 && GetCount() > 0) {
        int decoded = 0;
        const int last = std::min(GetLastVisibleItem(), GetCount() - 1);
        for (int i = std::max(0, GetFirstVisibleItem()); i <= last; ++i) decoded |= GetCoverItem(i)->DecodePending();
        if (decoded && IsShown() && !CMainWndBase::InputBlockedFor(this)) {
            Redraw(1);
            busy = 1;
        }
    }
    return CTextList::OnIdle(busy);
}

void CCoverArtList::OnKeyUp(int key, int flags) {
    auto* selected = static_cast<CCoverArtItem*>(GetSelected());
    if (selected && (selected->GetFlags() & kEntryPlayable) && (key == 'P' || key == 'A')) {
        m_owner->OnCommand(key == 'P' ? CAudioLibBrowseWnd::kPlayCommand : CAudioLibBrowseWnd::kAddCommand);
        return;
    }
    CTextList::OnKeyUp(key, flags);
}

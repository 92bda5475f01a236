#include "vistrel/media/titles/titleslist.h"

#include <cstdint>
#include <vector>

#include "core/messages/mediamessages.h"
#include "gfx/speed.h"
#include "vistrel/media/audio/titlerequests.h"
#include "vistrel/media/titles/titleanswers.h"

namespace {

constexpr int kIconLayout = 0;
constexpr double kHalf = 0.5;

void* DataOf(int32_t title) { return reinterpret_cast<void*>(static_cast<intptr_t>(title)); }

}  // namespace

CTitlesList::CTitlesList(CZVWindow* parent, CZVRect rect, CZVServer& server, int object, int fontSize)
    : CTextList(parent, rect, -1), CSocketSink(server), m_object(object) {
    const COLORREF face = parent ? parent->GetFaceColor() : m_backColor;
    m_backColor = face;
    SetRowColours(face, MixColors(face, kSelectionTint, kHalf), 0);
    m_rowTextColour = 0;
    if (fontSize >= 1) {
        SetFontSize(fontSize);
        SetRowFontSize(fontSize);
        SetRowHeight(fontSize * 11 / 10);
        SetSelectedRowHeight(2 * fontSize);
    }
    AddRowButtonIcon(kPlayIcon, kIconLayout, "Play", kPlayCommand, 0, nullptr, 0, 1);
    server.RegisterSink(this);
    SendSubscribeTitles(*this, m_object);
    SendGetTitles(*this, m_object, 0);
    SendGetTitleList(*this, m_object);
}

CTitlesList::~CTitlesList() {
    SendUnsubscribeTitles(*this, m_object);
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int32_t CTitlesList::TitleOf(const CListItem* row) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(row->m_data));
}

void CTitlesList::SetGroup(int group) {
    m_group = group;
    SendGetTitles(*this, m_object, group);
    SendGetTitleList(*this, m_object);
}

int CTitlesList::OnCommand(int id) {
    CListItem* row = GetSelected();
    if (id == kPlayCommand && row) SendTitlesCommand(*this, m_object, m_group, TitleOf(row));
    return 1;
}

void CTitlesList::OnMessage(CZVMSG* message) {
    const uint16_t id = message->GetId();
    if (id != ZVM_MEDIA_GETTITLESA && id != ZVM_MEDIA_GETTITLELISTA) return;
    message->ResetPosition();
    if (!ReadOwnObject(*message, m_object)) return;
    if (id == ZVM_MEDIA_GETTITLESA)
        ShowTitles(message);
    else
        ShowState(message);
    message->ResetPosition();
}

void CTitlesList::ShowTitles(CZVMSG* message) {
    std::vector<CTitleEntry> titles;
    ReadTitleEntries(*message, &titles);
    RemoveAll(0);
    for (const CTitleEntry& title : titles) AddString(CZVString(title.name.c_str()), DataOf(title.id));
    MarkCurrentRow();
    RepaintWhenFree(this);
}

void CTitlesList::ShowState(CZVMSG* message) {
    CTitleState read;
    if (!ReadTitleState(*message, m_group, &read) || !read.hasGroup) return;
    m_state = read.state;
    const bool changed = read.current != m_currentTitle;
    m_currentTitle = read.current;
    MarkCurrentRow();
    if (changed)
        for (int i = 0; i < GetCount(); ++i)
            if (TitleOf(GetItemAt(i)) == m_currentTitle) ScrollToItem(i, 0);
    RepaintWhenFree(this);
}

void CTitlesList::MarkCurrentRow() {
    for (int i = 0; i < GetCount(); ++i) {
        CListItem* row = GetItemAt(i);
        row->m_showsRowButtons = TitleOf(row) == m_currentTitle ? 0 : 1;
    }
}

void CTitlesList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    if (TitleOf(row) != m_currentTitle) {
        CTextList::DrawRow(dc, row, top, bottom);
        return;
    }
    // Drawn as a selected row in the state's colour, mixed with the selection
    // when it is also the selected row.
    const COLORREF colour = TitleStateColour(m_state, m_backColor);
    if (!IsSelected(row)) {
        const int bevel = GetBevel();
        if (colour != m_backColor) dc->FillRect(colour, bevel, top, m_width - 2 * bevel, bottom - top, 0);
        CTextList::DrawRow(dc, row, top, bottom);
        return;
    }
    const COLORREF selectedFill = m_selectedFillColour;
    m_selectedFillColour = MixColors(colour, selectedFill, kHalf);
    CTextList::DrawRow(dc, row, top, bottom);
    m_selectedFillColour = selectedFill;
}

#include "vistrel/media/music/playlistlist.h"

#include <cstdio>

#include "core/msgreader.h"
#include "gfx/speed.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/lists/textlist.h"
#include "widgets/style/setserver.h"

namespace {

constexpr COLORREF kPausedColour = 0x00FFFF;
constexpr COLORREF kWorkingColour = 0x3232FF;
constexpr int kEntryOffline = 1;
constexpr int kEntryBadFormat = 2;
// The smallest queue entry: three empty strings and three integers.
constexpr int32_t kMinQueueEntry = 24;

COLORREF HighlightColour() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetSelectionColor() : kHighlightColor;
}

}  // namespace

std::string MinutesSeconds(int seconds) {
    char text[24];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::string QueueLengthText(int seconds, int entryState) {
    if (entryState == kEntryOffline) return "OFFLINE";
    if (entryState == kEntryBadFormat) return "BAD FORMAT";
    return entryState == 0 && seconds > 0 ? MinutesSeconds(seconds) : "-";
}

CPlaylistList::CPlaylistList(CZVWindow* parent, CPlayQueueOwner* owner, CZVRect rect, int commandId)
    : CColumnListWnd(parent, rect, kColumns, commandId), m_owner(owner) {}

int CPlaylistList::GetBarWidth() { return (m_width - 2 * GetBevel()) / 4 * 4; }

// ---- reading

void CPlaylistList::SetQueue(CZVMSG* message, int redraw) {
    const int selected = GetSelectedIndex();
    const int scroll = GetScrollPos();
    const bool wasEmpty = GetCount() == 0;
    RemoveAll(0);
    m_lengths.clear();
    int32_t count = 0;
    if (CMsgReader(*message).Int(count)) {
        bool cut = false;
        count = BoundCount(count, *message, kMinQueueEntry, &cut);
        for (int32_t i = 0; i < count; ++i) {
            std::string texts[3];
            int32_t unused = 0, seconds = 0, entryState = 0;
            if (!CMsgReader(*message).String(texts[0]).String(texts[1]).Int(unused).String(texts[2]).Int(seconds).Int(
                    entryState))
                break;
            CColumnListItem* row = AddRow();
            for (int c = 0; c < 3; ++c) row->SetText(c, texts[c].c_str());
            m_lengths.push_back(QueueLengthText(seconds, entryState));
            row->SetText(3, m_lengths.back().c_str());
        }
    }
    ShowPlayedTime();
    CZVDC dc(this);
    UpdateScrollBar(&dc, 0);
    if (auto* bar = dynamic_cast<CZVScrollBar*>(GetScrollBar())) {
        bar->SetPosition(scroll, redraw);
        SetScrollPos(bar->GetPosition());
    }
    if (wasEmpty && HasRow(m_current)) ScrollToItem(m_current, 0);
    SelectIndex(selected < 0 ? 0 : selected, redraw && m_shown);
    m_nowPlayingPending = 1;
    if (redraw) Redraw(1);
}

void CPlaylistList::SetStatus(CZVMSG* message, int redraw, int flag) {
    const int oldState = m_state;
    const int oldProgress = m_progress;
    const int oldCurrent = m_current;
    int32_t state = 0, index = 0, progress = 0;
    CMsgReader reader(*message);
    if (!reader.Int(state)) return;
    m_state = state;
    m_flag = flag;
    if (!reader.Int(index)) return;
    m_current = index;
    if (!reader.Int(progress)) return;
    m_progress = m_state == kPlayStatePlaying ? progress : 0;
    // What follows these fields belongs to no later reader.
    message->SkipRest();
    ShowPlayedTime();
    if (m_owner) m_owner->OnPlayState(m_state, redraw);
    if (m_current != oldCurrent && HasRow(m_current)) {
        ScrollToItem(m_current, 0);
        SelectIndex(m_current, 0);
        if (m_owner) m_owner->RequestAlbumArt();
        if (m_state != 4001) UpdateNowPlaying(redraw);
    }
    if (m_nowPlayingPending) {
        m_nowPlayingPending = 0;
        UpdateNowPlaying(redraw);
    }
    if (redraw && GetCount() > 0 && (m_state != oldState || m_progress != oldProgress)) Redraw(1);
}

void CPlaylistList::ShowPlayedTime() {
    for (int i = 0; i < GetCount(); ++i) {
        const bool played = i == m_current && m_progress < 0;
        const std::string& text = played ? MinutesSeconds(-m_progress) : m_lengths[static_cast<size_t>(i)];
        if (GetRow(i)->GetText(3).GetAnsi() == text) continue;
        GetRow(i)->SetText(3, text.c_str());
        GetRow(i)->MarkChanged();
    }
}

// ---- stepping

void CPlaylistList::Previous() { Step(-1); }

void CPlaylistList::Next() { Step(1); }

void CPlaylistList::Step(int delta) {
    // An empty queue has no current row to move.
    if (GetCount() == 0) return;
    m_current = std::clamp(m_current + delta, 0, GetCount() - 1);
    m_state = kPlayStateWorking;
    m_progress = 0;
    ShowPlayedTime();
    SelectIndex(m_current, 0);
    ScrollToItem(m_current, 0);
    UpdateNowPlaying(1);
    Redraw(1);
}

void CPlaylistList::UpdateNowPlaying(int redraw) {
    if (m_state != kPlayStatePlaying) {
        m_nowPlayingPending = 1;
        return;
    }
    if (!HasRow(m_current) || !m_owner) return;
    m_nowPlayingPending = 0;
    CColumnListItem* row = GetRow(m_current);
    m_owner->SetNowPlaying(row->GetText(0).GetAnsi(), row->GetText(1).GetAnsi(), row->GetText(2).GetAnsi(), redraw);
}

// ---- drawing

COLORREF CPlaylistList::StateColour() const {
    switch (m_state) {
    case kPlayStatePaused: return kPausedColour;
    case 4001:
    case 4003: return ScaleColor(0.75, m_backColor);
    case kPlayStateWorking: return kWorkingColour;
    default: return 0;
    }
}

void CPlaylistList::FillRowBand(CZVDC* dc, COLORREF colour, int x, int top, int w, int h, bool lines) {
    if (!ListSkinsOn()) {
        dc->FillGlassRect(colour, CZVRect(x, top, w, h), 1.0f);
        return;
    }
    FillSkinPiece(dc, colour, x, top, w, h);
    if (!lines) return;
    dc->Line(colour, x, top, x + w - 1, top);
    dc->Line(colour, x, top + h - 1, x + w - 1, top + h - 1);
}

void CPlaylistList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    const int bevel = GetBevel();
    const int width = GetBarWidth();
    const int height = bottom - top;
    const bool selected = IsSelected(row);
    const COLORREF selection = ListSkinsOn() ? HighlightColour() : ScaleColor(0.75, m_backColor);
    if (row->m_index == m_current && m_state == kPlayStatePlaying) {
        COLORREF base = m_flag ? kPlayingBaseFlagged : kPlayingBase;
        COLORREF bar = kPlayingBar;
        if (selected) {
            base = MixColors(selection, base, 0.75);
            bar = MixColors(selection, kPlayingBar, 0.75);
        }
        FillRowBand(dc, base, bevel, top, width, height, true);
        const int filled = width * m_progress / 100;
        if (filled > 0) FillRowBand(dc, bar, bevel, top, filled, height, true);
    } else if (row->m_index == m_current) {
        COLORREF colour = StateColour();
        if (selected) colour = MixColors(selection, colour, 0.75);
        if (ListSkinsOn()) colour = MixColors(colour, HighlightColour(), 0.5);
        FillRowBand(dc, colour, bevel, top, width, height, false);
    } else if (selected) {
        FillRowBand(dc, selection, bevel, top, width, height, false);
    }
    CColumnListWnd::DrawRow(dc, row, top, bottom);
}

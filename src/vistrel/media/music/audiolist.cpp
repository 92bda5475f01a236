#include "vistrel/media/music/audiolist.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/speed.h"
#include "platform/clock.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/lists/columnlist.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr char kSearching[] = "Searching...";
constexpr char kNoItems[] = "No Items";
constexpr char kEllipsis[] = "...";
constexpr int kEmptyTextFontSize = 24;
constexpr int kScrollBarWidth = 32;
constexpr int kRowHeight = 22;
constexpr int kSelectedRowHeight = 44;
constexpr COLORREF kSelectionColour = 0xAAAAAA;
constexpr int kProgressMaxWidth = 300;
constexpr int kProgressMaxHeight = 20;
// The list's style colour (13, 0) brightened and mixed towards blue.
constexpr int kTintStyleClass = 13;
// The text's baseline below the row's middle, in font sizes.
constexpr double kBaseLineFactor = 0.6;

COLORREF StyleColour(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

// Text and answer of a row's request: {kind, a, b, row, source}.
std::unique_ptr<CZVMSG> RowRequest(uint16_t sink, std::initializer_list<int32_t> values) {
    auto message = std::make_unique<CZVMSG>(sink, ZVM_AUDIO_GETITEMTEXTQ);
    for (int32_t value : values) message->WriteInt(value);
    return message;
}

// Up to `columns` parts of the text, split at TABs from the left; text past
// the last expected TAB stays in the last column, and missing TABs leave the
// later columns empty.
std::array<std::string, CLBAudioItem::kMaxColumns> SplitColumns(const std::string& text, int columns) {
    std::array<std::string, CLBAudioItem::kMaxColumns> parts;
    size_t start = 0;
    for (int c = 0; c < columns; ++c) {
        const size_t tab = c + 1 < columns ? text.find('\t', start) : std::string::npos;
        parts[static_cast<size_t>(c)] = text.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return parts;
}

// A column's text fitted to its width. Three characters or fewer stay whole;
// otherwise the dots replace at least three characters, so the shortened
// text never runs past the column's own characters.
std::string FitColumn(const std::string& text, CZVDC* dc, int width) {
    if (text.size() <= 3 || dc->GetTextSize(text.c_str()).cx < width) return text;
    const int dots = dc->GetTextSize(kEllipsis).cx;
    size_t keep = text.size() - 3;
    while (keep > 0 && dc->GetTextExtent(text.c_str(), static_cast<int>(keep)).cx > width - dots) --keep;
    return text.substr(0, keep) + kEllipsis;
}

}  // namespace

// ---- CLBAudioItem

CLBAudioItem::CLBAudioItem(CAudioLibListBase* owner, int kind, int valueA, int valueB, int index, char letter)
    : CTextItem(index, nullptr, 0, nullptr),
      CSocketSink(*owner->GetListServer()),
      m_owner(owner),
      m_kind(kind),
      m_valueA(valueA),
      m_valueB(valueB) {
    if (letter) {
        char text[8];
        std::snprintf(text, sizeof text, "%c...", letter);
        m_placeholder = text;
    } else {
        m_placeholder = kSearching;
    }
    CTextItem::SetText(m_placeholder.c_str());
}

CLBAudioItem::~CLBAudioItem() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
}

std::string CLBAudioItem::GetColumnText(int column) {
    if (column < 0 || column >= CLBAudioItem::kMaxColumns) return {};
    if (m_loaded) return m_columns[static_cast<size_t>(column)];
    if (!m_pending) RequestText();
    return column == 0 ? m_placeholder : std::string();
}

std::string CLBAudioItem::GetFittedText(CZVDC* dc, int width) {
    if (!m_loaded) return GetColumnText(0);
    if (!m_fitted) {
        const std::string& text = m_columns[0];
        m_fitted =
            dc->GetTextSize(text.c_str()).cx < width
                ? text
                : std::string(FitTextWithEllipsis(text.c_str(), dc, width, dc->GetTextSize(kEllipsis).cx).GetAnsi());
    }
    return *m_fitted;
}

std::string CLBAudioItem::GetFullText() const { return m_fullFirst.empty() ? m_columns[0] : m_fullFirst; }

void CLBAudioItem::RequestText() {
    CZVServer* server = CSocketSink::GetServer();
    if (!server) return;
    if (!m_pending) {
        // A fresh id for every request, so that rows of lists rebuilt often
        // never hold the ids of live sinks.
        RenewId();
        server->RegisterSink(this);
    }
    m_pending = 1;
    m_reask = 0;
    m_owner->SendRowRequest(
        this, RowRequest(CSocketSink::GetId(), {m_kind, m_valueA, m_valueB, m_index, m_owner->GetSourceId()}));
}

void CLBAudioItem::DropRequest() {
    m_pending = 0;
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
}

void CLBAudioItem::SetRowText(const std::string& text) {
    m_columns[0] = text;
    m_fullFirst.clear();
    m_fitted.reset();
    CTextItem::SetText(text.c_str());
}

void CLBAudioItem::FillText(const std::string& text) {
    m_loaded = 1;
    TakeText(text);
}

void CLBAudioItem::TakeText(const std::string& text) {
    const int columns = m_owner->GetColumnCount();
    m_columns = SplitColumns(text, columns);
    m_fullFirst.clear();
    m_fitted.reset();
    if (columns >= 2) {
        CZVDC dc(m_owner);
        dc.SetFont(m_owner->GetFontSize(), 0, 1);
        for (int c = 0; c + 1 < columns; ++c) {
            std::string& column = m_columns[static_cast<size_t>(c)];
            std::string fitted = FitColumn(column, &dc, m_owner->GetColumnX(c + 1) - m_owner->GetColumnX(c));
            if (c == 0 && fitted != column) m_fullFirst = column;
            column = std::move(fitted);
        }
    }
    CTextItem::SetText(m_columns[0].c_str());
}

void CLBAudioItem::OnMessage(CZVMSG* message) {
    const uint16_t id = message->GetId();
    if (id != ZVM_AUDIO_GETITEMTEXTA && id != ZVM_AUDIO_ITEMTEXT) return;
    message->ResetPosition();
    CMsgReader reader(*message);
    std::array<int32_t, 3> ids = m_ids;
    if (id == ZVM_AUDIO_GETITEMTEXTA) reader.Int(ids[0]).Int(ids[1]).Int(ids[2]);
    std::string text;
    if (!reader.String(text)) return;
    m_ids = ids;
    m_loaded = 1;
    DropRequest();
    TakeText(text);
    m_owner->OnItemLoaded(this);
}

void CLBAudioItem::OnConnect(int connected) {
    if (!connected) {
        m_reask = 1;
        return;
    }
    if (!m_loaded && m_pending && m_reask) RequestText();
}

// ---- CAudioLibListBase

CAudioLibListBase::CAudioLibListBase(CZVWindow* parent, CZVRect rect, int commandId, int settledCommand,
                                     CZVServer& server, CMusicSource* source)
    : CTextList(parent, rect, commandId),
      CSocketSink(server),
      m_source(source),
      m_settledCommand(settledCommand),
      m_tint(MixColors(ScaleColor(1.5, StyleColour(kTintStyleClass, 0)), 0xFF0000, 0.3)) {
    m_scrollBarWidth = kScrollBarWidth;
    SetRowHeight(kRowHeight);
    SetSelectedRowHeight(kSelectedRowHeight);
    m_selectedFillColour = kSelectionColour;
    m_repaintBatch.reserve(kRepaintBatch);
    UpdateEmptyText();
    server.RegisterSink(this);
}

CAudioLibListBase::~CAudioLibListBase() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
    // The rows go with the list; what refers to them goes first.
    m_flashes.clear();
    DropQueue();
}

int CAudioLibListBase::GetSourceId() { return m_source ? m_source->GetSelectedAudioItem() : 0; }

int CAudioLibListBase::GetSourceFeatures() { return m_source ? m_source->GetSourceFeatures() : 0; }

int CAudioLibListBase::IsInputBlocked() {
    // A list inside the open pop-up is not blocked by it.
    return CMainWndBase::InputBlockedFor(this);
}

// ---- columns

void CAudioLibListBase::SetColumnCount(int count) {
    count = std::clamp(count, 1, CLBAudioItem::kMaxColumns);
    m_columnStarts.assign(static_cast<size_t>(count - 1), m_width);
}

void CAudioLibListBase::SetColumnStart(int column, int x) {
    if (column >= 1 && column < GetColumnCount()) m_columnStarts[static_cast<size_t>(column - 1)] = x;
}

int CAudioLibListBase::GetColumnX(int column) {
    if (column <= 0) return kTextInset;
    if (column < GetColumnCount()) return m_columnStarts[static_cast<size_t>(column - 1)];
    return m_width;
}

// ---- row requests

void CAudioLibListBase::SendNow(std::unique_ptr<CZVMSG> message) {
    if (CZVServer* server = GetListServer()) server->Send(message.get());
    ++m_outstanding;
}

void CAudioLibListBase::SendRowRequest(CLBAudioItem* row, std::unique_ptr<CZVMSG> message) {
    if (m_outstanding >= kMaxInFlight) {
        m_queue.push_back({std::move(message), row});
        return;
    }
    SendNow(std::move(message));
}

void CAudioLibListBase::DropQueue() {
    m_repaintBatch.clear();
    for (QueuedRequest& queued : m_queue) queued.row->DropRequest();
    m_queue.clear();
}

void CAudioLibListBase::OnItemLoaded(CLBAudioItem* row) {
    m_outstanding = std::max(m_outstanding - 1, 0);
    m_repaintBatch.push_back(row->m_index);
    if (static_cast<int>(m_repaintBatch.size()) >= kRepaintBatch || m_outstanding == 0) FlushRepaintBatch();
    if (!m_queue.empty()) {
        std::unique_ptr<CZVMSG> next = std::move(m_queue.front().message);
        m_queue.pop_front();
        SendNow(std::move(next));
    }
    if (m_outstanding == 0) SendSettledCommand();
}

void CAudioLibListBase::FlushRepaintBatch() {
    std::vector<int> batch;
    batch.swap(m_repaintBatch);
    m_repaintBatch.reserve(kRepaintBatch);
    for (size_t i = 0; i < batch.size();) {
        size_t end = i + 1;
        while (end < batch.size() && batch[end] == batch[end - 1] + 1) ++end;
        RedrawRows(batch[i], batch[end - 1]);
        i = end;
    }
}

void CAudioLibListBase::SendSettledCommand() {
    if (m_parent) m_parent->OnCommand(m_settledCommand);
}

void CAudioLibListBase::RedrawRows(int first, int last) {
    if (IsInputBlocked()) {
        SetDeferredRepaint(1);
        return;
    }
    if (!m_shown || GetCount() == 0) return;
    first = std::max(first, GetFirstVisibleItem());
    last = std::min(last, GetLastVisibleItem());
    if (first > last) return;
    CZVRect top;
    CZVRect bottom;
    GetItemRectAt(&top, first);
    GetItemRectAt(&bottom, last);
    RedrawRange(top.y, bottom.y + bottom.h);
}

// ---- scrolling, emptying, reloading

void CAudioLibListBase::OnScroll(CZVDC* dc, int position) {
    if (std::abs(position - GetScrollPos()) >= m_height - GetRowHeight() - GetBevel()) DropQueue();
    CTextList::OnScroll(dc, position);
}

void CAudioLibListBase::RemoveAll(int redraw) {
    m_flashes.clear();
    DropQueue();
    CTextList::RemoveAll(redraw);
    m_outstanding = 0;
}

void CAudioLibListBase::Reload() {
    RenewId();
    m_noItems = 0;
    UpdateEmptyText();
    RemoveAll(GetSourceFeatures() & kSourceRedrawOnReload);
}

void CAudioLibListBase::OnBrowseAnswer(CZVMSG*) {
    if (m_progress) {
        RemoveChild(m_progress);
        delete m_progress;
        m_progress = nullptr;
    }
    RemoveAll(0);
    m_noItems = 1;
    UpdateEmptyText();
}

void CAudioLibListBase::ShowNoItems() {
    m_noItems = 1;
    UpdateEmptyText();
}

void CAudioLibListBase::UpdateEmptyText() { SetEmptyText(m_noItems ? kNoItems : kSearching, kEmptyTextFontSize); }

// ---- browse answers into rows

void CAudioLibListBase::MakeRows(int kind, int valueA, int valueB, int count) {
    count = std::clamp(count, 0, kMaxRows);
    for (int i = 0; i < count; ++i)
        AddItem(std::make_unique<CLBAudioItem>(this, kind, valueA, valueB, i, static_cast<char>(0)));
}

void CAudioLibListBase::MakeLetterRows(int kind, const std::array<int32_t, kLetterBuckets>& counts) {
    int index = 0;
    for (int bucket = 0; bucket < kLetterBuckets; ++bucket) {
        const char letter = bucket == 0 ? '-' : static_cast<char>('A' + bucket - 1);
        const int rows = std::clamp(counts[static_cast<size_t>(bucket)], 0, kMaxRows - index);
        for (int j = 0; j < rows; ++j, ++index)
            AddItem(std::make_unique<CLBAudioItem>(this, kind, 0, 0, index, letter));
    }
}

void CAudioLibListBase::SendBrowse(int kind, int valueA, int valueB) {
    CZVMSG message(CSocketSink::GetId(), ZVM_AUDIO_BROWSEQ);
    for (int32_t value : {kind, valueA, valueB, GetSourceId()}) message.WriteInt(value);
    if (CZVServer* server = GetListServer()) server->Send(&message);
}

void CAudioLibListBase::RepaintIfShown(bool evenWhenBlocked) {
    if (!m_shown || (!evenWhenBlocked && IsInputBlocked())) return;
    Redraw(1);
}

void CAudioLibListBase::SelectFirst() { Select(GetItemAt(0), 0); }

// ---- gateway

void CAudioLibListBase::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    if (message->GetId() == ZVM_AUDIO_BROWSEA) {
        OnBrowseAnswer(message);
        return;
    }
    if (message->GetId() != ZVM_AUDIO_STARTUPDATES) return;
    int32_t level = 0;
    std::string text;
    if (CMsgReader(*message).Int(level).String(text)) ShowProgress(level, text);
}

void CAudioLibListBase::ShowProgress(int level, const std::string& text) {
    if (!m_progress) {
        const int bevel = GetBevel();
        const int d = std::min(kProgressMaxWidth, m_width - 4 * bevel);
        const int h = std::min(kProgressMaxHeight, m_height - 4 * bevel);
        if (d < 0 || h < 0) return;
        m_progress = new CZVLevelBar(this, CZVRect(m_width / 2 - d / 2, m_height * 3 / 4, d + 1, h + 1), 0, 0);
        m_progress->SetColors(ScaleColor(0.9, m_backColor), m_progress->GetBackColor());
        m_progress->SetFillColor(ScaleColor(0.6, m_backColor));
        AddChild(m_progress);
    }
    m_progress->SetText(text.c_str(), nullptr, 0);
    m_progress->SetLevel(level, m_shown);
}

void CAudioLibListBase::OnConnect(int connected) {
    if (!connected) {
        m_queue.clear();
        m_outstanding = 0;
        m_repaintBatch.clear();
        return;
    }
    if (!m_answered) Reload();
}

// ---- the row flash

int CAudioLibListBase::IsRowButtonCommand(int id) const {
    for (int i = 0; i < GetRowButtonCount(); ++i)
        if (GetRowButton(i)->GetCommandId() == id) return 1;
    return 0;
}

int CAudioLibListBase::OnCommand(int id) {
    if (m_flashOnRowButtons && IsRowButtonCommand(id)) FlashRow(GetSelected());
    return CTextList::OnCommand(id);
}

void CAudioLibListBase::FlashRow(CListItem* row) {
    if (!row) return;
    const uint32_t now = platform::GetTickCount();
    for (Flash& flash : m_flashes)
        if (flash.row == row) {
            flash.start = now;
            return;
        }
    m_flashes.push_back({row, now});
    SetTimer(kFlashTimerMs);
}

std::optional<COLORREF> CAudioLibListBase::FlashColourOf(const CListItem* row) {
    for (const Flash& flash : m_flashes) {
        if (flash.row != row) continue;
        const uint32_t elapsed = platform::TicksSince(flash.start);
        if (elapsed >= kFlashMs) return std::nullopt;
        const COLORREF base = IsSelected(const_cast<CListItem*>(row)) ? m_selectedFillColour : m_backColor;
        return MixColors(kFlashColour, base, elapsed * 0.001);
    }
    return std::nullopt;
}

void CAudioLibListBase::StepFlashes() {
    const int first = GetFirstVisibleItem();
    const int last = GetLastVisibleItem();
    for (size_t i = 0; i < m_flashes.size();) {
        CListItem* row = m_flashes[i].row;
        const bool done = platform::TicksSince(m_flashes[i].start) >= kFlashMs;
        if (done)
            m_flashes.erase(m_flashes.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
        if (row->m_index < first || row->m_index > last) continue;
        CZVRect r;
        GetItemRect(&r, row);
        RedrawRange(r.y, r.y + r.h);
    }
}

void CAudioLibListBase::OnTimer() {
    // The timer also repeats a held row button.
    if (GetHeldButton()) CTextList::OnTimer();
    StepFlashes();
    if (m_flashes.empty() && !GetHeldButton())
        KillTimer();
    else
        SetTimer(kFlashTimerMs);
}

// ---- drawing

void CAudioLibListBase::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    CTextList::DrawRowBackground(dc, top, bottom, fadeLevel);
    if (GetColumnCount() < 2) return;
    const int bevel = GetBevel();
    dc->PushClipBounds(bevel, bevel, m_width - bevel, m_height - bevel);
    for (int c = 1; c < GetColumnCount(); ++c) {
        const int x = GetColumnX(c);
        dc->Line(ScaleColor(0.6, m_backColor), x - 2, top, x - 2, bottom);
        dc->Line(ScaleColor(0.8, m_backColor), x - 1, top, x - 1, bottom);
    }
    dc->PopClip();
}

void CAudioLibListBase::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    const std::optional<COLORREF> flash = FlashColourOf(row);
    DrawItemEx(dc, row, top, bottom, flash ? &*flash : nullptr);
}

int CAudioLibListBase::BaseLine(int top, int bottom) const {
    return (top + bottom) / 2 + static_cast<int>(kBaseLineFactor * m_fontSize);
}

void CAudioLibListBase::DrawColumnTexts(CZVDC* dc, CLBAudioItem* row, int top, int bottom) {
    const int bevel = GetBevel();
    const int baseLine = BaseLine(top, bottom);
    if (GetColumnCount() == 1) {
        dc->TextOutString(row->GetFittedText(dc, m_width - 2 * bevel - kTextInset).c_str(), bevel + kTextInset,
                          baseLine);
        return;
    }
    dc->TextOutString(row->GetColumnText(0).c_str(), bevel + kTextInset, baseLine);
    for (int c = 1; c < GetColumnCount(); ++c)
        dc->TextOutString(row->GetColumnText(c).c_str(), GetColumnX(c), baseLine);
}

void CAudioLibListBase::DrawRowText(CZVDC* dc, const std::string& text, int width, int top, int bottom) {
    const int x = GetBevel() + kTextInset;
    if (GetColumnCount() == 1 && dc->GetTextSize(text.c_str()).cx <= width) {
        dc->TextOutString(text.c_str(), x, BaseLine(top, bottom));
        return;
    }
    int lines = 0;
    const CZVString wrapped = dc->WrapTextCopy(text.c_str(), width, 8, &lines);
    if (GetColumnCount() > 1 || lines * dc->GetTextSize(text.c_str()).cy <= bottom - top) {
        dc->DrawText(wrapped, CZVRect(x, top, width, bottom - top), 17);
        return;
    }
    // Wrapped lines the row cannot hold would cover the next rows: one line, cut with an ellipsis.
    dc->TextOutString(FitTextWithEllipsis(text.c_str(), dc, width, dc->GetTextSize(kEllipsis).cx), x,
                      BaseLine(top, bottom));
}

void CAudioLibListBase::DrawItemEx(CZVDC* dc, CListItem* item, int top, int bottom, const COLORREF* colour) {
    if (IsInputBlocked()) {
        SetDeferredRepaint(1);
        return;
    }
    auto* row = static_cast<CLBAudioItem*>(item);
    const int bevel = GetBevel();
    const int inner = m_width - 2 * bevel;
    // A surface may still hold the font of the empty-list text while it records the rows'
    // size; another size first makes the rows' size take.
    dc->SetFont(m_fontSize + 1, 0, 1);
    SelectTextFont(dc);
    dc->SetColor(m_rowTextColour);
    if (!IsSelected(row) && !m_uniformRowHeight) {
        if (colour) dc->FillGlassRect(*colour, CZVRect(bevel, top, inner, bottom - top), 1.0f);
        DrawColumnTexts(dc, row, top, bottom);
        return;
    }
    // The selected row: its fill, its text wrapped left of the row buttons, then the buttons.
    const COLORREF fill = colour ? *colour : (IsSelected(row) ? m_selectedFillColour : m_backColor);
    const bool skinned = ListSkinsOn() && !colour;
    if (skinned) {
        CSetServer* style = CSetServer::Get();
        FillSkinPiece(dc, style ? style->GetSelectionColor() : kHighlightColor, bevel, top, inner, bottom - top);
    } else {
        dc->FillRect(fill, bevel, top, inner, bottom - top, 0);
    }
    CZVRect buttons;
    GetRowButtonsRect(&buttons);
    const int textWidth = inner - kTextInset - (row->m_showsRowButtons ? buttons.w : 0);
    const std::string text = GetColumnCount() > 1 ? row->GetFullText() : row->GetColumnText(0);
    const std::string shown = row->IsLoaded() ? text : row->GetColumnText(0);
    dc->SetColor(m_rowTextColour);
    DrawRowText(dc, shown, textWidth, top, bottom);
    if (!skinned && HasShadedSelection() && IsSelected(row))
        ShadeListRow(this, dc, GetRowShade(fill, 10, bottom - top), top);
    if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
    SelectTextFont(dc);
}

#pragma once
// CAudioLibListBase: a music list that never loads its rows whole. A browse
// answer gives only the number of rows (or the rows per initial letter); the
// list makes that many placeholder rows, and each row asks the gateway for
// its own text the first time it is drawn. At most 51 row requests are on
// their way; the rest wait in order. Answered rows are repainted in small
// batches, a row whose button was pressed flashes, and the gateway may lay a
// progress bar over the list while it prepares a long answer.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/media/music/musicsource.h"
#include "widgets/lists/textlist.h"

class CAudioLibListBase;
class CZVLevelBar;

// One row: a placeholder until its text arrives, then up to three columns
// taken from the TAB-separated answer.
class CLBAudioItem : public CTextItem, public CSocketSink {
public:
    static constexpr int kMaxColumns = 3;

    // letter: the placeholder is the letter and "..."; 0: "Searching...".
    CLBAudioItem(CAudioLibListBase* owner, int kind, int valueA, int valueB, int index, char letter);
    ~CLBAudioItem() override;

    // The column's text as drawn; asks for the row's text when it has not
    // arrived and was not asked for yet.
    std::string GetColumnText(int column);
    // Column 0 shortened with "..." to fit the width (computed once).
    std::string GetFittedText(CZVDC* dc, int width);
    // Column 0 whole, also when it was shortened to fit its column.
    std::string GetFullText() const;
    void RequestText();
    // Renames the row in place; the loaded state stays as it is.
    void SetRowText(const std::string& text);
    // Fills the row at once: a row whose text came with the list never asks for it.
    void FillText(const std::string& text);

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int IsLoaded() const { return m_loaded; }
    int IsPending() const { return m_pending; }
    // The three ids the gateway gave the row (object id first).
    int GetId(int i) const { return m_ids[static_cast<size_t>(i)]; }
    int GetKind() const { return m_kind; }

private:
    friend class CAudioLibListBase;
    // Splits the answer into the list's columns and fits all but the last.
    void TakeText(const std::string& text);
    // Forgets the request: the row asks again when it is drawn again.
    void DropRequest();

    CAudioLibListBase* m_owner;
    int m_loaded = 0;
    int m_pending = 0;
    int m_reask = 0;
    std::array<int32_t, 3> m_ids{};
    int m_kind;
    int m_valueA;
    int m_valueB;
    std::string m_placeholder;
    std::array<std::string, kMaxColumns> m_columns;
    std::string m_fullFirst;
    std::optional<std::string> m_fitted;
};

class CAudioLibListBase : public CTextList, public CSocketSink {
public:
    static constexpr int kMaxInFlight = 51;
    static constexpr int kRepaintBatch = 10;
    static constexpr uint32_t kFlashMs = 1000;
    static constexpr int kFlashTimerMs = 10;
    static constexpr COLORREF kFlashColour = 0xFF1964;
    // The gap between a row's left edge (inside the bevel) and its text.
    static constexpr int kTextInset = 5;
    // More rows than any library holds: a count beyond it is cut.
    static constexpr int kMaxRows = 1000000;
    static constexpr int kLetterBuckets = 27;

    CAudioLibListBase(CZVWindow* parent, CZVRect rect, int commandId, int settledCommand, CZVServer& server,
                      CMusicSource* source);
    ~CAudioLibListBase() override;

    // ---- added operations
    virtual void DrawItemEx(CZVDC* dc, CListItem* row, int top, int bottom, const COLORREF* colour);
    virtual void OnItemLoaded(CLBAudioItem* row);
    // Variants browse again; the base takes a new sink id and empties the list.
    virtual void Reload();
    // Variants read the answer; the base removes the progress bar and empties the list.
    virtual void OnBrowseAnswer(CZVMSG* message);

    // ---- window and list
    void OnScroll(CZVDC* dc, int position) override;
    int OnCommand(int id) override;
    void OnTimer() override;
    void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
    void RemoveAll(int redraw) override;

    // ---- sink
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // ---- non-virtual
    void SetColumnCount(int count);
    void SetColumnStart(int column, int x);
    int GetColumnCount() const { return static_cast<int>(m_columnStarts.size()) + 1; }
    // 5 for column 0, the start of the others, the width past the last.
    int GetColumnX(int column);
    // Sends the row's request, or queues it while 51 are on their way.
    void SendRowRequest(CLBAudioItem* row, std::unique_ptr<CZVMSG> message);
    void SelectFirst();
    // The list shows that it has no rows, without waiting for an answer.
    void ShowNoItems();
    void FlashRow(CListItem* row);
    void RedrawRows(int first, int last);

    int GetOutstanding() const { return m_outstanding; }
    int GetQueuedCount() const { return static_cast<int>(m_queue.size()); }
    int IsAnswered() const { return m_answered; }
    int HasNoItems() const { return m_noItems; }
    CZVLevelBar* GetProgressBar() const { return m_progress; }
    COLORREF GetTint() const { return m_tint; }
    // The flash colour of a row now, or none when it is not flashing.
    std::optional<COLORREF> FlashColourOf(const CListItem* row);
    void SetFlashOnRowButtons(int on) { m_flashOnRowButtons = on; }
    int GetSourceId();
    int GetSourceFeatures();
    CZVServer* GetListServer() const { return CSocketSink::GetServer(); }

protected:
    // Rows made from a browse answer: n rows, or the letter buckets' rows.
    void MakeRows(int kind, int valueA, int valueB, int count);
    void MakeLetterRows(int kind, const std::array<int32_t, kLetterBuckets>& counts);
    void SendBrowse(int kind, int valueA, int valueB);
    // Redraws the whole list when it is shown and input is not blocked.
    void RepaintIfShown(bool evenWhenBlocked);
    void SendSettledCommand();
    void MarkAnswered() { m_answered = 1; }
    int IsInputBlocked();

private:
    struct QueuedRequest {
        std::unique_ptr<CZVMSG> message;
        CLBAudioItem* row;
    };
    struct Flash {
        CListItem* row;
        uint32_t start;
    };

    void DropQueue();
    void SendNow(std::unique_ptr<CZVMSG> message);
    void FlushRepaintBatch();
    void ShowProgress(int level, const std::string& text);
    void UpdateEmptyText();
    int IsRowButtonCommand(int id) const;
    void StepFlashes();
    void DrawColumnTexts(CZVDC* dc, CLBAudioItem* row, int top, int bottom);
    // The text of a selected or fixed-height row, width wide: on one line when it fits, else
    // word-wrapped, or on one line cut with an ellipsis when the row cannot hold its wrapped lines.
    void DrawRowText(CZVDC* dc, const std::string& text, int width, int top, int bottom);
    int BaseLine(int top, int bottom) const;

    CMusicSource* m_source;
    int m_flashOnRowButtons = 1;
    int m_settledCommand;
    std::vector<int> m_columnStarts;
    int m_outstanding = 0;
    std::vector<int> m_repaintBatch;
    int m_answered = 0;
    int m_noItems = 0;
    std::deque<QueuedRequest> m_queue;
    std::vector<Flash> m_flashes;
    CZVLevelBar* m_progress = nullptr;
    COLORREF m_tint;
};

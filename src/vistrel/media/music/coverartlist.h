#pragma once
// CCoverArtList: the entries of one level of a gateway browse tree. A row
// carries the entry's flags: which of the row buttons (Go, Play, Add,
// Search) it offers, and whether it is a cover row that shows the entry's
// picture, asked for only when the row is first drawn. A row with no flags
// is plain text, wrapped over as many rows as it needs.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "widgets/lists/textlist.h"

class CAudioLibBrowseWnd;
class CCoverArtList;
class CDibDC;

// The flags of a browse entry.
enum : int {
    kEntryCanOpen = 0x01,
    kEntryPlayable = 0x02,
    kEntryCanAdd = 0x04,
    kEntrySearchable = 0x08,
    kEntryCoverRow = 0x10,
};

class CCoverArtItem : public CTextItem, public CSocketSink {
public:
    // The gateway's flags as the row keeps them: playable rows can be added,
    // a searchable row offers nothing else.
    static int RowFlags(int flags);

    CCoverArtItem(CCoverArtList* list, CZVServer& server, int index, const char* text, int entryId, int indent,
                  int flags);
    ~CCoverArtItem() override;

    // The cover scaled to a square of the side; null until it is decoded.
    // The first call asks the gateway for it.
    CDibDC* GetImage(int side);
    // Decodes the bytes that arrived; the bytes go either way. 1 when there were bytes.
    int DecodePending();
    void OnMessage(CZVMSG* message) override;

    int GetEntryId() const { return m_entryId; }
    int GetFlags() const { return m_buttonMask; }
    int GetIndent() const { return m_indent; }
    int GetSpan() const { return m_span; }
    void SetSpan(int span) { m_span = span; }
    int IsRequestSent() const { return m_requestSent; }
    int HasPendingBytes() const { return !m_bytes.empty(); }
    CDibDC* GetDecoded() const { return m_image.get(); }

private:
    void RequestCover();

    CCoverArtList* m_list;
    std::unique_ptr<CDibDC> m_image;
    std::unique_ptr<CDibDC> m_scaled;
    int m_requestSent = 0;
    int m_entryId;
    int m_indent;
    int m_span = 1;
    std::vector<uint8_t> m_bytes;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
};

class CCoverArtList : public CTextList {
public:
    static constexpr int kButtonWidth = 48;
    static constexpr int kCoverRowHeight = 48;
    enum : int { kPlainRow = 0, kPlayableRow = 1, kActionRow = 2, kSelectedRow = 3 };

    CCoverArtList(CAudioLibBrowseWnd* owner, CZVRect rect);

    int GetItemHeight(int top, CListItem* row) override;
    int IsSelectable(CListItem* row) override;
    int GetReservedWidth(CListItem* row) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
    void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) override;
    int OnIdle(int busy) override;
    void OnKeyUp(int key, int flags) override;

    CAudioLibBrowseWnd* GetOwner() const { return m_owner; }
    COLORREF GetRowColour(int kind) const { return m_rowColours[static_cast<size_t>(kind)]; }
    static int RowKind(int flags);
    CCoverArtItem* GetCoverItem(int index) { return static_cast<CCoverArtItem*>(GetItemAt(index)); }

private:
    int ShownButtons(const CCoverArtItem* row) const;

    CAudioLibBrowseWnd* m_owner;
    std::array<COLORREF, 4> m_rowColours{};
};

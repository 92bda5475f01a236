#pragma once
// CAdvLBItem: a text-list row that carries a set of small buttons at its
// right end, independent of the list's selection. Each button has a width,
// a caption and a command id, and one of them may be marked as chosen. The
// buttons are no windows: a template check button per look paints them.
#include <memory>
#include <vector>

#include "widgets/lists/textlist.h"

class CDibDC;
class CZV3DButton;

// One inline button of a row.
class CAdvLBSubItem {
public:
    CAdvLBSubItem(int width, CZVString caption, int commandId, CZV3DButton* look)
        : width(width), caption(caption), commandId(commandId), look(look) {}
    virtual ~CAdvLBSubItem() = default;

    int width;
    CZVString caption;
    int commandId;
    int pressed = 0;
    int chosen = 0;
    CZV3DButton* look;  // not owned
};

class CAdvLBItem : public CTextItem {
public:
    CAdvLBItem(int index, const char* text, int length, void* data);
    ~CAdvLBItem() override;

    int IsCustom() override { return 1; }
    void Draw(CZVDC* dc, int fontSize, int inset, CZVRect row) override;
    // 1 when the touch pressed one of the buttons.
    int OnLButtonDown(CZVDC* dc, CZVRect row, int fontSize, int x) override;
    // The pressed button's id when the touch ends on it; else the toolkit's
    // "none", so that a press moved off its button is cancelled.
    int OnLButtonUp(CZVDC* dc, CZVRect row, int fontSize, int x) override;

    void AddSubItem(int width, int commandId, CZVString caption, CZV3DButton* look);
    // Sub-item k is chosen and all others not; k out of range clears all.
    void SelectSubItem(int k);
    void DeleteSubItems();

    int GetSubItemCount() const { return static_cast<int>(m_subItems.size()); }
    const CAdvLBSubItem& GetSubItem(int i) const { return *m_subItems[static_cast<size_t>(i)]; }
    // Sub-item i's span in the row: its first and last x. The first
    // sub-item ends at the row's right edge, each next one a pixel left of
    // where the one before began.
    void GetSubItemSpan(CZVRect row, int i, int* left, int* right) const;

private:
    // The sub-item whose span holds x strictly inside its ends, or -1.
    int SubItemAt(CZVRect row, int x) const;
    void DrawSubItem(CZVDC* dc, CZVRect row, int inset, int i);

    std::vector<std::unique_ptr<CAdvLBSubItem>> m_subItems;
    std::unique_ptr<CDibDC> m_savedRow;
    int m_inset = 0;
};

#pragma once
// CAudioLibSearchBox: the pop-up over a searchable row of a browse tree: the
// row's caption, a text field and "Go". Enter in the field acts as "Go" on
// the next idle pass. The box keeps the row's entry id and the text itself,
// so that the browse window may empty its list while the box closes.
#include <string>

#include "widgets/window/overlay.h"

class CAudioLibBrowseWnd;
class CZVEdit;

class CAudioLibSearchBox : public CPopupWnd {
public:
    static constexpr int kEditCommand = 1005;
    static constexpr int kIgnoredCommand = 0x7FFF;
    static constexpr int kInset = 10;
    static constexpr int kMaxCaptionFont = 40;

    CAudioLibSearchBox(CZVWindow* parent, CZVRect rect, CAudioLibBrowseWnd* owner, int entryId,
                       const std::string& caption);
    ~CAudioLibSearchBox() override;

    int OnCommand(int id) override;
    int OnIdle(int busy) override;

    int GetEntryId() const { return m_entryId; }
    const std::string& GetSearchText() const { return m_text; }
    CZVEdit* GetEdit() const { return m_edit; }
    int IsGoPending() const { return m_goPending; }
    // The browse window goes first: the box no longer passes anything on.
    void ForgetOwner() { m_owner = nullptr; }

private:
    CAudioLibBrowseWnd* m_owner;
    int m_entryId;
    std::string m_text;
    int m_goPending = 0;
    CZVEdit* m_edit = nullptr;
};

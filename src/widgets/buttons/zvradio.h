#pragma once
// CZVRadio: a row or column of check buttons of which exactly one is
// checked; the options' commands leave the group as its own id.
#include <vector>

#include "widgets/buttons/zvchkbutton.h"

class CZVRadio : public CZVWindow {
public:
    static constexpr int kFirstOptionId = 9000;
    static constexpr int kLastOptionId = 9100;

    // itemSize above 0 cuts cells of that size instead of dividing the area;
    // joined options touch and form one segmented bar.
    CZVRadio(CZVWindow* parent, CZVRect rect, int groupId, int count, int horizontal, int reserved, int styleClass,
             int inset, int itemSize, int joined);

    // Null for a position outside the options.
    CZVCheckButton* GetOption(int index) const;
    int GetOptionCount() const { return static_cast<int>(m_options.size()); }
    void SetOptionText(int index, CZVString text);
    void SetOptionIcon(int index, CZVString iconName, int layout);
    // The first checked option, -1 when none.
    int GetSelection() const;
    // -1 unchecks every option.
    void Select(int index, int redraw);
    int GetGroupId() const { return m_groupId; }

    int OnCommand(int id) override;
    int OnMouseMove(int x, int y, int keys) override;

private:
    // The options, owned through the child list.
    std::vector<CZVCheckButton*> m_options;
    int m_groupId;
};

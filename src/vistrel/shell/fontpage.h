#pragma once
// CFontPage: shown when the face the tablet is set to draw with is not
// installed, or when the gateway asks for it. It lists the installed font
// families, each row in its own face; "Done" makes the selected family the
// tablet's face, keeps it in the settings and starts the normal pages.
#include "vistrel/shell/pbase.h"
#include "widgets/lists/textlist.h"

// The families, each drawn in the face it names.
class CFontList : public CTextList {
public:
    CFontList(CZVWindow* parent, CZVRect rect);

    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
};

class CFontPage : public CPageBase {
public:
    static constexpr int kDone = 1000;
    static constexpr int kFontSize = 20;
    static constexpr int kRowHeight = 22;

    CFontPage(CZVWindow* parent, CZVRect rect);

    int OnCommand(int id) override;
    CFontList* GetList() const { return m_list; }

private:
    CFontList* m_list = nullptr;
};

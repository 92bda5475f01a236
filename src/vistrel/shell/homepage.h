#pragma once
// CHomePage: the page of main-menu command 5000, built wholly from the
// gateway's layout for the tablet's layout type: shaded horizontal bands
// (sections) and a list of control definitions placed into the band or
// control that contains them. While no gateway answers it shows
// "Looking For Gateway, Please Wait..." and asks the main window to build
// it again. CPageSection: one band.
#include "core/zvmsg.h"
#include "vistrel/shell/pbase.h"
#include "widgets/regions/shadewnd.h"

class CPageSection : public CShadeWnd {
public:
    // The band between the pixel rows top and bottom of the page.
    CPageSection(CZVWindow* page, int top, int bottom, COLORREF colour);
};

class CHomePage : public CPageBase {
public:
    static constexpr int kPageId = 5000;
    static constexpr int kTimerInterval = 1000;      // ms
    static constexpr uint32_t kSectionsWait = 10000;  // ms
    static constexpr int kMaxSections = 500;
    static constexpr int kWaitingFontSize = 22;
    static constexpr COLORREF kWaitingColour = 0xFFFFFF;

    CHomePage(CZVWindow* parent, CZVRect rect);
    ~CHomePage() override;

    void OnShow(int show) override;
    void Paint(CZVDC* dc, int withBackground) override;

    // Both layout queries, then the bands and controls; 1 on success.
    int LoadPage();
    int ScaleX(int v) const { return static_cast<int>(int64_t{v} * m_width / 10000); }
    int ScaleY(int v) const { return static_cast<int>(int64_t{v} * m_height / 10000); }

private:
    // The bands of the answer, appended to built; 0 for a broken count.
    int LoadPageSections(CZVMSG* answer, CZVObList* built);
    void ShowWaiting();
    void DrawTopEdge(CZVDC* dc);
};

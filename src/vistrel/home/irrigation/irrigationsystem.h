#pragma once
// CIrrigationPage: the System entry of the irrigation page: the monthly
// seasonal percentages (CSeasonalAdjustWnd, one bar per month), the watering
// history and the manual runs of single zones, one tab each.
#include "vistrel/home/irrigation/irgroupwnd.h"
#include "widgets/tabs/trregion.h"

class CZV3DButton;

// A percentage moved by a button's repeat count, within 0..150.
int StepSeasonalPercent(int percent, int count, int up);

class CSeasonalAdjustWnd : public CZVWindow {
public:
    static constexpr int kUpId = 4000;
    static constexpr int kDownId = 4001;
    static constexpr int kReleaseId = 4002;
    static constexpr int kMaxPercent = 150;
    static constexpr int kLabelHeight = 26;
    static constexpr int kButtonsHeight = 91;  // below the bar: the buttons and the month

    CSeasonalAdjustWnd(CZVWindow* parent, CZVRect rect, int month, CSeasonalAdjust* seasonal);

    void OnPaint(CZVDC* dc) override;
    int OnChildCommand(int id, int count) override;

    int GetPercent() const { return m_percent; }
    CZV3DButton* GetUpButton() const { return m_up; }
    CZV3DButton* GetDownButton() const { return m_down; }

private:
    void RepaintBar();

    int m_month;
    CSeasonalAdjust* m_seasonal;
    int m_percent;
    CZV3DButton* m_up = nullptr;
    CZV3DButton* m_down = nullptr;
};

class CIrrigationPage : public CTRRegion {
public:
    static constexpr int kManualId = 1000;
    static constexpr int kHistoryId = 1001;
    static constexpr int kSeasonalId = 1002;

    CIrrigationPage(CZVWindow* parent, CZVRect rect, CSeasonalAdjust* seasonal);

    int OnCommand(int id) override;

    CZVWindow* GetContent() const { return m_content; }

private:
    void Open(int id, int redraw);
    CZVWindow* MakeSeasonalPanel(CZVRect rect);

    CSeasonalAdjust* m_seasonal;
    CZVWindow* m_content = nullptr;
};

#pragma once
// The day editor of a thermostat program: one panel per period of the day
// (its start time, cooling and heating set points and fan mode, each with a
// rocker that steps it) over a graph of the day's periods and set points.
// The editor changes the day record it is given in place and marks itself
// changed; the schedule page writes the program back.
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "widgets/window/zvwindow.h"

class CRockerSwitch;
class CZVLabel;

// What a period panel shows and may change.
struct CPeriodOptions {
    int hasHeat = 1;
    int hasCool = 1;
    int hasFan = 1;
    int timeRow = 1;
    int followsShared = 0;  // read-only: no rockers
    int capabilities = 0;
};

// "%d:%02d %s" with " AM" or " PM": 750 reads "12:30  PM".
CZVString FormatPeriodTime(int minutes);
// "AUTO", "MED" (with the fan speeds) or "ON", "HIGH", "LOW", else "--".
CZVString FormatFanMode(int mode, int capabilities);
// "All"; "Day", "Night"; ...; empty beyond four periods.
CZVString PeriodName(int periods, int index);

// The panel of one period.
class CThermostatPage : public CZVWindow {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kChangedId = 1000;  // sent to the parent after every step
    enum : int {
        kEarlierId = 1000,
        kLaterId = 1001,
        kCoolDownId = 1002,
        kCoolUpId = 1003,
        kHeatDownId = 1004,
        kHeatUpId = 1005,
        kFanPreviousId = 1008,
        kFanNextId = 1009,
    };
    // Set points are held to these, in Fahrenheit, whatever the unit.
    static constexpr int kLowestSetPoint = 40;
    static constexpr int kHighestSetPoint = 90;
    static constexpr int kSetPointGap = 2;
    static constexpr int kMinimumPeriod = 60;  // minutes
    static constexpr int kTimeStep = 15;

    CThermostatPage(CZVWindow* parent, CZVRect rect, CZVServer* server, CZVString name, COLORREF face, CMaskRecord& day,
                    int index, const CPeriodOptions& options);

    int OnCommand(int id) override;

    // The ring of panels of the day.
    void SetNeighbours(CThermostatPage* previous, CThermostatPage* next) {
        m_previous = previous;
        m_next = next;
    }
    int GetStart() const { return GetPeriod(m_day, DayField::kTime, m_index); }
    // Null where the row or its rocker is not there.
    CZVLabel* GetTimeLabel() const { return m_time; }
    CZVLabel* GetCoolLabel() const { return m_cool; }
    CZVLabel* GetHeatLabel() const { return m_heat; }
    CZVLabel* GetFanLabel() const { return m_fan; }
    const std::vector<CRockerSwitch*>& GetRockers() const { return m_rockers; }

private:
    // The row's caption and value label, and its rocker unless read-only.
    CZVLabel* AddRow(CZVRect row, CZVString caption, int valueSize, COLORREF valueColour, int first, int second,
                     int firstIcon, int secondIcon, COLORREF iconColour);
    // The step of the command on the record; false when it is refused.
    bool Step(int id);
    bool MoveStart(int delta);
    int Fahrenheit(int value) const { return ToFahrenheit(m_server, value); }
    int Value(DayField field) const { return GetPeriod(m_day, field, m_index); }
    void Fill(int redraw);

    CZVServer* m_server;
    CMaskRecord& m_day;
    int m_index;
    CPeriodOptions m_options;
    CZVLabel* m_time = nullptr;
    CZVLabel* m_cool = nullptr;
    CZVLabel* m_heat = nullptr;
    CZVLabel* m_fan = nullptr;
    std::vector<CRockerSwitch*> m_rockers;
    std::vector<CZVLabel*> m_captions;  // while the panel is built
    CThermostatPage* m_previous = this;
    CThermostatPage* m_next = this;
};

// The day at a glance: a block per period, its start below, and the set
// points as lines.
class CHvacPgmGraph : public CZVWindow {
public:
    static constexpr int kFontSize = 14;

    CHvacPgmGraph(CZVWindow* parent, CZVRect rect, CZVServer* server, const CMaskRecord& day, int periods,
                  const CPeriodOptions& options, std::vector<COLORREF> colours);

    void OnPaint(CZVDC* dc) override;

    // The values the plot spans: the set points of every period, at least
    // 55..100 (55..35 in Celsius), widened so that a label fits at each end.
    // A plot too short for two labels is not widened.
    static void ValueRange(const CMaskRecord& day, int periods, int celsius, int plotHeight, int textHeight, int* low,
                           int* high);
    // The colour of period i; white, reported, beyond the fourth.
    COLORREF PeriodColour(int index) const;

private:
    CZVServer* m_server;
    const CMaskRecord& m_day;
    int m_periods;
    CPeriodOptions m_options;
    std::vector<COLORREF> m_colours;
};

class CDayPartSelector : public CZVWindow {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kStripHeight = 125;
    static constexpr int kStripHeightWithFan = 160;
    static constexpr int kPanelGap = 5;
    static constexpr int kGraphGap = 10;
    static constexpr int kFirstColourClass = 25;
    static constexpr double kColourShare = 0.2;

    CDayPartSelector(CZVWindow* parent, CZVRect rect, CZVServer* server, CMaskRecord& day, int periods,
                     const CPeriodOptions& options);

    int OnCommand(int id) override;

    CMaskRecord& GetDay() const { return m_day; }
    int IsChanged() const { return m_changed; }
    void SetChanged(int changed) { m_changed = changed; }
    const std::vector<CThermostatPage*>& GetPanels() const { return m_panels; }
    CHvacPgmGraph* GetGraph() const { return m_graph; }

private:
    CMaskRecord& m_day;
    std::vector<CThermostatPage*> m_panels;
    CHvacPgmGraph* m_graph = nullptr;
    int m_changed = 0;
};

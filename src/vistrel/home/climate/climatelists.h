#pragma once
// The climate status lists, each refreshed once a second: every thermostat
// (CThermostatList), every humidistat (CHumidistatList), the named sensors
// (CSensorList); the overview that stacks the first two under captions, and
// the sensors panel. A tap on a thermostat or humidistat row opens the
// climate page on that zone.
#include <memory>
#include <span>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "widgets/lists/statuslist.h"

// The zone the next climate page selects; 0 for none. Set by a thermostat
// row tap, cleared by the climate page that reads it.
int GetClimateZoneToShow();
void SetClimateZoneToShow(int zoneId);

// The climate page's tab index, kept by the main window as page variable 2.
inline constexpr int kClimateTabVariable = 2;

// A plain window over a status list that polls the gateway.
class CClimateStatusList : public CZVWindow, public CSocketSink {
public:
    static constexpr int kHeaderHeight = 28;
    static constexpr int kPollInterval = 1000;  // ms
    static constexpr int kRowCommand = 1000;

    struct Column {
        const char* title;
        int weight;       // 0: the list's default width
        COLORREF colour;  // 0: the list's text colour
    };

    // A negative font size keeps the list's own.
    CClimateStatusList(CZVWindow* parent, CZVRect rect, CZVServer& server, std::span<const Column> columns,
                       int fontSize, uint16_t poll);
    ~CClimateStatusList() override;

    void OnTimer() override;
    void OnConnect(int) override {}
    CStatusList* GetList() const { return m_list; }
    int GetBlinkPhase() const { return m_blink; }

protected:
    // Whether this tick asks the gateway.
    virtual int PollsNow() { return 1; }
    // The blink phase alternates with every answer.
    int ToggleBlink() { return m_blink = !m_blink; }
    // After an answer: the columns fit their texts once, and the list is repainted.
    void ShowAnswer();
    // The rows of the thermostats or humidistats, each with a fresh zone; 0
    // without an answer (no rows then).
    int LoadDeviceRows(int deviceKind);

private:
    CStatusList* m_list;
    uint16_t m_poll;
    int m_blink = 0;
    int m_fitted = 0;
};

class CThermostatList : public CClimateStatusList {
public:
    // Control types of the factory: 120 adds the "Schedule" column.
    enum : int { kTypePlain = 119, kTypeWithSchedule = 120 };

    CThermostatList(CZVWindow* parent, CZVRect rect, CZVServer& server, int controlType, int fontSize);

    void OnMessage(CZVMSG* message) override;
    int OnCommand(int id) override;

protected:
    int PollsNow() override;

private:
    CZVString ScheduleName(int scheduleId) const;
    // The "Schedule" column from the rows' last shared schedule ids.
    void WriteScheduleNames();

    std::unique_ptr<CHvacZoneList> m_schedules;  // type 120 only
    std::vector<int> m_rowSchedules;
};

class CHumidistatList : public CClimateStatusList {
public:
    CHumidistatList(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize);

    void OnMessage(CZVMSG* message) override;
    int OnCommand(int id) override;
};

class CSensorList : public CClimateStatusList {
public:
    CSensorList(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize);

    void OnMessage(CZVMSG* message) override;
};

// The thermostats over the humidistats, each under its caption; a kind the
// gateway has none of is left out.
class CHvacOverviewPage : public CZVWindow {
public:
    static constexpr int kCaptionHeight = 30;
    static constexpr int kCaptionFontSize = 22;
    static constexpr int kListFontSize = 16;

    CHvacOverviewPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
};

// "Sensors" over the sensor list.
class CClimateSensorsPanel : public CZVWindow {
public:
    CClimateSensorsPanel(CZVWindow* parent, CZVRect rect, CZVServer& server);
};

// Adds a caption in the top band of the window (the overview's and the
// sensors panel's); returns the y where the content starts.
int AddClimateCaption(CZVWindow* window, CZVRect area, const char* text);

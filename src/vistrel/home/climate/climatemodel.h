#pragma once
// The climate model: one zone (a thermostat or a humidistat) with its
// capabilities, live status, set-point limits and weekly programs; the
// gateway's shared schedules that several zones can follow; and the
// temperature unit with the formatters every climate page uses. Nothing here
// draws. The loads and saves are blocking queries: they hold the main loop
// up to the query's time-out.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "vistrel/shell/temperatureunit.h"
#include "widgets/lists/maskrecords.h"
#include "widgets/lists/statuslist.h"

// A value that is not known (temperatures, set points, outside value).
inline constexpr int kNoClimateValue = 10000;
// The same in the one-byte values of the status lists and the outside temperature.
inline constexpr int kNoClimateByte = 255;
inline constexpr int kMaxPeriods = 8;
inline constexpr int kMinutesPerDay = 1440;

// Capability bits of a zone.
enum : int {
    kZoneAutoMode = 0x01,
    kZoneEmergencyHeat = 0x02,
    kZoneCelsiusDial = 0x10,
    kZoneFanSpeeds = 0x20,
    kZoneSync = 0x40,
};

// System modes.
enum : int { kModeOff = 0, kModeHeat = 1, kModeEmergencyHeat = 2, kModeCool = 3, kModeAuto = 4, kModeNotReady = 5 };

// The per-period arrays of a day record, kept in the record's data bytes.
enum class DayField : int { kTime = 0, kCool = 1, kHeat = 2, kFan = 3 };
int32_t GetPeriod(const CMaskRecord& day, DayField field, int period);
void SetPeriod(CMaskRecord& day, DayField field, int period, int32_t value);

// One weekly program: the house modes it applies to (as a mask), its
// periods per day (0..8) and its day records (each with a mask of days,
// bit 0 Monday .. 6 Sunday, 7 holiday).
class CZoneProgram : public CBitmaskRecordList {
public:
    // Periods outside 0..8 are held to that range.
    CZoneProgram(int programId, int periods);

    int GetProgramId() const { return m_programId; }
    int GetPeriods() const { return GetValue(); }
    // Reads D day records of the program's layout: per record the mask,
    // then per period {i32 time, byte cool, byte heat, byte fan, byte}.
    // sentPeriods is the P of the wire: periods past 8 are read and
    // dropped. Times are held to 0..1440 when clampTimes is set. 0 at the
    // first failed read; what was read stays.
    int ReadDays(CZVMSG* message, int sentPeriods, int clampTimes);
    // Writes the records' periods, with or without the day masks.
    void WriteDays(CZVMSG* message, int withMasks) const;

private:
    int m_programId;
};

// One shared schedule of the gateway.
class CHvacZone : public CZoneProgram {
public:
    CHvacZone(int programId, int periods, int scheduleId, CZVString name)
        : CZoneProgram(programId, periods), m_scheduleId(scheduleId), m_name(name) {}

    int GetScheduleId() const { return m_scheduleId; }
    CZVString GetName() const { return m_name; }
    // ZVM_HVAC_SETZONESETPOINTSQ with the records' periods; 1 when answered.
    int SaveSetPoints(CZVServer& server) const;

private:
    int m_scheduleId;
    CZVString m_name;
};

using CHvacZones = std::vector<std::unique_ptr<CHvacZone>>;

// Reads a ZVM_HVAC_SUBSCRIBEZONESA payload into zones (which it empties
// first); times are kept as sent. 0 at the first failed read; what was
// read stays.
int ReadSharedSchedules(CZVMSG* message, CHvacZones* zones);

// The gateway's shared schedules, kept current by its pushes. It subscribes
// when it is made and owns its items.
class CHvacZoneList : public CSocketSink {
public:
    explicit CHvacZoneList(CZVServer& server);
    ~CHvacZoneList() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    int GetCount() const { return static_cast<int>(m_zones.size()); }
    // Null outside the list.
    CHvacZone* GetAt(int index) const;
    // The item of the shared schedule id; null when none has it.
    CHvacZone* FindById(int scheduleId) const;
    // Called after every answer has replaced the items.
    void SetChangeCallback(std::function<void()> callback) { m_changed = std::move(callback); }

private:
    CHvacZones m_zones;
    std::function<void()> m_changed;
};

// An extra series of the history graph.
struct CZoneSeries {
    CZVString text;
    COLORREF colour = 0;
};

// The live values of a zone.
struct CZoneStatus {
    int heatSetPoint = kNoClimateValue;  // a humidistat's low set point
    int coolSetPoint = kNoClimateValue;  // a humidistat's high set point
    int roomValue = kNoClimateValue;
    int systemMode = kModeOff;
    int fanMode = 0;
    int holdMode = 0;
    int holdSeconds = 0;
    int heatActive = 0;
    int coolActive = 0;
    int fanActive = 0;
    int outsideTemperature = kNoClimateValue;
    int spareValue = kNoClimateValue;
    std::string statusText;
    int syncState = 1;  // the zone is in sync while this is 0
};

struct CZoneLimits {
    int heatMin = 0;
    int heatMax = 100;
    int coolMin = 0;
    int coolMax = 100;
};

class CThermostatZone : public CStatusRecord {
public:
    // server may be null for a zone that only carries a row's values.
    CThermostatZone(CZVServer* server, int zoneId, CZVString name, int humidistat, int extended);

    // Asks the zone's information (the answer cache may answer); 1 or 0.
    int LoadInfo();
    // Reads a ZVM_HVAC_GETZONESTATUSA (or, for an extended zone,
    // ZVM_HVAC_GETZONEEXTA) payload; the series lists only when themed.
    int ReadInfo(CZVMSG* answer, int themed);
    // A ZVM_HVAC_GETTHERMOSTATA payload; 0, nothing changed, for another zone.
    int ParseStatus(CZVMSG* message);
    // Replaces the programs with the gateway's; 1 or 0 (what was read stays).
    int LoadSchedules();
    int ReadSchedules(CZVMSG* answer);
    // Sends every program; 1 when the gateway answered.
    int SaveSchedules();
    int FollowSharedSchedule(int scheduleId);
    int LeaveSharedSchedule(int scheduleId);

    // Null for a zone that only carries a row's values.
    CZVServer* GetServer() const { return m_server; }
    int GetZoneId() const { return m_zoneId; }
    CZVString GetName() const { return m_name; }
    int IsHumidistat() const { return m_humidistat; }
    int IsExtended() const { return m_extended; }
    int IsLoaded() const { return m_loaded; }
    int IsPanelZone() const { return m_panelZone; }
    void SetPanelZone(int on) { m_panelZone = on; }
    const CZoneStatus& GetStatus() const { return m_status; }
    // The timed hold as the user changes it, until the next status.
    void SetHoldSeconds(int seconds) { m_status.holdSeconds = seconds; }
    const CZoneLimits& GetLimits() const { return m_limits; }
    int GetCapabilities() const { return m_capabilities; }

    int GetProgramCount() const { return static_cast<int>(m_programs.size()); }
    // Null outside the list.
    CZoneProgram* GetProgram(int index) const;

    // These load the information first while it is not loaded.
    int GetSeriesCount();
    int GetBandCount();
    int HasHeat();
    int HasCool();
    int HasFan();
    int HasAutoMode();
    int HasEmergencyHeat();
    int GetSharedScheduleId();
    // Null outside the lists; they load nothing.
    const CZoneSeries* GetSeries(int index) const;
    const CZoneSeries* GetBand(int index) const;

private:
    void EnsureLoaded();
    int ReadSeriesLists(CZVMSG* answer);
    int AskSharedSchedule(uint16_t request, int scheduleId);

    CZVServer* m_server;
    CZoneStatus m_status;
    CZoneLimits m_limits;
    std::vector<CZoneSeries> m_series;
    std::vector<CZoneSeries> m_bands;
    int m_zoneId;
    CZVString m_name;
    int m_hasHeat = 0;
    int m_hasCool = 0;
    int m_hasFan = 0;
    int m_humidistat;
    int m_extended;
    int m_capabilities = 0;
    int m_sharedScheduleId = -1;
    int m_loaded = 0;
    std::vector<std::unique_ptr<CZoneProgram>> m_programs;
    int m_infoValues[2] = {};
    std::string m_infoTexts[2];
    int m_panelZone = 0;
};

// ---- temperatures (IsCelsius: vistrel/shell/temperatureunit.h)
// "%d" and the degree sign (Windows-1252).
CZVString FormatTemperature(int value);
CZVString FormatPercent(int value);
// A Celsius value in Fahrenheit (32 + value x 1.8 with the 1.8 of single
// precision, cut toward zero); the value itself in Fahrenheit.
int ToFahrenheit(CZVServer* server, int value);

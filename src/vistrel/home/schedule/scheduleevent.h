#pragma once
// The time of a scheduled event: sunrise or sunset with an offset, or a
// clock time. CScheduleEvent holds it (the lighting and irrigation schedules
// share it), CLightingScheduleEvent stores itself on the gateway whenever it
// changes, and CScheduleEventWnd edits one in place.
#include <cstdint>
#include <string>

#include "widgets/window/zvwindow.h"

class CRockerSwitch;
class CZVCheckButton;
class CZVLabel;
class CZVServer;

class CScheduleEvent {
public:
    enum : int32_t { kSunrise = 0, kSunset = 1, kClock = 2 };
    static constexpr int32_t kMaxOffset = 720;

    CScheduleEvent(std::string name, int32_t timeType, int32_t timeValue)
        : m_name(std::move(name)), m_timeType(timeType), m_timeValue(timeValue) {}
    virtual ~CScheduleEvent() = default;

    // Stores the event where it belongs; the base keeps it to itself.
    virtual void Commit() {}

    // A clock time wraps into the day; an offset keeps within -720..720.
    void Clamp();
    // "Sunrise", "Sunset", "Clock", or "ERROR" for another type.
    std::string GetTypeName() const;
    // The clock time, "(+) h:mm" or "(-) h:mm" of an offset, "" for none.
    std::string GetTimeText() const;

    std::string m_name;
    int32_t m_timeType;
    int32_t m_timeValue;  // minutes: after midnight, or from sunrise or sunset
};

class CLightingScheduleEvent : public CScheduleEvent {
public:
    CLightingScheduleEvent(std::string name, int32_t timeType, int32_t timeValue, int32_t schedule, int32_t event,
                           CZVServer* server)
        : CScheduleEvent(std::move(name), timeType, timeValue),
          m_schedule(schedule),
          m_event(event),
          m_server(server) {}

    // Sends ZVM_SCHEDULE_SETLIGHTINGEVENT without waiting.
    void Commit() override;
    // The name over the type and time: "name\ntype time".
    std::string GetTabText() const;

    int32_t m_schedule;
    int32_t m_event;

private:
    CZVServer* m_server;
};

class CScheduleEventWnd : public CZVWindow {
public:
    enum : int { kEarlierId = 1001, kLaterId = 1002, kSunriseId = 1004, kSunsetId = 1005, kClockId = 1006 };
    // Told to the parent after every change.
    static constexpr int kChangedId = 11042;
    static constexpr int kStep = 15;
    static constexpr int kLabelWidth = 100;

    // withLabel: the time text at the left, in labelFontSize.
    CScheduleEventWnd(CZVWindow* parent, CZVRect rect, int styleClass, int labelFontSize, CScheduleEvent* event,
                      int withLabel);

    int OnCommand(int id) override;

    CZVCheckButton* GetTypeButton(int type) const { return type >= 0 && type < 3 ? m_types[type] : nullptr; }
    CZVLabel* GetLabel() const { return m_label; }
    CRockerSwitch* GetRocker() const { return m_rocker; }

private:
    void ShowType(int redraw);

    CScheduleEvent* m_event;
    CZVLabel* m_label = nullptr;
    CRockerSwitch* m_rocker = nullptr;
    CZVCheckButton* m_types[3] = {};
};

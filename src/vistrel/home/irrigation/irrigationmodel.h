#pragma once
// What the irrigation page keeps while it is open: the programs, whose start
// time the schedule-event editor changes and stores on the gateway, and the
// monthly seasonal percentages that scale every zone's base run time.
#include <cstdint>
#include <string>

#include "core/zvserver.h"
#include "vistrel/home/irrigation/irrigationreaders.h"
#include "vistrel/home/schedule/scheduleevent.h"

class CIrrigationProgram : public CScheduleEvent {
public:
    CIrrigationProgram(const CIrrigationProgramRecord& record, int32_t index, CZVServer* server)
        : CScheduleEvent(record.name, record.timeType, record.timeValue),
          m_id(record.id),
          m_index(index),
          m_server(server) {}

    // ZVM_IRRIGATION_SETSTARTTIMEQ, waited for past an emptied answer cache.
    void Commit() override;

    int32_t m_id;
    int32_t m_index;  // position in the program list

private:
    CZVServer* m_server;
};

// The seasonal percentages, asked for at construction and kept per month.
class CSeasonalAdjust : public CSocketSink {
public:
    static constexpr uint32_t kLoadTimeout = 5000;
    static constexpr uint32_t kLoadPause = 25;

    explicit CSeasonalAdjust(CZVServer& server);
    ~CSeasonalAdjust() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    // Polls until the percentages are in, for at most five seconds; the loaded flag.
    int WaitLoaded();
    int IsLoaded() const { return m_loaded; }
    // Month 1..12; 0 for any other.
    int GetPercent(int month) const;
    // Stores the percentage on the gateway and, only once it took it, here; 1 then.
    int SetPercent(int month, int percent);

private:
    static bool IsMonth(int month) { return month >= 1 && month <= 12; }

    CSeasonalPercents m_percents{};
    int m_loaded = 0;
};

// A blocking query of the values without the answer cache; 1 when answered.
int IrrigationQuery(CZVServer& server, uint16_t id, std::initializer_list<int32_t> values);

#pragma once
// CIrGroupWnd: a plant group on the irrigation page: one tab per program over
// the zones' run times for that program (CZoneRunTimesPage), and the group's
// watering days below (CWateringDaysPage). Changed base times go back to the
// gateway a second after the last touch, and at the latest when the window
// closes.
#include <memory>
#include <string>
#include <vector>

#include "vistrel/home/irrigation/irrigationmodel.h"
#include "widgets/window/zvwindow.h"

class CColumnListWnd;
class CScheduleEventWnd;
class CTRRegion;
class CWateringDaysPage;

using CIrrigationPrograms = std::vector<std::unique_ptr<CIrrigationProgram>>;
using CIrrigationZones = std::vector<CIrrigationZone>;

// The last program tab opened, shared by every plant group.
int GetLastIrrigationProgram();
void SetLastIrrigationProgram(int index);

// A base time one minute longer or shorter, within 0..4 hours.
int32_t StepBaseTime(int32_t seconds, int more);
// "%d Minutes" of the whole minutes.
std::string BaseTimeText(int32_t seconds);
// The base time scaled by the month's percentage, as a duration.
std::string ApplicationTimeText(int32_t seconds, int percent);

// Writes the zone's pairs with ZVM_IRRIGATION_SETGROUPZONESQ; 1 when the gateway answered.
int WriteZoneTimes(CZVServer& server, const CIrrigationZone& zone);

class CZoneRunTimesPage : public CZVWindow {
public:
    static constexpr int kMoreId = 11031;
    static constexpr int kLessId = 11032;
    static constexpr int32_t kMaxBaseTime = 14400;
    static constexpr uint32_t kWriteDelay = 1000;

    CZoneRunTimesPage(CZVWindow* parent, CZVRect rect, CIrrigationProgram* program, CIrrigationZones* zones,
                      CSeasonalAdjust* seasonal);

    int OnCommand(int id) override;
    void OnTimer() override;

    CColumnListWnd* GetList() const { return m_list; }
    CScheduleEventWnd* GetEventWnd() const { return m_eventWnd; }
    CIrrigationProgram* GetProgram() const { return m_program; }

private:
    void FillRow(int index);
    void WriteDirtyZones();

    CIrrigationProgram* m_program;
    CIrrigationZones* m_zones;
    CSeasonalAdjust* m_seasonal;
    CColumnListWnd* m_list = nullptr;
    CScheduleEventWnd* m_eventWnd = nullptr;
    uint32_t m_lastChange;
    int m_percent = 0;
};

class CIrGroupWnd : public CZVWindow {
public:
    static constexpr int kFirstProgram = 3000;
    static constexpr int kLastProgram = 3100;
    static constexpr int kNoPeriodsId = -1;

    CIrGroupWnd(CZVWindow* parent, CZVRect rect, CPlantGroup* group, const CIrrigationPrograms& programs,
                CSeasonalAdjust* seasonal);
    ~CIrGroupWnd() override;

    int OnCommand(int id) override;

    CIrrigationZones& GetZones() { return m_zones; }
    CTRRegion* GetRegion() const { return m_region; }
    CZoneRunTimesPage* GetCurrentPage() const { return m_page; }
    CWateringDaysPage* GetDaysPage() const { return m_days; }

private:
    void LoadZones();
    void OpenProgram(int index, int redraw);

    CIrrigationZones m_zones;
    CPlantGroup* m_group;
    const CIrrigationPrograms& m_programs;
    CSeasonalAdjust* m_seasonal;
    CTRRegion* m_region = nullptr;
    CZoneRunTimesPage* m_page = nullptr;
    CWateringDaysPage* m_days = nullptr;
};

#pragma once
// CWateringDaysPage: the editor of a plant group's watering-day rule: the
// kind ("Days in Month", "Days of Week", "Every Day", "Skip Days") and, for
// it, the even or odd days, the weekdays or the skip interval. A changed rule
// goes back to the gateway on the next tick of its timer.
#include <array>
#include <cstdint>

#include "vistrel/home/irrigation/irrigationreaders.h"
#include "widgets/regions/rregion.h"

class CZVCheckButton;
class CZVServer;
class CZVRadio;

class CWateringDaysPage : public CRRegion {
public:
    static constexpr int kFirstSkipId = 1000;
    static constexpr int kEvenId = 1010;
    static constexpr int kOddId = 1011;
    static constexpr int kFirstDayId = 1020;
    static constexpr int kKindId = 1030;
    enum : int { kMonthDays = 0, kWeekDays = 1, kEveryDay = 2, kSkipDays = 3 };
    static constexpr uint32_t kWriteDelay = 1000;

    CWateringDaysPage(CZVWindow* parent, CZVRect rect, int styleClass, CPlantGroup* group, CZVServer* server);

    int OnCommand(int id) override;
    void OnTimer() override;

    CZVRadio* GetKindRadio() const { return m_kind; }
    CZVCheckButton* GetSkipButton(int i) const { return m_skip[static_cast<size_t>(i)]; }
    CZVCheckButton* GetMonthButton(int i) const { return m_month[static_cast<size_t>(i)]; }
    CZVCheckButton* GetDayButton(int d) const { return m_days[static_cast<size_t>(d)]; }

private:
    void ShowGroup(int kind, int redraw);
    void ApplyRule(int redraw);
    int32_t ComposeRule();
    void CheckOnly(CZVCheckButton* const* buttons, int count, int index);

    CPlantGroup* m_group;
    CZVServer* m_server;
    uint32_t m_created;
    CZVRadio* m_kind = nullptr;
    std::array<CZVCheckButton*, 4> m_skip{};
    std::array<CZVCheckButton*, 2> m_month{};
    std::array<CZVCheckButton*, 7> m_days{};
};

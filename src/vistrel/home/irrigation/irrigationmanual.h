#pragma once
// CIrrigationManualPage: the zones with their manual run time; in the manual
// system mode the user lengthens or shortens a zone's time and starts or stops
// it. The list follows the gateway every second.
#include <cstdint>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/irrigation/irrigationreaders.h"
#include "widgets/window/zvwindow.h"

class CColumnListWnd;
class CZV3DButton;

// A manual run time one minute longer (at most 8000 s) or shorter (at least 0).
int32_t StepManualTime(int32_t seconds, int more);

class CIrrigationManualPage : public CZVWindow, public CSocketSink {
public:
    static constexpr int kListId = 1000;
    static constexpr int kStartId = 1001;
    static constexpr int kMoreId = 1002;
    static constexpr int kLessId = 1003;
    static constexpr int32_t kMaxRunTime = 8000;
    static constexpr uint32_t kPollPeriod = 1000;

    CIrrigationManualPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CIrrigationManualPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    CColumnListWnd* GetList() const { return m_list; }
    CZV3DButton* GetStartButton() const { return m_start; }
    const std::vector<CManualZone>& GetZones() const { return m_zones; }
    int32_t GetMode() const { return m_mode; }

private:
    void Poll();
    void ShowZones(int32_t mode, std::vector<CManualZone> zones);
    void UpdateButton();
    void SetTimeText(int index);
    CManualZone* Selected();

    CColumnListWnd* m_list = nullptr;
    CZV3DButton* m_start = nullptr;
    std::vector<CManualZone> m_zones;  // one per row
    int32_t m_mode = 0;
};

#pragma once
// CPoolControlPage: main-menu page 5010, the pool and spa. It owns the pool
// model of controller 0, follows the controller's status as a subscribed
// sink, shows one tab window at a time (Main, Lights, Schedule, History,
// Equipment, as the controller's feature flags allow) and covers the page
// with the status box while the controller's link is not ready. A model
// that could not load is built again on a timer that backs off.
#include <cstdint>
#include <memory>

#include "core/basinsetup.h"
#include "core/serverlink.h"
#include "vistrel/shell/pbase.h"

class CPoolControlPage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5010;
    enum : int { kMainTab = 1000, kLightsTab = 1001, kScheduleTab = 1002, kHistoryTab = 1003, kEquipmentTab = 1004 };
    static constexpr uint32_t kFirstRetry = 2000;  // ms; doubles up to kLastRetry
    static constexpr uint32_t kLastRetry = 60000;

    CPoolControlPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CPoolControlPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void Rebuild() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // Builds the tab's window for ids 1000..1004; any other id asks the
    // status again (with show) while a status window exists.
    void SelectTab(int id, int show);

    CBasinSetup* GetModel() const { return m_model.get(); }
    CZVWindow* GetTabWindow() const { return m_tabWindow; }
    CSubPanel* GetStatusWindow() const { return m_statusWindow; }
    uint32_t GetRetryInterval() const { return m_retryInterval; }

private:
    void Subscribe(uint16_t id);
    void RequestStatus();
    void BuildModel();
    void CreatePoolTabs();
    CZVWindow* MakeTabWindow(int id, CZVRect rect);
    void InstallTabWindow(CZVWindow* window, int show);
    void DeleteTabWindow();
    void OnStatus(CZVMSG& message);
    void OnRunTime(CZVMSG& message);
    void OnSubPageUpdate(CZVMSG& message);
    void ShowLinkState(int redraw);
    void ScheduleRetry();

    CServerLink m_link;
    CZVWindow* m_tabWindow = nullptr;
    CSubPanel* m_statusWindow = nullptr;  // the tab window, unless History
    std::unique_ptr<CBasinSetup> m_model;
    int m_controllerIndex = 0;
    int m_historyActive = 0;
    int m_firstStatus = 1;
    int m_selectedTab = kMainTab;
    uint32_t m_retryInterval = kFirstRetry;
};

// The page's maker for the shell's registry.
CZVWindow* MakePoolControlPage(CZVWindow* parent, int command, CZVRect rect);

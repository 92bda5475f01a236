#pragma once
// CSecuritySummaryPage: the security page of the main menu: one tab per
// partition of the alarm system and, for the chosen one, the sub-tabs
// "Status" (the zones page) and "History".
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/security/securitymodel.h"
#include "vistrel/shell/pbase.h"

class CTimeWindow;
class CTRRegion;

// Registers the security page and the security control of gateway pages.
void RegisterSecurityPages();

// The page variable that holds the last partition tab used.
inline constexpr int kSecurityTabVariable = 1;

class CSecuritySummaryPage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5001;
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1099;
    static constexpr int kStatusTab = 1100;
    static constexpr int kHistoryTab = 1101;

    CSecuritySummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CSecuritySummaryPage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;
    void OnResume() override;
    void Rebuild() override;
    void OnMessage(CZVMSG*) override {}
    void OnConnect(int) override {}

    int GetPartitionCount() const { return static_cast<int>(m_partitions.size()); }
    CSecurityPartition* GetPartition(int index) const;
    CSecurityPartition* GetCurrent() const { return m_current; }
    CZVWindow* GetContent() const { return m_content; }
    CTRRegion* GetRegion() const { return m_region; }
    int GetSubTab() const { return m_subTab; }
    int IsHistoryAvailable() const { return m_historyAvailable; }

private:
    int LoadPartitions(CZVServer& server);
    int ClampedTabIndex() const;
    void SelectPartition(int index, int redraw);
    void ShowSubTab(int id, int redraw);
    void RemoveContent();

    std::vector<std::unique_ptr<CSecurityPartition>> m_partitions;
    CSecurityPartition* m_current = nullptr;
    CTRRegion* m_region = nullptr;
    CZVWindow* m_content = nullptr;
    int m_subTab = kStatusTab;
    int m_historyAvailable = 0;
    std::unique_ptr<CTimeWindow> m_timeWindow;
};

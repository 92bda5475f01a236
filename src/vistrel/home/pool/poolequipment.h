#pragma once
// The pool page's Equipment tab. CSystemStatusPage holds one tab per piece of
// pool equipment the controller reports ("System\nStatus" always, the
// chlorinator, each variable-speed pump) and shows the chosen one.
// CSystemDelaysPage, its first tab: the controller's errors, the running
// delays with "Cancel Delays", and the spa-side remotes switch.
#include <array>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/pool/equipparts.h"
#include "vistrel/home/pool/equipreaders.h"
#include "vistrel/shell/pbase.h"

class CRRegion;
class CTRRegion;
class CZV3DButton;
class CZVCheckButton;
class CZVLabel;

class CSystemStatusPage : public CSubPanel {
public:
    static constexpr int kStyleClass = 6;
    enum : int { kStatusTab = 1000, kChlorinatorTab = 1001, kFirstPumpTab = 1002, kLastTab = 1010 };

    struct Tab {
        int id;
        std::string caption;
    };
    // The tabs the model's equipment flags call for, in order.
    static std::vector<Tab> TabsFor(const CBasinSetup& model);

    CSystemStatusPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server);

    // Builds the content of tab ids 1000..1010 that the page has; after any id
    // the parent is sent command 0, which asks the pool status again.
    void SelectTab(int id, int redraw);
    int OnCommand(int id) override;
    void OnStatusUpdate() override;

    CTRRegion* GetTabColumn() const { return m_tabColumn; }
    CSubPanel* GetContent() const { return m_content; }
    int GetSelectedTab() const { return m_selected; }

private:
    CSubPanel* MakeContent(int id, CZVRect rect);

    CZVServer& m_server;
    CTRRegion* m_tabColumn = nullptr;
    CSubPanel* m_content = nullptr;
    int m_selected = 0;
};

class CSystemDelaysPage : public CSubPanel {
public:
    static constexpr int kStyleClass = 5;
    enum : int { kCancelDelaysId = 1000, kDisableId = 1001, kEnableId = 1002 };
    static constexpr int kPollInterval = 1000;  // ms
    static constexpr int kUnshownErrors = 3;    // the answer's last entries

    CSystemDelaysPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model);

    int OnChildCommand(int id, int count) override;
    void OnStatusUpdate() override;
    void OnTimer() override;

    // Asks the error list when due and shows it; the labels are redrawn with redraw.
    void PollErrors(int redraw);
    // Shows an error list as the gateway sent it.
    void ShowErrors(const std::vector<CPoolErrorEntry>& entries, int redraw);

    int GetErrorCount() const { return static_cast<int>(m_errorLabels.size()); }
    CZVLabel* GetErrorLabel(int index) const { return m_errorLabels[static_cast<size_t>(index)]; }
    // Cleaner on, pool off, spa off.
    CZVLabel* GetDelayLabel(int index) const { return m_delays[static_cast<size_t>(index)]; }
    CZVCheckButton* GetDisableButton() const { return m_disable; }
    CZVCheckButton* GetEnableButton() const { return m_enable; }
    const CPollPacer& GetPacer() const { return m_pacer; }

private:
    void BuildDelays(CRRegion* panel);
    void BuildRemotes(CRRegion* panel);
    void RebuildErrorLabels(const std::vector<CPoolErrorEntry>& entries, int count, int redraw);
    void ShowRemotes(int enabled, int redraw);
    int MayRedraw();

    CRRegion* m_errorsPanel = nullptr;
    std::vector<CZVLabel*> m_errorLabels;
    std::array<CZVLabel*, 3> m_delays{};
    CZVCheckButton* m_disable = nullptr;
    CZVCheckButton* m_enable = nullptr;
    CPollPacer m_pacer{kPollInterval};
};

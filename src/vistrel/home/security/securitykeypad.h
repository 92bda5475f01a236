#pragma once
// CSecurityKeypadWnd: the arming keypad of a partition: a grid of its shown
// arming modes above a numeric keypad. Choosing a mode starts an entry; the
// typed digits go to the gateway with the disarm or arm request, which
// decides. CSecurityPage: the gateway control that holds such a keypad for
// the partition named by the control's id.
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/security/securitymodel.h"
#include "widgets/window/zvwindow.h"

class CRRegion;
class CZV3DButton;
class CZVCheckButton;

// The rows and columns of the mode buttons for a count of shown modes.
struct CSecurityModeGrid {
    int rows = 1;
    int columns = 1;
};
CSecurityModeGrid SecurityModeGrid(int modes);

class CSecurityKeypadWnd : public CZVWindow {
public:
    static constexpr int kFirstMode = 2020;
    static constexpr int kLastMode = 2030;
    static constexpr int kFirstDigit = 11000;
    static constexpr int kLastDigit = 11009;
    static constexpr int kCancel = 11010;
    static constexpr int kEnter = 11011;
    static constexpr uint32_t kEntryTimeout = 30000;  // ms after the last touch

    CSecurityKeypadWnd(CZVWindow* parent, CZVRect rect, CSecurityPartition* partition);
    ~CSecurityKeypadWnd() override;

    void Enable(int enable, int redraw) override;
    int OnCommand(int id) override;
    int OnIdle(int busy) override;

    // Starts entering the shown mode; -1 ends the entry.
    void SelectMode(int index);
    // While idle, checks the button of the partition's current mode.
    void UpdateModeChecks();
    void EnableKeys(int on, int redraw);

    int GetSelectedMode() const { return m_selected; }
    const std::string& GetCode() const { return m_code; }
    int GetModeButtonCount() const { return static_cast<int>(m_modeButtons.size()); }
    CZVCheckButton* GetModeButton(int index) const;
    // The key of the id 11000..11011; null for another id.
    CZV3DButton* GetKey(int id) const;

private:
    void BuildModeButtons(CZVRect band);
    void BuildKeys(CZVRect rect);
    // Sends the disarm or arm request; 1 when the gateway accepted it.
    int SendRequest();
    int ShouldRedraw();

    CSecurityPartition* m_partition;
    std::vector<CZVCheckButton*> m_modeButtons;
    CZV3DButton* m_keys[12] = {};
    CRRegion* m_panel = nullptr;
    int m_selected = -1;
    uint32_t m_entryTick = 0;
    std::string m_code;
    int m_codeGoal = 0;
};

class CSecurityPage : public CZVWindow {
public:
    static constexpr int kControlType = 122;

    // Asks the partition of the control id; without an answer the keypad
    // stands on an empty partition that reads as not connected.
    CSecurityPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int controlId);
    ~CSecurityPage() override;

    int OnCommand(int id) override;

    CSecurityPartition* GetPartition() const { return m_partition.get(); }
    CSecurityKeypadWnd* GetKeypad() const { return m_keypad; }

private:
    std::unique_ptr<CSecurityPartition> m_partition;
    CSecurityKeypadWnd* m_keypad = nullptr;
};

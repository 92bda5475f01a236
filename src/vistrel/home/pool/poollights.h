#pragma once
// The Lights tab of the pool page: above, the light circuits with their
// level buttons and, where the controller offers them, the colour-light
// set-up panels; below, the buttons of the controller's colour-light
// commands and a level bar that shows the progress of a running command.
#include <array>
#include <memory>

#include "widgets/buttons/zvchkbutton.h"

#include "vistrel/shell/pbase.h"

class CAdvLBItem;
class CRRegion;
class CTRRegion;
class CTextList;
class CZVLevelBar;
class CPoolCircuit;
class CZV3DButton;

// Equipment flags of the lights.
enum : uint32_t { kPoolGlaviroLights = 0x08, kPoolNoLightCommands = 0x800, kPoolWideDimmerButtons = 0x1000 };

// One row per light circuit, with the buttons of its levels.
class CPoolDimmerPopup : public CSubPanel {
public:
    static constexpr int kOffId = 1000;
    static constexpr int kOnId = 1001;

    CPoolDimmerPopup(CZVWindow* parent, CZVRect rect, CBasinSetup* model);
    ~CPoolDimmerPopup() override;

    int OnCommand(int id) override;
    // Marks each row's present level.
    void OnStatusUpdate() override;

    // The level a button id stands for; -1 for any other id.
    static int LevelOf(int id);
    // The index of the button that shows the state, in the row of a
    // circuit of that function; -1 when none does.
    static int MarkedIndex(int function, int state);

    CTextList* GetList() const { return m_list; }
    CAdvLBItem* GetRow(int index) const;
    CZV3DButton* GetLevelLook() const { return m_levelLook.get(); }
    CZV3DButton* GetSwitchLook() const { return m_switchLook.get(); }

private:
    void MakeLooks(int rowHeight);
    void AddLightRow(CPoolCircuit* circuit);

    CTextList* m_list = nullptr;
    std::unique_ptr<CZVCheckButton> m_levelLook;
    std::unique_ptr<CZVCheckButton> m_switchLook;
};

class CColorLightsPage : public CSubPanel {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kCommandCount = 18;
    enum : int { kLightsPanel = 1020, kColorSetPanel = 1021, kSwimPanel = 1022 };
    enum : int { kFirstCommandId = 1110, kColorLightsPage = 2000, kGlaviroPage = 2001 };

    CColorLightsPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model);
    ~CColorLightsPage() override;

    // 1 when the id was the page's own.
    int HandleCommand(int id, int redraw);
    int OnCommand(int id) override;
    // Page 0: the plain commands 0..4; page 1: the Glaviro family's.
    void ShowCommandPage(int page, int redraw);
    void OnStatusUpdate() override;
    // A colour-light command runs: its button blinks and the bar shows its
    // progress.
    void OnSubPageUpdate(CZVString text, int command, int progress, int total) override;

    CTRRegion* GetUpper() const { return m_upper; }
    CRRegion* GetLower() const { return m_lower; }
    CZVLevelBar* GetLevelBar() const { return m_levelBar; }
    CZVCheckButton* GetCommandButton(int command) const;
    CSubPanel* GetPanel() const { return m_panel; }

private:
    void BuildUpper(CZVRect rect);
    void BuildLower(CZVRect rect);
    void AddCommandRow(CZVRect band, int first, int last);
    void ShowPanel(int id, int redraw);

    CTRRegion* m_upper = nullptr;
    std::array<CZVCheckButton*, kCommandCount> m_buttons{};
    CRRegion* m_lower = nullptr;
    CZVLevelBar* m_levelBar = nullptr;
    CSubPanel* m_panel = nullptr;
};

#pragma once
// The colour-light set-up panels of the Lights tab: for each colour light
// (interface group 3), either the colour it takes in the controller's
// colour set or its delay in the swim, the offset at which it follows the
// colour cycle. Every change goes to the gateway at once.
#include "core/zvoblist.h"
#include "vistrel/shell/pbase.h"

class CPoolStagSelWnd;
class CScrollPanel;
class CPoolCircuit;
class CZV3DButton;

// One check button per colour of the model; the light's colour set is checked.
class CPoolColorSwatches : public CSubPanel {
public:
    static constexpr int kFirstId = 1000;
    static constexpr int kLastId = 1100;

    CPoolColorSwatches(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit);
    ~CPoolColorSwatches() override;

    int OnCommand(int id) override;
    void UpdateChecks();

    const CZVObList& GetButtons() const { return m_buttons; }

private:
    CPoolCircuit* m_circuit;
    CZVObList m_buttons;  // not owned: the children
};

// A light's name, then its swatches or its delay selector.
class CPoolLightRow : public CSubPanel {
public:
    static constexpr int kNameWidth = 120;

    CPoolLightRow(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit, int colorSetMode,
                  int rowId);

    void SetStart(int start, int redraw);
    void OnStatusUpdate() override;

    CPoolCircuit* GetCircuit() const { return m_circuit; }
    CPoolColorSwatches* GetSwatches() const { return m_swatches; }
    CPoolStagSelWnd* GetSelector() const { return m_selector; }

private:
    CPoolCircuit* m_circuit;
    CPoolColorSwatches* m_swatches = nullptr;
    CPoolStagSelWnd* m_selector = nullptr;
};

class CPoolLightList : public CSubPanel {
public:
    static constexpr int kFirstRowId = 2100;
    static constexpr int kLastRowId = 2199;
    static constexpr int kLoadDefaultsId = 2200;
    static constexpr int kRowHeight = 55;
    static constexpr int kRowPitch = 60;
    static constexpr int kScrollingPitch = 59;  // a pitch this small scrolls
    static constexpr int kDefaultDelay = 10;    // half seconds

    CPoolLightList(CZVWindow* parent, CZVRect rect, CBasinSetup* model, int colorSetMode);
    ~CPoolLightList() override;

    void BuildRows();
    void UpdateStarts();
    int OnCommand(int id) override;
    void OnStatusUpdate() override;

    int GetRowCount() const { return m_rows.GetCount(); }
    CPoolLightRow* GetRow(int index) const;
    CScrollPanel* GetScrollPanel() const { return m_scrollPanel; }
    CZV3DButton* GetLoadDefaults() const { return m_loadDefaults; }

private:
    // Each row's start = the delays of the rows above it; rows after
    // `changed` repaint when it is 0 or more.
    void SetStarts(int changed);
    void LoadDefaults();

    CZVObList m_rows;  // not owned: the children
    int m_colorSetMode;
    CScrollPanel* m_scrollPanel = nullptr;
    CZV3DButton* m_loadDefaults = nullptr;
};

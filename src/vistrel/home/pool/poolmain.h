#pragma once
// The Main tab of the pool page: a heat panel for each body with circuits
// of its own beside its pool or spa circuit, and the page of feature
// circuits below them.
#include "core/zvoblist.h"
#include "vistrel/home/pool/poolbuttons.h"
#include "vistrel/shell/pbase.h"
#include "widgets/regions/rregion.h"

class CPoolHeatPage;
class CZV3DButton;

// The feature circuits, twenty buttons to a page, with arrows to the
// other pages.
class CPoolCircuitPage : public CRRegion {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kNextId = 1000;
    static constexpr int kPreviousId = 1001;
    static constexpr int kPerPage = 20;
    static constexpr int kHeaderHeight = 32;
    static constexpr int kMaxCellWidth = 225;

    CPoolCircuitPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, const CZVObList& circuits);

    int OnCommand(int id) override;
    void OnTimer() override { m_shown.Blink(); }

    void LayoutButtons(int first, int redraw);
    void UpdateButtons(int redraw) { m_shown.ShowStates(redraw); }

    int GetFirstIndex() const { return m_first; }
    const CCircuitButtons& GetShown() const { return m_shown; }
    CZV3DButton* GetNext() const { return m_next; }
    CZV3DButton* GetPrevious() const { return m_previous; }

private:
    void Turn(int delta);

    CBasinSetup* m_model;
    CZVObList m_all;  // not owned: the model's circuits
    CCircuitButtons m_shown;
    int m_first = 0;
    CZV3DButton* m_next = nullptr;
    CZV3DButton* m_previous = nullptr;
};

class CPoolMainPage : public CSubPanel {
public:
    static constexpr int kStyleClass = 5;

    CPoolMainPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model);

    void OnStatusUpdate() override;

    // Body 0 or 1; null when the body has no panel.
    CPoolHeatPage* GetHeatPanel(int body) const { return m_heat[body]; }
    CPoolCircuitPage* GetFeaturePage() const { return m_features; }

private:
    CPoolHeatPage* m_heat[2] = {nullptr, nullptr};
    CPoolCircuitPage* m_features = nullptr;
};

#pragma once
// CPoolSchedCircuitWnd: the editor of one program under the program list:
// its circuit, start and stop, days, and for the pool and spa the heat
// command and set point, or for some lights the smart start. It changes the
// list row's program in place and tells the list with the changed id; the
// list stores the program on the gateway. Time and set-point steps tell it
// only when their arrow is released.
#include "core/basinsetup.h"
#include "vistrel/home/pool/poolprogram.h"
#include "widgets/regions/rregion.h"
#include "widgets/window/childwindowlist.h"

class CZVCheckButton;
class CZVLabel;

class CPoolSchedCircuitWnd : public CRRegion {
public:
    static constexpr int kStyleClass = 8;
    enum : int {
        kCircuitDown = 1000,
        kCircuitUp = 1001,
        kStartDown = 1002,
        kStartUp = 1003,
        kStopDown = 1004,
        kStopUp = 1005,
        kReleased = 1006,
        kFirstDay = 1010,
        kAllDays = 1020,
        kHeatDown = 1021,
        kHeatUp = 1022,
        kSetPointToggle = 1023,
        kSetPointDown = 1024,
        kSetPointUp = 1025,
        kSmartStartToggle = 1026,
    };

    // program belongs to the parent's row; the parent gets changedId.
    CPoolSchedCircuitWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolProgram* program, int changedId,
                         int runOnce);

    void UpdateValues(int redraw);
    // Every id is taken here; none goes further up.
    int OnChildCommand(int id, int count) override;

    // The program's stop: its start plus the circuit's run time.
    void SetStopFromRunTime();

    CZVLabel* GetStartLabel() const { return m_start; }
    CZVLabel* GetStopLabel() const { return m_stop; }
    CZVLabel* GetSetPointLabel() const { return m_setPoint; }
    CZVCheckButton* GetDayButton(int day) const { return m_days[day]; }
    int IsHeatShown() const { return m_heatRows.IsAttached(); }
    int IsSetPointShown() const { return m_setPointRow.IsAttached(); }
    int IsSmartStartShown() const { return m_smartStartRow.IsAttached(); }

private:
    struct EditorRow {
        int row;
        const char* caption;
        int downId;
        int upId;
        int repeat;
    };
    // A caption, and a value label between two arrows when downId is set;
    // the windows join the group when one is given.
    CZVLabel* AddEditorRow(const CZVRect& area, const EditorRow& row, CChildWindowList* group);
    void AddDayButtons(const CZVRect& area);
    void Notify();
    CPoolCircuit* Circuit() const { return m_model->FindCircuitById(m_program->circuitId); }
    void ChangeCircuit(int up);
    void StepTime(int32_t* minute, CZVLabel* label, int up, int count);
    void PressDay(int day);
    void StepHeatCommand(int up);
    void StepSetPoint(int delta);
    void ToggleFlag(int32_t flag);

    int m_changedId;
    int m_runOnce;
    CZVLabel* m_circuit = nullptr;
    CZVLabel* m_start = nullptr;
    CZVLabel* m_stop = nullptr;
    CZVLabel* m_smartStart = nullptr;
    CZVLabel* m_heatCommand = nullptr;
    CZVLabel* m_setPoint = nullptr;
    CZVLabel* m_changeSetPoint = nullptr;
    CBasinSetup* m_model;
    CPoolProgram* m_program;
    CZVCheckButton* m_days[7] = {};
    CChildWindowList m_heatRows;
    CChildWindowList m_setPointRow;
    CChildWindowList m_smartStartRow;
};

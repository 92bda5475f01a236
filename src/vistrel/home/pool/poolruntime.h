#pragma once
// CPoolRunTimeWnd: the egg timers of the pool's circuits, each circuit with
// the time after which the controller switches it off again. "More" and
// "Less" on the selected row change it and send it at once. Run times count
// against the controller's program limit with the programs of both types.
#include <string>

#include "core/basinsetup.h"
#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CColumnListWnd;

class CPoolRunTimeWnd : public CZVWindow, public CSocketSink {
public:
    static constexpr int kMoreId = 1000;
    static constexpr int kLessId = 1001;
    static constexpr int kListId = 1002;
    static constexpr int kDontStop = 1620;  // any run time from 1440 on: never switched off

    CPoolRunTimeWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server);
    ~CPoolRunTimeWnd() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;

    // "Don't Stop", "%d Minutes", "1 Hour %d Minutes" or "%d Hours %d Minutes".
    static std::string RunTimeText(int minutes);
    // The run time after one "More" (more set) or "Less".
    static int StepRunTime(int minutes, int more);

    CColumnListWnd* GetList() const { return m_list; }
    int GetProgramCount() const { return m_programCount; }

private:
    void Fill();
    void CountPrograms(CZVServer& server);
    void UpdateRowsEnabled();
    void Step(int more);

    CBasinSetup* m_model;
    CColumnListWnd* m_list = nullptr;
    int m_programCount = 0;
};

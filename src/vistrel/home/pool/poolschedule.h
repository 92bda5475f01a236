#pragma once
// The pool page's Schedule tab: CScheduleTypePage holds the inner tabs
// "Schedule" and "Run-Once" (each a CPoolAdvSchedWnd, the programs of one
// schedule type with the editor of the selected one) and "Egg Timer" (the
// circuits' run times).
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/pool/poolprogram.h"
#include "vistrel/shell/pbase.h"

class CColumnListWnd;
class CPoolSchedCircuitWnd;
class CTRRegion;
class CZV3DButton;

class CPoolAdvSchedWnd : public CZVWindow, public CSocketSink {
public:
    enum : int { kListId = 1000, kChangedId = 1001, kAddId = 1003, kDeleteId = 1004 };
    static constexpr int kRunOnce = 1;

    CPoolAdvSchedWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server, int type);
    ~CPoolAdvSchedWnd() override;

    // Asks the gateway for the programs; the one with lastId goes last. 1
    // when both types were counted.
    int Load(int redraw, int32_t lastId);
    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;

    int IsLimitReached() const;
    CColumnListWnd* GetList() const { return m_list; }
    CPoolSchedCircuitWnd* GetEditor() const { return m_editor; }
    CZV3DButton* GetAddButton() const { return m_add; }
    CZV3DButton* GetDeleteButton() const { return m_delete; }
    int GetOtherCount() const { return m_otherCount; }
    // The program of the row; null outside the list.
    CPoolProgram* GetProgram(int row) const;

private:
    void FillRow(int row);
    void UpdateAddButton(int redraw);
    void CloseEditor();
    void OpenEditor();
    void SelectProgram(int32_t programId);
    void AddProgram();
    void DeleteProgram();
    void SendProgram(const CPoolProgram& program);
    void OnScheduleChanged();
    void OnRunTimeChanged(CZVMSG& message);

    int m_type;
    CBasinSetup* m_model;
    CColumnListWnd* m_list = nullptr;
    std::vector<std::unique_ptr<CPoolProgram>> m_programs;  // in row order
    CZVRect m_editorRect;
    CZVRect m_deleteRect;
    CPoolSchedCircuitWnd* m_editor = nullptr;
    CZV3DButton* m_add = nullptr;
    CZV3DButton* m_delete = nullptr;
    int m_otherCount = 0;
};

class CScheduleTypePage : public CSubPanel {
public:
    static constexpr int kStyleClass = 5;
    enum : int { kScheduleTab = 1030, kRunOnceTab = 1031, kEggTimerTab = 1032 };

    CScheduleTypePage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server);

    // Ids 1030..1032: replaces the inner window.
    void SelectType(int id, int redraw);
    int OnCommand(int id) override;

    CTRRegion* GetRegion() const { return m_region; }
    CZVWindow* GetInner() const { return m_inner; }

private:
    CZVServer& m_server;
    CTRRegion* m_region = nullptr;
    CZVWindow* m_inner = nullptr;
};

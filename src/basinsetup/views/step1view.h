#pragma once
// Step 1 of the set-up wizard, "General Settings": a thin Qt view of CStep1Dlg.
#include <QDialog>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "basinsetup/step1dlg.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;

class CStep1DlgView : public QDialog, public CStep1View {
public:
    // zipFile: the location table; empty for the one shipped with the program.
    CStep1DlgView(QWidget* parent, CZVServer& server, std::shared_ptr<CBasinSetup> model,
                  const std::string& adapterName, const std::string& zipFile = {});

    // Reads the gateway, then shows the step modally; kStepNext, kStepBack or
    // kStepCancel.
    int Run();
    // Reads the gateway and fills the controls, without showing the step.
    void Open();
    CStep1Dlg& Logic() { return m_logic; }
    QWidget* Control(int id) const;

    void ShowControl(int id, bool shown) override;
    void EnableControl(int id, bool on) override;
    void SetControlText(int id, const std::string& text) override;
    void SetHomePages(const std::vector<CHomePage>& pages) override;
    void PutValues(const CStep1Values& values) override;
    bool GetValues(CStep1Values& values) override;
    void StartTimer(uint32_t intervalMs) override;
    void StopTimer() override;
    void EndDialog(int result) override;
    void RunEmailSettings(const std::string& adapterName) override;
    void RunSetPassword() override;

    // Escape and the close box end the wizard without writing.
    void reject() override;

private:
    void Build();
    QWidget* SensorRow(const char* name, int labelId, int valueId, int upId, int downId, CStep1Dlg::Sensor sensor);

    std::shared_ptr<CBasinSetup> m_model;
    CStep1Dlg m_logic;
    std::map<int, QWidget*> m_controls;
    QDateEdit* m_date;
    QComboBox* m_hour;
    QComboBox* m_minute;
    QCheckBox* m_daylightSaving;
    QRadioButton* m_fahrenheit;
    QRadioButton* m_celsius;
    QCheckBox* m_priority;
    QComboBox* m_homePage;
    QLineEdit* m_zip;
    QLineEdit* m_latitude;
    QLineEdit* m_longitude;
    QComboBox* m_timeZone;
    QTimer m_timer;
    bool m_running = false;
    bool m_putting = false;  // controls being filled: their signals are no user's changes
    int m_endResult = 0;
    bool m_ended = false;
};

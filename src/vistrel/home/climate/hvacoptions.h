#pragma once
// The options of a zone's main page, a tabbed panel between the dial and the
// equipment lamps: "Schedule" (run the program or hold it, for good, until
// the next period or for a time the user sets), "Fan" and "Mode". Each tab
// is a strip of radio options that sends the user's choice to the gateway
// and follows the zone's status.
#include <memory>
#include <vector>

#include "vistrel/home/climate/climatemodel.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/tabs/trregion.h"

class CRockerSwitch;

struct CHvacOption {
    CZVString text;
    int value;
    CZVString icon;
};

// A strip of radio options built from a list of entries.
class CHvacOptionPage : public CZVWindow {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kMaxStripHeight = 70;
    static constexpr int kNoValue = -1;

    CHvacOptionPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone, std::vector<CHvacOption> entries);

    // The zone's status on the page; repainted when animate is set.
    virtual void UpdateFromZone(int animate) = 0;

    // The entries' texts and icons on the options, the captions at one size.
    void FillRadio();
    // The first entry with the value; -1 when none has it.
    int IndexOfValue(int value) const;
    // The selected entry's value; kNoValue, reported, when none is selected.
    int SelectedValue() const;
    CZVRadio* GetRadio() const { return m_radio; }
    const std::vector<CHvacOption>& GetEntries() const { return m_entries; }

protected:
    // The radio over the strip of the area: at most 70 pixels high, centred.
    void BuildRadio(CZVRect area, int groupId);
    // Sends ZVM_HVAC_SETMODE.
    void SendMode(int systemMode, int fanMode);

    CThermostatZone& m_zone;
    std::vector<CHvacOption> m_entries;
    CZVRadio* m_radio = nullptr;
};

// "Run Program", "Permanent Hold", "Temporary Hold" and "Timed Hold", with
// buttons that change the time of a timed hold and a countdown.
class CHvacHoldPage : public CHvacOptionPage {
public:
    enum : int {
        kRadioId = 1004,
        kMinusId = 1007,
        kPlusId = 1008,
        kPlusPressId = 1009,
        kMinusPressId = 1010,
        kReleaseId = 1011,
    };
    static constexpr int kMinSeconds = 15;
    static constexpr int kMaxSeconds = 14400;
    static constexpr int kTimedHold = 3;

    CHvacHoldPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone);

    void UpdateFromZone(int animate) override;
    int OnCommand(int id) override;
    void OnTimer() override;

    CRockerSwitch* GetRocker() const { return m_rocker; }
    // The seconds still to run of the timed hold, never below 0.
    int RemainingSeconds() const;

private:
    void EnableSteps(int enable, int redraw);
    // The remaining time becomes the hold time, counted from now.
    void TakeOverRemaining();
    void StepSeconds(int delta);
    void ShowCountdown();

    CRockerSwitch* m_rocker = nullptr;
    uint32_t m_countdownStart;
};

class CHvacModePage : public CHvacOptionPage {
public:
    static constexpr int kRadioId = 1004;

    CHvacModePage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone);
    static std::vector<CHvacOption> Entries(CThermostatZone& zone);

    void UpdateFromZone(int animate) override;
    int OnCommand(int id) override;
};

class CHvacFanPage : public CHvacOptionPage {
public:
    static constexpr int kRadioId = 1001;

    CHvacFanPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone);
    static std::vector<CHvacOption> Entries(const CThermostatZone& zone);

    void UpdateFromZone(int animate) override;
    int OnCommand(int id) override;
};

class CHvacOptionFrame : public CTRRegion {
public:
    enum : int { kScheduleTab = 1012, kFanTab = 1013, kModeTab = 1014 };

    CHvacOptionFrame(CZVWindow* parent, CZVRect rect, int styleClass, CThermostatZone& zone);
    ~CHvacOptionFrame() override;

    // Replaces the page by the tab's (other ids do nothing).
    void ShowOption(int tabId, int repaint);
    // The page follows the zone; the tabs are disabled while the thermostat
    // is not ready.
    void Update(int animate);
    int OnCommand(int id) override;

    CHvacOptionPage* GetOptionPage() const { return m_page; }
    // The tab last shown, by any frame of the program.
    static int GetLastTab();

private:
    CThermostatZone& m_zone;
    CHvacOptionPage* m_page = nullptr;
};

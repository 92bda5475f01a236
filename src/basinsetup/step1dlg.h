#pragma once
// Step 1 of the set-up wizard, "General Settings": the gateway's clock and
// daylight saving, the temperature scale, the manual operation priority, the
// tablet's home page, the location, and the calibration of the air, pool and
// spa sensors. Plain logic over a small view interface; the step asks the
// pool status itself every second to show the sensors' readings.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/basinsetup.h"
#include "core/messages/setupmessages.h"
#include "core/zvserver.h"

// Controls of the step.
enum : int {
    IDC_STEP1_DATE = 1058,
    IDC_STEP1_HOUR = 1101,
    IDC_STEP1_MINUTE = 1102,
    IDC_STEP1_DST = 1153,
    IDC_STEP1_FAHRENHEIT = 1067,
    IDC_STEP1_CELSIUS = 1107,
    IDC_STEP1_PRIORITY = 1062,
    IDC_STEP1_PRIORITY_GROUP = 1171,
    IDC_STEP1_HOME_PAGE = 1103,
    IDC_STEP1_ZIP = 1098,
    IDC_STEP1_LATITUDE = 1096,
    IDC_STEP1_LONGITUDE = 1097,
    IDC_STEP1_TIME_ZONE = 1110,
    IDC_STEP1_AIR_VALUE = 1093,
    IDC_STEP1_POOL_VALUE = 1094,
    IDC_STEP1_SPA_VALUE = 1095,
    IDC_STEP1_POOL_LABEL = 1106,
    IDC_STEP1_SPA_LABEL = 1105,
    IDC_STEP1_AIR_UP = 1027,
    IDC_STEP1_AIR_DOWN = 1030,
    IDC_STEP1_POOL_UP = 1031,
    IDC_STEP1_POOL_DOWN = 1032,
    IDC_STEP1_SPA_UP = 1035,
    IDC_STEP1_SPA_DOWN = 1036,
    IDC_STEP1_SET_PASSWORD = 1149,
    IDC_STEP1_EMAIL = 1150,
};

// The first offset of the time-zone list; an offset's entry is offset + 12.
inline constexpr int kFirstGmtOffset = -12;
inline constexpr int kLastGmtOffset = 13;

struct CHomePage {
    int32_t id = 0;
    std::string name;
    bool operator==(const CHomePage&) const = default;
};

// What the controls hold.
struct CStep1Values {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;    // entry of the hour list
    int minute = 0;  // entry of the minute list
    int daylightSaving = 0;
    int celsius = 0;
    int manualPriority = 0;
    int homePage = -1;  // entry of the home-page list, -1 for none
    std::string zip;
    double latitude = 0;   // degrees north
    double longitude = 0;  // degrees west
    int timeZone = -1;     // entry of the time-zone list, -1 for none
};

// The adapter's system information, kept whole so that writing it back
// changes only what the step shows.
struct CSystemInfo {
    int32_t first = 0;  // read, never written back
    int32_t second = 0;
    std::string adapterName;
    std::string zip;
    int32_t latitude = 0;   // degrees x 10000
    int32_t longitude = 0;  // degrees west x 10000
    int32_t gmtOffset = 0;
    int32_t c = 0;
    int32_t d = 0;
    std::string e;
    int32_t f = 0;
    std::string g;
};

// Latitude and longitude travel as degrees x 10000.
double LocationFromWire(int32_t tenThousandths);
int32_t LocationToWire(double degrees);

// 1 when every field of the answer was there.
int ReadSystemInfo(CZVMSG& answer, CSystemInfo& info);
void WriteSystemInfo(CZVMSG& request, const CSystemInfo& info);

// The texts of the hour list ("12 AM" ... "11 PM": the entry is the hour),
// the minute list ("00" ... "59") and the time-zone list ("GMT -12" ...
// "GMT +13": the entry is the offset + 12).
std::vector<std::string> HourChoices();
std::vector<std::string> MinuteChoices();
std::vector<std::string> TimeZoneChoices();
// A home page's name as listed: without a leading "Brenvik:" and the blanks after it.
std::string HomePageName(const std::string& name);

class CStep1View {
public:
    virtual ~CStep1View() = default;
    virtual void ShowControl(int id, bool shown) = 0;
    virtual void EnableControl(int id, bool on) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void SetHomePages(const std::vector<CHomePage>& pages) = 0;
    // Puts the values into the controls.
    virtual void PutValues(const CStep1Values& values) = 0;
    // Reads the controls over the values; false when a control holds what
    // its value cannot take.
    virtual bool GetValues(CStep1Values& values) = 0;
    // The step's one timer, calling CStep1Dlg::OnTimer.
    virtual void StartTimer(uint32_t intervalMs) = 0;
    virtual void StopTimer() = 0;
    // Ends the step with kStepBack, kStepNext or kStepCancel.
    virtual void EndDialog(int result) = 0;
    // The modal dialogs the step opens.
    virtual void RunEmailSettings(const std::string& adapterName) = 0;
    virtual void RunSetPassword() = 0;
};

class CStep1Dlg {
public:
    enum Sensor { kAir = 0, kPool = 1, kSpa = 2 };
    static constexpr uint32_t kTimerInterval = 100;
    static constexpr uint32_t kStatusInterval = 1000;
    static constexpr int kNoTarget = 255;
    static constexpr int kNotRead = 255;  // a sensor reading the gateway has not got

    // zipFile is the location table the ZIP code is looked up in.
    CStep1Dlg(CZVServer& server, CStep1View& view, std::shared_ptr<CBasinSetup> model, std::string adapterName,
              std::string zipFile);
    ~CStep1Dlg();
    CStep1Dlg(const CStep1Dlg&) = delete;
    CStep1Dlg& operator=(const CStep1Dlg&) = delete;

    void OnInitDialog();
    void OnTimer();
    void OnMessage(CZVMSG& message);
    void OnScaleChanged();
    void OnClockChanged() { m_clockChanged = true; }
    void OnZipChanged();
    void OnCalibrate(Sensor sensor, int step);
    void OnSetPassword() { m_view.RunSetPassword(); }
    void OnEmailSettings();
    void OnBack() { m_view.EndDialog(-1); }
    void OnNext();
    void OnFinish();
    // Writes what the step shows: clock (when changed), system information,
    // home page and the configuration tables.
    void Save();

    int LookupZip(int zip, double& latitude, double& longitude, int& zone) const;

    const CStep1Values& Values() const { return m_values; }
    const std::vector<CHomePage>& HomePages() const { return m_homePages; }
    int Target(Sensor sensor) const { return m_targets[sensor]; }

private:
    class Sink : public CSocketSink {
    public:
        Sink(CZVServer& server, CStep1Dlg& step) : CSocketSink(server), m_step(step) {}
        void OnMessage(CZVMSG* message) override {
            if (message) m_step.OnMessage(*message);
        }

    private:
        CStep1Dlg& m_step;
    };

    std::unique_ptr<CZVMSG> Ask(uint16_t id);
    bool ReadClock();
    bool ReadHomePages();
    void ShowSensorRows();
    void ShowSensorValue(int label, int value);
    void WaitForCalibration();
    void EnableCalibration();
    bool Waiting() const;
    bool CanCalibrate(Sensor sensor) const;
    int Reading(Sensor sensor) const;
    uint8_t ScaleByte() const;
    void WriteScale();

    CZVServer& m_server;
    CStep1View& m_view;
    std::shared_ptr<CBasinSetup> m_model;
    const std::string m_adapterName;
    const std::string m_zipFile;
    Sink m_sink;
    uint32_t m_statusTick;
    bool m_opened = false;  // everything was read: Save may write
    int m_openYear = 0, m_openMonth = 0, m_openDay = 0, m_openDaylightSaving = 0;
    bool m_clockChanged = false;
    bool m_statusRead = false;
    CStep1Values m_values;
    CSystemInfo m_info;
    std::vector<CHomePage> m_homePages;
    int m_targets[3] = {kNoTarget, kNoTarget, kNoTarget};
};

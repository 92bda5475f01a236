#include "basinsetup/step1dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "basinsetup/basinsetupdlg.h"
#include "basinsetup/bitutils.h"
#include "basinsetup/ziplookup.h"
#include "core/messages/setupmessages.h"
#include "platform/clock.h"

namespace {

// Entries of the configuration tables that the step shows.
constexpr int kScaleTable = 4;  // entry 2, bit 0: Celsius
constexpr int kScaleEntry = 2;
constexpr int kPriorityTable = 7;  // entry 5: manual operation priority
constexpr int kPriorityEntry = 5;
constexpr int kZipDigits = 5;

// The calibration buttons of the air, pool and spa sensors.
struct SensorButtons {
    int up, down;
};
constexpr SensorButtons kSensorButtons[] = {{IDC_STEP1_AIR_UP, IDC_STEP1_AIR_DOWN},
                                            {IDC_STEP1_POOL_UP, IDC_STEP1_POOL_DOWN},
                                            {IDC_STEP1_SPA_UP, IDC_STEP1_SPA_DOWN}};

const CHomePage kFixedHomePages[] = {{0, "Weather Only"}, {1, "Pool Summary"}, {2, "Weather + Pool Summary"}};

// Configuration table n of the model (0 the firmware, 1 to 9 the writable ones).
uint8_t TableByte(const CBasinSetup& model, int table, int index) {
    return GetByteAt(model.GetTable(table + 1), model.GetTableCount(table + 1), index);
}

bool ListsHomePages(int32_t adapterType) { return adapterType == 1 || adapterType == 6 || adapterType == 7; }

int TimeZoneEntry(int offset) {
    return offset >= kFirstGmtOffset && offset <= kLastGmtOffset ? offset - kFirstGmtOffset : -1;
}

}  // namespace

double LocationFromWire(int32_t tenThousandths) { return tenThousandths / 10000.0; }

// To the nearest step: a value read and written back unchanged stays as it was.
int32_t LocationToWire(double degrees) {
    const double scaled = std::round(degrees * 10000.0);
    if (!(scaled > INT32_MIN && scaled < INT32_MAX))
        return 0;  // not a place on earth: no number the gateway could hold
    return static_cast<int32_t>(scaled);
}

int ReadSystemInfo(CZVMSG& answer, CSystemInfo& info) {
    CSystemInfo read;
    std::string dropped;
    const bool whole = answer.ReadInt(read.first) && answer.ReadInt(read.second) &&
                       answer.ReadString(read.adapterName) && answer.ReadString(read.zip) &&
                       answer.ReadInt(read.latitude) && answer.ReadInt(read.longitude) &&
                       answer.ReadInt(read.gmtOffset) && answer.ReadString(dropped) && answer.ReadInt(read.c) &&
                       answer.ReadInt(read.d) && answer.ReadString(read.e) && answer.ReadString(dropped) &&
                       answer.ReadInt(read.f) && answer.ReadString(read.g);
    if (!whole) return 0;
    info = read;
    return 1;
}

void WriteSystemInfo(CZVMSG& request, const CSystemInfo& info) {
    request.WriteInt(info.second);
    request.WriteString(info.adapterName);
    request.WriteString(info.zip);
    request.WriteInt(info.latitude);
    request.WriteInt(info.longitude);
    request.WriteInt(info.gmtOffset);
    request.WriteInt(info.c);
    request.WriteInt(info.d);
    request.WriteString(info.e);
    request.WriteInt(info.f);
    request.WriteString(info.g);
}

std::vector<std::string> HourChoices() {
    std::vector<std::string> hours;
    for (int hour = 0; hour < 24; ++hour)
        hours.push_back(std::to_string(hour % 12 == 0 ? 12 : hour % 12) + (hour < 12 ? " AM" : " PM"));
    return hours;
}

std::vector<std::string> MinuteChoices() {
    std::vector<std::string> minutes;
    for (int minute = 0; minute < 60; ++minute) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d", minute);
        minutes.push_back(text);
    }
    return minutes;
}

std::vector<std::string> TimeZoneChoices() {
    std::vector<std::string> zones;
    for (int offset = kFirstGmtOffset; offset <= kLastGmtOffset; ++offset)
        zones.push_back(offset < 0 ? "GMT " + std::to_string(offset) : "GMT +" + std::to_string(offset));
    return zones;
}

std::string HomePageName(const std::string& name) {
    constexpr std::string_view kPrefix = "Brenvik:";
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) return name;
    const size_t start = name.find_first_not_of(' ', kPrefix.size());
    return start == std::string::npos ? std::string() : name.substr(start);
}

CStep1Dlg::CStep1Dlg(CZVServer& server, CStep1View& view, std::shared_ptr<CBasinSetup> model, std::string adapterName,
                     std::string zipFile)
    : m_server(server),
      m_view(view),
      m_model(std::move(model)),
      m_adapterName(std::move(adapterName)),
      m_zipFile(std::move(zipFile)),
      m_sink(server, *this),
      m_statusTick(platform::GetTickCount()) {
    m_values.manualPriority = TableByte(*m_model, kPriorityTable, kPriorityEntry);
    m_server.RegisterSink(&m_sink);
}

CStep1Dlg::~CStep1Dlg() {
    if (CZVServer* server = m_sink.GetServer()) server->UnregisterSink(&m_sink);
}

std::unique_ptr<CZVMSG> CStep1Dlg::Ask(uint16_t id) {
    CZVMSG request(0, id, 0, 1, m_model->GetVariant());
    return m_model->Link().Ask(request, kDefaultQueryTimeout);
}

void CStep1Dlg::OnInitDialog() {
    const uint8_t type = m_model->GetControllerType();
    if (type == 13 || type == 14) {
        m_view.ShowControl(IDC_STEP1_PRIORITY, false);
        m_view.ShowControl(IDC_STEP1_PRIORITY_GROUP, false);
    }
    // A step that cannot read what it would write back ends the wizard
    // before anything is written.
    if (!ReadClock()) {
        m_view.EndDialog(kStepCancel);
        return;
    }
    std::unique_ptr<CZVMSG> info = Ask(ZVM_SYSCONFIG_GETSYSTEMINFOQ);
    if (!info || !ReadSystemInfo(*info, m_info)) {
        m_view.EndDialog(kStepCancel);
        return;
    }
    m_values.zip = m_info.zip;
    m_values.latitude = LocationFromWire(m_info.latitude);
    m_values.longitude = LocationFromWire(m_info.longitude);
    m_values.timeZone = TimeZoneEntry(m_info.gmtOffset);
    if (!ReadHomePages()) {
        m_view.EndDialog(kStepCancel);
        return;
    }
    m_values.celsius = GetBit(ScaleByte(), 0);
    m_view.PutValues(m_values);
    ShowSensorRows();
    EnableCalibration();
    m_opened = true;
    m_view.StartTimer(kTimerInterval);
}

bool CStep1Dlg::ReadClock() {
    std::unique_ptr<CZVMSG> clock = Ask(ZVM_SYSCONFIG_GETCLOCKQ);
    CZVTime time;
    if (!clock || !clock->ReadTime(time)) return false;
    m_values.daylightSaving = 0;
    if (!clock->ReadInt(m_values.daylightSaving)) m_view.EnableControl(IDC_STEP1_DST, false);
    m_openYear = m_values.year = time.GetYear();
    m_openMonth = m_values.month = time.GetMonth();
    m_openDay = m_values.day = time.GetDay();
    m_openDaylightSaving = m_values.daylightSaving;
    m_values.hour = time.GetHour();
    m_values.minute = time.GetMinute();
    return true;
}

bool CStep1Dlg::ReadHomePages() {
    bool listed = false;
    if (std::unique_ptr<CZVMSG> version = Ask(ZVM_SYSCONFIG_GETVERSIONQ)) {
        std::string text;
        int32_t type = -1;
        if (version->ReadString(text)) version->ReadInt(type);
        listed = ListsHomePages(type);
    }
    std::unique_ptr<CZVMSG> answer = Ask(ZVM_LAYOUT_GETHOMEPAGEQ);
    int32_t current = 0;
    if (!answer || !answer->ReadInt(current)) return false;
    m_homePages.clear();
    if (listed) {
        m_view.ShowControl(IDC_STEP1_SET_PASSWORD, false);
        int32_t count = 0;
        answer->ReadInt(count);
        // As many pages as the answer holds, however many it announces.
        for (int32_t i = 0; i < count; ++i) {
            CHomePage page;
            if (!answer->ReadInt(page.id) || !answer->ReadString(page.name)) break;
            page.name = HomePageName(page.name);
            m_homePages.push_back(page);
        }
    } else {
        m_homePages.assign(std::begin(kFixedHomePages), std::end(kFixedHomePages));
    }
    m_view.SetHomePages(m_homePages);
    m_values.homePage = -1;
    for (size_t i = 0; i < m_homePages.size() && m_values.homePage < 0; ++i)
        if (m_homePages[i].id == current) m_values.homePage = static_cast<int>(i);
    return true;
}

void CStep1Dlg::ShowSensorRows() {
    const int bodies = m_model->GetControllerType() & 0x0F;
    if (bodies >= 5) return;
    for (int id : {IDC_STEP1_SPA_LABEL, IDC_STEP1_SPA_UP, IDC_STEP1_SPA_DOWN, IDC_STEP1_SPA_VALUE})
        m_view.ShowControl(id, false);
    if (bodies <= 2) m_view.SetControlText(IDC_STEP1_POOL_LABEL, "Water");
}

void CStep1Dlg::OnTimer() {
    if (platform::TicksSince(m_statusTick) > kStatusInterval) {
        CZVMSG request(m_sink.GetId(), ZVM_POOL_GETSTATUSQ, 0, 1, m_model->GetVariant());
        request.WriteInt(0);
        m_server.Send(&request);
        m_statusTick = platform::GetTickCount();
    }
    m_server.Poll(nullptr, CZVServer::kEverySink);
}

int CStep1Dlg::Reading(Sensor sensor) const {
    if (sensor == kAir) return m_model->GetAirTemp();
    const CPoolBody* body = m_model->GetBody(sensor == kPool ? 0 : 1);
    return body ? body->temperature : 0;
}

void CStep1Dlg::OnMessage(CZVMSG& message) {
    if (message.GetId() != ZVM_POOL_GETSTATUSA) return;
    message.ResetPosition();
    if (m_model->ReadStatus(message)) m_statusRead = true;
    static constexpr int kLabels[] = {IDC_STEP1_AIR_VALUE, IDC_STEP1_POOL_VALUE, IDC_STEP1_SPA_VALUE};
    for (Sensor sensor : {kAir, kPool, kSpa})
        if (m_targets[sensor] == kNoTarget || Reading(sensor) == m_targets[sensor])
            ShowSensorValue(kLabels[sensor], Reading(sensor));
    for (Sensor sensor : {kAir, kPool, kSpa})
        if (m_targets[sensor] != kNoTarget && Reading(sensor) == m_targets[sensor]) m_targets[sensor] = kNoTarget;
    if (!Waiting()) EnableCalibration();
}

bool CStep1Dlg::Waiting() const {
    return std::any_of(std::begin(m_targets), std::end(m_targets), [](int target) { return target != kNoTarget; });
}

bool CStep1Dlg::CanCalibrate(Sensor sensor) const { return m_statusRead && !Waiting() && Reading(sensor) != kNotRead; }

void CStep1Dlg::ShowSensorValue(int label, int value) {
    m_view.SetControlText(label, m_model->GetTempText(value));
    m_view.EnableControl(label, true);
}

void CStep1Dlg::WaitForCalibration() {
    for (int label : {IDC_STEP1_AIR_VALUE, IDC_STEP1_POOL_VALUE, IDC_STEP1_SPA_VALUE})
        m_view.SetControlText(label, "Wait...");
    for (const SensorButtons& buttons : kSensorButtons) {
        m_view.EnableControl(buttons.up, false);
        m_view.EnableControl(buttons.down, false);
    }
}

// A sensor is calibrated from a reading the gateway sent: before the first
// status, or with a sensor not read, the wanted value would be made up.
void CStep1Dlg::EnableCalibration() {
    for (Sensor sensor : {kAir, kPool, kSpa}) {
        m_view.EnableControl(kSensorButtons[sensor].up, CanCalibrate(sensor));
        m_view.EnableControl(kSensorButtons[sensor].down, CanCalibrate(sensor));
    }
}

void CStep1Dlg::OnCalibrate(Sensor sensor, int step) {
    if (!CanCalibrate(sensor)) return;
    m_model->AdjustSensor(sensor, step);
    WaitForCalibration();
    m_targets[sensor] = Reading(sensor);
}

uint8_t CStep1Dlg::ScaleByte() const { return TableByte(*m_model, kScaleTable, kScaleEntry); }

void CStep1Dlg::WriteScale() {
    uint8_t scale = ScaleByte();
    SetBit(scale, 0, m_values.celsius);
    // A table too short for the scale still carries the other changes.
    if (!m_model->SetTableByte4(kScaleEntry, scale, 1) && m_model->GetTableCount(kScaleTable + 1) <= kScaleEntry)
        m_model->WriteConfigurationTables();
}

void CStep1Dlg::OnScaleChanged() {
    if (!m_view.GetValues(m_values)) return;
    WriteScale();
}

void CStep1Dlg::OnZipChanged() {
    if (!m_view.GetValues(m_values) || m_values.zip.size() != kZipDigits) return;
    int zone = 0;
    if (!LookupZip(std::atoi(m_values.zip.c_str()), m_values.latitude, m_values.longitude, zone)) return;
    m_values.timeZone = TimeZoneEntry(zone);
    m_view.PutValues(m_values);
}

int CStep1Dlg::LookupZip(int zip, double& latitude, double& longitude, int& zone) const {
    return LookupZipInFile(m_zipFile, zip, latitude, longitude, zone);
}

void CStep1Dlg::OnEmailSettings() {
    m_view.StopTimer();
    m_view.RunEmailSettings(m_adapterName);
    m_view.StartTimer(kTimerInterval);
}

void CStep1Dlg::OnNext() {
    Save();
    m_view.EndDialog(kStepNext);
}

void CStep1Dlg::OnFinish() {
    Save();
    m_view.EndDialog(kStepCancel);
}

void CStep1Dlg::Save() {
    if (!m_opened || !m_view.GetValues(m_values)) return;
    if (m_values.year != m_openYear || m_values.month != m_openMonth || m_values.day != m_openDay ||
        m_values.daylightSaving != m_openDaylightSaving)
        m_clockChanged = true;
    m_model->SetTableByte7(kPriorityEntry, static_cast<uint8_t>(m_values.manualPriority), 0);
    CGatewayLink& link = m_model->Link();
    const ZVVariant variant = m_model->GetVariant();
    if (m_clockChanged) {
        CZVTime time;
        time.Set(m_values.year, m_values.month, 0, m_values.day, m_values.hour, m_values.minute, 0,
                 time.GetMilliseconds());
        time.Normalize();  // the day of the week that goes with the date
        CZVMSG request(0, ZVM_SYSCONFIG_SETCLOCKQ, 0, 1, variant);
        request.WriteTime(time);
        request.WriteInt(m_values.daylightSaving);
        link.Ask(request, kDefaultQueryTimeout);
    }
    CSystemInfo info = m_info;
    info.zip = m_values.zip;
    info.latitude = LocationToWire(m_values.latitude);
    info.longitude = LocationToWire(m_values.longitude);
    // A zone the list cannot show stays as the gateway had it.
    if (m_values.timeZone >= 0) info.gmtOffset = m_values.timeZone + kFirstGmtOffset;
    CZVMSG systemInfo(0, ZVM_SYSCONFIG_SETSYSTEMINFOQ, 0, 1, variant);
    WriteSystemInfo(systemInfo, info);
    link.Ask(systemInfo, kDefaultQueryTimeout);
    // Without a chosen page the gateway keeps the one it has.
    if (m_values.homePage >= 0 && static_cast<size_t>(m_values.homePage) < m_homePages.size()) {
        CZVMSG homePage(0, ZVM_LAYOUT_SETHOMEPAGEQ, 0, 1, variant);
        homePage.WriteInt(m_homePages[static_cast<size_t>(m_values.homePage)].id);
        link.Ask(homePage, kDefaultQueryTimeout);
    }
    WriteScale();
}

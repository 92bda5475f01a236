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
constexpr int kScaleTable = 4;     // entry 2, bit 0: Celsius
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
    if (!whole)
        return 0;
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
    if (name.compare(0, kPrefix.size(), kPrefix) != 0)
        return name;
    const size_t start = name.find_first_not_of(' ', kPrefix.size());
    return start == std::string::npos ? std::string() : name.substr(start);
}

CStep1Dlg::CStep1Dlg(CZVServer& server, CStep1View& view, std::shared_ptr<CBasinSetup> model,
                     std::string adapterName, std::string zipFile)
    : server_(server),
      view_(view),
      model_(std::move(model)),
      adapterName_(std::move(adapterName)),
      zipFile_(std::move(zipFile)),
      sink_(server, *this),
      statusTick_(platform::GetTickCount()) {
    values_.manualPriority = TableByte(*model_, kPriorityTable, kPriorityEntry);
    server_.RegisterSink(&sink_);
}

CStep1Dlg::~CStep1Dlg() {
    if (CZVServer* server = sink_.GetServer())
        server->UnregisterSink(&sink_);
}

std::unique_ptr<CZVMSG> CStep1Dlg::Ask(uint16_t id) {
    CZVMSG request(0, id, 0, 1, model_->GetVariant());
    return model_->Link().Ask(request, kDefaultQueryTimeout);
}

void CStep1Dlg::OnInitDialog() {
    const uint8_t type = model_->GetControllerType();
    if (type == 13 || type == 14) {
        view_.ShowControl(IDC_STEP1_PRIORITY, false);
        view_.ShowControl(IDC_STEP1_PRIORITY_GROUP, false);
    }
    // A step that cannot read what it would write back ends the wizard
    // before anything is written.
    if (!ReadClock()) {
        view_.EndDialog(kStepCancel);
        return;
    }
    std::unique_ptr<CZVMSG> info = Ask(ZVM_SYSCONFIG_GETSYSTEMINFOQ);
    if (!info || !ReadSystemInfo(*info, info_)) {
        view_.EndDialog(kStepCancel);
        return;
    }
    values_.zip = info_.zip;
    values_.latitude = LocationFromWire(info_.latitude);
    values_.longitude = LocationFromWire(info_.longitude);
    values_.timeZone = TimeZoneEntry(info_.gmtOffset);
    if (!ReadHomePages()) {
        view_.EndDialog(kStepCancel);
        return;
    }
    values_.celsius = GetBit(ScaleByte(), 0);
    view_.PutValues(values_);
    ShowSensorRows();
    EnableCalibration();
    opened_ = true;
    view_.StartTimer(kTimerInterval);
}

bool CStep1Dlg::ReadClock() {
    std::unique_ptr<CZVMSG> clock = Ask(ZVM_SYSCONFIG_GETCLOCKQ);
    CZVTime time;
    if (!clock || !clock->ReadTime(time))
        return false;
    values_.daylightSaving = 0;
    if (!clock->ReadInt(values_.daylightSaving))
        view_.EnableControl(IDC_STEP1_DST, false);
    openYear_ = values_.year = time.GetYear();
    openMonth_ = values_.month = time.GetMonth();
    openDay_ = values_.day = time.GetDay();
    openDaylightSaving_ = values_.daylightSaving;
    values_.hour = time.GetHour();
    values_.minute = time.GetMinute();
    return true;
}

bool CStep1Dlg::ReadHomePages() {
    bool listed = false;
    if (std::unique_ptr<CZVMSG> version = Ask(ZVM_SYSCONFIG_GETVERSIONQ)) {
        std::string text;
        int32_t type = -1;
        if (version->ReadString(text))
            version->ReadInt(type);
        listed = ListsHomePages(type);
    }
    std::unique_ptr<CZVMSG> answer = Ask(ZVM_LAYOUT_GETHOMEPAGEQ);
    int32_t current = 0;
    if (!answer || !answer->ReadInt(current))
        return false;
    homePages_.clear();
    if (listed) {
        view_.ShowControl(IDC_STEP1_SET_PASSWORD, false);
        int32_t count = 0;
        answer->ReadInt(count);
        // As many pages as the answer holds, however many it announces.
        for (int32_t i = 0; i < count; ++i) {
            CHomePage page;
            if (!answer->ReadInt(page.id) || !answer->ReadString(page.name))
                break;
            page.name = HomePageName(page.name);
            homePages_.push_back(page);
        }
    } else {
        homePages_.assign(std::begin(kFixedHomePages), std::end(kFixedHomePages));
    }
    view_.SetHomePages(homePages_);
    values_.homePage = -1;
    for (size_t i = 0; i < homePages_.size() && values_.homePage < 0; ++i)
        if (homePages_[i].id == current)
            values_.homePage = static_cast<int>(i);
    return true;
}

void CStep1Dlg::ShowSensorRows() {
    const int bodies = model_->GetControllerType() & 0x0F;
    if (bodies >= 5)
        return;
    for (int id : {IDC_STEP1_SPA_LABEL, IDC_STEP1_SPA_UP, IDC_STEP1_SPA_DOWN, IDC_STEP1_SPA_VALUE})
        view_.ShowControl(id, false);
    if (bodies <= 2)
        view_.SetControlText(IDC_STEP1_POOL_LABEL, "Water");
}

void CStep1Dlg::OnTimer() {
    if (platform::TicksSince(statusTick_) > kStatusInterval) {
        CZVMSG request(sink_.GetId(), ZVM_POOL_GETSTATUSQ, 0, 1, model_->GetVariant());
        request.WriteInt(0);
        server_.Send(&request);
        statusTick_ = platform::GetTickCount();
    }
    server_.Poll(nullptr, CZVServer::kEverySink);
}

int CStep1Dlg::Reading(Sensor sensor) const {
    if (sensor == kAir)
        return model_->GetAirTemp();
    const CPoolBody* body = model_->GetBody(sensor == kPool ? 0 : 1);
    return body ? body->temperature : 0;
}

void CStep1Dlg::OnMessage(CZVMSG& message) {
    if (message.GetId() != ZVM_POOL_GETSTATUSA)
        return;
    message.ResetPosition();
    if (model_->ReadStatus(message))
        statusRead_ = true;
    static constexpr int kLabels[] = {IDC_STEP1_AIR_VALUE, IDC_STEP1_POOL_VALUE, IDC_STEP1_SPA_VALUE};
    for (Sensor sensor : {kAir, kPool, kSpa})
        if (targets_[sensor] == kNoTarget || Reading(sensor) == targets_[sensor])
            ShowSensorValue(kLabels[sensor], Reading(sensor));
    for (Sensor sensor : {kAir, kPool, kSpa})
        if (targets_[sensor] != kNoTarget && Reading(sensor) == targets_[sensor])
            targets_[sensor] = kNoTarget;
    if (!Waiting())
        EnableCalibration();
}

bool CStep1Dlg::Waiting() const {
    return std::any_of(std::begin(targets_), std::end(targets_), [](int target) { return target != kNoTarget; });
}

bool CStep1Dlg::CanCalibrate(Sensor sensor) const {
    return statusRead_ && !Waiting() && Reading(sensor) != kNotRead;
}

void CStep1Dlg::ShowSensorValue(int label, int value) {
    view_.SetControlText(label, model_->GetTempText(value));
    view_.EnableControl(label, true);
}

void CStep1Dlg::WaitForCalibration() {
    for (int label : {IDC_STEP1_AIR_VALUE, IDC_STEP1_POOL_VALUE, IDC_STEP1_SPA_VALUE})
        view_.SetControlText(label, "Wait...");
    for (const SensorButtons& buttons : kSensorButtons) {
        view_.EnableControl(buttons.up, false);
        view_.EnableControl(buttons.down, false);
    }
}

// A sensor is calibrated from a reading the gateway sent: before the first
// status, or with a sensor not read, the wanted value would be made up.
void CStep1Dlg::EnableCalibration() {
    for (Sensor sensor : {kAir, kPool, kSpa}) {
        view_.EnableControl(kSensorButtons[sensor].up, CanCalibrate(sensor));
        view_.EnableControl(kSensorButtons[sensor].down, CanCalibrate(sensor));
    }
}

void CStep1Dlg::OnCalibrate(Sensor sensor, int step) {
    if (!CanCalibrate(sensor))
        return;
    model_->AdjustSensor(sensor, step);
    WaitForCalibration();
    targets_[sensor] = Reading(sensor);
}

uint8_t CStep1Dlg::ScaleByte() const { return TableByte(*model_, kScaleTable, kScaleEntry); }

void CStep1Dlg::WriteScale() {
    uint8_t scale = ScaleByte();
    SetBit(scale, 0, values_.celsius);
    // A table too short for the scale still carries the other changes.
    if (!model_->SetTableByte4(kScaleEntry, scale, 1) && model_->GetTableCount(kScaleTable + 1) <= kScaleEntry)
        model_->WriteConfigurationTables();
}

void CStep1Dlg::OnScaleChanged() {
    if (!view_.GetValues(values_))
        return;
    WriteScale();
}

void CStep1Dlg::OnZipChanged() {
    if (!view_.GetValues(values_) || values_.zip.size() != kZipDigits)
        return;
    int zone = 0;
    if (!LookupZip(std::atoi(values_.zip.c_str()), values_.latitude, values_.longitude, zone))
        return;
    values_.timeZone = TimeZoneEntry(zone);
    view_.PutValues(values_);
}

int CStep1Dlg::LookupZip(int zip, double& latitude, double& longitude, int& zone) const {
    return LookupZipInFile(zipFile_, zip, latitude, longitude, zone);
}

void CStep1Dlg::OnEmailSettings() {
    view_.StopTimer();
    view_.RunEmailSettings(adapterName_);
    view_.StartTimer(kTimerInterval);
}

void CStep1Dlg::OnNext() {
    Save();
    view_.EndDialog(kStepNext);
}

void CStep1Dlg::OnFinish() {
    Save();
    view_.EndDialog(kStepCancel);
}

void CStep1Dlg::Save() {
    if (!opened_ || !view_.GetValues(values_))
        return;
    if (values_.year != openYear_ || values_.month != openMonth_ || values_.day != openDay_ ||
        values_.daylightSaving != openDaylightSaving_)
        clockChanged_ = true;
    model_->SetTableByte7(kPriorityEntry, static_cast<uint8_t>(values_.manualPriority), 0);
    CGatewayLink& link = model_->Link();
    const ZVVariant variant = model_->GetVariant();
    if (clockChanged_) {
        CZVTime time;
        time.Set(values_.year, values_.month, 0, values_.day, values_.hour, values_.minute, 0,
                 time.GetMilliseconds());
        time.Normalize();  // the day of the week that goes with the date
        CZVMSG request(0, ZVM_SYSCONFIG_SETCLOCKQ, 0, 1, variant);
        request.WriteTime(time);
        request.WriteInt(values_.daylightSaving);
        link.Ask(request, kDefaultQueryTimeout);
    }
    CSystemInfo info = info_;
    info.zip = values_.zip;
    info.latitude = LocationToWire(values_.latitude);
    info.longitude = LocationToWire(values_.longitude);
    // A zone the list cannot show stays as the gateway had it.
    if (values_.timeZone >= 0)
        info.gmtOffset = values_.timeZone + kFirstGmtOffset;
    CZVMSG systemInfo(0, ZVM_SYSCONFIG_SETSYSTEMINFOQ, 0, 1, variant);
    WriteSystemInfo(systemInfo, info);
    link.Ask(systemInfo, kDefaultQueryTimeout);
    // Without a chosen page the gateway keeps the one it has.
    if (values_.homePage >= 0 && static_cast<size_t>(values_.homePage) < homePages_.size()) {
        CZVMSG homePage(0, ZVM_LAYOUT_SETHOMEPAGEQ, 0, 1, variant);
        homePage.WriteInt(homePages_[static_cast<size_t>(values_.homePage)].id);
        link.Ask(homePage, kDefaultQueryTimeout);
    }
    WriteScale();
}

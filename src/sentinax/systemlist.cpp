#include "sentinax/systemlist.h"

#include <algorithm>
#include <cstdio>

#include "sentinax/sentinaxdlg.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"

namespace {

struct KindRow {
    const char* title;
    const char* longName;
    int narrowWidth;  // windows up to 1280 pixels wide
    int wideWidth;
    // The widest value the column usually shows; the rows' own values are
    // measured besides.
    const char* usualValue;
};

constexpr KindRow kKinds[] = {
    {"Customer Name", "Customer Name", 90, 95, ""},
    {"Protocol\nAdapter\nSerial #\n(Last 6 digits)", "Protocol Adapter Serial #", 50, 75, "000000"},
    {"Adapter\nVersion", "Adapter Version", 70, 110, "5.2 Build 738"},
    {"Model", "Corvanta Model", 75, 90, "Corvanta 8"},
    {"Firmware", "Firmware Version", 35, 65, "2.140"},
    {"Air Temp", "Air Temperature", 28, 40, "104 F"},
    {"Pool Pump", "Pool Pump", 25, 35, "Off"},
    {"Pool Set Point", "Pool Set Point", 28, 40, "104 F"},
    {"Pool Actual Temp", "Pool Actual Temperature", 28, 40, "104 F"},
    {"Pool Heat Mode", "Pool Heat Mode", 65, 65, "Heater"},
    {"Spa Pump", "Spa Pump", 25, 35, "Off"},
    {"Spa Set Point", "Spa Set Point", 28, 40, "104 F"},
    {"Spa Actual Temp", "Spa Actual Temperature", 28, 40, "104 F"},
    {"Spa Heat Mode", "Spa Heat Mode", 65, 65, "Heater"},
    {"Spa-Side Remote", "Spa-Side Remote", 40, 50, "Disabled"},
    {"Lights On / Total", "Lights On", 30, 40, "10 / 10"},
    {"Vortana Present", "Vortana Pump Present?", 25, 40, "Yes"},
    {"Alarms", "Alarms", 28, 40, "None"},
    {"Salt Level (ppm)", "Salt Level (ppm)", 30, 40, "4500"},
    {"Pool Chlorine Output", "Pool Chlorine Output", 28, 40, "100%"},
    {"Spa Chlorine Output", "Spa Chlorine Output", 28, 40, "100%"},
    {"PH", "pH", 28, 40, "7.48"},
    {"ORP", "ORP", 25, 40, "750"},
    {"Acid Tank Level", "Acid Tank Level", 26, 40, "100%"},
    {"Chlorine Tank Level", "Chlorine Tank Level", 26, 40, "100%"},
    {"Water Balance", "Water Balance", 35, 40, "-0.12"},
    {"Status", "Status", 30, 50, "Connected OK"},
    {"Date", "", 75, 75, "12/31/2026"},
    {"Time", "", 75, 75, "12:59:59 PM"},
};
constexpr int kSystemColumns = kColumnStatus + 1;

constexpr uint32_t kPumpPresentBits = 0x0FF0;  // bits 4 to 11
constexpr uint32_t kChemistryBit = 1u << 15;
constexpr int kSaltUnit = 50;
constexpr int kTopTankLevel = 7;
constexpr int kLowestBalance = -99;
constexpr int kHighestBalance = 98;
constexpr int kFailuresShownRed = 3;

constexpr ColorRef kPumpRunning = Rgb(100, 255, 100);
constexpr ColorRef kPumpText = Rgb(0, 100, 0);
constexpr ColorRef kLightsOn = Rgb(255, 255, 0);
constexpr ColorRef kAlarmsPresent = Rgb(255, 225, 225);
constexpr ColorRef kStatusFailed = Rgb(255, 100, 100);
constexpr ColorRef kStatusPending = Rgb(255, 255, 200);
constexpr ColorRef kStatusGood = Rgb(200, 255, 200);

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string PercentText(int value) { return Format("%d%%", value); }

// A tank level of 1 to 7 as 0 to 100 per cent; anything else was not read.
std::string TankText(int level) {
    return level >= 1 && level <= kTopTankLevel ? PercentText((100 * level - 100) / 6) : "-";
}

}  // namespace

std::string GetTemperatureText(int value) { return value == 0 || value == kNotRead ? "-" : Format("%d F", value); }

std::string GetOnOffText(int value) {
    if (value == kNotRead) return "-";
    return value ? "On" : "Off";
}

ColorRef GetHeatStatusColor(int heatStatus) {
    switch (heatStatus) {
    case 1: return Rgb(200, 200, 255);
    case 2: return Rgb(255, 200, 200);
    case 3: return Rgb(255, 200, 255);
    default: return Rgb(225, 225, 225);
    }
}

CSystemList::CSystemList(CSentinaxDlg* mainDialog, bool history) : m_mainDialog(mainDialog), m_history(history) {
    if (m_history) {
        m_kinds = {kColumnDate, kColumnTime};
        for (int kind = kColumnAirTemp; kind <= kColumnStatus; ++kind) m_kinds.push_back(kind);
    } else {
        for (int kind = 0; kind < kSystemColumns; ++kind) m_kinds.push_back(kind);
    }
    std::vector<std::string> titles;
    for (int kind : m_kinds) titles.emplace_back(kKinds[kind].title);
    SetColumns(titles);
    SetDefaultWidths();
}

void CSystemList::Fill(const std::vector<CSystem*>& systems) {
    ApplyColumns();
    DeleteAllRows();
    for (CSystem* system : systems) InsertRow(system, -1);
    NotifyChanged();
}

int CSystemList::GetKindOfColumn(int column) const {
    return column >= 0 && column < CSortListCtrl::GetColumnCount() ? m_kinds[static_cast<size_t>(column)] : -1;
}

int CSystemList::GetRuleIndex(int column) const {
    if (column < 0 || column >= CSortListCtrl::GetColumnCount()) return -1;
    return m_history && column >= 2 ? column + 3 : column;
}

bool CSystemList::IsVerticalColumn(int column) const {
    const int kind = GetKindOfColumn(column);
    return kind >= kColumnAirTemp && kind <= kColumnWaterBalance;
}

bool CSystemList::IsSortableColumn(int column) const {
    const int kind = GetKindOfColumn(column);
    return (kind >= kColumnName && kind <= kColumnFirmware) || kind == kColumnAlarms || kind == kColumnStatus;
}

void CSystemList::SetDefaultWidths() {
    const bool narrow = m_windowWidth > 0 && m_windowWidth <= kNarrowWindow;
    m_readableWidths.clear();
    for (int column = 0; column < CSortListCtrl::GetColumnCount(); ++column) {
        const KindRow& kind = kKinds[GetKindOfColumn(column)];
        int width = narrow ? kind.narrowWidth : kind.wideWidth;
        if (m_measure.cellText && m_measure.titleLine) {
            m_readableWidths.push_back(MeasureReadableWidth(column));
            width = std::max(width, m_readableWidths.back());
        }
        SetColumnWidth(column, width);
    }
}

// A title runs across (its widest line) or, for a reading, downwards (its
// lines side by side); a value is cut when it does not fit the cell less its
// margin, so it needs a pixel beyond that.
int CSystemList::MeasureReadableWidth(int column) const {
    const std::string title = kKinds[GetKindOfColumn(column)].title;
    int width = 0;
    int lines = 0;
    for (size_t start = 0; start <= title.size(); ++lines) {
        const size_t end = std::min(title.find('\n', start), title.size());
        width = std::max(width, m_measure.titleLine(title.substr(start, end - start)));
        start = end + 1;
    }
    if (IsVerticalColumn(column)) width = lines * m_measure.titleLineHeight;
    width += 2 * kTitleMargin;
    const auto needs = [&](const std::string& text) { return m_measure.cellText(text) + kCellMargin + 1; };
    width = std::max(width, needs(kKinds[GetKindOfColumn(column)].usualValue));
    for (int row = 0; row < GetRowCount(); ++row) width = std::max(width, needs(GetCellText(GetRowData(row), column)));
    return std::min(width, kMaxReadableWidth);
}

std::string CSystemList::GetColumnName(int kind) {
    return kind >= 0 && kind < kSystemColumns ? kKinds[kind].longName : std::string();
}

void CSystemList::ApplyColumns() { CSortListCtrl::ApplyColumns(); }

// Rows compare by the text they show, ignoring case: the folded texts'
// bytes order them so. A column that does not sort gives every row the same
// key.
std::string CSystemList::GetSortKey(const CSystem* system, int column) const {
    return IsSortableColumn(column) ? FoldCase(GetCellText(system, column)) : std::string();
}

void CSystemList::OnRightClick(int row, int column, int x, int y) {
    CSystem* system = GetRowData(row);
    if (!system) return;
    if (GetRuleIndex(column) == kColumnAlarms) {
        if (GetView()) GetView()->ShowSystemErrors(*system);
    } else if (m_mainDialog) {
        m_mainDialog->ShowContextMenu(x, y);
    }
}

std::string CSystemList::GetCellText(const CSystem* system, int column) const {
    const int rule = GetRuleIndex(column);
    if (!system || rule < 0) return std::string();
    if (rule == kColumnSerial && !m_history) return system->GetAdapterSerial();
    // A cell reads its fields in place, under the system's lock: a copy of
    // the whole record would cost far more than the cell.
    auto lock = system->Lock();
    return RuleText(*system, rule);
}

std::string CSystemList::RuleText(const CSystemRecord& s, int rule) const {
    const bool chemistry = (s.equipmentFlags & kChemistryBit) != 0;
    const bool unknownYet = !m_history && s.neverConnected;
    switch (rule) {
    case kColumnName:
        if (m_history)
            return Format("%d/%d/%d", s.reportTime.GetMonth(), s.reportTime.GetDay(), s.reportTime.GetYear());
        return s.name;
    case kColumnSerial:
        return Format("%d:%02d:%02d %s", s.reportTime.GetHour12(), s.reportTime.GetMinute(), s.reportTime.GetSecond(),
                      s.reportTime.GetHour() > 11 ? "PM" : "AM");
    case kColumnAdapterVersion: return s.adapterVersion;
    case kColumnModel: return s.chlorinatorModel.empty() ? s.modelName : s.modelName + " / " + s.chlorinatorModel;
    case kColumnFirmware: return s.firmwareVersion;
    case kColumnAirTemp: return GetTemperatureText(s.airTemperature);
    case kColumnPoolSetPoint: return GetTemperatureText(s.poolSetPoint);
    case kColumnPoolTemp: return GetTemperatureText(s.poolTemperature);
    case kColumnSpaSetPoint: return GetTemperatureText(s.spaSetPoint);
    case kColumnSpaTemp: return GetTemperatureText(s.spaTemperature);
    case kColumnPoolPump: return GetOnOffText(s.poolPump);
    case kColumnSpaPump: return GetOnOffText(s.spaPump);
    case kColumnPoolHeatMode: return s.poolHeatModeText;
    case kColumnSpaHeatMode: return s.spaHeatModeText;
    case kColumnSpaSideRemote:
        if (s.modelName.find("Orlenza") != std::string::npos || s.spaSideRemote == kNotRead) return "-";
        return s.spaSideRemote ? "Enabled" : "Disabled";
    case kColumnLights: return s.lightsTotal > 0 ? Format("%d / %d", s.lightsOn, s.lightsTotal) : "-";
    case kColumnPumpPresent:
        if (unknownYet) return "-";
        return (s.equipmentFlags & kPumpPresentBits) ? "Yes" : "No";
    case kColumnAlarms: {
        if (unknownYet) return "-";
        const size_t count = s.alarms.size() + s.warnings.size();
        return count ? Format("%d", static_cast<int>(count)) : "None";
    }
    case kColumnSalt: return s.chlorinatorPresent ? Format("%d", s.saltLevel * kSaltUnit) : "-";
    case kColumnPoolChlorine:
    case kColumnSpaChlorine:
        if (!s.chlorinatorPresent) return "-";
        if (chemistry) return "MV";
        return PercentText(rule == kColumnPoolChlorine ? s.poolChlorineOutput : s.spaChlorineOutput);
    case kColumnPh: return chemistry ? Format("%.02f", s.phValue / 100.0) : "-";
    case kColumnOrp: return chemistry ? Format("%d", s.orpValue) : "-";
    case kColumnAcidTank: return chemistry ? TankText(s.acidTankLevel) : "-";
    case kColumnChlorineTank: return chemistry ? TankText(s.chlorineTankLevel) : "-";
    case kColumnWaterBalance:
        if (!chemistry || s.saturationIndex < kLowestBalance || s.saturationIndex > kHighestBalance) return "-";
        return Format("%.02f", s.saturationIndex / 100.0);
    case kColumnStatus: return GetStatusText(s.status);
    default: return std::string();
    }
}

ColorRef CSystemList::GetCellBackColor(const CSystem* system, int column) const {
    const int rule = GetRuleIndex(column);
    if (!system) return kWhite;
    auto lock = system->Lock();
    const CSystemRecord& s = *system;
    switch (rule) {
    case kColumnPoolPump: return IsPumpRunning(s.poolPump) ? kPumpRunning : kWhite;
    case kColumnSpaPump: return IsPumpRunning(s.spaPump) ? kPumpRunning : kWhite;
    case kColumnPoolHeatMode: return GetHeatStatusColor(s.poolHeatStatus);
    case kColumnSpaHeatMode: return GetHeatStatusColor(s.spaHeatStatus);
    case kColumnLights: return s.lightsOn > 0 ? kLightsOn : kWhite;
    case kColumnAlarms: return s.alarms.empty() && s.warnings.empty() ? kWhite : kAlarmsPresent;
    case kColumnStatus: return StatusColor(s);
    default: return kWhite;
    }
}

ColorRef CSystemList::StatusColor(const CSystemRecord& s) const {
    switch (s.status) {
    case kStatusNotConnected:
    case kStatusCannotConnect:
    case kStatusSystemMismatch:
    case kStatusLoginFailed:
    case kStatusNoConfiguration:
    case kStatusNoStatus:
    case kStatusNoChlorinator:
    case kStatusNoWarnings: return m_history || s.failureCount >= kFailuresShownRed ? kStatusFailed : kStatusPending;
    case kStatusRelayNotFound:
    case kStatusLoginRefused: return kStatusFailed;
    case kStatusConnected: return kStatusGood;
    case kStatusSynchronizing:
    case kStatusServiceMode:
    case kStatusWorking:
    case kStatusNotPosting: return kStatusPending;
    default: return kWhite;
    }
}

ColorRef CSystemList::GetCellTextColor(const CSystem* system, int column) const {
    if (!system) return kBlack;
    const int rule = GetRuleIndex(column);
    auto lock = system->Lock();
    const CSystemRecord& s = *system;
    if ((rule == kColumnPoolPump && s.poolPump == 1) || (rule == kColumnSpaPump && s.spaPump == 1)) return kPumpText;
    return kBlack;
}

bool CSystemList::IsColumnCentered(int column) const { return IsVerticalColumn(column); }

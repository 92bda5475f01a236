#include "vistrel/home/climate/climatelists.h"

#include <algorithm>
#include <vector>

#include "core/messages/climatemessages.h"
#include "core/zvquery.h"
#include "vistrel/home/climate/climaterows.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kCaptionFormat = 17;
constexpr int kCaptionGap = 1;

int g_zoneToShow = 0;

constexpr CClimateStatusList::Column kThermostatColumns[] = {
    {"Name", 3, 0},   {"Heat", 1, 0x000080}, {"Temp", 1, 0x008000}, {"Cool", 1, 0x800000},
    {"Status", 3, 0}, {"Fan", 1, 0},         {"Program", 2, 0},     {"Schedule", 2, 0},
};
constexpr int kThermostatColumnsPlain = 7;

constexpr CClimateStatusList::Column kHumidistatColumns[] = {
    {"Name", 3, 0}, {"Humidify", 1, 0x000080}, {"Humidity", 1, 0x008000}, {"Dehumidify", 1, 0x800000}, {"Status", 3, 0},
    {"Fan", 1, 0},
};

constexpr CClimateStatusList::Column kSensorColumns[] = {{"Name", 0, 0}, {"Value", 0, 0}};

// The climate page opens next, on the idle step.
void OpenClimatePage() {
    if (CMainWnd* main = GetTabletMainWnd()) main->SetPendingCommand(kCommandClimate);
}

// Writes the value columns 1..6 of a row.
void WriteRowTexts(CColumnListItem* row, const CStatusRowTexts& texts) {
    row->SetText(1, texts.low);
    row->SetText(2, texts.value);
    row->SetText(3, texts.high);
    row->SetText(4, texts.status);
    row->SetText(5, texts.fan);
    row->SetText(6, texts.program);
}

}  // namespace

int GetClimateZoneToShow() { return g_zoneToShow; }
void SetClimateZoneToShow(int zoneId) { g_zoneToShow = zoneId; }

int AddClimateCaption(CZVWindow* window, CZVRect area, const char* text) {
    CZVLabel* caption = window->AddLabel(CZVRect(area.x, area.y, area.w, CHvacOverviewPage::kCaptionHeight), text,
                                         CHvacOverviewPage::kCaptionFontSize);
    caption->SetTextFormat(kCaptionFormat);
    // The caption stands on the face of the window's parent.
    if (CZVWindow* parent = window->GetParent()) caption->SetTextColor(parent->GetTextColor());
    return area.y + CHvacOverviewPage::kCaptionHeight + kCaptionGap;
}

// ---- the polling list

CClimateStatusList::CClimateStatusList(CZVWindow* parent, CZVRect rect, CZVServer& server,
                                       std::span<const Column> columns, int fontSize, uint16_t poll)
    : CZVWindow(parent, rect, 0), CSocketSink(server), m_poll(poll) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_list = new CStatusList(this, CZVRect(0, 0, rect.w, rect.h), static_cast<int>(columns.size()), kRowCommand);
    AddChild(m_list);
    if (fontSize >= 0) m_list->SetFontSize(fontSize);
    const int rowHeight = m_list->GetFontSize() * 12 / 10;
    m_list->SetRowHeight(rowHeight);
    m_list->SetSelectedRowHeight(rowHeight);
    m_list->SetHeaderHeight(kHeaderHeight);
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        m_list->SetColumnTitle(column, columns[i].title);
        if (columns[i].weight) m_list->SetColumnWidth(column, columns[i].weight);
        if (columns[i].colour) m_list->SetColumnTextColor(column, columns[i].colour);
    }
    m_list->LayoutColumns();
    server.RegisterSink(this);
    CZVMSG ask(GetId(), m_poll);
    server.Send(&ask);
    SetTimer(kPollInterval);
}

CClimateStatusList::~CClimateStatusList() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CClimateStatusList::OnTimer() {
    CZVServer* server = GetServer();
    if (!server || !PollsNow()) return;
    CZVMSG ask(GetId(), m_poll);
    server->Send(&ask);
}

void CClimateStatusList::ShowAnswer() {
    if (!m_fitted) {
        m_fitted = 1;
        m_list->AutoFitColumns();
    }
    if (!IsShown()) return;
    if (CMainWndBase::InputBlockedFor(this))
        m_list->SetDeferredRepaint(1);
    else
        m_list->RedrawBuffered();
}

int CClimateStatusList::LoadDeviceRows(int deviceKind) {
    m_list->RemoveAll(0);
    CZVServer* server = GetServer();
    if (!server) return 0;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_HVAC_GETDEVICESQ);
    request.WriteInt(deviceKind);
    if (!query.Query(&answer, &request)) return 0;
    std::vector<CClimateDevice> devices;
    ReadClimateDevices(answer, &devices);
    for (const CClimateDevice& device : devices) {
        const CZVString name(device.name.c_str());
        auto zone =
            std::make_unique<CThermostatZone>(server, device.zoneId, name, deviceKind == kDevicesHumidistats, 0);
        m_list->AddStatusRow(std::move(zone))->SetText(0, name);
    }
    return 1;
}

// ---- thermostats

CThermostatList::CThermostatList(CZVWindow* parent, CZVRect rect, CZVServer& server, int controlType, int fontSize)
    : CClimateStatusList(parent, rect, server,
                         std::span(kThermostatColumns, controlType == kTypeWithSchedule ? std::size(kThermostatColumns)
                                                                                        : kThermostatColumnsPlain),
                         fontSize, ZVM_HVAC_GETTHERMOSTATSQ) {
    LoadDeviceRows(kDevicesThermostats);
    IsCelsius(&server);
    if (controlType != kTypeWithSchedule) return;
    m_schedules = std::make_unique<CHvacZoneList>(server);
    // The names follow the gateway's schedules without waiting for the next poll.
    m_schedules->SetChangeCallback([this] {
        WriteScheduleNames();
        ShowAnswer();
    });
}

void CThermostatList::WriteScheduleNames() {
    CStatusList* list = GetList();
    const int count = std::min(list->GetCount(), static_cast<int>(m_rowSchedules.size()));
    for (int i = 0; i < count; ++i) list->GetRow(i)->SetText(7, ScheduleName(m_rowSchedules[static_cast<size_t>(i)]));
}

int CThermostatList::PollsNow() {
    CMainWnd* main = GetTabletMainWnd();
    return !main || (!main->IsInputBlocked(this) && !main->GetModal());
}

CZVString CThermostatList::ScheduleName(int scheduleId) const {
    const CHvacZone* zone = scheduleId ? m_schedules->FindById(scheduleId) : nullptr;
    return zone ? zone->GetName() : CZVString("Individual");
}

void CThermostatList::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_GETTHERMOSTATSA) return;
    message->ResetPosition();
    const int blink = ToggleBlink();
    std::vector<CThermostatRowValues> rows;
    ReadThermostatRows(message, &rows);
    CStatusList* list = GetList();
    if (list->GetCount() != static_cast<int>(rows.size()) && !LoadDeviceRows(kDevicesThermostats)) return;
    const int count = std::min(list->GetCount(), static_cast<int>(rows.size()));
    m_rowSchedules.clear();
    for (int i = 0; i < count; ++i) {
        const CStatusRowTexts texts = ThermostatRowTexts(rows[static_cast<size_t>(i)], blink);
        WriteRowTexts(list->GetRow(i), texts);
        m_rowSchedules.push_back(rows[static_cast<size_t>(i)].scheduleId);
        if (CStatusRecord* record = list->GetRecordAt(i)) record->SetFlagged(texts.flagged);
    }
    if (m_schedules) WriteScheduleNames();
    ShowAnswer();
}

int CThermostatList::OnCommand(int id) {
    if (id != kRowCommand) return CZVWindow::OnCommand(id);
    auto* zone = dynamic_cast<CThermostatZone*>(GetList()->GetRecordAt(GetList()->GetSelectedIndex()));
    if (!zone) return 1;
    SetClimateZoneToShow(zone->GetZoneId());
    OpenClimatePage();
    return 1;
}

// ---- humidistats

CHumidistatList::CHumidistatList(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize)
    : CClimateStatusList(parent, rect, server, kHumidistatColumns, fontSize, ZVM_HVAC_GETHUMIDISTATSQ) {
    LoadDeviceRows(kDevicesHumidistats);
    IsCelsius(&server);
}

void CHumidistatList::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_GETHUMIDISTATSA) return;
    message->ResetPosition();
    const int blink = ToggleBlink();
    std::vector<CHumidistatRowValues> rows;
    ReadHumidistatRows(message, &rows);
    CStatusList* list = GetList();
    if (list->GetCount() != static_cast<int>(rows.size()) && !LoadDeviceRows(kDevicesHumidistats)) return;
    const int count = std::min(list->GetCount(), static_cast<int>(rows.size()));
    for (int i = 0; i < count; ++i) {
        const CStatusRowTexts texts = HumidistatRowTexts(rows[static_cast<size_t>(i)], blink);
        WriteRowTexts(list->GetRow(i), texts);
        if (CStatusRecord* record = list->GetRecordAt(i)) record->SetFlagged(texts.flagged);
    }
    ShowAnswer();
}

int CHumidistatList::OnCommand(int id) {
    if (id != kRowCommand) return CZVWindow::OnCommand(id);
    const int index = GetList()->GetSelectedIndex();
    if (index < 0) return 1;
    SetPageVariable(kClimateTabVariable, index);
    OpenClimatePage();
    return 1;
}

// ---- sensors

CSensorList::CSensorList(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize)
    : CClimateStatusList(parent, rect, server, kSensorColumns, fontSize, ZVM_HVAC_GETSENSORSQ) {
    IsCelsius(&server);
}

void CSensorList::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_GETSENSORSA) return;
    message->ResetPosition();
    ToggleBlink();
    std::vector<CSensorRowValues> rows;
    ReadSensorRows(message, &rows);
    CStatusList* list = GetList();
    list->RemoveAll(0);
    for (const CSensorRowValues& values : rows) {
        auto record = std::make_unique<CStatusRecord>();
        record->SetFlagged(values.flags & kSensorFlagged);
        CStatusRow* row = list->AddStatusRow(std::move(record));
        row->SetText(0, values.name.c_str());
        row->SetText(1, SensorValueText(values));
    }
    ShowAnswer();
}

// ---- the overview and the sensors panel

namespace {

// The number of devices of the kind; 0 without an answer.
int CountDevices(CZVServer& server, int deviceKind) {
    CZVQuery query(server);
    int32_t count = 0;
    return query.QueryInt1(count, ZVM_HVAC_GETDEVICESQ, deviceKind) ? std::max(count, 0) : 0;
}

}  // namespace

CHvacOverviewPage::CHvacOverviewPage(CZVWindow* parent, CZVRect rect, CZVServer& server) : CZVWindow(parent, rect, 1) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    const int thermostats = CountDevices(server, kDevicesThermostats);
    const int humidistats = CountDevices(server, kDevicesHumidistats);
    CZVRect upper(0, 0, rect.w, rect.h);
    CZVRect lower = upper;
    if (thermostats > 0 && humidistats > 0) {
        upper.h = rect.h * 3 / 4;
        lower.y = upper.h;
        lower.h = rect.h - upper.h - 1;
    }
    if (thermostats > 0) {
        const int top = AddClimateCaption(this, upper, "All Thermostats");
        AddChild(new CThermostatList(this, CZVRect(0, top, rect.w, upper.y + upper.h - top), server,
                                     CThermostatList::kTypeWithSchedule, kListFontSize));
    }
    if (humidistats > 0) {
        const int top = AddClimateCaption(this, lower, "All Humidistats");
        AddChild(new CHumidistatList(this, CZVRect(0, top, rect.w, lower.y + lower.h - top), server, kListFontSize));
    }
}

CClimateSensorsPanel::CClimateSensorsPanel(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CZVWindow(parent, rect, 1) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    const int top = AddClimateCaption(this, CZVRect(0, 0, rect.w, rect.h), "Sensors");
    AddChild(new CSensorList(this, CZVRect(0, top, rect.w, rect.h - top), server, -1));
}

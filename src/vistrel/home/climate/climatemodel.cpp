#include "vistrel/home/climate/climatemodel.h"

#include <algorithm>
#include <cstring>

#include "core/messages/climatemessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "widgets/style/setserver.h"

namespace {

// Bytes of one period on the wire: i32 time and four bytes.
constexpr int kPeriodBytes = 8;
// The smallest program of a schedule answer: id, P and D.
constexpr int kProgramHeadBytes = 12;
// The smallest shared schedule: id, an empty name, program id, P and D.
constexpr int kSharedHeadBytes = 20;
// The smallest series entry: the dropped i32, an empty text and a colour.
constexpr int kSeriesEntryBytes = 20;

size_t Offset(DayField field, int period) {
    return (static_cast<size_t>(field) * kMaxPeriods + static_cast<size_t>(period)) * sizeof(int32_t);
}

bool IsPeriod(int period) { return period >= 0 && period < kMaxPeriods; }

int Capable(int32_t value) { return value > 0 && value != 0x7FFF ? 1 : 0; }

}  // namespace

// ---- day records and programs

int32_t GetPeriod(const CMaskRecord& day, DayField field, int period) {
    int32_t value = 0;
    if (IsPeriod(period)) std::memcpy(&value, day.data + Offset(field, period), sizeof value);
    return value;
}

void SetPeriod(CMaskRecord& day, DayField field, int period, int32_t value) {
    if (IsPeriod(period)) std::memcpy(day.data + Offset(field, period), &value, sizeof value);
}

CZoneProgram::CZoneProgram(int programId, int periods)
    : CBitmaskRecordList(nullptr, std::clamp(periods, 0, kMaxPeriods)), m_programId(programId) {}

int CZoneProgram::ReadDays(CZVMSG* message, int sentPeriods, int clampTimes) {
    int32_t count = 0;
    if (!message->ReadInt(count)) return 0;
    const int periods = std::max(sentPeriods, 0);
    bool cut = false;
    count = BoundCount(count, *message, 4 + int64_t{periods} * kPeriodBytes, &cut);
    for (int d = 0; d < count; ++d) {
        int32_t mask = 0;
        if (!message->ReadInt(mask)) return 0;
        CMaskRecord* day = Add(mask);
        if (!day) return 0;
        for (int p = 0; p < periods; ++p) {
            int32_t time = 0;
            uint8_t cool = 0, heat = 0, fan = 0, spare = 0;
            if (!message->ReadInt(time) || !message->ReadByte(cool) || !message->ReadByte(heat) ||
                !message->ReadByte(fan) || !message->ReadByte(spare))
                return 0;
            if (clampTimes) time = std::clamp(time, 0, kMinutesPerDay);
            SetPeriod(*day, DayField::kTime, p, time);
            SetPeriod(*day, DayField::kCool, p, cool);
            SetPeriod(*day, DayField::kHeat, p, heat);
            SetPeriod(*day, DayField::kFan, p, fan);
        }
    }
    return !cut;
}

void CZoneProgram::WriteDays(CZVMSG* message, int withMasks) const {
    for (int d = 0; d < GetCount(); ++d) {
        const CMaskRecord& day = *GetAt(d);
        if (withMasks) message->WriteInt(day.mask);
        for (int p = 0; p < GetPeriods(); ++p) {
            message->WriteInt(GetPeriod(day, DayField::kTime, p));
            message->WriteByte(static_cast<uint8_t>(GetPeriod(day, DayField::kCool, p)));
            message->WriteByte(static_cast<uint8_t>(GetPeriod(day, DayField::kHeat, p)));
            message->WriteByte(static_cast<uint8_t>(GetPeriod(day, DayField::kFan, p)));
            message->WriteByte(uint8_t{0});
        }
    }
}

// ---- shared schedules

int CHvacZone::SaveSetPoints(CZVServer& server) const {
    CZVMSG request(0, ZVM_HVAC_SETZONESETPOINTSQ);
    request.WriteInt(m_scheduleId);
    request.WriteInt(GetCount());
    WriteDays(&request, 0);
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request);
}

int ReadSharedSchedules(CZVMSG* message, CHvacZones* zones) {
    zones->clear();
    int32_t count = 0;
    if (!message->ReadInt(count)) return 0;
    bool cut = false;
    count = BoundCount(count, *message, kSharedHeadBytes, &cut);
    for (int i = 0; i < count; ++i) {
        int32_t id = 0, programId = 0, periods = 0;
        std::string name;
        if (!message->ReadInt(id) || !message->ReadString(name) || !message->ReadInt(programId) ||
            !message->ReadInt(periods))
            return 0;
        zones->push_back(std::make_unique<CHvacZone>(programId, periods, id, CZVString(name.c_str())));
        if (!zones->back()->ReadDays(message, periods, 0)) return 0;
    }
    return !cut;
}

CHvacZoneList::CHvacZoneList(CZVServer& server) : CSocketSink(server) {
    server.RegisterSink(this);
    CZVMSG subscribe(GetId(), ZVM_HVAC_SUBSCRIBEZONESQ);
    subscribe.WriteInt(1);
    server.Send(&subscribe);
}

CHvacZoneList::~CHvacZoneList() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CHvacZoneList::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_SUBSCRIBEZONESA) return;
    message->ResetPosition();
    ReadSharedSchedules(message, &m_zones);
    if (m_changed) m_changed();
}

CHvacZone* CHvacZoneList::GetAt(int index) const {
    return index >= 0 && index < GetCount() ? m_zones[static_cast<size_t>(index)].get() : nullptr;
}

CHvacZone* CHvacZoneList::FindById(int scheduleId) const {
    for (const auto& zone : m_zones)
        if (zone->GetScheduleId() == scheduleId) return zone.get();
    return nullptr;
}

// ---- the zone

CThermostatZone::CThermostatZone(CZVServer* server, int zoneId, CZVString name, int humidistat, int extended)
    : m_server(server), m_zoneId(zoneId), m_name(name), m_humidistat(humidistat), m_extended(extended) {}

int CThermostatZone::LoadInfo() {
    if (!m_server) return 0;
    CZVMSG request(0, m_extended ? ZVM_HVAC_GETZONEEXTQ : ZVM_HVAC_GETZONESTATUSQ);
    request.WriteInt(m_zoneId);
    CZVQuery query(*m_server, 1);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request)) return 0;
    CSetServer* style = CSetServer::Get();
    return ReadInfo(answer, style && style->IsThemed());
}

int CThermostatZone::ReadInfo(CZVMSG* answer, int themed) {
    int32_t heat = 0, cool = 0, fan = 0;
    if (m_extended) {
        int32_t spare = 0;
        std::string name;
        if (answer->ReadInt(spare) && answer->ReadString(name)) m_name = name.c_str();
    } else {
        m_sharedScheduleId = 0;
        int32_t capabilities = 0, shared = 0;
        if (!answer->ReadInt(heat) || !answer->ReadInt(cool) || !answer->ReadInt(fan) ||
            !answer->ReadInt(capabilities) || !answer->ReadInt(shared))
            return 0;
        m_capabilities = capabilities;
        m_sharedScheduleId = shared;
        int32_t dropped = 0;
        int32_t values[6] = {m_limits.heatMin, m_limits.heatMax, m_limits.coolMin,
                             m_limits.coolMax, m_infoValues[0],  m_infoValues[1]};
        if (answer->ReadInt(dropped) && answer->ReadInt(dropped)) {
            for (int32_t& value : values)
                if (!answer->ReadInt(value)) break;
        }
        m_limits = {values[0], values[1], values[2], values[3]};
        m_infoValues[0] = values[4];
        m_infoValues[1] = values[5];
        for (std::string& text : m_infoTexts)
            if (!answer->ReadString(text)) break;
    }
    if (themed) ReadSeriesLists(answer);
    m_hasHeat = Capable(heat);
    m_hasCool = Capable(cool);
    m_hasFan = Capable(fan);
    m_loaded = 1;
    return 1;
}

int CThermostatZone::ReadSeriesLists(CZVMSG* answer) {
    m_series.clear();
    m_bands.clear();
    for (std::vector<CZoneSeries>* list : {&m_series, &m_bands}) {
        int32_t count = 0;
        if (!answer->ReadInt(count)) return 0;
        bool cut = false;
        count = BoundCount(count, *answer, kSeriesEntryBytes, &cut);
        if (cut) return 0;
        for (int i = 0; i < count; ++i) {
            int32_t dropped = 0;
            std::string text;
            uint32_t colour = 0;
            if (!answer->ReadInt(dropped) || !answer->ReadString(text) || !answer->ReadColor(colour)) return 0;
            list->push_back({CZVString(text.c_str()), colour});
        }
    }
    return 1;
}

int CThermostatZone::ParseStatus(CZVMSG* message) {
    int32_t zone = 0;
    if (!message->ReadInt(zone) || zone != m_zoneId) return 0;
    CZoneStatus& s = m_status;
    int32_t* const values[] = {&s.systemMode,   &s.fanMode,    &s.holdMode,   &s.roomValue, &s.heatSetPoint,
                               &s.coolSetPoint, &s.heatActive, &s.coolActive, &s.fanActive, &s.outsideTemperature,
                               &s.spareValue,   &s.holdSeconds};
    for (int32_t* value : values)
        if (!message->ReadInt(*value)) return 1;
    if (message->ReadString(s.statusText)) message->ReadInt(s.syncState);
    return 1;
}

int CThermostatZone::LoadSchedules() {
    m_programs.clear();
    if (!m_server) return 0;
    CZVQuery query(*m_server, 1);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_HVAC_GETSCHEDULEQ);
    request.WriteInt(m_zoneId);
    if (!query.Query(&answer, &request)) return 0;
    return ReadSchedules(answer);
}

int CThermostatZone::ReadSchedules(CZVMSG* answer) {
    m_programs.clear();
    int32_t count = 0;
    if (!answer->ReadInt(count)) return 0;
    bool cut = false;
    count = BoundCount(count, *answer, kProgramHeadBytes, &cut);
    for (int i = 0; i < count; ++i) {
        int32_t id = 0, periods = 0;
        if (!answer->ReadInt(id) || !answer->ReadInt(periods)) return 0;
        m_programs.push_back(std::make_unique<CZoneProgram>(id, periods));
        if (!m_programs.back()->ReadDays(answer, periods, 1)) return 0;
    }
    return !cut;
}

int CThermostatZone::SaveSchedules() {
    if (!m_server) return 0;
    CZVMSG request(0, ZVM_HVAC_SETSCHEDULEQ);
    request.WriteInt(m_zoneId);
    request.WriteInt(GetProgramCount());
    for (const auto& program : m_programs) {
        request.WriteInt(program->GetProgramId());
        request.WriteInt(program->GetPeriods());
        request.WriteInt(program->GetCount());
        program->WriteDays(&request, 1);
    }
    CZVQuery query(*m_server);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request);
}

int CThermostatZone::AskSharedSchedule(uint16_t request, int scheduleId) {
    if (!m_server) return 0;
    CZVQuery query(*m_server);
    CZVMSG* answer = nullptr;
    return query.QueryAnswer2(&answer, request, m_zoneId, scheduleId);
}

int CThermostatZone::FollowSharedSchedule(int scheduleId) {
    if (!AskSharedSchedule(ZVM_HVAC_SETZONEVALUEQ, scheduleId)) return 0;
    m_sharedScheduleId = scheduleId;
    return 1;
}

int CThermostatZone::LeaveSharedSchedule(int scheduleId) {
    if (!AskSharedSchedule(ZVM_HVAC_CLEARZONEVALUEQ, scheduleId)) return 0;
    m_sharedScheduleId = 0;
    return 1;
}

CZoneProgram* CThermostatZone::GetProgram(int index) const {
    return index >= 0 && index < GetProgramCount() ? m_programs[static_cast<size_t>(index)].get() : nullptr;
}

void CThermostatZone::EnsureLoaded() {
    if (!m_loaded) LoadInfo();
}

int CThermostatZone::GetSeriesCount() {
    EnsureLoaded();
    return static_cast<int>(m_series.size());
}

int CThermostatZone::GetBandCount() {
    EnsureLoaded();
    return static_cast<int>(m_bands.size());
}

int CThermostatZone::HasHeat() {
    EnsureLoaded();
    return m_humidistat ? 0 : m_hasHeat;
}

int CThermostatZone::HasCool() {
    EnsureLoaded();
    return m_hasCool;
}

int CThermostatZone::HasFan() {
    EnsureLoaded();
    return m_hasFan;
}

int CThermostatZone::HasAutoMode() {
    EnsureLoaded();
    return (m_capabilities & kZoneAutoMode) ? 1 : 0;
}

int CThermostatZone::HasEmergencyHeat() {
    EnsureLoaded();
    return !m_humidistat && (m_capabilities & kZoneEmergencyHeat) ? 1 : 0;
}

int CThermostatZone::GetSharedScheduleId() {
    EnsureLoaded();
    return m_sharedScheduleId;
}

const CZoneSeries* CThermostatZone::GetSeries(int index) const {
    return index >= 0 && index < static_cast<int>(m_series.size()) ? &m_series[static_cast<size_t>(index)] : nullptr;
}

const CZoneSeries* CThermostatZone::GetBand(int index) const {
    return index >= 0 && index < static_cast<int>(m_bands.size()) ? &m_bands[static_cast<size_t>(index)] : nullptr;
}

// ---- the temperature unit

CZVString FormatTemperature(int value) {
    CZVString text;
    text.Format("%d\xB0", value);
    return text;
}

CZVString FormatPercent(int value) {
    CZVString text;
    text.Format("%d %%", value);
    return text;
}

int ToFahrenheit(CZVServer* server, int value) {
    if (!IsCelsius(server)) return value;
    return 32 + static_cast<int>(value * static_cast<double>(1.8f));
}

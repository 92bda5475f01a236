#include "samplegateway/house.h"

#include <algorithm>

#include "samplegateway/albums.h"
#include "samplegateway/audiostreams.h"
#include "samplegateway/audiozones.h"
#include "samplegateway/calendar.h"
#include "samplegateway/cameras.h"
#include "samplegateway/climate.h"
#include "samplegateway/climateschedules.h"
#include "samplegateway/controls.h"
#include "samplegateway/dvr.h"
#include "samplegateway/favorites.h"
#include "samplegateway/gateway.h"
#include "samplegateway/housemode.h"
#include "samplegateway/irrigation.h"
#include "samplegateway/lighting.h"
#include "samplegateway/lightingschedules.h"
#include "samplegateway/media.h"
#include "samplegateway/mediadevices.h"
#include "samplegateway/messaging.h"
#include "samplegateway/musiclibrary.h"
// The music server: its play queue, album art and media server.
#include "samplegateway/musicserver.h"
#include "samplegateway/pacer.h"
#include "samplegateway/phone.h"
#include "samplegateway/pictures.h"
#include "samplegateway/pictureviews.h"
#include "samplegateway/pool.h"
#include "samplegateway/poolequipment.h"
#include "samplegateway/poolhistory.h"
#include "samplegateway/poolschedules.h"
#include "samplegateway/security.h"
#include "samplegateway/slides.h"
#include "samplegateway/tuners.h"
#include "samplegateway/volumes.h"
#include "samplegateway/weather.h"
// The TV channels and the intercom.
#include "samplegateway/intercom.h"
#include "samplegateway/tvchannels.h"
// The cable box's soft keys, the internet radio and the Showcase's titles.
#include "samplegateway/radio.h"
#include "samplegateway/radiodirectory.h"
#include "samplegateway/softkeys.h"
#include "samplegateway/titles.h"

namespace samplegateway {
namespace {

// The list of that name among the answers, const or not as they are.
template <class Answers>
auto FindList(Answers& answers, const std::string& name) -> decltype(&answers.begin()->second.items.front()) {
    for (auto& [id, answer] : answers)
        for (auto& item : answer.items)
            if (item.is_list && item.list_name == name) return &item;
    return nullptr;
}

}  // namespace

bool Fits(FieldType type, const Value& value) {
    const int64_t* number = std::get_if<int64_t>(&value);
    switch (type) {
    case FieldType::kI32: return number && *number >= INT32_MIN && *number <= int64_t{UINT32_MAX};
    case FieldType::kU16: return number && *number >= 0 && *number <= UINT16_MAX;
    case FieldType::kU8: return number && *number >= 0 && *number <= UINT8_MAX;
    case FieldType::kString: return !number;
    case FieldType::kBlock:
    case FieldType::kCount: return false;
    }
    return false;
}

size_t WireSize(FieldType type, const Value& value, const Bytes& block) {
    auto padded = [](size_t size) { return (size + 3) & ~size_t{3}; };
    switch (type) {
    case FieldType::kU16: return 2;
    case FieldType::kU8: return 1;
    case FieldType::kString: return 4 + padded(std::get<std::string>(value).size());
    case FieldType::kBlock: return 4 + padded(block.size());
    case FieldType::kI32:
    case FieldType::kCount: return 4;
    }
    return 0;
}

bool House::Set(const std::string& name, const Value& value) {
    std::vector<Field*> named;
    auto collect = [&](auto& answers) {
        for (auto& [id, answer] : answers)
            for (Item& item : answer.items)
                if (!item.is_list && item.field.name == name) named.push_back(&item.field);
    };
    collect(m_answers);
    collect(m_keyed);
    if (named.empty() ||
        !std::all_of(named.begin(), named.end(), [&](const Field* field) { return Fits(field->type, value); }))
        return false;
    for (Field* field : named) field->value = value;
    return true;
}

bool House::SetSwitch(const std::string& name, bool on) {
    auto entry = m_switches.find(name);
    if (entry == m_switches.end()) return false;
    entry->second = on;
    return true;
}

bool House::SetList(const std::string& name, const std::vector<std::vector<Value>>& records) {
    Item* list = List(name);
    if (!list) return false;
    std::vector<std::vector<Field>> fields;
    for (const std::vector<Value>& record : records) {
        if (record.size() != list->layout.size()) return false;
        std::vector<Field>& row = fields.emplace_back();
        for (size_t i = 0; i < record.size(); ++i) {
            if (!Fits(list->layout[i], record[i])) return false;
            row.push_back({.type = list->layout[i], .value = record[i]});
        }
    }
    list->records = std::move(fields);
    return true;
}

Item* House::List(const std::string& name) {
    Item* list = FindList(m_answers, name);
    return list ? list : FindList(m_keyed, name);
}

const Item* House::List(const std::string& name) const {
    const Item* list = FindList(m_answers, name);
    return list ? list : FindList(m_keyed, name);
}

bool House::SetRecordField(const std::string& name, int64_t key, size_t column, const Value& value) {
    Item* list = List(name);
    if (!list || column >= list->layout.size() || !Fits(list->layout[column], value)) return false;
    for (std::vector<Field>& record : list->records) {
        const int64_t* first = std::get_if<int64_t>(&record.front().value);
        if (first && *first == key) {
            record[column].value = value;
            return true;
        }
    }
    return false;
}

bool House::RemoveRecord(const std::string& name, int64_t key) {
    Item* list = List(name);
    if (!list) return false;
    const auto found = std::find_if(list->records.begin(), list->records.end(), [key](const std::vector<Field>& r) {
        const int64_t* first = std::get_if<int64_t>(&r.front().value);
        return first && *first == key;
    });
    if (found == list->records.end()) return false;
    list->records.erase(found);
    return true;
}

std::vector<uint16_t> House::Ids() const {
    std::vector<uint16_t> ids;
    for (const auto& [id, answer] : m_answers) ids.push_back(id);
    for (const auto& [key, answer] : m_keyed)
        if (!m_answers.contains(key.first) && (ids.empty() || ids.back() != key.first)) ids.push_back(key.first);
    return ids;
}

bool House::IsOn(const std::string& name) const {
    auto entry = m_switches.find(name);
    return entry != m_switches.end() && entry->second;
}

bool House::On(const Item& item) const { return item.when.empty() || IsOn(item.when) != item.unless; }

void House::Write(PayloadWriter& out, const Field& field) const {
    switch (field.type) {
    case FieldType::kI32: out.Int(static_cast<int32_t>(static_cast<uint32_t>(std::get<int64_t>(field.value)))); break;
    case FieldType::kU16: out.Short(static_cast<uint16_t>(std::get<int64_t>(field.value))); break;
    case FieldType::kU8: out.Byte(static_cast<uint8_t>(std::get<int64_t>(field.value))); break;
    case FieldType::kString: out.String(std::get<std::string>(field.value)); break;
    case FieldType::kBlock:
        out.Int(static_cast<int32_t>(field.block.size())).Raw(field.block.data(), field.block.size());
        break;
    case FieldType::kCount: {
        const Item* list = List(std::get<std::string>(field.value));
        out.Int(list ? static_cast<int32_t>(list->records.size()) : 0);
        break;
    }
    }
}

void House::WriteRecords(PayloadWriter& out, const Item& list, size_t first, size_t count) const {
    out.Int(static_cast<int32_t>(count));
    for (size_t i = first; i < first + count; ++i)
        for (const Field& field : list.records[i]) Write(out, field);
}

Bytes House::Payload(uint16_t id) const {
    auto entry = m_answers.find(id);
    return entry == m_answers.end() ? Bytes() : PayloadOf(entry->second);
}

Bytes House::PayloadOf(const Answer& answer) const {
    PayloadWriter out;
    for (const Item& item : answer.items) {
        if (!On(item)) continue;
        if (item.is_list)
            WriteRecords(out, item, 0, item.records.size());
        else
            Write(out, item.field);
    }
    return out;
}

// The records the request {i32, start, count} asks for, as far as the list goes.
Bytes House::Slice(const Answer& answer, const Frame& request) const {
    const Item& list = answer.items.front();
    PayloadReader reader(request.payload);
    int32_t unused = 0, start = 0, wanted = 0;
    reader.Int(&unused) && reader.Int(&start) && reader.Int(&wanted);
    const size_t total = list.records.size();
    const size_t first = start < 0 ? total : std::min(static_cast<size_t>(start), total);
    const size_t count = wanted < 0 ? 0 : std::min(static_cast<size_t>(wanted), total - first);
    PayloadWriter out;
    WriteRecords(out, list, first, count);
    return out;
}

const Answer* House::Find(const Frame& request) const {
    std::vector<int32_t> key;
    PayloadReader reader(request.payload);
    for (int32_t value = 0; key.size() < 2 && reader.Int(&value);) key.push_back(value);
    // The longest key first.
    for (; !key.empty(); key.pop_back()) {
        auto keyed = m_keyed.find({request.id, key});
        if (keyed != m_keyed.end()) return &keyed->second;
    }
    auto entry = m_answers.find(request.id);
    return entry == m_answers.end() ? nullptr : &entry->second;
}

std::vector<Frame> House::Respond(const Frame& request) const {
    const Answer* answer = Find(request);
    if (!answer) return {};
    const uint16_t id = static_cast<uint16_t>(request.id + 1);
    return {{request.sender, id, answer->slice ? Slice(*answer, request) : PayloadOf(*answer)}};
}

std::shared_ptr<Pacer> Serve(Gateway& gateway, const House& house) {
    auto pacer = std::make_shared<Pacer>();
    auto shared = std::make_shared<const House>(house);
    for (uint16_t id : house.Ids()) gateway.On(id, [shared](const Frame& request) { return shared->Respond(request); });
    ServeToggles(gateway);
    ServeCheckStates(gateway);
    ServeFavorites(gateway);
    ServePool(gateway, house);
    ServePoolEquipment(gateway, house);
    ServeMedia(gateway);
    // The radio directory's lists are the library's browses; its favourites and "Listen" the radio's.
    auto radio = std::make_shared<RadioDirectory>();
    const auto musicLibrary = ServeMusicLibrary(gateway, radio);
    ServePoolSchedules(gateway, house);
    ServeLightingSchedules(gateway, house);
    ServeLighting(gateway, house);
    ServePoolHistory(gateway);
    ServeClimate(gateway, house);
    ServeClimateSchedules(gateway, house);
    ServePictures(gateway, house.IsOn("style_themed"));
    ServeSlides(gateway);
    ServeAlbums(gateway);
    ServePictureViews(gateway, *pacer);
    ServeHouseMode(gateway);
    ServeSecurity(gateway);
    ServeMessaging(gateway);
    ServeIrrigation(gateway, house);
    ServeAudioStreams(gateway, *pacer);
    ServeCameras(gateway, *pacer);
    ServeMediaDevices(gateway, house, *pacer);
    ServeDvr(gateway);
    ServeVolumes(gateway);
    ServeCalendar(gateway);
    ServeWeather(gateway, *pacer);
    // What each zone plays and who listens, shared by the modules that answer for the zones' sources.
    const auto zones = std::make_shared<ZoneSources>();
    // The music server: its play queue, album art and media server; before the zones, whose handling of the
    // library commands comes beside the server's.
    ServeMusicServer(gateway, *pacer, musicLibrary, zones);
    ServeAudioZones(gateway, zones);
    // The TV channels and the intercom.
    ServeTvChannels(gateway);
    ServeIntercom(gateway, *pacer);
    ServePhone(gateway, *pacer);  // after the audio streams: it also hears their stop
    // The cable box's soft keys, the internet radio and the Showcase's titles.
    ServeSoftKeys(gateway);
    ServeRadio(gateway, *pacer, radio, zones);
    ServeRadioFavourites(gateway, radio);
    ServeTitles(gateway);
    // The radio tuners of the Living Room and the Patio.
    ServeTuners(gateway, zones);
    return pacer;
}

}  // namespace samplegateway

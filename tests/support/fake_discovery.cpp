#include "fake_discovery.h"

#include <sys/socket.h>

namespace testsupport {
namespace {

void WriteRecordStamp(PayloadWriter& m, const DiscoveryRecord& r) {
    m.Short(r.year).Byte(r.month).Byte(r.day).Byte(r.hour).Byte(r.minute).Byte(r.second);
}

}  // namespace

Bytes DiscoveryLookupPayload(const DiscoveryRecord* record, bool stamped) {
    PayloadWriter m;
    if (!record)
        return m.Byte(0).Byte(0).String("").Short(0).Byte(0).Byte(0);
    m.Byte(1).Byte(1).String(record->address).Short(record->port);
    m.Byte(record->portOpen ? 1 : 0).Byte(record->relayMode ? 1 : 0);
    if (stamped) {
        m.Int(1);
        WriteRecordStamp(m, *record);
    }
    return m;
}

Bytes DiscoveryBatchPayload(const std::vector<DiscoveryRecord>& records) {
    PayloadWriter m;
    m.Int(0).Int(static_cast<int32_t>(records.size()));
    for (const DiscoveryRecord& r : records) {
        m.String("id").String(r.name).String("private").Short(80).String("10.0.0.9").Short(80).String("x");
        m.Byte(0).Byte(0).String(r.address).Short(r.port).Short(0);
        m.Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(r.posting ? 1 : 0);
        WriteRecordStamp(m, r);
    }
    return m;
}

FakeDiscovery::FakeDiscovery() { Start(); }

FakeDiscovery::~FakeDiscovery() { Stop(); }

void FakeDiscovery::Know(const DiscoveryRecord& record) {
    std::lock_guard lock(m_mutex);
    m_known.push_back(record);
}

void FakeDiscovery::On(uint16_t request_id, Handler handler) {
    std::lock_guard lock(m_mutex);
    m_script[request_id] = std::move(handler);
}

std::vector<Frame> FakeDiscovery::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

FakeDiscovery::Reply FakeDiscovery::Answer(const Frame& request) {
    std::lock_guard lock(m_mutex);
    m_requests.push_back(request);
    if (auto it = m_script.find(request.id); it != m_script.end())
        return it->second(request);
    PayloadReader reader(request.payload);
    std::vector<std::string> names;
    if (request.id == kDiscoveryLookup) {
        std::string name;
        reader.String(&name);
        names.push_back(name);
    } else if (request.id == kDiscoveryLookupMany) {
        int32_t version = 0, count = 0;
        reader.Int(&version) && reader.Int(&count);
        std::string name;
        for (int32_t i = 0; i < count && reader.String(&name); ++i)
            names.push_back(name);
    }
    std::vector<DiscoveryRecord> found;
    for (const std::string& name : names) {
        for (const DiscoveryRecord& record : m_known) {
            if (record.name == name)
                found.push_back(record);
        }
    }
    if (request.id == kDiscoveryLookup)
        return {EncodeFrame({0, kDiscoveryLookupAnswer, DiscoveryLookupPayload(found.empty() ? nullptr : &found[0])})};
    if (request.id == kDiscoveryLookupMany)
        return {EncodeFrame({0, kDiscoveryLookupManyAnswer, DiscoveryBatchPayload(found)})};
    return {EncodeFrame({0, kDiscoveryError, PayloadWriter().String("Unknown request")})};
}

void FakeDiscovery::Serve(int fd) {
    FrameDecoder decoder;
    while (!Stopping()) {
        if (!Readable(fd))
            continue;
        uint8_t buffer[4096];
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        decoder.Feed(buffer, static_cast<size_t>(got));
        Frame request;
        while (decoder.Next(&request)) {
            const Reply reply = Answer(request);
            if (!reply.bytes.empty() && !WriteAll(fd, reply.bytes.data(), reply.bytes.size()))
                return;
            if (reply.close)
                return;
        }
        if (decoder.Broken())
            return;
    }
}

}  // namespace testsupport

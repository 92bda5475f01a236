#include "samplegateway/phone.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "platform/wave.h"
#include "samplegateway/audiostreams.h"
#include "samplegateway/gateway.h"
#include "samplegateway/media.h"
#include "samplegateway/pacer.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int32_t kOldFlag = 0x2;
constexpr int32_t kDefaultRings = 4;
constexpr int kGreetingMs = 3000;
constexpr int kMessageMs = 2000;
constexpr int kBeepMs = 300;
constexpr int kCallAudioMs = 3000;
constexpr int32_t kCallEndReloads = 1;
constexpr int kBytesPerSample = 2;

struct Entry {
    int32_t id;
    CZVTime time;
    int spanMinutes;
    std::string number;
    std::string caller;
    int32_t flags;
    std::vector<int16_t> audio;
};

CZVTime At(int day, int hour, int minute) {
    CZVTime time;
    time.Set(2026, 3, 0, day, hour, minute, 0, 0);
    return time;
}

std::vector<int16_t> Tone(double hertz, int milliseconds) {
    std::vector<int16_t> samples;
    AppendTone(samples, {hertz, milliseconds});
    return samples;
}

std::vector<Entry> SampleCalls() {
    return {
        {1, At(9, 8, 15), 2, "555-0101", "Ann Lee", 0, {}},   {2, At(9, 12, 40), 1, "555-0177", "Pool Service", 0, {}},
        {3, At(10, 9, 5), 4, "555-0102", "Bob Marsh", 0, {}}, {4, At(10, 18, 30), 0, "555-0199", "", 0, {}},
        {5, At(11, 7, 55), 3, "555-0101", "Ann Lee", 0, {}},  {6, At(11, 19, 20), 1, "555-0150", "School", 0, {}}};
}

std::vector<Entry> SampleVoiceMail() {
    // Oldest first: the tablet shows the last one at the top.
    std::vector<Entry> mail = {{101, At(8, 10, 0), 1, "555-0177", "Pool Service", kOldFlag, {}},
                               {102, At(9, 14, 30), 2, "555-0150", "School", kOldFlag, {}},
                               {103, At(10, 11, 45), 1, "555-0101", "Ann Lee", 0, {}},
                               {104, At(11, 9, 10), 3, "555-0102", "Bob Marsh", 0, {}},
                               {105, At(11, 17, 5), 1, "555-0199", "", 0, {}}};
    for (size_t i = 0; i < mail.size(); ++i) mail[i].audio = Tone(440.0 + 60.0 * static_cast<double>(i), kMessageMs);
    return mail;
}

void WriteEntry(PayloadWriter& out, const Entry& e) {
    out.Int(e.id);
    WriteTime(out, e.time);
    for (int field : {0, 0, 0, e.spanMinutes, 0, 0}) out.Short(static_cast<uint16_t>(field));
    out.String(e.number).String(e.caller).Int(0).Int(e.flags);
}

Bytes Entries(const std::vector<Entry>& entries) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(entries.size()));
    for (const Entry& e : entries) WriteEntry(out, e);
    return out;
}

// The format (padded to 20 bytes), then the length in bytes.
Bytes Announcement(size_t samples) {
    Bytes out = StreamFormat();
    const Bytes length = PayloadWriter().Int(static_cast<int32_t>(samples * kBytesPerSample));
    out.insert(out.end(), length.begin(), length.end());
    return out;
}

Bytes Ack() { return PayloadWriter().Int(1); }

std::vector<int16_t> SamplesOf(const Bytes& bytes) {
    std::vector<int16_t> samples(bytes.size() / kBytesPerSample);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

// The bytes of an upload's data message: mailbox, length, bytes.
std::optional<Bytes> UploadData(const Frame& request) {
    PayloadReader in(request.payload);
    int32_t mailbox = 0, length = 0;
    if (!in.Int(&mailbox) || !in.Int(&length) || length < 0 || static_cast<size_t>(length) > request.payload.size())
        return std::nullopt;
    Bytes bytes(static_cast<size_t>(length));
    if (!in.Raw(bytes.data(), bytes.size())) return std::nullopt;
    return bytes;
}

class Phone {
public:
    explicit Phone(Gateway& gateway) : m_gateway(gateway) {}

    void Step(uint32_t now_ms) {
        std::lock_guard lock(m_mutex);
        if (m_feed && !m_feed->Send(m_gateway, now_ms)) {
            m_gateway.Push(ZVM_AUDIO_STREAMEND, {}, m_feed->Sink());
            m_feed.reset();
            if (m_callOn) EndCall();
        }
    }

    void Ring() {
        std::lock_guard lock(m_mutex);
        m_callOn = true;
        const Entry caller = {
            static_cast<int32_t>(m_calls.size() + 1), At(12, 10, 0), 1, "555-0123", "Dee Park", 0, {}};
        m_calls.push_back(caller);
        m_gateway.Push(ZVM_PHONE_INCOMINGCALL, {});
        m_gateway.Push(ZVM_PHONE_CALLERID, PayloadWriter().String(caller.number).String(caller.caller));
        Bytes audio = PayloadWriter().Int(0);
        const Bytes format = StreamFormat();
        audio.insert(audio.end(), format.begin(), format.end());
        m_gateway.Push(ZVM_PHONE_CALLAUDIO, audio);
        m_feed.emplace(kEverySink, Tone(523, kCallAudioMs), false, false);
    }

    void Serve(Gateway& gateway, const std::shared_ptr<Phone>& self) {
        const auto on = [&gateway, self](uint16_t id, std::vector<Frame> (Phone::*handler)(const Frame&)) {
            gateway.On(id, [self, handler](const Frame& request) { return (self.get()->*handler)(request); });
        };
        on(ZVM_PHONE_GETRINGSQ, &Phone::GetRings);
        on(ZVM_PHONE_SETRINGSQ, &Phone::SetRings);
        on(ZVM_PHONE_GETSCREENCALLSQ, &Phone::GetScreening);
        on(ZVM_PHONE_SETSCREENCALLSQ, &Phone::SetScreening);
        on(ZVM_PHONE_GETGREETINGQ, &Phone::GetGreeting);
        on(ZVM_PHONE_PLAYGREETINGQ, &Phone::PlayGreeting);
        on(ZVM_PHONE_USEDEFAULTGREETINGQ, &Phone::UseDefaultGreeting);
        on(ZVM_PHONE_GREETINGBEGINQ, &Phone::BeginGreeting);
        on(ZVM_PHONE_GREETINGDATAQ, &Phone::GreetingData);
        on(ZVM_PHONE_GREETINGENDQ, &Phone::EndGreeting);
        on(ZVM_PHONE_GETCALLERIDSQ, &Phone::GetCalls);
        on(ZVM_PHONE_GETCALLERNUMBERQ, &Phone::GetCallerNumber);
        on(ZVM_PHONE_GETCALLERNAMEQ, &Phone::GetCallerName);
        on(ZVM_PHONE_GETVOICEMAILSQ, &Phone::GetVoiceMail);
        on(ZVM_PHONE_PLAYVOICEMAILQ, &Phone::PlayVoiceMail);
        on(ZVM_PHONE_PLAYQ, &Phone::PlaySeparator);
        on(ZVM_PHONE_LISTENLIVEQ, &Phone::ListenLive);
        on(ZVM_PHONE_STOPPLAYQ, &Phone::StopPlay);
        on(ZVM_PHONE_DELETEVOICEMAILQ, &Phone::DeleteVoiceMail);
        on(ZVM_PHONE_MARKNEWQ, &Phone::MarkNew);
        on(ZVM_PHONE_RECORDBEGINQ, &Phone::BeginMessage);
        on(ZVM_PHONE_RECORDDATAQ, &Phone::MessageData);
        on(ZVM_PHONE_RECORDENDQ, &Phone::EndMessage);
        gateway.AlsoOn(ZVM_AUDIO_STOPSTREAM, [self](const Frame&) {
            std::lock_guard lock(self->m_mutex);
            if (!self->m_callOn) self->m_feed.reset();
            return std::vector<Frame>{};
        });
    }

private:
    static Frame Answer(const Frame& request, Bytes payload) {
        return {request.sender, static_cast<uint16_t>(request.id + 1), std::move(payload)};
    }
    static int32_t FirstInt(const Frame& request, int index = 0) {
        PayloadReader in(request.payload);
        int32_t value = 0;
        for (int i = 0; i <= index; ++i)
            if (!in.Int(&value)) return -1;
        return value;
    }

    // Plays the samples to the listener from the percent on; the answer
    // announces the whole length.
    std::vector<Frame> Stream(const Frame& request, int32_t listener, const std::vector<int16_t>& samples,
                              int32_t percent) {
        const size_t first = samples.size() * static_cast<size_t>(std::clamp(percent, 0, 100)) / 100;
        m_feed.emplace(static_cast<uint16_t>(listener), std::vector<int16_t>(samples.begin() + first, samples.end()),
                       false, false);
        return {Answer(request, Announcement(samples.size()))};
    }

    void EndCall() {
        m_callOn = false;
        m_gateway.Push(ZVM_PHONE_CALLENDED, PayloadWriter().Int(kCallEndReloads));
    }

    std::vector<Frame> GetRings(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, PayloadWriter().Int(m_rings))};
    }
    std::vector<Frame> SetRings(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_rings = FirstInt(request);
        return {Answer(request, Ack())};
    }
    std::vector<Frame> GetScreening(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, PayloadWriter().Int(m_screening))};
    }
    std::vector<Frame> SetScreening(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_screening = FirstInt(request) ? 1 : 0;
        return {Answer(request, Ack())};
    }
    std::vector<Frame> GetGreeting(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(m_greeting.empty() ? 1 : 0);
        WriteTime(out, m_greetingTime);
        for (int i = 0; i < 6; ++i) out.Short(0);
        return {Answer(request, out)};
    }
    std::vector<Frame> PlayGreeting(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return Stream(request, FirstInt(request), m_greeting.empty() ? Tone(392, kGreetingMs) : m_greeting, 0);
    }
    std::vector<Frame> UseDefaultGreeting(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_greeting.clear();
        return {Answer(request, Ack()), {kEverySink, ZVM_PHONE_GREETINGCHANGED, {}}};
    }
    std::vector<Frame> BeginGreeting(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_upload.clear();
        return {Answer(request, Ack())};
    }
    std::vector<Frame> GreetingData(const Frame& request) { return TakeData(request); }
    std::vector<Frame> EndGreeting(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_greeting = SamplesOf(m_upload);
        m_greetingTime.SetNow(0);
        return {Answer(request, Ack()), {kEverySink, ZVM_PHONE_GREETINGCHANGED, {}}};
    }

    std::vector<Frame> GetCalls(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, Entries(m_calls))};
    }
    std::vector<Frame> GetCallerNumber(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, PayloadWriter().String(m_callOn ? m_calls.back().number : ""))};
    }
    std::vector<Frame> GetCallerName(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, PayloadWriter().String(m_callOn ? m_calls.back().caller : ""))};
    }

    std::vector<Frame> GetVoiceMail(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return {Answer(request, Entries(m_mail))};
    }
    Entry* FindMail(int32_t id) {
        const auto found = std::find_if(m_mail.begin(), m_mail.end(), [id](const Entry& e) { return e.id == id; });
        return found == m_mail.end() ? nullptr : &*found;
    }
    std::vector<Frame> PlayVoiceMail(const Frame& request) {
        std::lock_guard lock(m_mutex);
        const Entry* mail = FindMail(FirstInt(request, 1));
        if (!mail) return {Answer(request, Announcement(0))};
        return Stream(request, FirstInt(request), mail->audio, FirstInt(request, 2));
    }
    std::vector<Frame> PlaySeparator(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return Stream(request, FirstInt(request), Tone(880, kBeepMs), 0);
    }
    std::vector<Frame> ListenLive(const Frame& request) {
        Bytes out = PayloadWriter().Int(0);  // nothing live
        const Bytes format = StreamFormat();
        out.insert(out.end(), format.begin(), format.end());
        return {Answer(request, out)};
    }
    std::vector<Frame> StopPlay(const Frame& request) {
        std::lock_guard lock(m_mutex);
        if (!m_callOn) m_feed.reset();
        return {Answer(request, Ack())};
    }
    std::vector<Frame> DeleteVoiceMail(const Frame& request) {
        std::lock_guard lock(m_mutex);
        const int32_t id = FirstInt(request);
        std::erase_if(m_mail, [id](const Entry& e) { return e.id == id; });
        return {Answer(request, Ack()), {kEverySink, ZVM_PHONE_STATECHANGED, {}}};
    }
    std::vector<Frame> MarkNew(const Frame& request) {
        std::lock_guard lock(m_mutex);
        if (Entry* mail = FindMail(FirstInt(request))) mail->flags &= ~kOldFlag;
        return {Answer(request, Ack())};
    }
    std::vector<Frame> BeginMessage(const Frame& request) { return BeginGreeting(request); }
    std::vector<Frame> MessageData(const Frame& request) { return TakeData(request); }
    std::vector<Frame> EndMessage(const Frame& request) {
        std::lock_guard lock(m_mutex);
        Entry mail = {m_nextMail++, At(12, 11, 0), 1, "", "Tablet", 0, SamplesOf(m_upload)};
        m_mail.push_back(std::move(mail));
        return {Answer(request, Ack()),
                {kEverySink, ZVM_PHONE_VOICEMAILCHANGED, {}},
                {kEverySink, ZVM_PHONE_STATECHANGED, {}}};
    }
    std::vector<Frame> TakeData(const Frame& request) {
        std::lock_guard lock(m_mutex);
        const std::optional<Bytes> bytes = UploadData(request);
        if (!bytes) return {};
        m_upload.insert(m_upload.end(), bytes->begin(), bytes->end());
        return {Answer(request, Ack())};
    }

    Gateway& m_gateway;
    std::mutex m_mutex;
    int32_t m_rings = kDefaultRings;
    int32_t m_screening = 0;
    std::vector<int16_t> m_greeting;  // empty: the default greeting
    CZVTime m_greetingTime = At(1, 9, 0);
    Bytes m_upload;
    std::vector<Entry> m_calls = SampleCalls();
    std::vector<Entry> m_mail = SampleVoiceMail();
    int32_t m_nextMail = 200;
    bool m_callOn = false;
    std::optional<SampleFeed> m_feed;
};

std::mutex g_phonesMutex;
std::map<Gateway*, std::weak_ptr<Phone>> g_phones;

}  // namespace

void ServePhone(Gateway& gateway, Pacer& pacer) {
    auto phone = std::make_shared<Phone>(gateway);
    phone->Serve(gateway, phone);
    pacer.Add([phone](uint32_t now_ms) { phone->Step(now_ms); });
    std::lock_guard lock(g_phonesMutex);
    g_phones[&gateway] = phone;
}

bool RingPhone(Gateway& gateway) {
    std::shared_ptr<Phone> phone;
    {
        std::lock_guard lock(g_phonesMutex);
        const auto found = g_phones.find(&gateway);
        if (found != g_phones.end()) phone = found->second.lock();
    }
    if (!phone) return false;
    phone->Ring();
    return true;
}

}  // namespace samplegateway

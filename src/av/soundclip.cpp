#include "av/soundclip.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "av/wavdevice.h"
#include "core/messages/mediamessages.h"
#include "gfx/shellservices.h"

namespace {

CWavDevice* g_clipDevice = nullptr;

// The body of the canonical "fmt " chunk, and the window searched for the
// chunk that holds the samples.
constexpr int32_t kFormatOffset = 20;
constexpr int32_t kFormatBytes = 16;
constexpr int32_t kFirstTag = 36;
constexpr int32_t kLastTag = 47;
// "data": size after the tag, samples 8 bytes after it. "fact": the 4-byte
// fact chunk, then the data chunk's size 16 and its samples 20 bytes after it.
constexpr int32_t kDataSize = 4;
constexpr int32_t kDataStart = 8;
constexpr int32_t kFactSize = 16;
constexpr int32_t kFactStart = 20;

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

CSoundClip::CSoundClip(CZVServer& server, CZVString name) : CSocketSink(server), m_name(name) {
    server.RegisterSink(this);
    OnConnect(1);
}

CSoundClip::~CSoundClip() {
    if (GetServer()) GetServer()->UnregisterSink(this);
}

void CSoundClip::SetDevice(CWavDevice* device) { g_clipDevice = device; }
CWavDevice* CSoundClip::GetDevice() { return g_clipDevice; }

void CSoundClip::OnConnect(int connected) {
    // One request per connection: the constructor may already have asked.
    if (!connected) m_asked = false;
    if (!connected || m_asked || !GetServer() || !GetServer()->IsConnected()) return;
    CZVMSG request(GetId(), ZVM_SOUND_GETCLIPQ);
    request.WriteString(m_name.GetAnsi());
    m_asked = GetServer()->Send(&request) == 1;
}

void CSoundClip::OnMessage(CZVMSG* message) {
    if (message->GetSenderId() != GetId()) return;
    if (GetServer()) GetServer()->UnregisterSink(this);
    if (message->GetId() != ZVM_SOUND_GETCLIPA) return;
    TakeFile(message->GetData(), message->GetLength());
}

void CSoundClip::TakeFile(const uint8_t* file, int32_t length) {
    m_answered = 1;
    m_unplayable = 1;
    m_data.reset();
    m_dataLength = 0;
    if (!file || length < kMinFileSize) return;
    m_format = platform::WaveFormat::FromBytes(file + kFormatOffset);
    m_format.extraSize = 0;
    static_assert(kFormatBytes + 2 == platform::WaveFormat::kWireSize);
    for (int32_t at = kFirstTag; at <= kLastTag; ++at) {
        const bool data = at + 4 <= length && std::memcmp(file + at, "data", 4) == 0;
        const bool fact = at + 4 <= length && std::memcmp(file + at, "fact", 4) == 0;
        if (!data && !fact) continue;
        const int32_t sizeAt = at + (data ? kDataSize : kFactSize);
        const int32_t start = at + (data ? kDataStart : kFactStart);
        if (start > length) return;
        const uint32_t size = std::min<uint32_t>(ReadU32(file + sizeAt), static_cast<uint32_t>(length - start));
        if (size == 0) return;
        m_data.reset(new (std::nothrow) uint8_t[size]);
        if (!m_data) return;
        std::memcpy(m_data.get(), file + start, size);
        m_dataLength = static_cast<int32_t>(size);
        m_unplayable = 0;
        return;
    }
}

int CSoundClip::Play(int alert) {
    ++m_requests;
    if (!IsPlayable() || !g_clipDevice) return 0;
    const int volume = alert ? Shell().GetAlertVolume() : Shell().GetClickVolume();
    if (!g_clipDevice->Play(&m_format, volume)) return 0;
    g_clipDevice->MarkEndOfStream();
    g_clipDevice->Write(m_data.get(), m_dataLength);
    return 1;
}

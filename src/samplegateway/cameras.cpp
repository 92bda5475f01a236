#include "samplegateway/cameras.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/audiostreams.h"
#include "samplegateway/cameravideo.h"
#include "samplegateway/gateway.h"
#include "samplegateway/media.h"
#include "samplegateway/pacer.h"
#include "samplegateway/slides.h"

namespace samplegateway {
namespace {

constexpr int kMinSide = 16;
constexpr int kMaxSide = 1024;
constexpr int kTilesAcross = 2;
constexpr int kTiles = kTilesAcross * kTilesAcross;
constexpr int kTurnEvery = 10;
constexpr int kWideSource = 320;
constexpr int kWidePicture = 640;
// The MPEG-2 file's two seconds (60 pictures at 29.97 a second).
constexpr uint32_t kMpegFileMs = 2002;
constexpr int32_t kWideQuality = 2;

int QualityOf(int width) { return width >= kWidePicture ? 2 : width >= kWideSource ? 1 : 0; }

// The rectangle's RGB rows cut out of a picture width pixels wide.
Bytes Cut(const Bytes& rgb, int width, int x, int y, int w, int h) {
    Bytes part;
    for (int row = y; row < y + h; ++row) {
        const auto first = rgb.begin() + 3 * (static_cast<ptrdiff_t>(row) * width + x);
        part.insert(part.end(), first, first + 3 * w);
    }
    return part;
}

// The rows turned by half a turn.
Bytes Turned(const Bytes& rgb) {
    Bytes turned(rgb.size());
    const size_t pixels = rgb.size() / 3;
    for (size_t i = 0; i < pixels; ++i)
        std::copy_n(rgb.begin() + static_cast<ptrdiff_t>(3 * i), 3,
                    turned.begin() + static_cast<ptrdiff_t>(3 * (pixels - 1 - i)));
    return turned;
}

// One window's stream of a camera.
struct CameraStream {
    int camera = 0;
    uint16_t window = 0;
    int width = 0;
    int height = 0;
    std::optional<uint32_t> next_ms;  // from the first step
    int picture = 0;
    int unacknowledged = 0;  // messages
    size_t mpeg_offset = 0;
    int32_t buffer_level = 0;
};

// Where camera 1 points, as its capability answer reports it: x and y in percent, the
// position along its single axis and the preset chosen.
struct CameraAim {
    int32_t x = 50;
    int32_t y = 50;
    int32_t axis = 0;
    int32_t preset = 0;
};

struct DueAnswer {
    std::optional<uint32_t> due_ms;  // from the first step
    Frame frame;
};

class Cameras {
public:
    explicit Cameras(Gateway& gateway) : m_gateway(gateway) {}

    void Step(uint32_t now_ms) {
        std::lock_guard lock(m_mutex);
        for (auto& [window, stream] : m_streams) Send(stream, now_ms);
        for (auto sound = m_sounds.begin(); sound != m_sounds.end();)
            sound = sound->second.Send(m_gateway, now_ms) ? std::next(sound) : m_sounds.erase(sound);
        for (auto answer = m_due.begin(); answer != m_due.end();) {
            if (!answer->due_ms) answer->due_ms = now_ms + kCameraMoveMs;
            if (static_cast<int32_t>(now_ms - *answer->due_ms) < 0) {
                ++answer;
                continue;
            }
            m_gateway.PushFrames({answer->frame});
            answer = m_due.erase(answer);
        }
    }

    // {camera, window, width, height, flags} -> the capabilities; the pictures start.
    std::vector<Frame> Start(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0, window = 0, width = 0, height = 0;
        reader.Int(&camera) && reader.Int(&window) && reader.Int(&width) && reader.Int(&height);
        std::lock_guard lock(m_mutex);
        CameraStream& stream = m_streams[static_cast<uint16_t>(window)];
        stream = {.camera = camera,
                  .window = static_cast<uint16_t>(window),
                  .width = std::clamp(width, kMinSide, kMaxSide),
                  .height = std::clamp(height, kMinSide, kMaxSide)};
        const int32_t caps = camera == kTiledCamera ? kZoomRectCapability : 0;
        return {{request.sender, ZVM_VIDEO_STARTSTREAMA, PayloadWriter().Int(caps)}};
    }

    // {camera} -> the capabilities: camera 1's aim, zeros for the others.
    std::vector<Frame> Caps(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0;
        reader.Int(&camera);
        std::lock_guard lock(m_mutex);
        return {{request.sender, ZVM_VIDEO_GETCAPSA, AimOf(camera)}};
    }

    // {camera, x, y} or {camera, axis position}: camera 1 turns, and every window of it is told.
    void Aim(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0, a = 0, b = 0;
        if (!reader.Int(&camera) || !reader.Int(&a) || camera != kTiledCamera) return;
        std::lock_guard lock(m_mutex);
        if (request.id == ZVM_AV_SETAXIS) {
            m_aim.axis = std::clamp(a, 0, 100);
        } else if (reader.Int(&b)) {
            m_aim.x = std::clamp(a, 0, 100);
            m_aim.y = std::clamp(b, 0, 100);
        }
        std::vector<Frame> told;
        for (const auto& [window, stream] : m_streams)
            if (stream.camera == camera) told.push_back({window, ZVM_VIDEO_GETCAPSA, AimOf(camera)});
        m_gateway.PushFrames(told);
    }

    // {camera, index}: the camera's pictures come in that quality from now on.
    void SetQuality(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0, index = 0;
        if (!reader.Int(&camera) || !reader.Int(&index) || index < 0 || index > 2) return;
        std::lock_guard lock(m_mutex);
        m_qualities[camera] = index;
    }

    // {camera, window} -> the stop's answer.
    std::vector<Frame> Stop(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0, window = 0;
        reader.Int(&camera) && reader.Int(&window);
        std::lock_guard lock(m_mutex);
        m_streams.erase(static_cast<uint16_t>(window));
        return {{request.sender, ZVM_VIDEO_STOPSTREAMA, {}}};
    }

    void Acknowledge(const Frame& request) {
        std::lock_guard lock(m_mutex);
        auto stream = m_streams.find(request.sender);
        if (stream != m_streams.end()) stream->second.unacknowledged = std::max(0, stream->second.unacknowledged - 1);
    }

    void BufferLevel(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t level = 0;
        if (!reader.Int(&level)) return;
        std::lock_guard lock(m_mutex);
        auto stream = m_streams.find(request.sender);
        if (stream != m_streams.end()) stream->second.buffer_level = level;
    }

    // {camera, player} -> the sound's format; a tone plays to the player until it is stopped.
    std::vector<Frame> StartSound(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0, player = 0;
        reader.Int(&camera) && reader.Int(&player);
        std::vector<int16_t> tone;
        AppendTone(tone, {440, 1000});
        std::lock_guard lock(m_mutex);
        m_sounds.insert_or_assign(camera, SampleFeed(static_cast<uint16_t>(player), tone, false, true));
        return {{request.sender, ZVM_VIDEO_STARTAUDIOA, StreamFormat()}};
    }

    void StopSound(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t camera = 0;
        reader.Int(&camera);
        std::lock_guard lock(m_mutex);
        m_sounds.erase(camera);
    }

    void AnswerLater(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_due.push_back({std::nullopt, {request.sender, static_cast<uint16_t>(request.id + 1), {}}});
    }

private:
    Bytes AimOf(int32_t camera) const {
        const CameraAim aim = camera == kTiledCamera ? m_aim : CameraAim{0, 0, 0, 0};
        return PayloadWriter().Int(aim.x).Int(aim.y).Int(aim.axis).Int(aim.preset);
    }

    int QualityFor(const CameraStream& stream) const {
        const auto chosen = m_qualities.find(stream.camera);
        return chosen != m_qualities.end() ? chosen->second : QualityOf(stream.width);
    }

    void Send(CameraStream& stream, uint32_t now_ms) {
        if (!stream.next_ms) stream.next_ms = now_ms;
        if (stream.camera == kMpegCamera) {
            SendMpeg(stream, now_ms);
            return;
        }
        if (stream.camera != kTiledCamera && stream.camera != kJpegCamera && stream.camera != kDvrStream) return;
        const int messages = stream.camera == kTiledCamera ? kTiles : 1;
        while (static_cast<int32_t>(now_ms - *stream.next_ms) >= 0) {
            *stream.next_ms += kPictureMs;
            // A picture whose time comes while two wait for their acknowledgement is left out.
            if (stream.unacknowledged >= kMaxUnacknowledgedPictures * messages) continue;
            const Bytes rgb = CameraPicture(stream.camera, stream.picture, stream.width, stream.height);
            if (stream.camera == kTiledCamera)
                SendTiles(stream, rgb);
            else
                SendPicture(stream, rgb);
            stream.unacknowledged += messages;
            ++stream.picture;
        }
    }

    void SendTiles(const CameraStream& stream, const Bytes& rgb) {
        std::vector<Frame> tiles;
        const int w0 = stream.width / kTilesAcross;
        const int h0 = stream.height / kTilesAcross;
        for (int tile = 0; tile < kTiles; ++tile) {
            const int column = tile % kTilesAcross;
            const int row = tile / kTilesAcross;
            const int x = column * w0, y = row * h0;
            const int w = column ? stream.width - w0 : w0;
            const int h = row ? stream.height - h0 : h0;
            const Bytes jpeg = EncodeJpeg(w, h, Cut(rgb, stream.width, x, y, w, h));
            PayloadWriter tileMessage;
            tileMessage.Int(QualityFor(stream)).Int(1).Int(stream.picture).Int(x).Int(y).Int(w).Int(h).Int(0);
            tileMessage.Raw(jpeg.data(), jpeg.size());
            tiles.push_back({stream.window, ZVM_VIDEO_TILE, tileMessage});
        }
        m_gateway.PushFrames(tiles);
    }

    void SendPicture(const CameraStream& stream, const Bytes& rgb) {
        const bool turned = stream.picture % kTurnEvery == kTurnEvery - 1;
        const Bytes jpeg = EncodeJpeg(stream.width, stream.height, turned ? Turned(rgb) : rgb);
        m_gateway.Push(turned ? ZVM_VIDEO_FRAMEFLIPPED : ZVM_VIDEO_FRAME, PayloadWriter().Raw(jpeg.data(), jpeg.size()),
                       stream.window);
    }

    void SendMpeg(CameraStream& stream, uint32_t now_ms) {
        const std::span<const uint8_t> file = CameraVideo352x240();
        const uint32_t chunkMs = static_cast<uint32_t>(uint64_t{kMpegChunkSize} * kMpegFileMs / file.size());
        while (static_cast<int32_t>(now_ms - *stream.next_ms) >= 0) {
            *stream.next_ms += chunkMs;
            if (stream.buffer_level > kMpegPauseLevel) continue;
            const size_t size = std::min<size_t>(kMpegChunkSize, file.size() - stream.mpeg_offset);
            PayloadWriter chunk;
            chunk.Int(stream.picture == 0 ? 1 : 0).Int(static_cast<int32_t>(size)).Int(kWideQuality << 8);
            chunk.Raw(file.data() + stream.mpeg_offset, size);
            m_gateway.Push(ZVM_VIDEO_MPEGDATA, chunk, stream.window);
            ++stream.picture;
            stream.mpeg_offset = (stream.mpeg_offset + size) % file.size();
        }
    }

    Gateway& m_gateway;
    std::mutex m_mutex;
    std::map<uint16_t, CameraStream> m_streams;  // by window
    std::map<int32_t, SampleFeed> m_sounds;      // by camera
    std::vector<DueAnswer> m_due;
    CameraAim m_aim;
    std::map<int32_t, int32_t> m_qualities;  // by camera, once one was chosen
};

}  // namespace

Bytes CameraPicture(int camera, int number, int width, int height) {
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    const int bar = std::max(1, width / 8);
    const int offset = number * 4 % (2 * bar);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &rgb[3 * (static_cast<size_t>(y) * width + x)];
            if (y < height / 2) {
                // The sky, lighter towards the horizon; camera 2's in the evening.
                const int shade = 255 * y / std::max(1, height);
                pixel[0] = static_cast<uint8_t>(camera == kJpegCamera ? 120 + shade / 2 : 40 + shade / 3);
                pixel[1] = static_cast<uint8_t>(camera == kJpegCamera ? 60 + shade / 3 : 90 + shade / 3);
                pixel[2] = static_cast<uint8_t>(camera == kJpegCamera ? 90 : 160 + shade / 3);
            } else {
                // The lawn, with bars moving to the right.
                const bool light = ((x + bar - offset) / bar) % 2 == 0;
                pixel[0] = static_cast<uint8_t>(light ? 70 : 40);
                pixel[1] = static_cast<uint8_t>(light ? 150 : 100);
                pixel[2] = static_cast<uint8_t>(light ? 60 : 40);
            }
        }
    }
    // A red block at the top left, to tell which way up the picture is.
    for (int y = height / 10; y < height / 4; ++y)
        for (int x = width / 10; x < width / 4; ++x) {
            uint8_t* pixel = &rgb[3 * (static_cast<size_t>(y) * width + x)];
            pixel[0] = 220;
            pixel[1] = 30;
            pixel[2] = 30;
        }
    return rgb;
}

void ServeCameras(Gateway& gateway, Pacer& pacer) {
    auto cameras = std::make_shared<Cameras>(gateway);
    pacer.Add([cameras](uint32_t now_ms) { cameras->Step(now_ms); });
    gateway.On(ZVM_VIDEO_SELECTSOURCEQ, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, ZVM_VIDEO_SELECTSOURCEA, PayloadWriter().Int(0).Int(0)}};
    });
    gateway.On(ZVM_VIDEO_GETCAPSQ, [cameras](const Frame& request) { return cameras->Caps(request); });
    for (uint16_t aim : {ZVM_AV_SETXY, ZVM_AV_SETAXIS})
        gateway.On(aim, [cameras](const Frame& request) {
            cameras->Aim(request);
            return std::vector<Frame>{};
        });
    for (uint16_t noted : {ZVM_AV_STEP, ZVM_AV_SETPRESET})
        gateway.On(noted, [](const Frame&) { return std::vector<Frame>{}; });
    gateway.On(ZVM_VIDEO_SETQUALITY, [cameras](const Frame& request) {
        cameras->SetQuality(request);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_VIDEO_STARTSTREAMQ, [cameras](const Frame& request) { return cameras->Start(request); });
    gateway.On(ZVM_VIDEO_STOPSTREAMQ, [cameras](const Frame& request) { return cameras->Stop(request); });
    gateway.On(ZVM_VIDEO_FRAMEACK, [cameras](const Frame& request) {
        cameras->Acknowledge(request);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_VIDEO_BUFFERLEVEL, [cameras](const Frame& request) {
        cameras->BufferLevel(request);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_VIDEO_STARTAUDIOQ, [cameras](const Frame& request) { return cameras->StartSound(request); });
    gateway.On(ZVM_VIDEO_STOPAUDIO, [cameras](const Frame& request) {
        cameras->StopSound(request);
        return std::vector<Frame>{};
    });
    for (uint16_t move : {ZVM_VIDEO_CAMERALEFTQ, ZVM_VIDEO_CAMERARIGHTQ, ZVM_VIDEO_CAMERAUPQ, ZVM_VIDEO_CAMERADOWNQ})
        gateway.On(move, [cameras](const Frame& request) {
            cameras->AnswerLater(request);
            return std::vector<Frame>{};
        });
}

}  // namespace samplegateway

#include "samplegateway/dvr.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "core/messages/mediamessages.h"
#include "samplegateway/cameras.h"
#include "samplegateway/gateway.h"
#include "samplegateway/times.h"

namespace samplegateway {
namespace {

// Cell values of the clip map: a plain recording and one with motion.
constexpr uint8_t kRecordingCell = 2;
constexpr uint8_t kMotionCell = 6;
constexpr int kMotionEvery = 3;  // hours
constexpr int kDayMinutes = 1440;
constexpr int32_t kMaxColumns = 4096;
// Playback kinds the events report: stopped, playing.
constexpr int32_t kStopped = 0;
constexpr int32_t kPlaying = 2;
constexpr int32_t kPlayFrom = 0;
constexpr int32_t kPlay = 1;
constexpr int32_t kStop = 3;
constexpr int32_t kSpeed = 4;
constexpr int32_t kNextClip = 5;
constexpr int32_t kPreviousClip = 6;
constexpr int32_t kSaveClip = 7;

int64_t MinutesFrom(const CZVTime& from, const CZVTime& to) {
    const CZVTimeSpan span = to - from;
    return span.IsNegative() ? -span.GetTotalMinutes() : span.GetTotalMinutes();
}

// The recordings' cell at the time: the first ten minutes of each hour of the last day.
uint8_t CellAt(const CZVTime& now, const CZVTime& time) {
    const int64_t age = MinutesFrom(time, now);
    if (age < 0 || age > kDayMinutes || time.GetMinute() >= kClipMinutes) return 0;
    return time.GetHour() % kMotionEvery == 0 ? kMotionCell : kRecordingCell;
}

class Recorder {
public:
    // {window, recorder} -> the stream, whose events go to that window.
    std::vector<Frame> Open(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t window = 0, recorder = 0;
        reader.Int(&window) && reader.Int(&recorder);
        std::lock_guard lock(mutex_);
        window_ = static_cast<uint16_t>(window);
        return {{request.sender, ZVM_DVR_OPENSTREAMA, PayloadWriter().Int(kRecorderStream)}};
    }

    // {stream, kind, time} -> the answer and an event; {stream, 4, speed} -> nothing.
    std::vector<Frame> Play(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t stream = 0, kind = 0;
        if (!reader.Int(&stream) || !reader.Int(&kind) || kind == kSpeed) return {};
        const std::optional<CZVTime> time = ReadTime(reader);
        std::lock_guard lock(mutex_);
        switch (kind) {
        case kPlayFrom:
            if (time) position_ = *time;
            playing_ = true;
            break;
        case kPlay: playing_ = true; break;
        case kStop: playing_ = false; break;
        case kNextClip:
        case kPreviousClip:
            if (time) position_ = ClipStart(*time, kind == kNextClip ? 60 : -60);
            playing_ = true;
            break;
        case kSaveClip: return {{request.sender, ZVM_DVR_PLAYA, {}}};
        default: break;
        }
        PayloadWriter event;
        event.Int(playing_ ? kPlaying : kStopped);
        WriteTime(event, position_);
        event.String(playing_ ? "Driveway camera" : "");
        return {{request.sender, ZVM_DVR_PLAYA, {}}, {window_, ZVM_VIDEO_EVENT, event}};
    }

    // {recorder, columns, span, from, to} -> earliest, kept, map start, one cell a column.
    std::vector<Frame> Clips(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t recorder = 0, columns = 0, span = 0;
        if (!reader.Int(&recorder) || !reader.Int(&columns) || !reader.Int(&span)) return {};
        const std::optional<CZVTime> from = ReadTime(reader);
        const std::optional<CZVTime> to = ReadTime(reader);
        if (!from || !to || columns < 1) return {};
        columns = std::min(columns, kMaxColumns);
        const CZVTime now;
        const int64_t minutes = std::max<int64_t>(MinutesFrom(*from, *to), 0);
        const int32_t cells =
            static_cast<int32_t>(std::min<int64_t>(minutes * columns / std::max(span, 1), 3 * kMaxColumns));
        Bytes map(static_cast<size_t>((cells + 1) / 2));
        for (int32_t i = 0; i < cells; ++i) {
            const CZVTime at = PlusMinutes(*from, int64_t{i} * span / columns);
            map[static_cast<size_t>(i / 2)] |= static_cast<uint8_t>(CellAt(now, at) << (4 * (i % 2)));
        }
        PayloadWriter out;
        WriteTime(out, PlusMinutes(now, -kDayMinutes));
        WriteTime(out, now);
        WriteTime(out, *from);
        out.Int(cells).Int(static_cast<int32_t>(map.size())).Raw(map.data(), map.size());
        return {{request.sender, ZVM_DVR_GETCLIPSA, out}};
    }

private:
    static CZVTime ClipStart(CZVTime time, int step) {
        time = PlusMinutes(time, step);
        time.SetMinute(0);
        time.SetSecond(0);
        time.SetMilliseconds(0);
        return time;
    }

    std::mutex mutex_;
    uint16_t window_ = 0;
    CZVTime position_ = PlusMinutes(CZVTime(), -60);
    bool playing_ = false;
};

}  // namespace

void ServeDvr(Gateway& gateway) {
    auto recorder = std::make_shared<Recorder>();
    gateway.On(ZVM_DVR_OPENSTREAMQ, [recorder](const Frame& request) { return recorder->Open(request); });
    gateway.On(ZVM_DVR_PLAYQ, [recorder](const Frame& request) { return recorder->Play(request); });
    gateway.On(ZVM_DVR_GETCLIPSQ, [recorder](const Frame& request) { return recorder->Clips(request); });
    gateway.On(ZVM_DVR_STOPSTREAM, [](const Frame&) { return std::vector<Frame>{}; });
}

}  // namespace samplegateway

#pragma once
// What the voice mail and greeting pages share of the gateway's audio: the
// format the tablet records in, the answer that announces a stream the
// gateway is about to send to the player, and the upload of a recording as
// a begin, one data message per buffer, and an end.
#include <cstdint>
#include <functional>

#include "av/astream.h"
#include "core/zvquery.h"
#include "platform/wave.h"

// 16-bit mono PCM at 11025 samples a second.
platform::WaveFormat RecordingFormat();

// A stream the gateway announced: its format and its length in bytes.
struct PhoneStream {
    platform::WaveFormat format;
    int32_t length = 0;

    bool IsPcm() const { return format.formatTag == platform::WaveFormat::kPcm; }
    // The playing time; 0 when the format gives no byte rate.
    double Seconds() const;
};

// Sends the request and reads the announcement (format, padding, length);
// false when no such answer came.
bool AskStream(CZVQuery& query, CZVMSG& request, PhoneStream* out);
// Reads an announcement from its start; false when it is short.
bool ReadStreamAnswer(CZVMSG& answer, PhoneStream* out);

// The message ids of an upload.
struct UploadIds {
    uint16_t begin;
    uint16_t data;
    uint16_t end;
};

enum class UploadResult {
    kRefused,  // the gateway did not acknowledge the begin: nothing was sent
    kCut,      // a data message went unacknowledged: the end was not sent
    kSaved,
};

struct UploadSteps {
    // After the begin was acknowledged.
    std::function<void()> begun;
    // After the k-th buffer (from 0) was acknowledged: 100 * k / buffers.
    std::function<void(int percent)> progress;
};

// Uploads the stream's buffers for the mailbox. A data message that goes
// unacknowledged ends the upload without the end message, so the gateway
// never keeps a cut recording as whole.
UploadResult UploadRecording(CZVServer& server, const UploadIds& ids, int32_t mailbox, CAStream& stream,
                             const UploadSteps& steps);

#include "vistrel/media/phone/phoneaudio.h"

#include "vistrel/media/phone/phonestatus.h"

namespace {

constexpr uint32_t kRecordRate = 11025;
constexpr uint16_t kRecordBits = 16;
constexpr uint16_t kRecordBlock = kRecordBits / 8;
bool Acknowledged(CZVServer& server, CZVMSG& request) {
    CZVQuery query(server);
    query.SetTimeout(CZVQuery::kDefaultTimeout);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) != 0;
}

}  // namespace

platform::WaveFormat RecordingFormat() {
    return {platform::WaveFormat::kPcm, 1, kRecordRate, kRecordRate * kRecordBlock, kRecordBlock, kRecordBits, 0};
}

double PhoneStream::Seconds() const {
    if (format.avgBytesPerSec == 0 || length <= 0) return 0;
    return static_cast<double>(length) / format.avgBytesPerSec;
}

bool AskStream(CZVQuery& query, CZVMSG& request, PhoneStream* out) {
    query.SetTimeout(CZVQuery::kDefaultTimeout);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) && answer && ReadStreamAnswer(*answer, out);
}

bool ReadStreamAnswer(CZVMSG& answer, PhoneStream* out) {
    answer.ResetPosition();
    return ReadWaveFormat(answer, &out->format) && answer.ReadInt(out->length);
}

UploadResult UploadRecording(CZVServer& server, const UploadIds& ids, int32_t mailbox, CAStream& stream,
                             const UploadSteps& steps) {
    CZVMSG begin(0, ids.begin);
    begin.WriteInt(mailbox);
    WriteWaveFormat(begin, stream.GetFormat());
    if (!Acknowledged(server, begin)) return UploadResult::kRefused;
    if (steps.begun) steps.begun();
    const int buffers = stream.GetCount();
    int k = 0;
    for (ZVPOSITION pos = stream.GetHeadPosition(); pos; ++k) {
        auto* buffer = static_cast<CWaveBuffer*>(stream.GetNext(pos));
        CZVMSG data(0, ids.data);
        data.WriteInt(mailbox);
        data.WriteInt(buffer->GetLength());
        data.WriteBytes(buffer->GetData(), buffer->GetLength());  // zero-padded to 4
        if (!Acknowledged(server, data)) return UploadResult::kCut;
        if (steps.progress) steps.progress(100 * k / buffers);
    }
    CZVMSG end(0, ids.end);
    end.WriteInt(mailbox);
    Acknowledged(server, end);
    return UploadResult::kSaved;
}

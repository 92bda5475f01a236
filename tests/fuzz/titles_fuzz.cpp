// The titles browser's answers of any bytes: the first byte chooses the mode
// and the message (groups, titles, state, change notice); the rest follows the
// device's object id as the payload. A titles answer of the same bytes comes
// first, so that a state meets thumbnails and rows.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/titles/titleanswers.h"
#include "vistrel/media/titles/titleslist.h"
#include "vistrel/media/titles/titleswnd.h"

namespace {

constexpr int32_t kObject = 90;
constexpr uint16_t kAnswers[] = {ZVM_MEDIA_GETTITLESTATEA, ZVM_MEDIA_GETTITLESA, ZVM_MEDIA_GETTITLELISTA,
                                 ZVM_AUDIO_TITLESCHANGED};

std::vector<uint8_t> WithObject(const uint8_t* data, size_t size) {
    std::vector<uint8_t> payload;
    for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<uint8_t>(kObject >> shift));
    payload.insert(payload.end(), data, data + size);
    return payload;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzzing::kMaxReaderInput) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const uint8_t choice = data[0];
    const std::vector<uint8_t> payload = WithObject(data + 1, size - 1);
    fuzzing::FeedReaders(data + 1, size - 1,
                         {{ZVM_MEDIA_GETTITLESA,
                           [](CZVMSG& message) {
                               std::vector<CTitleEntry> titles;
                               ReadTitleEntries(message, &titles);
                           }},
                          {ZVM_MEDIA_GETTITLELISTA, [choice](CZVMSG& message) {
                               CTitleState state;
                               ReadTitleState(message, choice & 0x0F, &state);
                           }}});
    CTitlesWnd titles(nullptr, CZVRect(0, 0, 400, 300), server, kObject, choice >> 5 & 3, choice & 0x80 ? 1 : 0, 18);
    const uint16_t id = kAnswers[choice % std::size(kAnswers)];
    titles.OnMessage(fuzzing::MessageOf(ZVM_MEDIA_GETTITLESA, payload.data(), payload.size()).get());
    titles.OnMessage(fuzzing::MessageOf(id, payload.data(), payload.size()).get());
    if (CTitlesList* list = titles.GetList()) {
        list->OnMessage(fuzzing::MessageOf(ZVM_MEDIA_GETTITLESA, payload.data(), payload.size()).get());
        list->OnMessage(fuzzing::MessageOf(id, payload.data(), payload.size()).get());
    }
    return 0;
}

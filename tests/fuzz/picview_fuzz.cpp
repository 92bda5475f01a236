// Picture control answers of any bytes: the first byte chooses the control's
// kind and the message (a picture with its size, a weather image, a camera
// snapshot or image, a frame's link, the end of an album, the next picture),
// the rest is the payload.
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/pictures/picview.h"

namespace {

constexpr uint16_t kMessages[] = {ZVM_PICTURES_PICTURE,    ZVM_WEATHER_GETIMAGEA,        ZVM_VIDEO_GETSNAPSHOTA,
                                  ZVM_VIDEO_IMAGE,         ZVM_PICTURES_SUBSCRIBEFRAMEA, ZVM_PICTURES_PICTUREEND,
                                  ZVM_PICTURES_NEXTPICTURE};
constexpr int kKinds[] = {CPicView::kNamedPicture, CPicView::kFirstAlbum, CPicView::kWeather, CPicView::kPhotoFrame};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const uint8_t choice = data[0];
    CPicView view(nullptr, CZVRect(0, 0, 160, 120), server, "fuzz.jpg", kKinds[(choice >> 4) % std::size(kKinds)], 1,
                  choice & 8 ? 3 : 0);
    // Hidden: the answer is taken in and kept, not drawn.
    view.Show(0, 1);
    CZVMSG message(0, kMessages[(choice & 7) % std::size(kMessages)]);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    view.OnMessage(&message);
    return 0;
}

// Album messages of any bytes: the first byte chooses a folder record read
// into an album, or a picture answer (0x2AF8) taken by a waiting item; the
// rest is the payload.
#include <cstddef>
#include <cstdint>

#include "core/messages/shellmessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/pictures/picturefolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static CZVServer server(ZVVariant::Tablet);
    CZVMSG message(0, ZVM_PICTURES_PICTURE);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    CPictureFolder folder(server);
    if (data[0] % 2 == 0) {
        folder.Read(&message);
        folder.GetTotalBytes();
        return 0;
    }
    CPictureItem* item = folder.AddPicture("fuzz");
    item->Request(64, 48, data[0] & 2 ? kPictureFull : kPictureThumbnail);
    item->OnMessage(&message);
    item->GetMemoryBytes();
    return 0;
}

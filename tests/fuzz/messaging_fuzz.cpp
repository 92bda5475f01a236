// Messaging answers and phone notices of any bytes: the first byte chooses
// the message (a box's list, a message's body, the viewer's title, a list
// change, or a call notice), the rest is the payload.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/phone/calllogpage.h"

namespace {

constexpr uint16_t kViewerMessages[] = {ZVM_MESSAGES_GETLISTA, ZVM_MESSAGES_GETMESSAGEA, ZVM_MESSAGES_OPENVIEWERA,
                                        ZVM_UI_LISTCHANGED};
constexpr uint16_t kCallMessages[] = {ZVM_PHONE_CALLERID, ZVM_PHONE_CALLENDED, ZVM_PHONE_CALLAUDIO,
                                      ZVM_PHONE_STATECHANGED};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 100000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const uint8_t choice = data[0];
    if (choice & 0x80) {
        CCallLogPage page(nullptr, CZVRect(0, 0, 480, 300), 6, server);
        page.Show(0, 1);
        page.OnMessage(fuzzing::MessageOf(kCallMessages[choice % std::size(kCallMessages)], data + 1, size - 1).get());
        return 0;
    }
    CMessageViewerCtl viewer(nullptr, CZVRect(0, 0, 480, 300), 12, 3, CMessageViewerCtl::kBodyType, server);
    viewer.Show(0, 1);
    // A body needs a selected message: a list read first gives one when it holds any.
    viewer.GetList()->OnMessage(fuzzing::MessageOf(ZVM_MESSAGES_GETLISTA, data + 1, size - 1).get());
    viewer.GetList()->SelectIndex(0, 0);
    viewer.OnCommand(CMessageViewerCtl::kRowTouched);
    const std::unique_ptr<CZVMSG> message =
        fuzzing::MessageOf(kViewerMessages[choice % std::size(kViewerMessages)], data + 1, size - 1);
    if (message->GetId() == ZVM_MESSAGES_GETLISTA || message->GetId() == ZVM_UI_LISTCHANGED)
        viewer.GetList()->OnMessage(message.get());
    else
        viewer.OnMessage(message.get());
    return 0;
}

#include "vistrel/media/audio/titlerequests.h"

#include <initializer_list>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"

namespace {

constexpr int kPlayTitle = 1849;

int SendFromSink(CSocketSink& sink, uint16_t id, std::initializer_list<int32_t> values) {
    CZVServer* server = sink.GetServer();
    if (!server) return 0;
    CZVMSG message(sink.GetId(), id);
    for (int32_t value : values) message.WriteInt(value);
    return server->Send(&message);
}

}  // namespace

int SendGetTitles(CSocketSink& sink, int object, int group) {
    return SendFromSink(sink, ZVM_MEDIA_GETTITLESQ, {object, group});
}

int SendTitlesCommand(CSocketSink& sink, int object, int group, int title) {
    const auto packed = static_cast<int32_t>(static_cast<uint32_t>(title) | static_cast<uint32_t>(group) << 16);
    return SendFromSink(sink, ZVM_MEDIA_TITLESCOMMAND, {object, kPlayTitle, packed});
}

int SendSubscribeTitles(CSocketSink& sink, int object) {
    return SendFromSink(sink, ZVM_MEDIA_SUBSCRIBETITLES, {object, sink.GetId()});
}

int SendUnsubscribeTitles(CSocketSink& sink, int object) {
    return SendFromSink(sink, ZVM_MEDIA_UNSUBSCRIBETITLES, {object, sink.GetId()});
}

int SendGetTitleState(CSocketSink& sink, int object) { return SendFromSink(sink, ZVM_MEDIA_GETTITLESTATEQ, {object}); }

int SendGetTitleList(CSocketSink& sink, int object) { return SendFromSink(sink, ZVM_MEDIA_GETTITLELISTQ, {object}); }

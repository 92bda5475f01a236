// The playlist page's answers of any bytes: the first byte chooses the
// creation answer or the notice that a playlist's tracks changed, the rest
// is the payload; the playlists list holds a loaded row first, so that a
// notice naming it reloads the tracks.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/music/playlistpage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > fuzzing::kMaxReaderInput) return 0;
    static CZVServer server(ZVVariant::Tablet);
    CPlaylistPage page(nullptr, nullptr, CZVRect(0, 0, 680, 500), server);
    // One playlist, whose row text names the playlist the input's notice may name.
    const uint8_t one[] = {1, 0, 0, 0};
    page.GetPlaylistsList()->OnMessage(fuzzing::MessageOf(ZVM_AUDIO_BROWSEA, one, sizeof one).get());
    if (auto* row = static_cast<CLBAudioItem*>(page.GetPlaylistsList()->GetItemAt(0))) {
        CZVMSG text(0, ZVM_AUDIO_GETITEMTEXTA);
        int32_t playlist = 0;
        if (size >= 5) std::memcpy(&playlist, data + 1, sizeof playlist);
        for (int32_t id : {playlist, 0, 0}) text.WriteInt(id);
        text.WriteString(std::string("List"));
        text.ResetPosition();
        row->OnMessage(&text);
        page.GetPlaylistsList()->SelectIndex(0, 0);
    }
    const uint16_t id = data[0] & 1 ? ZVM_AUDIO_CREATEPLAYLISTA : ZVM_AUDIO_PLAYLISTITEMSCHANGED;
    page.OnMessage(fuzzing::MessageOf(id, data + 1, size - 1).get());
    page.GetTrackList()->OnMessage(fuzzing::MessageOf(ZVM_AUDIO_BROWSEA, data + 1, size - 1).get());
    page.OnCommand(kTracksLoaded);
    return 0;
}

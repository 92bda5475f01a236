// The Now Playing page's messages of any bytes: the first byte chooses the
// message (the play queue, the source status, the album-art picture or its
// name, or a music list's browse answer and row text), the rest is the payload.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/music/mediaplayerpage.h"
#include "vistrel/media/music/musiclists.h"

namespace {

constexpr uint16_t kPageMessages[] = {ZVM_AUDIO_GETQUEUEA,        ZVM_AUDIO_PLAYLISTCHANGED,
                                      ZVM_AUDIO_GETSOURCESTATUSA, ZVM_AUDIO_SOURCESTATUSCHANGED,
                                      ZVM_PICTURES_PICTURE,       ZVM_AUDIO_GETALBUMARTA};

class Source : public CMusicSource {
public:
    int GetSelectedAudioItem() override { return 71; }
    int GetSourceFeatures() override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 100000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const uint8_t choice = data[0];
    if (choice & 0x80) {
        // A browse answer of all tracks (letter counts) or of an album (a row count), then a row's text.
        Source source;
        CTrackList list(MusicListArgs{nullptr, CZVRect(0, 0, 400, 300), 1, 2, server, &source}, 0);
        if (choice & 1)
            list.BrowseAllTracks();
        else
            list.BrowseAlbum(10000);
        list.OnMessage(fuzzing::MessageOf(ZVM_AUDIO_BROWSEA, data + 1, size - 1).get());
        CLBAudioItem row(&list, 0, 0, 0, 0, 'A');
        row.OnMessage(fuzzing::MessageOf(ZVM_AUDIO_GETITEMTEXTA, data + 1, size - 1).get());
        return 0;
    }
    CMediaPlayerPage page(nullptr, nullptr, CZVRect(0, 0, 680, 500), 6, 0xC0C0C0, 0);
    page.Show(0, 1);
    // A queue first, so that status indices meet rows.
    page.OnSourceMessage(fuzzing::MessageOf(ZVM_AUDIO_GETQUEUEA, data + 1, size - 1).get(), 0);
    page.OnSourceMessage(fuzzing::MessageOf(kPageMessages[choice % std::size(kPageMessages)], data + 1, size - 1).get(),
                         0);
    return 0;
}

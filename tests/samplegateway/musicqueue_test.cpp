// The sample music server's one play queue, as the music library's commands
// fill it: a play replaces the queue and starts its first track, an add
// appends, and each change is pushed to the sinks that listen to a zone
// playing the music server as the queue and the status that Now Playing shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "keeping_sink.h"
#include "samplegateway/audiozones.h"
#include "samplegateway/musiclibrary.h"
#include "samplegateway/musicserver.h"
#include "samplegateway/pacer.h"
#include "support/gateway_session.h"

namespace {

using samplegateway::Bytes;
using samplegateway::PayloadReader;
using samplegatewaytest::KeepingSink;

constexpr int32_t kZone = 1;
constexpr int32_t kSource = 3000;
constexpr int32_t kPlaying = 4004;
constexpr int32_t kFirstTrackId = 100000;
constexpr int32_t kUnknownTrackId = 99;
constexpr int kStartQueue = samplegateway::MusicLibrary::kQueueTracks;
constexpr int kStartCurrent = 2;
constexpr int kArtistTracks =
    samplegateway::MusicLibrary::kAlbumsPerArtist * samplegateway::MusicLibrary::kTracksPerAlbum;

struct QueueCase {
    const char* name;
    uint16_t id;
    std::vector<int32_t> payload;
    int queueLength;  // after the command
    int current;      // the track playing after the command
    const char* firstArtist;
};

class SampleMusicQueue : public testsupport::GatewaySession {
protected:
    SampleMusicQueue() { ServeAfresh(); }
    // A new library and music server, each with the queue it starts with: their handlers
    // replace those of the last ones. The sink listens to the zone, which plays the music server.
    void ServeAfresh() {
        zones->Subscribe(sink.GetId(), kZone);
        samplegateway::ServeMusicServer(gateway.Engine(), *pacer, samplegateway::ServeMusicLibrary(gateway.Engine()),
                                        zones);
    }
    void Send(uint16_t id, const std::vector<int32_t>& values) {
        CZVMSG message(sink.GetId(), id);
        for (int32_t value : values) message.WriteInt(value);
        ASSERT_TRUE(server.Send(&message));
        ASSERT_TRUE(gateway.WaitForRequest(id));
        ASSERT_TRUE(testsupport::PollAllUntil(server, [this] {
            return !gateway.Owes() && !testsupport::AnswersWaiting(server) && !testsupport::RequestsOnTheirWay(server);
        }));
    }

    std::shared_ptr<samplegateway::Pacer> pacer = std::make_shared<samplegateway::Pacer>();
    std::shared_ptr<samplegateway::ZoneSources> zones = std::make_shared<samplegateway::ZoneSources>();
    KeepingSink sink{server};
};

// The queue's length and its first entry's artist.
std::pair<int32_t, std::string> QueueOf(const Bytes& payload) {
    PayloadReader in(payload);
    int32_t count = 0;
    std::string artist;
    in.Int(&count);
    in.String(&artist);
    return {count, artist};
}

// The status {kind, repeat, random, state, current, progress}: the state and the current track.
std::pair<int32_t, int32_t> StatusOf(const Bytes& payload) {
    PayloadReader in(payload);
    int32_t values[6] = {};
    for (int32_t& value : values) in.Int(&value);
    return {values[3], values[4]};
}

TEST_F(SampleMusicQueue, LibraryCommandsFillTheMusicServersQueueAndPushIt) {
    const QueueCase cases[] = {
        {"play an artist",
         ZVM_AUDIO_LIBRARYCOMMANDEX,
         {kZone, kBrowseArtists, 0, 0, 0, 1, kSource},
         kArtistTracks,
         0,
         "7th Avenue"},
        {"add an artist",
         ZVM_AUDIO_LIBRARYCOMMANDEX,
         {kZone, kBrowseArtists, 0, 0, 0, 0, kSource},
         kStartQueue + kArtistTracks,
         kStartCurrent,
         nullptr},
        {"play a track", ZVM_AUDIO_LIBRARYCOMMAND, {kZone, kFirstTrackId, 0, 0, 1}, 1, 0, "7th Avenue"},
        {"add a track",
         ZVM_AUDIO_LIBRARYCOMMAND,
         {kZone, kFirstTrackId, 0, 0, 0},
         kStartQueue + 1,
         kStartCurrent,
         nullptr},
        {"play at random", ZVM_AUDIO_PLAYRANDOM, {kZone}, 12, 0, nullptr},
    };
    for (const QueueCase& c : cases) {
        SCOPED_TRACE(c.name);
        ServeAfresh();
        sink.received.clear();
        if (!server.IsConnected()) Connect();
        Send(ZVM_AUDIO_GETQUEUEQ, {kZone});
        ASSERT_EQ(sink.Of(ZVM_AUDIO_GETQUEUEA).size(), 1u);
        EXPECT_EQ(QueueOf(sink.Of(ZVM_AUDIO_GETQUEUEA)[0].payload).first, kStartQueue);

        Send(c.id, c.payload);
        ASSERT_EQ(sink.Of(ZVM_AUDIO_PLAYLISTCHANGED).size(), 1u);
        const auto [length, artist] = QueueOf(sink.Of(ZVM_AUDIO_PLAYLISTCHANGED)[0].payload);
        EXPECT_EQ(length, c.queueLength);
        if (c.firstArtist) EXPECT_EQ(artist, c.firstArtist);
        ASSERT_EQ(sink.Of(ZVM_AUDIO_SOURCESTATUSCHANGED).size(), 1u);
        EXPECT_EQ(StatusOf(sink.Of(ZVM_AUDIO_SOURCESTATUSCHANGED)[0].payload),
                  std::make_pair(kPlaying, static_cast<int32_t>(c.current)));

        // Asked afresh, the queue is the one pushed.
        Send(ZVM_AUDIO_GETQUEUEQ, {kZone});
        ASSERT_EQ(sink.Of(ZVM_AUDIO_GETQUEUEA).size(), 2u);
        EXPECT_EQ(QueueOf(sink.Of(ZVM_AUDIO_GETQUEUEA)[1].payload).first, c.queueLength);
    }
}

TEST_F(SampleMusicQueue, ATrackTheLibraryDoesNotHoldLeavesTheQueueAlone) {
    Connect();
    Send(ZVM_AUDIO_LIBRARYCOMMAND, {kZone, kUnknownTrackId, 0, 0, 1});
    Send(ZVM_AUDIO_LIBRARYCOMMANDEX, {kZone, kBrowseArtists, 0, 0, 5000, 1, kSource});
    EXPECT_TRUE(sink.Of(ZVM_AUDIO_PLAYLISTCHANGED).empty());
    Send(ZVM_AUDIO_GETQUEUEQ, {kZone});
    ASSERT_EQ(sink.Of(ZVM_AUDIO_GETQUEUEA).size(), 1u);
    EXPECT_EQ(QueueOf(sink.Of(ZVM_AUDIO_GETQUEUEA)[0].payload).first, kStartQueue);
}

}  // namespace

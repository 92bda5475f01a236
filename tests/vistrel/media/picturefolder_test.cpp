// The album tree: folder records as the gateway sends them, and the picture
// items' requests, answers, memory and age.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/messages/shellmessages.h"
#include "gfx/picture_files.h"
#include "picture_fixture.h"
#include "support/wait.h"
#include "vistrel/media/pictures/picturefolder.h"
#include "widgets/gateway_tree.h"

namespace {

using picturetest::Album;
using picturetest::Answer;
using picturetest::FlatJpeg;
using picturetest::WriteAlbum;

class PictureTree : public widgettest::GatewayTree {
protected:
    void SetUp() override { Connect(); }

    // Reads a record built by write; message length and folder are the test's.
    int ReadInto(CPictureFolder& folder, const std::function<void(CZVMSG&)>& write) {
        CZVMSG message(0, ZVM_PICTURES_GETSUMMARYA);
        write(message);
        message.ResetPosition();
        return folder.Read(&message);
    }
    int RequestsOf(uint16_t id) const { return static_cast<int>(gateway.RequestsOf(id).size()); }
    // Sends a marker through another item and waits until the gateway saw it,
    // so that every earlier send has arrived too.
    void Flush() {
        CPictureItem* marker = markerFolder.AddPicture("marker");
        marker->Request(1, 1, kPictureThumbnail);
        const int wanted = ++markers;
        ASSERT_TRUE(testsupport::WaitUntil([&] {
            int seen = 0;
            for (const testsupport::Frame& frame : gateway.RequestsOf(ZVM_PICTURES_GETTHUMBNAILQ)) {
                testsupport::PayloadReader reader(frame.payload);
                int32_t sink = 0, w = 0;
                if (reader.Int(&sink) && reader.Int(&w) && w == 1) ++seen;
            }
            return seen >= wanted;
        }));
    }
    int ItemRequests() { return RequestsOf(ZVM_PICTURES_GETTHUMBNAILQ) - markers; }

    CPictureFolder root{server};
    CPictureFolder markerFolder{server};
    int markers = 0;
};

struct RecordCase {
    const char* what;
    std::function<void(CZVMSG&)> write;
    int whole;
    int32_t id;
    const char* name;
    int pictures;
    int subAlbums;
};

TEST_F(PictureTree, FolderRecordsAreReadUpToTheFirstFieldThatFails) {
    const Album holidays{3, "Holidays", {}, {{4, "Summer", {"a", "b"}, {}}, {5, "Winter", {"c"}, {}}}};
    const RecordCase cases[] = {
        {"empty album",
         [](CZVMSG& m) {
             WriteAlbum(m, {7, "Empty", {}, {}});
         },
         1, 7, "Empty", 0, 0},
        {"cut after the name",
         [](CZVMSG& m) {
             m.WriteInt(9);
             m.WriteString("Cut");
         },
         0, 9, "Cut", 0, 0},
        {"nested", [&](CZVMSG& m) { WriteAlbum(m, holidays); }, 1, 3, "Holidays", 0, 2},
        {"negative counts",
         [](CZVMSG& m) {
             m.WriteInt(1);
             m.WriteString("Minus");
             m.WriteInt(-5);
             m.WriteInt(-1);
         },
         0, 1, "Minus", 0, 0},
        {"count far beyond the message",
         [](CZVMSG& m) {
             m.WriteInt(2);
             m.WriteString("Huge");
             m.WriteInt(0x7FFFFFFF);
             m.WriteString("only");
         },
         0, 2, "Huge", 1, 0},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.what);
        CPictureFolder folder(server);
        EXPECT_EQ(ReadInto(folder, c.write), c.whole);
        EXPECT_EQ(folder.GetFolderId(), c.id);
        EXPECT_STREQ(folder.GetName().GetAnsi(), c.name);
        EXPECT_EQ(folder.GetPictureCount(), c.pictures);
        EXPECT_EQ(folder.GetSubFolderCount(), c.subAlbums);
    }
}

TEST_F(PictureTree, ANestedRecordBuildsTheTreeAndASecondReadAppends) {
    const Album holidays{3, "Holidays", {"x"}, {{4, "Summer", {"a", "b"}, {}}, {5, "Winter", {"c"}, {}}}};
    ASSERT_EQ(ReadInto(root, [&](CZVMSG& m) { WriteAlbum(m, holidays); }), 1);
    ASSERT_EQ(ReadInto(root, [&](CZVMSG& m) { WriteAlbum(m, holidays); }), 1);
    EXPECT_EQ(root.GetPictureCount(), 2);
    ASSERT_EQ(root.GetSubFolderCount(), 4);
    CPictureFolder* summer = root.GetSubFolder(2);
    EXPECT_STREQ(summer->GetName().GetAnsi(), "Summer");
    EXPECT_EQ(summer->GetParent(), &root);
    EXPECT_EQ(summer->GetPicture(1)->GetIndex(), 1);
    EXPECT_STREQ(summer->GetPicture(1)->GetName().GetAnsi(), "b");
    EXPECT_EQ(root.GetPicture(1)->GetIndex(), 1);
    EXPECT_EQ(root.GetPicture(-1), nullptr);
    EXPECT_EQ(root.GetPicture(2), nullptr);
    EXPECT_EQ(root.IndexOf(root.GetPicture(1)), 1);
    EXPECT_EQ(root.IndexOf(summer->GetPicture(0)), -1);
}

TEST_F(PictureTree, NestingDeeperThanSixteenIsRefused) {
    auto nested = [](int levels) {
        Album album{0, "level", {}, {}};
        for (int i = 1; i <= levels; ++i) album = Album{i, "level", {"p"}, {album}};
        return album;
    };
    CPictureFolder allowed(server);
    EXPECT_EQ(ReadInto(allowed, [&](CZVMSG& m) { WriteAlbum(m, nested(CPictureFolder::kMaxDepth)); }), 1);
    CPictureFolder refused(server);
    EXPECT_EQ(ReadInto(refused, [&](CZVMSG& m) { WriteAlbum(m, nested(CPictureFolder::kMaxDepth + 1)); }), 0);
    int depth = 0;
    for (CPictureFolder* folder = &refused; folder->GetSubFolderCount(); folder = folder->GetSubFolder(0)) ++depth;
    EXPECT_EQ(depth, CPictureFolder::kMaxDepth);
}

TEST_F(PictureTree, AnItemAsksOnceAtATimeWithAnIdDrawnWhenItRegisters) {
    root.SetRequest(ZVM_PICTURES_GETTHUMBNAILQ, 3);
    CPictureItem* item = root.AddPicture("one");
    EXPECT_FALSE(server.IsRegistered(item));
    // Ids handed out meanwhile do not matter: the item draws a fresh one.
    const uint16_t built = item->GetId();
    for (int i = 0; i < 5; ++i) server.NextQueryId();
    item->Request(80, 60, kPictureThumbnail);
    EXPECT_TRUE(server.IsRegistered(item));
    EXPECT_NE(item->GetId(), built);
    const testsupport::Frame request = NextRequest(ZVM_PICTURES_GETTHUMBNAILQ);
    EXPECT_EQ(request.sender, item->GetId());
    testsupport::PayloadReader reader(request.payload);
    std::vector<int32_t> values;
    for (int32_t v; reader.Int(&v);) values.push_back(v);
    EXPECT_EQ(values, (std::vector<int32_t>{item->GetId(), 80, 60, -1, 0, 3}));

    item->Request(800, 600, kPictureFull);
    Flush();
    EXPECT_EQ(ItemRequests(), 1);
    EXPECT_EQ(item->GetPending(), kPictureThumbnail);

    Answer(item, 80, 60, FlatJpeg(80, 60));
    EXPECT_FALSE(server.IsRegistered(item));
    EXPECT_EQ(item->GetPending(), kPictureNone);
    ASSERT_NE(item->GetThumbnail(), nullptr);
    EXPECT_EQ(item->GetThumbnail()->GetRequestedWidth(), 80);
}

TEST_F(PictureTree, AnyAnswerEndsTheWaitAndAnUnansweredRequestEndsAfterThirtySeconds) {
    CPictureItem* item = root.AddPicture("one");
    item->Request(80, 60, kPictureThumbnail);
    Answer(item, 80, 60, FlatJpeg(80, 60));
    // A thumbnail that is already there: the answer is dropped, the wait ends.
    item->Request(80, 60, kPictureThumbnail);
    Answer(item, 80, 60, FlatJpeg(80, 60));
    EXPECT_EQ(item->GetPending(), kPictureNone);
    EXPECT_FALSE(server.IsRegistered(item));

    item->Request(640, 480, kPictureFull);
    harness.Clock().Advance(CPictureItem::kAnswerWaitMs - 1);
    EXPECT_EQ(item->GetPending(), kPictureFull);
    harness.Clock().Advance(1);
    EXPECT_EQ(item->GetPending(), kPictureNone);
    item->Request(640, 480, kPictureFull);
    Flush();
    EXPECT_EQ(ItemRequests(), 4);
    EXPECT_TRUE(server.IsRegistered(item));
}

TEST_F(PictureTree, AnswersThatDoNotDecodeOrClaimHugeSizesLeaveNothingAndMayBeAskedAgain) {
    CPictureItem* item = root.AddPicture("one");
    const struct {
        const char* what;
        int32_t w, h;
        std::vector<uint8_t> jpeg;
    } cases[] = {
        {"not a JPEG", 16, 16, {1, 2, 3, 4}},
        {"no JPEG at all", 16, 16, {}},
        {"size past the limits", 100000, 100000, FlatJpeg(16, 16)},
        {"negative size", -16, 16, FlatJpeg(16, 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        item->Request(16, 16, kPictureFull);
        Answer(item, c.w, c.h, c.jpeg);
        EXPECT_EQ(item->GetPicture(), nullptr);
        EXPECT_EQ(item->GetPending(), kPictureNone);
        EXPECT_FALSE(server.IsRegistered(item));
    }
    item->Request(16, 16, kPictureFull);
    Answer(item, 16, 16, FlatJpeg(16, 16));
    EXPECT_NE(item->GetPicture(), nullptr);
}

TEST_F(PictureTree, EnsurePictureKeepsTheSameSizeAndAsksAgainForAnother) {
    CPictureItem* item = root.AddPicture("one");
    item->EnsurePicture(33, 20);
    Answer(item, 33, 20, FlatJpeg(33, 20));
    ASSERT_NE(item->GetPicture(), nullptr);
    // Odd widths count their row length.
    EXPECT_EQ(item->GetMemoryBytes(), 2 * 34 * 20);
    item->EnsurePicture(33, 20);
    EXPECT_NE(item->GetPicture(), nullptr);
    EXPECT_EQ(item->GetPending(), kPictureNone);
    item->EnsurePicture(64, 48);
    EXPECT_EQ(item->GetPicture(), nullptr);
    EXPECT_EQ(item->GetPending(), kPictureFull);
    Flush();
    EXPECT_EQ(ItemRequests(), 2);
}

TEST_F(PictureTree, TheOldestLoadedPictureIsFoundAcrossTheTree) {
    ASSERT_EQ(ReadInto(root, [](CZVMSG& m) { WriteAlbum(m, {1, "Root", {"a", "b"}, {{2, "Sub", {"c"}, {}}}}); }), 1);
    CPictureItem* a = root.GetPicture(0);
    CPictureItem* b = root.GetPicture(1);
    CPictureItem* c = root.GetSubFolder(0)->GetPicture(0);
    EXPECT_EQ(root.FindOldestPicture(nullptr), nullptr);
    EXPECT_EQ(root.FindOldestPicture(a), a);
    for (CPictureItem* item : {b, a}) {
        item->EnsurePicture(16, 16);
        Answer(item, 16, 16, FlatJpeg(16, 16));
    }
    // Equal ages: the first met wins.
    EXPECT_EQ(root.FindOldestPicture(nullptr), a);
    harness.Clock().Advance(100);
    c->EnsurePicture(16, 16);
    Answer(c, 16, 16, FlatJpeg(16, 16));
    harness.Clock().Advance(100);
    EXPECT_EQ(root.FindOldestPicture(nullptr), a);
    a->FreePicture();
    EXPECT_EQ(root.FindOldestPicture(nullptr), b);
    EXPECT_EQ(root.GetTotalBytes(), 3u * 2 * 16 * 16 - 2 * 16 * 16);
    root.FreeAllPictures();
    EXPECT_EQ(root.FindOldestPicture(nullptr), nullptr);
    EXPECT_EQ(root.GetTotalBytes(), 0u);
}

}  // namespace

// Gateway images against a fake gateway: the requests of each kind, the
// answers and how their files are decoded, the windows called back, the
// enlargement, the blocking fetch and reconnection.
#include "gfx/zvimage.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "gfx/dibdc.h"
#include "picture_gateway.h"
#include "support/assert_counter.h"

namespace {

using pictures::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;
using zvtest::StubWindow;

// The window tree as a set of windows; records each call back.
class TestHost : public CZVImageHost {
public:
    bool IsThemed() override { return themed; }
    int NotifyImageReady(CPaintWindow* waiter, CDibDC* picture) override {
        if (!inTree.count(waiter)) return -1;
        calls.push_back({waiter, picture});
        auto answer = answers.find(waiter);
        return answer == answers.end() ? 1 : answer->second;
    }

    bool themed = true;
    std::set<CPaintWindow*> inTree;
    std::map<CPaintWindow*, int> answers;
    std::vector<std::pair<CPaintWindow*, CDibDC*>> calls;
};

Bytes PngFile(int w, int h) {
    pictures::PngSpec spec;
    spec.width = w;
    spec.height = h;
    for (int y = 0; y < h; ++y) {
        Bytes row;
        for (int x = 0; x < w; ++x)
            row.insert(row.end(), {static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 6), 9, 255});
        spec.rows.push_back(row);
    }
    return pictures::MakePng(spec);
}

Bytes JpegFile() {
    const pictures::Rgb q[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
    return pictures::MakeJpeg(pictures::QuadrantJpeg(16, 16, q));
}

Bytes GifFile() {
    pictures::GifImage image;
    image.width = 4;
    image.height = 2;
    image.minCodeSize = 2;
    image.indices = {0, 1, 2, 3, 3, 2, 1, 0};
    return pictures::MakeGif({{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}, {image});
}

// The payload of an image answer: [type,] width, height, length, file.
Bytes Answer(int w, int h, const Bytes& file, int type = -1, int claimedLength = -1) {
    PayloadWriter payload;
    if (type >= 0) payload.Int(type);
    payload.Int(w).Int(h).Int(claimedLength >= 0 ? claimedLength : static_cast<int>(file.size()));
    payload.Raw(file.data(), file.size());
    return payload;
}

class GatewayImages : public zvtest::PictureGateway {
protected:
    std::unique_ptr<CZVImage> Make(const char* name, int kind, COLORREF c1 = 0, COLORREF c2 = 0, int sent = 0) {
        return std::make_unique<CZVImage>(server, name, c1, c2, kind, 0, sent);
    }
    // Sends the answer to the image and polls until the request has ended.
    void Deliver(CZVImage& image, uint16_t id, const Bytes& payload) {
        AnswerUntil(image.GetId(), id, payload, [&image] { return !image.IsPending(); });
    }
    // Waits in real time until the gateway's answer can be read.
    bool AnswerWaiting() {
        pollfd p{server.GetSocket()->GetHandle(), POLLIN, 0};
        return ::poll(&p, 1, 5000) == 1;
    }

    TestHost host;
    zvtest::ScopedImageHost m_hostInstalled{&host};
};

TEST_F(GatewayImages, RequestsCarryTheKeysOfTheirKind) {
    Connect();
    struct Case {
        int kind;
        bool themed;
        uint16_t request;
        Bytes payload;
    } cases[] = {
        {CZVImage::kTinted, true, ZVM_IMAGE_GETTINTEDQ,
         PayloadWriter().String("pic").Int(0x11).Int(0x22).Int(0x33).Int(7)},
        {CZVImage::kBlended, true, ZVM_IMAGE_GETBLENDEDQ,
         PayloadWriter().String("pic").Int(0x11).Int(0x22).Int(0x33).Int(1).Int(2).Int(3).Int(7)},
        {CZVImage::kPlain, true, ZVM_IMAGE_GETPLAINQ, PayloadWriter().String("pic")},
        {CZVImage::kSkin, true, ZVM_IMAGE_GETSKINQ, PayloadWriter().String("pic")},
        {CZVImage::kSkin, false, ZVM_IMAGE_GETTINTEDQ, PayloadWriter().String("pic")},
        {CZVImage::kSkin2, true, ZVM_IMAGE_GETSKIN2Q, PayloadWriter().String("pic")},
        {CZVImage::kSkin2, false, ZVM_IMAGE_GETTINTEDQ, PayloadWriter().String("pic")},
    };
    for (const Case& c : cases) {
        host.themed = c.themed;
        auto image = Make("pic", c.kind, 0x332211, 0x030201, 7);
        EXPECT_TRUE(image->IsPending());
        EXPECT_TRUE(image->IsBusy());
        Frame sent;
        ASSERT_TRUE(gateway.WaitForRequest(c.request, &sent)) << c.kind;
        EXPECT_EQ(sent.sender, image->GetId());
        EXPECT_EQ(sent.payload, c.payload) << "kind " << c.kind << " themed " << c.themed;
    }

    testsupport::AssertCounter asserts;
    auto unknown = Make("pic", 3);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_TRUE(unknown->IsPending());
}

TEST_F(GatewayImages, TheFileTypeComesFromTheTypeFieldOrTheName) {
    Connect();
    struct Case {
        const char* name;
        uint16_t answer;
        Bytes payload;
        int width;  // of the picture; 0 for none
    } cases[] = {
        {"logo.Png", ZVM_IMAGE_GETTINTEDA, Answer(30, 20, PngFile(30, 20)), 30},
        {"photo.jpeg", ZVM_IMAGE_GETBLENDEDA, Answer(16, 16, JpegFile()), 16},
        {"PHOTO.JPG", ZVM_IMAGE_IMAGEDATA, Answer(16, 16, JpegFile()), 16},
        {"photo.jpg2", ZVM_IMAGE_GETTINTEDA, Answer(4, 2, GifFile()), 4},
        {"photo.jpg2", ZVM_IMAGE_GETTINTEDA, Answer(16, 16, JpegFile()), 0},
        {"any", ZVM_IMAGE_GETPLAINA, Answer(30, 20, PngFile(30, 20), CZVImage::kTypePng), 30},
        {"any.png", ZVM_IMAGE_GETSKINA, Answer(16, 16, JpegFile(), CZVImage::kTypeJpeg), 16},
        {"any.png", ZVM_IMAGE_GETSKIN2A, Answer(4, 2, GifFile(), CZVImage::kTypeGif), 4},
        {"any.gif", ZVM_IMAGE_GETPLAINA, Answer(4, 2, GifFile(), 3), 0},
    };
    for (const Case& c : cases) {
        auto image = Make(c.name, CZVImage::kPlain);
        StubWindow waiter;
        host.inTree.insert(&waiter);
        EXPECT_EQ(image->GetDib(&waiter, 0, 0), nullptr);
        host.calls.clear();
        Deliver(*image, c.answer, c.payload);
        EXPECT_EQ(image->GetWidth(), c.width) << c.name << " " << c.answer;
        EXPECT_FALSE(image->IsBusy());
        EXPECT_FALSE(server.IsRegistered(image.get()));
        EXPECT_EQ(host.calls.size(), c.width ? 1u : 0u) << c.name;
        if (c.width) {
            EXPECT_EQ(host.calls[0].second, image->GetDib(nullptr, 0, 0));
        } else {
            EXPECT_EQ(image->GetDib(nullptr, 0, 0), nullptr);
        }
    }
}

TEST_F(GatewayImages, AGifAnswerIsTransparentUnlessTheUserClearedIt) {
    Connect();
    for (int transparency : {1, 0}) {
        auto image = Make("icon", CZVImage::kPlain);
        image->SetGifTransparency(transparency);
        Deliver(*image, ZVM_IMAGE_GETPLAINA, Answer(4, 2, GifFile(), CZVImage::kTypeGif));
        CDibDC* picture = image->GetDib(nullptr, 0, 0);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->GetAlpha() != nullptr, transparency == 1);
    }
}

TEST_F(GatewayImages, NoSuchImageEndsTheRequest) {
    Connect();
    for (uint16_t refusal : {ZVM_SESSION_NODATA, ZVM_SESSION_ERROR}) {
        auto image = Make("missing", CZVImage::kPlain);
        StubWindow waiter;
        host.inTree.insert(&waiter);
        image->GetDib(&waiter, 0, 0);
        host.calls.clear();
        Deliver(*image, refusal, {});
        EXPECT_FALSE(server.IsRegistered(image.get()));
        EXPECT_EQ(image->GetDib(nullptr, 0, 0), nullptr);
        EXPECT_TRUE(host.calls.empty());
    }
}

// A length that claims more than the answer holds is not taken on trust.
TEST_F(GatewayImages, AFileLengthBeyondTheAnswerGivesNoPicture) {
    Connect();
    const Bytes png = PngFile(8, 8);
    auto image = Make("a.png", CZVImage::kPlain);
    Deliver(*image, ZVM_IMAGE_GETTINTEDA, Answer(8, 8, png, -1, static_cast<int>(png.size()) + 1000));
    EXPECT_EQ(image->GetDib(nullptr, 0, 0), nullptr);
    auto hostile = Make("b.jpg", CZVImage::kPlain);
    Deliver(*hostile, ZVM_IMAGE_GETTINTEDA, Answer(100000, 100000, JpegFile()));
    EXPECT_EQ(hostile->GetDib(nullptr, 0, 0), nullptr);
}

TEST_F(GatewayImages, ASmallPictureIsEnlargedOnceAndTheCopyKept) {
    Connect();
    auto image = Make("pic.png", CZVImage::kPlain);
    Deliver(*image, ZVM_IMAGE_GETTINTEDA, Answer(50, 40, PngFile(50, 40)));
    CDibDC* larger = image->GetDib(nullptr, 100, 80);
    ASSERT_TRUE(larger);
    EXPECT_EQ(larger->GetRequestedWidth(), 100);
    EXPECT_EQ(larger->GetHeight(), 80);
    EXPECT_EQ(image->GetDib(nullptr, 0, 0), larger);
    EXPECT_EQ(image->GetDib(nullptr, 60, 40), larger);
    EXPECT_EQ(image->GetWidth(), 100);
}

// A window that declines (one hidden, say) must not keep the picture from
// the windows after it.
TEST_F(GatewayImages, EveryWaiterInTheTreeIsCalledInOrder) {
    Connect();
    auto image = Make("pic.png", CZVImage::kPlain);
    StubWindow gone, first, declines, last;
    host.inTree = {&first, &declines, &last};
    host.answers[&declines] = 0;
    for (CPaintWindow* w : {&gone, &first, &first, &declines, &last}) EXPECT_EQ(image->GetDib(w, 0, 0), nullptr);
    EXPECT_EQ(image->GetWaiterCount(), 4);
    Deliver(*image, ZVM_IMAGE_GETTINTEDA, Answer(10, 10, PngFile(10, 10)));
    ASSERT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls[0].first, &first);
    EXPECT_EQ(host.calls[1].first, &declines);
    EXPECT_EQ(host.calls[2].first, &last);
}

TEST_F(GatewayImages, ABlockingFetchWaitsForTheAnswerOrGivesUp) {
    gateway.On(ZVM_IMAGE_GETPLAINQ, [](const Frame& request) {
        return std::vector<Frame>{
            {request.sender, ZVM_IMAGE_GETPLAINA, Answer(12, 6, PngFile(12, 6), CZVImage::kTypePng)}};
    });
    gateway.On(ZVM_IMAGE_GETSKINQ, [](const Frame&) { return std::vector<Frame>{}; });
    Connect();
    auto answered = Make("x", CZVImage::kPlain);
    ASSERT_TRUE(AnswerWaiting());
    CDibDC* picture = answered->GetDib(nullptr, 0, 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetRequestedWidth(), 12);

    auto silent = Make("y", CZVImage::kSkin);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETSKINQ));
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(silent->GetDib(nullptr, 0, 0), nullptr);
    EXPECT_GE(clock.TickCount() - start, CZVImage::kFetchTimeout);
    EXPECT_LT(clock.TickCount() - start, CZVImage::kFetchTimeout + 100);
}

TEST_F(GatewayImages, AnImageMadeWhileOfflineAsksOnceConnected) {
    auto image = Make("later.png", CZVImage::kPlain);
    EXPECT_FALSE(image->IsPending());
    EXPECT_FALSE(image->IsBusy());
    EXPECT_TRUE(server.IsRegistered(image.get()));
    EXPECT_EQ(image->GetDib(nullptr, 0, 0), nullptr);
    Connect();
    Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ, &sent));
    EXPECT_EQ(sent.sender, image->GetId());
    ASSERT_TRUE(gateway.Push(ZVM_IMAGE_GETPLAINA, Answer(5, 5, PngFile(5, 5), CZVImage::kTypePng), image->GetId()));
    ASSERT_TRUE(testsupport::PollAllUntil(server, [&image] { return image->GetWidth() > 0; }));
}

TEST_F(GatewayImages, LosingTheConnectionEndsThePendingState) {
    Connect();
    auto image = Make("pic.png", CZVImage::kPlain);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ));
    image->OnConnect(0);
    EXPECT_FALSE(image->IsPending());
    EXPECT_TRUE(image->IsBusy());
    StubWindow waiter;
    EXPECT_EQ(image->GetDib(&waiter, 0, 0), nullptr);
    EXPECT_EQ(image->GetWaiterCount(), 0);
    image->OnConnect(1);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ));
    // Asked again, the image is pending: a window that asks now is called
    // back when the answer comes.
    EXPECT_TRUE(image->IsPending());
    host.inTree = {&waiter};
    EXPECT_EQ(image->GetDib(&waiter, 0, 0), nullptr);
    EXPECT_EQ(image->GetWaiterCount(), 1);
    Deliver(*image, ZVM_IMAGE_GETPLAINA, Answer(5, 5, PngFile(5, 5), CZVImage::kTypePng));
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].first, &waiter);
}

TEST(GatewayImageKeys, MatchesAllSixKeysWithTheNameInAnyCase) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CZVImage image(server, "Logo.GIF", 1, 2, CZVImage::kBlended, 4, 5);
    EXPECT_TRUE(image.Matches("logo.gif", 1, 2, CZVImage::kBlended, 4, 5));
    EXPECT_FALSE(image.Matches("logo.gif", 1, 2, CZVImage::kBlended, 9, 5));
    EXPECT_FALSE(image.Matches("logo.gif", 1, 3, CZVImage::kBlended, 4, 5));
    EXPECT_FALSE(image.Matches("logo.gi", 1, 2, CZVImage::kBlended, 4, 5));
}

}  // namespace

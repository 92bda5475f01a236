// Icons: requests to and answers from a fake gateway, shared icons and their
// copies, the cache of pictures and icons, and how icons are drawn.
#include "gfx/icon.h"

#include <gtest/gtest.h>

#include <cstring>

#include "effects_fixture.h"
#include "gfx/dibdc.h"
#include "picture_gateway.h"
#include "support/assert_counter.h"

namespace {

using pictures::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;
using zvtest::StubWindow;

class RecordingIconHost : public CIconHost {
public:
    void RepaintOwner(CPaintWindow* owner) override { repainted.push_back(owner); }
    std::vector<CPaintWindow*> repainted;
};

class ThemeHost : public CZVImageHost {
public:
    bool IsThemed() override { return themed; }
    bool themed = true;
};

struct Shape {
    int x, y, w, h, type, param, r, g, b;
};

PayloadWriter& PutShapes(PayloadWriter& p, const std::vector<Shape>& shapes, int count) {
    p.Int(count);
    for (const Shape& s : shapes)
        p.Int(s.x).Int(s.y).Int(s.w).Int(s.h).Int(s.type).Int(s.param).Int(s.r).Int(s.g).Int(s.b);
    return p;
}

Bytes VectorAnswer(const std::vector<Shape>& shapes, int count = INT32_MIN) {
    PayloadWriter p;
    p.Int(CZVIcon::kVector);
    return PutShapes(p, shapes, count == INT32_MIN ? static_cast<int>(shapes.size()) : count);
}

Bytes FileAnswer(int kind, const Bytes& file) {
    PayloadWriter p;
    p.Int(kind).Int(static_cast<int>(file.size()));
    p.Raw(file.data(), file.size());
    return p;
}

Bytes CutShort(Bytes bytes, size_t n) {
    bytes.resize(bytes.size() - n);
    return bytes;
}

// A received message holding the payload.
std::unique_ptr<CZVMSG> Received(uint16_t id, const Bytes& payload, uint16_t sender = 1) {
    auto message = std::make_unique<CZVMSG>(sender, id, static_cast<int32_t>(payload.size()));
    if (!payload.empty()) std::memcpy(message->GetData(), payload.data(), payload.size());
    return message;
}

const std::vector<Shape> kTwoShapes = {{0, 0, 10, 10, CIconShape::kRect, 0, 255, 0, 0},
                                       {10, 0, 10, 10, CIconShape::kEllipse, 0, 0, 0, 255}};

class GatewayIcons : public zvtest::PictureGateway {
protected:
    GatewayIcons() { m_previousHost = InstallIconHost(&host); }
    ~GatewayIcons() override { InstallIconHost(m_previousHost); }
    void Deliver(CZVIcon* icon, uint16_t id, const Bytes& payload) {
        AnswerUntil(icon->GetId(), id, payload, [icon] { return icon->GetState() != CZVIcon::kAsked; });
    }

    RecordingIconHost host;
    ThemeHost theme;
    zvtest::ScopedImageHost m_themeInstalled{&theme};
    CIconHost* m_previousHost = nullptr;
};

TEST_F(GatewayIcons, ASharedIconAsksOnceAndFillsInItsCopies) {
    Connect();
    CIconCache cache(server);
    CZVIcon* shared = cache.GetIcon("Pump");
    EXPECT_EQ(cache.GetIcon("PUMP"), shared);
    EXPECT_EQ(cache.GetIconCount(), 1);
    Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ, &request));
    EXPECT_EQ(request.sender, shared->GetId());
    EXPECT_EQ(request.payload, Bytes(PayloadWriter().String("Pump")));
    EXPECT_EQ(shared->GetState(), CZVIcon::kAsked);

    std::unique_ptr<CZVIcon> copy(shared->Clone());
    copy->SetSource(shared);
    EXPECT_EQ(copy->GetState(), CZVIcon::kAsked);
    StubWindow button;
    CDibDC surface(40, 40, 0, 0, 0);
    surface.FillRect(MakeColor(1, 2, 3), 0, 0, 40, 40, 0);
    const uint16_t before = *surface.GetPixelAddress(20, 20);
    copy->Draw(&button, &surface, MakeColor(200, 200, 200), {0, 0, 40, 40}, 0, nullptr);
    EXPECT_EQ(*surface.GetPixelAddress(20, 20), before);  // nothing while loading
    EXPECT_EQ(copy->GetOwner(), &button);

    Deliver(shared, ZVM_IMAGE_GETICONA, VectorAnswer(kTwoShapes));
    EXPECT_EQ(shared->GetState(), CZVIcon::kLoaded);
    EXPECT_FALSE(server.IsRegistered(shared));
    ASSERT_EQ(shared->GetShapeCount(), 2);
    EXPECT_EQ(shared->GetShape(1).colour, MakeColor(0, 0, 255));
    EXPECT_EQ(shared->GetBounds(), CZVRect(0, 0, 20, 10));
    EXPECT_EQ(copy->GetState(), CZVIcon::kLoaded);
    EXPECT_EQ(copy->GetShapeCount(), 2);
    EXPECT_EQ(copy->GetSource(), nullptr);
    EXPECT_EQ(shared->GetWaiterCount(), 0);
    EXPECT_EQ(host.repainted, std::vector<CPaintWindow*>{&button});
    // Requested once only.
    EXPECT_FALSE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ, nullptr, 50));
}

TEST_F(GatewayIcons, AnUnthemedAnswerCarriesRawColoursAfterFourSkippedValues) {
    theme.themed = false;
    Connect();
    CZVIcon icon(server);
    icon.Load("plain");
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ));
    PayloadWriter p;
    p.Int(9).Int(9).Int(9).Int(9).Int(1).Int(1).Int(2).Int(3).Int(4).Int(CIconShape::kTriangleUp).Int(0);
    const uint8_t colour[4] = {10, 20, 30, 0};
    p.Raw(colour, 4);
    Deliver(&icon, ZVM_IMAGE_GETICONA, p);
    ASSERT_EQ(icon.GetShapeCount(), 1);
    EXPECT_EQ(icon.GetKind(), CZVIcon::kVector);
    EXPECT_EQ(icon.GetShape(0).rect, CZVRect(1, 2, 3, 4));
    EXPECT_EQ(icon.GetShape(0).colour, MakeColor(10, 20, 30));
}

TEST_F(GatewayIcons, ARefusalFailsTheSharedIconAndLeavesItsCopiesWaiting) {
    Connect();
    CZVIcon shared(server);
    shared.Load("nothing");
    std::unique_ptr<CZVIcon> copy(shared.Clone());
    copy->SetSource(&shared);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ));
    Deliver(&shared, ZVM_SESSION_ERROR, {});
    EXPECT_EQ(shared.GetState(), CZVIcon::kFailed);
    EXPECT_FALSE(server.IsRegistered(&shared));
    EXPECT_EQ(copy->GetState(), CZVIcon::kAsked);
}

// An icon never stays "asked" for an answer that cannot come: one that
// could not be sent, or one lost with the connection, is asked for again
// once the connection is back, and the icon loads.
TEST_F(GatewayIcons, AnIconAsksAgainOnceTheConnectionIsBack) {
    CZVIcon offline(server);
    offline.Load("early");
    EXPECT_EQ(offline.GetState(), CZVIcon::kNotRequested);
    EXPECT_TRUE(server.IsRegistered(&offline));
    Connect();
    Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ, &request));
    EXPECT_EQ(request.sender, offline.GetId());
    EXPECT_EQ(offline.GetState(), CZVIcon::kAsked);
    Deliver(&offline, ZVM_IMAGE_GETICONA, VectorAnswer(kTwoShapes));
    EXPECT_EQ(offline.GetState(), CZVIcon::kLoaded);

    CZVIcon lost(server);
    lost.Load("lost");
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ));
    lost.OnConnect(0);
    EXPECT_EQ(lost.GetState(), CZVIcon::kNotRequested);
    lost.OnConnect(1);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ, &request));
    EXPECT_EQ(request.payload, Bytes(PayloadWriter().String("lost")));
    Deliver(&lost, ZVM_IMAGE_GETICONA, VectorAnswer(kTwoShapes));
    EXPECT_EQ(lost.GetState(), CZVIcon::kLoaded);
    EXPECT_EQ(lost.GetShapeCount(), 2);
}

TEST_F(GatewayIcons, WaitingGivesUpAfterFiveSeconds) {
    gateway.On(ZVM_IMAGE_GETICONQ, [](const Frame&) { return std::vector<Frame>{}; });
    Connect();
    CZVIcon icon(server);
    icon.Load("slow");
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETICONQ));
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(icon.WaitLoaded(), 0);
    EXPECT_GT(clock.TickCount() - start, CZVIcon::kWaitTimeout);
    EXPECT_LT(clock.TickCount() - start, CZVIcon::kWaitTimeout + 100);
    EXPECT_EQ(icon.GetState(), CZVIcon::kAsked);
}

TEST_F(GatewayIcons, BitmapAnswersAreDecodedByKind) {
    Connect();
    pictures::PngSpec spec;
    spec.width = 6;
    spec.height = 4;
    for (int y = 0; y < 4; ++y) spec.rows.push_back(Bytes(6 * 4, 200));
    const pictures::Rgb q[4] = {{255, 255, 255}, {255, 255, 255}, {200, 0, 0}, {200, 0, 0}};
    struct Case {
        int kind;
        Bytes file;
        int width;
    } cases[] = {
        {CZVIcon::kPng, pictures::MakePng(spec), 6},
        {CZVIcon::kJpeg, pictures::MakeJpeg(pictures::QuadrantJpeg(16, 16, q)), 16},
        {CZVIcon::kJpeg, Bytes{0xFF, 0xD8, 0xFF}, 0},
    };
    for (const Case& c : cases) {
        CZVIcon icon(server);
        icon.Load("pic");
        Deliver(&icon, ZVM_IMAGE_GETICONA, FileAnswer(c.kind, c.file));
        EXPECT_EQ(icon.GetState(), CZVIcon::kLoaded);
        EXPECT_EQ(icon.GetKind(), c.kind);
        CDibDC* bitmap = icon.GetBitmap();
        EXPECT_EQ(bitmap ? bitmap->GetRequestedWidth() : 0, c.width) << c.kind;
        if (c.kind == CZVIcon::kJpeg && bitmap) {
            // White fades to almost nothing, red stays opaque.
            ASSERT_TRUE(bitmap->GetAlpha());
            EXPECT_LT(*bitmap->GetAlphaAt(2, 2), 40);
            EXPECT_EQ(*bitmap->GetAlphaAt(2, 13), 255);
        }
    }
    testsupport::AssertCounter asserts;
    CZVIcon odd(server);
    odd.Load("odd");
    Deliver(&odd, ZVM_IMAGE_GETICONA, PayloadWriter().Int(3).Int(0));
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(odd.GetShapeCount(), 0);
    EXPECT_EQ(odd.GetBitmap(), nullptr);
}

TEST(IconAnswers, CountsAndLengthsAreBoundedByTheAnswer) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CZVIcon icon(server);
    struct Case {
        const char* what;
        Bytes payload;
        int shapes;
    } cases[] = {
        {"short of its count", VectorAnswer(kTwoShapes, 5), 2},
        {"a huge count", VectorAnswer(kTwoShapes, 0x7FFFFFFF), 2},
        {"a negative count", VectorAnswer(kTwoShapes, -1), 0},
        {"a shape cut short", CutShort(VectorAnswer(kTwoShapes), 4), 1},
        {"a file longer than the answer", PayloadWriter().Int(CZVIcon::kPng).Int(1000).Int(0), 0},
        {"nothing", {}, 0},
    };
    for (const Case& c : cases) {
        auto message = Received(ZVM_IMAGE_GETICONA, c.payload);
        icon.ReadReply(message.get());
        EXPECT_EQ(icon.GetShapeCount(), c.shapes) << c.what;
        EXPECT_EQ(icon.GetBitmap(), nullptr) << c.what;
    }
}

TEST(IconAnswers, WrittenShapesReadBack) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CZVIcon icon(server);
    icon.MakeStock(13, MakeColor(1, 2, 3));
    CZVMSG message(0, ZVM_IMAGE_GETICONA);
    EXPECT_EQ(icon.Write(&message), 1);
    CZVIcon back(server);
    back.ReadReply(&message);
    ASSERT_EQ(back.GetShapeCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.GetShape(i).rect, icon.GetShape(i).rect);
        EXPECT_EQ(back.GetShape(i).type, icon.GetShape(i).type);
        EXPECT_EQ(back.GetShape(i).colour, icon.GetShape(i).colour);
    }
    EXPECT_EQ(back.GetShape(1).colour, 0u);  // a hole
}

// ---- drawing

class IconDrawing : public ::testing::Test {
protected:
    static constexpr COLORREF kBack = MakeColor(200, 200, 200);
    static constexpr COLORREF kRed = MakeColor(255, 0, 0);
    IconDrawing() { surface.FillRect(kUntouched, 0, 0, 80, 60, 0); }

    uint16_t At(int x, int y) { return *surface.GetPixelAddress(x, y); }
    int Changed() {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) n += At(x, y) != ToRgb565(kUntouched);
        return n;
    }

    static constexpr COLORREF kUntouched = MakeColor(0, 80, 0);
    testsupport::VirtualClock clock;
    CZVServer server{ZVVariant::Tablet};
    CDibDC surface{80, 60, 0, 0, 0};
};

TEST_F(IconDrawing, AStockIconIsScaledIntoTheBoxAndCentred) {
    CZVIcon icon(server);
    icon.MakeStock(2, kRed);  // the square {25, 0, 50, 50}
    // 40 x 30: scale 28 / 50, a 28-pixel square centred in the box.
    icon.Draw(nullptr, &surface, kBack, {10, 10, 40, 30}, CZVIcon::kNoSmoothing, nullptr);
    const uint16_t red = ToRgb565(kRed), back = ToRgb565(kBack);
    EXPECT_EQ(At(16, 11), red);
    EXPECT_EQ(At(43, 38), red);
    EXPECT_EQ(At(15, 20), back);
    EXPECT_EQ(At(44, 20), back);
    EXPECT_EQ(At(20, 10), back);
    EXPECT_EQ(At(20, 39), back);
}

TEST_F(IconDrawing, BoxesOfFourPixelsOrLessDrawNothing) {
    CZVIcon icon(server);
    icon.MakeStock(12, kRed);
    icon.Draw(nullptr, &surface, kBack, {0, 0, 4, 20}, 0, nullptr);
    EXPECT_EQ(Changed(), 0);
    icon.Draw(nullptr, &surface, kBack, {0, 0, 5, 5}, CZVIcon::kNoSmoothing, nullptr);
    EXPECT_GT(Changed(), 0);
}

TEST_F(IconDrawing, TheMinusSitsWhereThePlusDoes) {
    CZVIcon plus(server), minus(server);
    plus.MakeStock(19, kRed);
    minus.MakeStock(20, kRed);
    EXPECT_EQ(plus.GetBounds(), minus.GetBounds());
    CDibDC other(80, 60, 0, 0, 0);
    other.FillRect(kUntouched, 0, 0, 80, 60, 0);
    plus.Draw(nullptr, &surface, kBack, {0, 0, 60, 60}, 0, nullptr);
    minus.Draw(nullptr, &other, kBack, {0, 0, 60, 60}, 0, nullptr);
    // The bar across is the same in both; only the plus has the upright.
    for (int x = 0; x < 80; ++x) EXPECT_EQ(At(x, 30), *other.GetPixelAddress(x, 30)) << x;
    EXPECT_NE(At(30, 8), *other.GetPixelAddress(30, 8));
}

TEST_F(IconDrawing, HolesAndDisabledShapes) {
    CZVIcon power(server);
    power.MakeStock(13, kRed);
    power.Draw(nullptr, &surface, kBack, {0, 0, 60, 60}, 0, nullptr);
    EXPECT_EQ(At(30, 33), ToRgb565(kUntouched));  // the ring's hole stays transparent
    EXPECT_EQ(At(30, 50), ToRgb565(kRed));

    CZVIcon square(server);
    square.MakeStock(2, kRed);
    square.Draw(nullptr, &surface, kBack, {0, 0, 60, 60}, CZVIcon::kDisabled, nullptr);
    EXPECT_EQ(At(30, 30), ToRgb565(ScaleColor(0.9, kBack)));
}

TEST_F(IconDrawing, CopiesShareTheSourcesRenderingsButNotTintedOnes) {
    CZVIcon shared(server);
    shared.MakeStock(12, kRed);
    std::unique_ptr<CZVIcon> copy(shared.Clone());
    copy->SetSource(&shared);
    copy->Draw(nullptr, &surface, kBack, {0, 0, 30, 30}, 0, nullptr);
    EXPECT_EQ(shared.GetRenderingCount(), 1);
    CDibDC other(80, 60, 0, 0, 0);
    other.FillRect(kUntouched, 0, 0, 80, 60, 0);
    copy->Draw(nullptr, &other, kBack, {0, 0, 30, 30}, 0, nullptr);
    EXPECT_EQ(shared.GetRenderingCount(), 1);
    EXPECT_EQ(At(15, 15), *other.GetPixelAddress(15, 15));
    const uint8_t tint[3] = {0, 100, 0};
    copy->Draw(nullptr, &surface, kBack, {0, 0, 30, 30}, 0, tint);
    EXPECT_EQ(At(15, 15), ToRgb565(MakeColor(255, 100, 0)));
    EXPECT_EQ(shared.GetRenderingCount(), 1);
    copy->Draw(nullptr, &surface, kBack, {0, 0, 31, 30}, CZVIcon::kNoCache, nullptr);
    EXPECT_EQ(shared.GetRenderingCount(), 1);
    // Ten are kept: the eleventh drops the oldest.
    for (int w = 40; w < 50; ++w) copy->Draw(nullptr, &surface, kBack, {0, 0, w, 30}, 0, nullptr);
    EXPECT_EQ(shared.GetRenderingCount(), CZVIcon::kMaxRenderings);
    EXPECT_EQ(shared.FindImage(30, 30, kBack, copy->GetColor(), 0), nullptr);
    EXPECT_NE(shared.FindImage(40, 30, kBack, copy->GetColor(), 0), nullptr);
}

// An icon without a source keeps its renderings itself; whatever changes its
// shapes, or the style, must draw as a fresh icon with the same shapes would.
TEST_F(IconDrawing, AnIconOnItsOwnReusesItsRenderingUntilItsLookChanges) {
    static constexpr COLORREF kBlue = MakeColor(0, 0, 255);
    fxtest::FakeStyle style;
    const struct {
        const char* name;
        void (*change)(CZVIcon&, fxtest::FakeStyle&);
    } cases[] = {
        {"stock drawing in another colour", [](CZVIcon& i, fxtest::FakeStyle&) { i.MakeStock(2, kBlue); }},
        {"recoloured", [](CZVIcon& i, fxtest::FakeStyle&) { i.SetColor(kBlue); }},
        {"colours added", [](CZVIcon& i, fxtest::FakeStyle&) { i.AddToColors(0, 0, 255); }},
        {"shape added",
         [](CZVIcon& i, fxtest::FakeStyle&) {
             i.AddShapeFields({0, 0, 20, 20}, 0, 0, kBlue);
         }},
        {"skins switched on", [](CZVIcon&, fxtest::FakeStyle& s) { s.flags = kStyleSkins; }},
    };
    const CZVRect box(0, 0, 60, 50);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        style.flags = 0;
        CSkinServices* previous = InstallSkinServices(&style);
        CZVIcon icon(server);
        icon.MakeStock(2, kRed);
        icon.Draw(nullptr, &surface, kBack, box, 0, nullptr);
        icon.Draw(nullptr, &surface, kBack, box, 0, nullptr);
        EXPECT_EQ(icon.GetRenderingCount(), 1);
        c.change(icon, style);
        surface.FillRect(kUntouched, 0, 0, 80, 60, 0);
        icon.Draw(nullptr, &surface, kBack, box, 0, nullptr);
        std::unique_ptr<CZVIcon> fresh(icon.Clone());
        CDibDC expected(80, 60, 0, 0, 0);
        expected.FillRect(kUntouched, 0, 0, 80, 60, 0);
        fresh->Draw(nullptr, &expected, kBack, box, 0, nullptr);
        int differing = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) differing += At(x, y) != *expected.GetPixelAddress(x, y);
        EXPECT_EQ(differing, 0);
        InstallSkinServices(previous);
    }
}

TEST_F(IconDrawing, HostileShapesDrawWithinTheSurface) {
    CZVIcon icon(server);
    icon.AddShapeFields({INT32_MAX - 5, -INT32_MAX, INT32_MAX, INT32_MAX}, CIconShape::kBandDown, INT32_MAX, kRed);
    icon.AddShapeFields({0, 0, -50, 7}, CIconShape::kEllipseMask, 0, kRed);
    icon.AddShapeFields({0, 0, 10, 10}, 999, 0, kRed);
    testsupport::AssertCounter asserts;
    icon.Draw(nullptr, &surface, kBack, {20, 15, 40, 30}, 0, nullptr);
    // Whatever the shapes claim, nothing lands outside the box.
    int outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            outside += (x < 20 || x >= 60 || y < 15 || y >= 45) && At(x, y) != ToRgb565(kUntouched);
    EXPECT_EQ(outside, 0);
}

// ---- the cache

TEST(IconCache, PicturesAreSharedByTheirKeysAndFreedOnlyWhenNobodyHoldsThem) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CIconCache cache(server);
    EXPECT_EQ(CIconCache::Instance(), &cache);
    CZVImage* a = cache.GetImage("Logo.png", 1, 2, CZVImage::kBlended, 0, 8);
    EXPECT_EQ(cache.GetImage("logo.PNG", 1, 2, CZVImage::kBlended, 0, 8), a);
    CZVImage* b = cache.GetImage("logo.png", 1, 2, CZVImage::kBlended, 0, 9);
    EXPECT_NE(a, b);
    EXPECT_EQ(cache.GetImageCount(), 2);

    a->SetPurgeable(1);
    b->SetPurgeable(1);
    cache.ReleaseImage(b);
    cache.ReleaseImage(a);
    cache.PurgeImages();  // a is still held once
    EXPECT_EQ(cache.GetImageCount(), 1);
    EXPECT_EQ(a->GetName().CompareNoCase("Logo.png"), 0);
    cache.ReleaseImage(a);
    cache.PurgeImages();
    EXPECT_EQ(cache.GetImageCount(), 0);

    // Clearing forgets a held picture without freeing it under its holder.
    CZVImage* held = cache.GetImage("held.gif", 0, 0, CZVImage::kPlain, 0, 0);
    cache.Clear();
    EXPECT_EQ(cache.GetImageCount(), 0);
    EXPECT_EQ(held->GetName().CompareNoCase("held.gif"), 0);
    EXPECT_NE(cache.GetImage("held.gif", 0, 0, CZVImage::kPlain, 0, 0), nullptr);
    cache.ReleaseImage(held);
}

TEST(IconCache, ClearingLetsCopiesDrawOnWithoutTheirSource) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CIconCache cache(server);
    auto* shared = new CZVIcon(server);
    shared->MakeStock(1, MakeColor(0, 0, 255));
    cache.AddIcon(shared);
    EXPECT_TRUE(cache.HasIcon(shared));
    auto* twin = new CZVIcon(server);
    cache.AddIcon(twin);  // same (empty) name: not added
    EXPECT_EQ(cache.GetIconCount(), 1);
    delete twin;

    std::unique_ptr<CZVIcon> copy(shared->Clone());
    copy->SetSource(shared);
    cache.Clear();
    EXPECT_EQ(cache.GetIconCount(), 0);
    EXPECT_EQ(copy->GetSource(), nullptr);
    CDibDC surface(30, 30, 0, 0, 0);
    surface.FillRect(0, 0, 0, 30, 30, 0);
    copy->Draw(nullptr, &surface, MakeColor(9, 9, 9), {0, 0, 30, 30}, CZVIcon::kNoSmoothing, nullptr);
    EXPECT_EQ(*surface.GetPixelAddress(15, 15), ToRgb565(MakeColor(0, 0, 255)));
}

}  // namespace

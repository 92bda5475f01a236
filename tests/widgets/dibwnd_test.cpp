#include "widgets/pictures/dibwnd.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gateway_tree.h"
#include "gfx/dibdc.h"
#include "gfx/picture_files.h"
#include "gfx/zvimage.h"
#include "platform/keys.h"
#include "widgets/buttons/alogobutton.h"
#include "widgets/buttons/iconbutton.h"

namespace {

using testsupport::Bytes;
using testsupport::PayloadWriter;

constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kWhite = 0xFFFF;

// A GIF of w x h whose left half is the first colour and right half the second.
Bytes TwoColourGif(int w, int h, pictures::Rgb left, pictures::Rgb right) {
    pictures::GifImage image;
    image.width = w;
    image.height = h;
    image.minCodeSize = 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.indices.push_back(x < w / 2 ? 0 : 1);
    return pictures::MakeGif({left, right, {0, 0, 0}, {0, 0, 0}}, {image});
}

// An answer whose type the name tells, or a typed one.
Bytes PictureAnswer(int w, int h, const Bytes& gif, bool typed) {
    PayloadWriter p;
    if (typed) p.Int(CZVImage::kTypeGif);
    p.Int(w).Int(h).Int(static_cast<int>(gif.size()));
    p.Raw(gif.data(), gif.size());
    return p;
}

const Bytes kRedGif = TwoColourGif(20, 10, {255, 0, 0}, {255, 0, 0});

class PictureWindows : public widgettest::GatewayTree {
protected:
    PictureWindows() {
        Connect();
        harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    }
    // The cache's picture with these keys, once the gateway was asked for it.
    CZVImage* Awaited(const char* name, uint16_t request, COLORREF colour, int kind, int sent) {
        const testsupport::Frame frame = NextRequest(request);
        const Bytes named = PayloadWriter().String(name);
        EXPECT_TRUE(frame.payload.size() >= named.size() &&
                    std::equal(named.begin(), named.end(), frame.payload.begin()));
        CZVImage* image = harness.Icons().GetImage(name, colour, 0, kind, 0, sent);
        harness.Icons().ReleaseImage(image);
        return image->GetWaiterCount() ? image : nullptr;
    }
    void Answer(CZVImage* image, uint16_t id, const Bytes& payload) {
        Deliver(image->GetId(), id, payload, [image] { return !image->IsPending(); });
    }
    std::vector<testsupport::Frame> Sent(uint16_t id) { return gateway.RequestsOf(id); }
};

// ---- CDibWnd

TEST_F(PictureWindows, ADibWindowShowsItsSurfaceUntilThePictureArrivesThenThePicture) {
    auto* window = new CDibWnd(&root, CZVRect(10, 10, 40, 30), 0);
    root.AddChild(window);
    window->FillSurface(MakeColor(0, 0, 255));
    window->SetImageName("photo");
    harness.PaintAll();
    CZVImage* image = Awaited("photo", ZVM_IMAGE_GETSKIN2Q, window->GetBackColor(), CZVImage::kSkin2, 8);
    ASSERT_NE(image, nullptr);
    Answer(image, ZVM_IMAGE_GETSKIN2A, PictureAnswer(20, 10, kRedGif, true));
    // Copied in and drawn by the arrival, centred vertically at the left.
    EXPECT_FALSE(window->IsWaiting());
    EXPECT_EQ(harness.PixelAt(15, 25), kRed);
    EXPECT_EQ(harness.PixelAt(45, 25), 0x001F);
    EXPECT_EQ(harness.PixelAt(15, 12), 0x001F);
    EXPECT_TRUE(image->IsPurgeable());
}

// Windows showing the same picture share it: each one that waits gets it,
// and a purge for memory never frees it while a window still holds it.
TEST_F(PictureWindows, WindowsSharingAPictureAllShowItAndAPurgeSparesTheHeldOne) {
    CDibWnd* windows[3];
    for (int i = 0; i < 3; ++i) {
        windows[i] = new CDibWnd(&root, CZVRect(10 + 45 * i, 10, 40, 30), 0);
        root.AddChild(windows[i]);
    }
    windows[0]->SetImageName("shared");
    windows[1]->SetImageName("shared");
    harness.PaintAll();
    CZVImage* image = Awaited("shared", ZVM_IMAGE_GETSKIN2Q, windows[0]->GetBackColor(), CZVImage::kSkin2, 8);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWaiterCount(), 2);
    Answer(image, ZVM_IMAGE_GETSKIN2A, PictureAnswer(20, 10, kRedGif, true));
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(windows[i]->IsWaiting()) << i;
        EXPECT_EQ(harness.PixelAt(15 + 45 * i, 25), kRed) << i;
    }
    ASSERT_TRUE(image->IsPurgeable());
    windows[2]->SetImageName("shared");
    harness.Icons().PurgeImages();
    ASSERT_EQ(harness.Icons().GetImageCount(), 1);
    harness.PaintAll();
    EXPECT_FALSE(windows[2]->IsWaiting());
    EXPECT_EQ(harness.PixelAt(105, 25), kRed);
}

TEST_F(PictureWindows, AFittingDibWindowTakesThePicturesSize) {
    auto* window = new CDibWnd(&root, CZVRect(10, 10, 40, 30), 0);
    root.AddChild(window);
    window->SetFitToPicture(1);
    window->SetImageName("fit");
    harness.PaintAll();
    CZVImage* image = Awaited("fit", ZVM_IMAGE_GETSKIN2Q, window->GetBackColor(), CZVImage::kSkin2, 8);
    ASSERT_NE(image, nullptr);
    Answer(image, ZVM_IMAGE_GETSKIN2A, PictureAnswer(20, 10, kRedGif, true));
    EXPECT_EQ(CZVRect(window->GetX(), window->GetY(), window->GetWidth(), window->GetHeight()),
              CZVRect(10, 10, 20, 10));
    EXPECT_EQ(window->GetSurface()->GetRequestedWidth(), 20);
    EXPECT_EQ(harness.PixelAt(12, 12), kRed);
}

TEST_F(PictureWindows, ADibWindowCoversFourFifthsOfItselfWhenThatIsLarge) {
    const struct {
        int w, h;
        std::optional<CZVRect> opaque;
    } cases[] = {{130, 130, CZVRect(1, 1, 102, 102)}, {124, 100, std::nullopt}, {0, 0, std::nullopt}};
    for (const auto& c : cases) {
        CDibWnd window(nullptr, CZVRect(0, 0, c.w, c.h), 0);
        EXPECT_EQ(window.GetOpaqueRect(), c.opaque) << c.w << " x " << c.h;
    }
    CDibWnd empty(nullptr, CZVRect(0, 0, 0, 20), 0);
    EXPECT_EQ(empty.GetSurface(), nullptr);
}

class Credits : public PictureWindows {
protected:
    Credits() {
        window = new CDibWnd(&root, CZVRect(10, 10, 60, 40), 0);
        root.AddChild(window);
        harness.PaintAll();
        gateway.Answer(ZVM_IMAGE_GETTINTEDQ, PictureAnswer(20, 10, kRedGif, false));
    }
    void Unthemed() {
        CZVMSG plain(0, ZVM_UI_GETSETTINGSA);
        plain.WriteInt(2);
        plain.ResetPosition();
        ASSERT_EQ(harness.Style().ParseSettings(&plain), 1);
        ASSERT_FALSE(harness.Style().IsThemed());
    }
    // Holds the window for ms and lets go, with a touch queued behind the
    // release when asked.
    void Hold(uint32_t ms, bool touchAfter) {
        harness.Press(30, 30);
        harness.Clock().Advance(ms);
        harness.Native().QueueMouse(platform::kWmLButtonUp, 30, 30, 0);
        if (touchAfter) harness.Native().QueueMouse(platform::kWmLButtonDown, 300, 200, platform::MK_LBUTTON);
        harness.PumpEvents();
    }
    int CreditRequests() { return static_cast<int>(Sent(ZVM_IMAGE_GETTINTEDQ).size()); }

    CDibWnd* window;
};

TEST_F(Credits, AShortHoldOrAThemedStyleShowsNothing) {
    Hold(2000, true);
    EXPECT_EQ(CreditRequests(), 0);
    Unthemed();
    Hold(1999, true);
    EXPECT_EQ(CreditRequests(), 0);
}

TEST_F(Credits, TwoSecondsShowTheCreditsUntilTheNextTouch) {
    Unthemed();
    const uint32_t before = harness.Clock().TickCount();
    Hold(2000, true);
    ASSERT_EQ(CreditRequests(), 1);
    const Bytes named = PayloadWriter().String("credits.gif");
    EXPECT_TRUE(std::equal(named.begin(), named.end(), Sent(ZVM_IMAGE_GETTINTEDQ)[0].payload.begin()));
    // The touch ended them at once; the tree is painted again.
    EXPECT_LT(harness.Clock().TickCount() - before, 2000u + 1000u);
    EXPECT_NE(harness.PixelAt(5, 5), kRed);
}

TEST_F(Credits, WithoutATouchTheyEndAfterTenMinutes) {
    Unthemed();
    const uint32_t before = harness.Clock().TickCount();
    Hold(2000, false);
    EXPECT_EQ(CreditRequests(), 1);
    const uint32_t shown = harness.Clock().TickCount() - before - 2000;
    EXPECT_GE(shown, CDibWnd::kCreditsShown);
    EXPECT_LT(shown, CDibWnd::kCreditsShown + 100);
}

TEST_F(Credits, AMissingCreditsPictureDoesNothing) {
    Unthemed();
    gateway.On(ZVM_IMAGE_GETTINTEDQ, [](const testsupport::Frame& request) {
        return std::vector<testsupport::Frame>{{request.sender, ZVM_SESSION_ERROR, {}}};
    });
    const uint32_t before = harness.Clock().TickCount();
    Hold(2000, false);
    EXPECT_EQ(CreditRequests(), 1);
    EXPECT_LT(harness.Clock().TickCount() - before, 2000u + 1000u);
}

// ---- CImagePagerWnd

class Pager : public PictureWindows {
protected:
    CImagePagerWnd* Make(int height) {
        auto* pager = new CImagePagerWnd(&root, CZVRect(10, 10, 200, height), 0, 4, 77);
        root.AddChild(pager);
        harness.PaintAll();
        return pager;
    }
};

TEST_F(Pager, ATouchShowsTheBarSizedToTheWindow) {
    const struct { int height, bar; } cases[] = {{40, 30}, {35, 25}, {100, 30}};
    for (const auto& c : cases) {
        CImagePagerWnd* pager = Make(c.height);
        harness.Tap(50, 10 + c.height / 2);
        ASSERT_TRUE(pager->IsBarShown()) << c.height;
        const char* captions[] = {"Prev", "Del", "Next"};
        for (int i = 0; i < 3; ++i) {
            CZV3DButton* button = pager->GetBarButton(i);
            EXPECT_EQ(button->GetHeight(), c.bar) << c.height;
            EXPECT_EQ(button->GetY(), c.height - 4 - c.bar);
            EXPECT_EQ(button->GetCommandId(), 1000 + i);
            EXPECT_STREQ(button->GetText().GetAnsi(), captions[i]);
            EXPECT_EQ(button->GetFaceColor(), MakeColor(0x32, 0x96, 0x32));
            EXPECT_TRUE(button->IsShown());
        }
        root.RemoveChild(pager);
        delete pager;
    }
}

TEST_F(Pager, NextSendsTheItemAndHidesTheBar) {
    CImagePagerWnd* pager = Make(40);
    harness.Tap(50, 30);
    ASSERT_TRUE(pager->IsBarShown());
    CZV3DButton* next = pager->GetBarButton(2);
    harness.Clock().Advance(200);
    harness.Tap(next->ToRootX(5), next->ToRootY(5));
    EXPECT_FALSE(pager->IsBarShown());
    EXPECT_EQ(pager->GetChildren().GetCount(), 0);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_MEDIA_NEXTIMAGE));
    EXPECT_EQ(Sent(ZVM_MEDIA_NEXTIMAGE)[0].payload, Bytes(PayloadWriter().Int(77)));
    EXPECT_TRUE(Sent(ZVM_MEDIA_PREVIMAGE).empty());
    EXPECT_TRUE(root.commands.empty());
    EXPECT_EQ(pager->OnCommand(5), 0);
}

TEST_F(Pager, TheBarGoesAfterFiveSeconds) {
    CImagePagerWnd* pager = Make(40);
    harness.Tap(50, 30);
    harness.RunFor(4990);
    EXPECT_TRUE(pager->IsBarShown());
    harness.RunFor(1000);
    EXPECT_FALSE(pager->IsBarShown());
    EXPECT_EQ(pager->GetTimerInterval(), 0);
}

// ---- CImageWnd

TEST_F(PictureWindows, AnImageWindowShowsThePictureScaledToItsSize) {
    CControlFields fields;
    fields.rect = CZVRect(100, 100, 40, 20);
    auto* window = new CImageWnd(&root, fields, "pic");
    root.AddChild(window);
    harness.PaintAll();
    const uint16_t before = harness.PixelAt(130, 110);
    CZVImage* image = Awaited("pic", ZVM_IMAGE_GETSKIN2Q, 0, CZVImage::kSkin2, 0);
    ASSERT_NE(image, nullptr);
    const Bytes halves = TwoColourGif(20, 10, {255, 0, 0}, {255, 255, 255});
    Answer(image, ZVM_IMAGE_GETSKIN2A, PictureAnswer(20, 10, halves, true));
    EXPECT_NE(harness.PixelAt(130, 110), before);
    EXPECT_EQ(harness.PixelAt(102, 110), kRed);
    EXPECT_EQ(harness.PixelAt(137, 118), kWhite);
}

TEST_F(PictureWindows, AWindowGoneBeforeItsPictureIsNotCalled) {
    CControlFields fields;
    fields.rect = CZVRect(100, 100, 40, 20);
    auto* window = new CImageWnd(&root, fields, "late");
    root.AddChild(window);
    harness.PaintAll();
    CZVImage* image = Awaited("late", ZVM_IMAGE_GETSKIN2Q, 0, CZVImage::kSkin2, 0);
    ASSERT_NE(image, nullptr);
    harness.Icons().GetImage("late", 0, 0, CZVImage::kSkin2, 0, 0);  // keeps the picture after the window
    root.RemoveChild(window);
    delete window;
    Answer(image, ZVM_IMAGE_GETSKIN2A, PictureAnswer(20, 10, kRedGif, true));
    EXPECT_NE(harness.PixelAt(110, 110), kRed);
    harness.Icons().ReleaseImage(image);
}

// ---- CALogoButton and CIconButton

TEST(FaceLighting, AMiddleGreyFaceKeepsThePicturesColoursAndNeverTurnsTransparent) {
    CDibDC face(6, 1, 0, 0, 0);
    face.FillRect(MakeColor(128, 128, 128), 0, 0, 6, 1, 0);
    *face.GetPixelAddress(5, 0) = 0;
    CDibDC picture(6, 1, 0, 0, 0);
    const uint16_t colours[6] = {0x1234, 0x0000, 0xFFFF, 0x07E0, 0x8410, 0xF800};
    for (int x = 0; x < 6; ++x) *picture.GetPixelAddress(x, 0) = colours[x];
    LightPictureOnFace(&face, &picture, 0, 0);
    const uint16_t expected[6] = {0x1234, 0x0001, 0xFFFF, 0x07E0, 0x8410, 0x0000};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(*face.GetPixelAddress(x, 0), expected[x]) << x;
}

TEST_F(PictureWindows, ALogoOnWhiteTakesWhiteAsItsColour) {
    CControlFields fields;
    fields.rect = CZVRect(20, 20, 60, 40);
    fields.commandId = 5;
    harness.Style().SetStyleColor(17, 0, 0);
    auto* button = new CALogoButton(&root, fields, "brand.gif");
    ASSERT_EQ(button->GetLogoColor(), 0u);
    root.AddChild(button);
    harness.PaintAll();
    CZVImage* image = Awaited("brand.gif", ZVM_IMAGE_GETTINTEDQ, 0, CZVImage::kTinted, 40);
    ASSERT_NE(image, nullptr);
    Answer(image, ZVM_IMAGE_GETTINTEDA, PictureAnswer(20, 10, TwoColourGif(20, 10, {255, 255, 255}, {0, 0, 0}), false));
    const uint16_t background = *image->GetDib(nullptr, -1, -1)->GetPixelAddress(0, 0);
    EXPECT_EQ(background, kWhite);
    EXPECT_EQ(ToRgb565(button->GetLogoColor()), background);
    CDibDC face(10, 10, 0, 0, 0);
    face.FillRect(MakeColor(128, 128, 128), 0, 0, 10, 10, 0);
    button->ApplyGatewayLogo(&face);
    // The light and the black parts alike took the background's colour
    // before the face lit them.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(*face.GetPixelAddress(x, y), background) << x << "," << y;
    EXPECT_TRUE(button->GetText().IsEmpty());
}

TEST_F(PictureWindows, TheLogoButtonUsesTheGivenColourOrTheStyles) {
    CControlFields fields;
    fields.rect = CZVRect(20, 20, 60, 40);
    CALogoButton fromStyle(&root, fields, "a.gif");
    EXPECT_EQ(fromStyle.GetLogoColor(), harness.Style().GetStyleColor(17, 0));
    fields.colour = MakeColor(1, 2, 3);
    CALogoButton given(&root, fields, "a.gif");
    EXPECT_EQ(given.GetLogoColor(), MakeColor(1, 2, 3));
    EXPECT_EQ(given.GetFaceColor(), MakeColor(128, 128, 128));
}

class IconButtons : public PictureWindows {
protected:
    CIconButton* Make(int kind, int id) {
        CControlFields fields;
        fields.rect = CZVRect(20, 20, 80, 40);
        fields.kind = kind;
        fields.commandId = id;
        fields.bevel = 3;
        fields.radius = -2;
        auto* button = new CIconButton(&root, fields, "icon.png");
        root.AddChild(button);
        harness.Clock().Advance(200);
        return button;
    }
};

TEST_F(IconButtons, ACommandButtonTellsTheGatewayAndItsParent) {
    CIconButton* button = Make(171, 40);
    EXPECT_EQ(button->GetBevel(), 3);
    EXPECT_EQ(button->GetCornerRadius(), 0);
    harness.PaintAll();
    harness.Press(40, 40);
    harness.Release(40, 40);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_COMMANDBUTTON));
    EXPECT_EQ(Sent(ZVM_UI_COMMANDBUTTON)[0].payload, Bytes(PayloadWriter().Int(40).Int(-1)));
    EXPECT_EQ(root.commands, std::vector<int>{40});
    EXPECT_TRUE(Sent(ZVM_UI_BUTTONPRESS).empty());
}

TEST_F(IconButtons, AnyOtherKindOnlyTellsTheGateway) {
    CIconButton* button = Make(172, 41);
    harness.PaintAll();
    harness.Press(40, 40);
    harness.Release(40, 40);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_BUTTONPRESS));
    EXPECT_EQ(Sent(ZVM_UI_BUTTONPRESS)[0].payload, Bytes(PayloadWriter().Int(0).Int(41)));
    EXPECT_TRUE(root.commands.empty());
    EXPECT_EQ(button->GetCommandId(), 41);
}

TEST_F(IconButtons, TheGatewaysPictureTintsTheFaceWhenItArrives) {
    CIconButton* button = Make(172, 41);
    harness.PaintAll();
    const uint16_t grey = harness.PixelAt(60, 40);
    CZVImage* image = Awaited("icon.png", ZVM_IMAGE_GETSKINQ, 0, CZVImage::kSkin, 0);
    ASSERT_NE(image, nullptr);
    Answer(image, ZVM_IMAGE_GETSKINA, PictureAnswer(20, 10, kRedGif, true));
    const uint16_t tinted = harness.PixelAt(60, 40);
    EXPECT_NE(tinted, grey);
    EXPECT_GT(tinted >> 11, 20);
    EXPECT_LT((tinted >> 5) & 63, 20);
    EXPECT_TRUE(button->GetText().IsEmpty());
}

TEST(ReadyMadeIcon, TintsBothFacesWhicheverComesFirst) {
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness;
    CDibDC picture(4, 4, 0, 0, 0);
    picture.FillRect(MakeColor(255, 0, 0), 0, 0, 4, 4, 0);
    auto* button = new CIconButton(&harness.Root(), CZVRect(0, 0, 40, 20), 9, 16, &picture);
    harness.Root().AddChild(button);
    CDibDC* pressed = button->GetPressedImage();
    CDibDC* normal = button->GetNormalImage();
    ASSERT_TRUE(pressed && normal);
    for (CDibDC* face : {pressed, normal}) {
        const uint16_t p = *face->GetPixelAddress(20, 10);
        EXPECT_GT(p >> 11, 20);
        EXPECT_LT((p >> 5) & 63, 20);
    }
}

}  // namespace

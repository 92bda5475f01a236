#include "widgets/window/toolkit.h"

#include <gtest/gtest.h>

#include "gateway_tree.h"
#include "list_fixture.h"
#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/fontserver.h"
#include "gfx/icon.h"
#include "platform/font.h"
#include "support/temp_dir.h"
#include "support/test_font.h"
#include "widgets/buttons/iconsource.h"
#include "widgets/style/setserver.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/slider.h"
#include "widgets/lists/listrowbutton.h"

namespace {

using testsupport::PayloadWriter;

TEST(Toolkit, MakesTheSingletonsAndPutsBackWhatItReplaced) {
    testsupport::TempDir dir;
    testsupport::ScopedEnv config("ZAVORO_CONFIG_DIR", dir.Path().c_str());
    platform::PinFontFile(testsupport::kTestFontFile);
    CZVServer server(ZVVariant::Tablet);
    CButtonFaceRenderer* plainFaces = &ButtonFaces();
    CButtonIconSource* plainIcons = &ButtonIcons();
    {
        CToolkit toolkit(server);
        EXPECT_NE(CFontServer::Get(), nullptr);
        EXPECT_EQ(CSetServer::Get(), &toolkit.Style());
        EXPECT_NE(CBitmapCache::Instance(), nullptr);
        EXPECT_NE(CIconCache::Instance(), nullptr);
        EXPECT_NE(dynamic_cast<CShadedFaceRenderer*>(&ButtonFaces()), nullptr);
        EXPECT_NE(dynamic_cast<CGatewayIconSource*>(&ButtonIcons()), nullptr);
        EXPECT_NE(toolkit.Style().GetArt(), nullptr);
    }
    EXPECT_EQ(CFontServer::Get(), nullptr);
    EXPECT_EQ(CSetServer::Get(), nullptr);
    EXPECT_EQ(CIconCache::Instance(), nullptr);
    EXPECT_EQ(CBitmapCache::Instance(), nullptr);
    EXPECT_EQ(&ButtonFaces(), plainFaces);
    EXPECT_EQ(&ButtonIcons(), plainIcons);
    platform::PinFontFile("");
}

// A vector icon of one red rectangle.
testsupport::Bytes RedRectangleAnswer() {
    return PayloadWriter().Int(CZVIcon::kVector).Int(1).Int(0).Int(0).Int(40).Int(20).Int(0).Int(0).Int(255).Int(0).Int(0);
}

bool IsReddish(uint16_t p) { return (p >> 11) > 24 && ((p >> 5) & 63) < 16 && (p & 31) < 8; }

class IconsOnButtons : public widgettest::GatewayTree {
protected:
    CZV3DButton* MakeButton() {
        CZV3DButton* button = root.Add3DButtonDefault(CZVRect(20, 20, 120, 60), 1, 16, "");
        harness.Clock().Advance(200);
        return button;
    }
    uint16_t Centre() { return harness.PixelAt(80, 50); }
};

TEST_F(IconsOnButtons, AStockIconIsDrawnOnTheFace) {
    CZV3DButton* button = MakeButton();
    harness.PaintAll();
    const uint16_t face = Centre();
    const COLORREF red = MakeColor(255, 0, 0);
    button->SetIconKind(2, &red);
    harness.PaintAll();
    EXPECT_NE(Centre(), face);
    EXPECT_TRUE(IsReddish(Centre())) << std::hex << Centre();
}

TEST_F(IconsOnButtons, ANamedIconIsDrawnAtOnceWhenTheGatewayAnswers) {
    Connect();
    CZV3DButton* button = MakeButton();
    button->SetIconName("square", 1);
    harness.PaintAll();
    const testsupport::Frame request = NextRequest(ZVM_IMAGE_GETICONQ);
    EXPECT_EQ(request.payload, testsupport::Bytes(PayloadWriter().String("square")));
    EXPECT_TRUE(button->GetIcon()->IsRequestPending());
    const uint16_t face = Centre();
    EXPECT_FALSE(IsReddish(face));

    CZVIcon* shared = harness.Icons().FindIcon("square");
    ASSERT_NE(shared, nullptr);
    const testsupport::Bytes answer = RedRectangleAnswer();
    Deliver(shared->GetId(), ZVM_IMAGE_GETICONA, answer, [shared] { return shared->GetState() == CZVIcon::kLoaded; });
    // Drawn by the arrival itself, without a paint of the tree.
    EXPECT_TRUE(IsReddish(Centre())) << std::hex << Centre();
    EXPECT_FALSE(button->GetIcon()->IsRequestPending());
}

TEST_F(IconsOnButtons, AnIconArrivingAfterItsButtonWentDrawsNothing) {
    Connect();
    CZV3DButton* button = MakeButton();
    button->SetIconName("gone", 1);
    harness.PaintAll();
    NextRequest(ZVM_IMAGE_GETICONQ);
    root.RemoveChild(button);
    delete button;
    CZVIcon* shared = harness.Icons().FindIcon("gone");
    const testsupport::Bytes answer = RedRectangleAnswer();
    Deliver(shared->GetId(), ZVM_IMAGE_GETICONA, answer, [shared] { return shared->GetState() == CZVIcon::kLoaded; });
    EXPECT_FALSE(IsReddish(Centre()));
}

using SliderEndIcons = widgettest::GatewayTree;

TEST_F(SliderEndIcons, AreWaitedForOnceThenDrawnWhenTheyArrive) {
    gateway.On(ZVM_IMAGE_GETICONQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Connect();
    auto* slider = new CZVSlider(&root, CZVRect(20, 20, 200, 60), 7, 0, 100, -1, -1, 0);
    root.AddChild(slider);
    slider->SetFontSize(20);
    slider->SetEndIcons("flame", "flame");
    NextRequest(ZVM_IMAGE_GETICONQ);
    testsupport::VirtualClock& clock = harness.Clock();
    uint32_t start = clock.TickCount();
    harness.PaintAll();
    EXPECT_GE(clock.TickCount() - start, CZVIcon::kWaitTimeout);

    // Later paints go on without the icons at once.
    start = clock.TickCount();
    for (int i = 0; i < 3; ++i) slider->RedrawBuffered();
    EXPECT_LT(clock.TickCount() - start, 100u);
    const int leftX = 20 + 30;
    const int rightX = 20 + 200 - 30;
    EXPECT_FALSE(IsReddish(harness.PixelAt(leftX, 50)));

    CZVIcon* shared = harness.Icons().FindIcon("flame");
    ASSERT_NE(shared, nullptr);
    Deliver(shared->GetId(), ZVM_IMAGE_GETICONA, RedRectangleAnswer(),
            [shared] { return shared->GetState() == CZVIcon::kLoaded; });
    // Drawn by the arrival itself, without a paint of the tree.
    EXPECT_TRUE(IsReddish(harness.PixelAt(leftX, 50))) << std::hex << harness.PixelAt(leftX, 50);
    EXPECT_TRUE(IsReddish(harness.PixelAt(rightX, 50))) << std::hex << harness.PixelAt(rightX, 50);
}

using RowButtonIcons = widgettest::GatewayTree;

TEST_F(RowButtonIcons, ARowButtonIsRenderedAgainWhenItsIconArrives) {
    gateway.On(ZVM_IMAGE_GETICONQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Connect();
    auto* list = new widgettest::RowButtonList(&root, CZVRect(10, 30, 200, 150), 42);
    list->SetSelectedRowHeight(30);
    list->AddRows(3);
    CListRowButton* button = list->AddRowButton("flame", 1, "", 901, 0, 0, 0);
    NextRequest(ZVM_IMAGE_GETICONQ);
    list->SelectIndex(1, 0);
    harness.PaintAll();
    // The selected row 1 spans list y 21..51; the button fills its right
    // 60 pixels.
    const int x = 10 + 197 - 30;
    const int y = 30 + 21 + 15;
    auto faceCentre = [](CDibDC* face) { return *face->GetPixelAddress(30, 15); };
    EXPECT_FALSE(IsReddish(faceCentre(button->GetNormalImage())));
    EXPECT_EQ(harness.PixelAt(x, y), faceCentre(button->GetNormalImage()));

    CZVIcon* shared = harness.Icons().FindIcon("flame");
    ASSERT_NE(shared, nullptr);
    Deliver(shared->GetId(), ZVM_IMAGE_GETICONA, RedRectangleAnswer(),
            [shared] { return shared->GetState() == CZVIcon::kLoaded; });
    EXPECT_TRUE(IsReddish(faceCentre(button->GetNormalImage())));
    EXPECT_TRUE(IsReddish(faceCentre(button->GetPressedImage())));
    // Shown by the arrival itself, without a paint of the tree.
    EXPECT_TRUE(IsReddish(harness.PixelAt(x, y))) << std::hex << harness.PixelAt(x, y);
}

}  // namespace

// The analog clock's hands and steps, the lamp meter, and the pictures of
// the gateway's small display controls and buttons.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "button_fixture.h"
#include "gateway_tree.h"
#include "support/golden.h"
#include "widgets/buttons/togglebutton.h"
#include "widgets/buttons/zonecommand.h"
#include "widgets/gauges/analogclock.h"
#include "widgets/gauges/lampmeter.h"

namespace {

platform::LocalTime At(int hour, int minute, int second, int ms) {
    platform::LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(ms);
    return t;
}

double Radians(int degrees) { return degrees * std::numbers::pi / 180.0; }

TEST(ClockHands, AnglesAtAQuarterPastTen) {
    CZVTime time;
    time.Set(2026, 3, 6, 7, 10, 15, 30, 500);
    const ClockHandAngles angles = HandAnglesAt(time);
    EXPECT_EQ(angles.second, -93);
    EXPECT_EQ(angles.minute, 0);
    EXPECT_EQ(angles.hour, -217);
}

class ClockTest : public widgettest::GatewayTree {
protected:
    CAnalogClock* MakeClock() {
        harness.Clock().SetLocalTime(At(10, 15, 30, 500));
        auto* clock = new CAnalogClock(&root, CZVRect(60, 20, 200, 200));
        root.AddChild(clock);
        harness.PaintAll();
        return clock;
    }
    // Where the second hand ends at this angle.
    static ZVPoint SecondHandEnd(CAnalogClock* clock, int degrees) {
        const int length = clock->GetDialRadius() - clock->GetMarkLength() / 2 - clock->GetMarkLength();
        return ZVPoint{clock->HandX(Radians(degrees), length), clock->HandY(Radians(degrees), length)};
    }
    void Step(int ms) {
        harness.Clock().Advance(static_cast<uint32_t>(ms));
        harness.Idle();
    }
};

TEST_F(ClockTest, HandsTakeTheirThicknessFromTheFontSize) {
    CAnalogClock* clock = MakeClock();
    EXPECT_EQ(clock->GetHandWidth(), 4);
    EXPECT_EQ(clock->GetMarkLength(), 12);
    EXPECT_EQ(clock->HandThickness(kSecondHand), 2);
    EXPECT_EQ(clock->HandThickness(kMinuteHand), 4);
    EXPECT_EQ(clock->HandThickness(kHourHand), 8);
}

TEST_F(ClockTest, TheSecondHandIsRightFromTheFirstStep) {
    Connect();
    CAnalogClock* clock = MakeClock();
    Step(10);
    EXPECT_EQ(clock->GetSecondHandEnd().x, 0) << "nothing in the first 20 ms";
    Step(20);
    const ZVPoint expected = SecondHandEnd(clock, -93);  // 10:15:30.530
    EXPECT_EQ(clock->GetSecondHandEnd().x, expected.x);
    EXPECT_EQ(clock->GetSecondHandEnd().y, expected.y);
    Step(29500);  // 10:16:00.030: a new minute
    const ZVPoint top = SecondHandEnd(clock, 90);
    EXPECT_EQ(clock->GetSecondHandEnd().x, top.x);
    EXPECT_EQ(clock->GetSecondHandEnd().y, top.y);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "analog_clock"));
}

TEST_F(ClockTest, NoStepWhileDisconnectedOrBlocked) {
    CAnalogClock* clock = MakeClock();
    Step(1000);
    EXPECT_EQ(clock->GetSecondHandEnd().x, 0);
    Connect();
    root.SetModal(1);
    Step(1000);
    EXPECT_EQ(clock->GetSecondHandEnd().x, 0);
    root.SetModal(0);
    Step(10);
    EXPECT_NE(clock->GetSecondHandEnd().x, 0);
}

class LampTest : public widgettest::ButtonTest {
protected:
    CLampMeter* Add(int c0, int c1, int c2, int c3) {
        root.SetFaceColor(MakeColor(20, 20, 20));
        auto* meter = new CLampMeter(&root, CZVRect(0, 10, 200, 20), c0, c1, c2, c3, 0, 0);
        root.AddChild(meter);
        return meter;
    }
    int Brightness(int x) {
        const uint16_t p = harness.PixelAt(x, 20);
        return (p >> 11) + ((p >> 5) & 63) / 2 + (p & 31);
    }
};

TEST_F(LampTest, LampsAreLitFromTheLeftUpToTheValue) {
    CLampMeter* meter = Add(5, 3, 2, 0);
    meter->SetValue(6, 0);
    harness.PaintAll();
    const uint16_t background = harness.PixelAt(199, 20);
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(harness.PixelAt(20 * i + 9, 20), background) << "lamp " << i;
        EXPECT_EQ(harness.PixelAt(20 * i + 19, 20), background) << "gap after lamp " << i;
    }
    EXPECT_GT(Brightness(5 * 20 + 9), Brightness(6 * 20 + 9));  // group 1: lit, then unlit
    EXPECT_GT(Brightness(4 * 20 + 9), Brightness(8 * 20 + 9));
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "lamp_meter"));
}

TEST_F(LampTest, AMeterWithoutLampsDrawsNothing) {
    CLampMeter* meter = Add(0, 0, 0, 0);
    meter->SetValue(3, 1);
    harness.PaintAll();
    for (int x : {0, 50, 199}) EXPECT_EQ(harness.PixelAt(x, 20), harness.PixelAt(100, 5));
}

class GatewayButtonPictures : public widgettest::GatewayTree {};

TEST_F(GatewayButtonPictures, TogglesOffAndOnAndCommandButtonsWithIconOrCaption) {
    root.SetFaceColor(MakeColor(40, 44, 52));
    auto* off = new CToggleButton(&root, CZVRect(10, 10, 140, 50), 0, "Fountain", 16, 0, 0, 1);
    auto* on = new CToggleButton(&root, CZVRect(170, 10, 140, 50), 0, "Spa Jets", 16, 0, 0, 2);
    root.AddChild(off);
    root.AddChild(on);
    on->SetCheck(1, 0, 0);
    root.AddChild(new CZoneCommandButton(&root, CZVRect(10, 80, 140, 50), 17, 0, "All Off", 16, 0, 0, "", 4100));
    root.AddChild(new CZoneCommandButton(&root, CZVRect(170, 80, 140, 50), 17, 3, "", 16, 0xFFFFFF, 0x905020, "",
                                         4101));
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "gateway_buttons"));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "button_fixture.h"
#include "gateway_tree.h"
#include "widgets/text/datetimelabel.h"

namespace {

// Counts its paints, so that a test sees whether a timer tick repainted.
class CountingDateTimeLabel : public CDateTimeLabel {
public:
    using CDateTimeLabel::CDateTimeLabel;
    void OnPaint(CZVDC* dc) override {
        ++paints;
        CDateTimeLabel::OnPaint(dc);
    }
    int paints = 0;
};

platform::LocalTime At(int year, int month, int day, int hour, int minute, int second) {
    platform::LocalTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    return t;
}

class DateTimeLabelFormats : public widgettest::ButtonTest {};

TEST_F(DateTimeLabelFormats, EachKindShowsItsTextAndTimerInterval) {
    struct Case {
        platform::LocalTime time;
        int kind;
        const char* text;
        int interval;
    };
    const platform::LocalTime afternoon = At(2026, 3, 7, 14, 5, 9);
    const platform::LocalTime midnight = At(2025, 12, 31, 0, 0, 5);
    for (const Case& c :
         {Case{afternoon, kDateTimeLabel, "Saturday, March 7, 2026  2:05 PM", 60000},
          Case{afternoon, kDateLabel, "Saturday, March 7, 2026", 60000},
          Case{afternoon, kTimeLabel, "2:05:09 PM", 1000}, Case{midnight, kTimeLabel, "12:00:05 AM", 1000},
          Case{midnight, kDateTimeLabel, "Wednesday, December 31, 2025  12:00 AM", 60000}}) {
        harness.Clock().SetLocalTime(c.time);
        CDateTimeLabel label(&root, CZVRect(0, 0, 200, 20), c.kind);
        EXPECT_STREQ(label.GetText().GetAnsi(), c.text);
        EXPECT_EQ(label.GetTimerInterval(), c.interval) << c.text;
        EXPECT_EQ(label.GetStyleClass(), 5);
    }
}

TEST_F(DateTimeLabelFormats, TheFirstPaintFitsTheFontToTheWidth) {
    harness.Clock().SetLocalTime(At(2026, 9, 30, 11, 59, 0));
    auto* label = new CDateTimeLabel(&root, CZVRect(0, 0, 260, 30), kDateTimeLabel);
    root.AddChild(label);
    label->SetFontSize(30);
    harness.PaintAll();
    EXPECT_LT(label->GetFontSize(), 30);
    CZVDC dc(&root);
    dc.SetFont(label->GetFontSize(), 0, 0);
    EXPECT_LT(dc.GetTextSize(label->GetText()).cx, 260);
    EXPECT_GT(label->GetFontSize(), 10);
}

TEST_F(DateTimeLabelFormats, WithoutAGatewayTheTimerLeavesTheText) {
    harness.Clock().SetLocalTime(At(2026, 3, 7, 14, 5, 9));
    auto* label = new CDateTimeLabel(&root, CZVRect(0, 0, 200, 20), kTimeLabel);
    root.AddChild(label);
    harness.RunFor(3000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:09 PM");
}

class DateTimeLabelTimer : public widgettest::GatewayTree {
protected:
    CountingDateTimeLabel* MakeLabel(int kind) {
        harness.Clock().SetLocalTime(At(2026, 3, 7, 14, 5, 9));
        auto* label = new CountingDateTimeLabel(&root, CZVRect(0, 0, 200, 20), kind);
        root.AddChild(label);
        harness.PaintAll();
        label->paints = 0;
        return label;
    }
    // One timer interval and a millisecond, then one idle pass.
    void Tick(int ms) {
        harness.Clock().Advance(static_cast<uint32_t>(ms) + 1);
        harness.Idle();
    }
};

TEST_F(DateTimeLabelTimer, TheTimeLabelRepaintsEachSecondWithTheNewTime) {
    Connect();
    CountingDateTimeLabel* label = MakeLabel(kTimeLabel);
    Tick(1000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:10 PM");
    EXPECT_EQ(label->paints, 1);
    Tick(1000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:11 PM");
    EXPECT_EQ(label->paints, 2);
}

TEST_F(DateTimeLabelTimer, ALongerTextIsFittedAfreshAndTheFitDoesNotDependOnEarlierTexts) {
    Connect();
    const auto fittedSize = [&](const platform::LocalTime& time) {
        harness.Clock().SetLocalTime(time);
        auto* fresh = new CDateTimeLabel(&root, CZVRect(0, 40, 300, 30), kDateTimeLabel);
        root.AddChild(fresh);
        fresh->SetFontSize(30);
        harness.PaintAll();
        return fresh->GetFontSize();
    };
    const platform::LocalTime shortDay = At(2026, 5, 1, 13, 5, 59);
    const platform::LocalTime longDay = At(2026, 9, 30, 12, 59, 0);
    const int shortSize = fittedSize(shortDay);
    const int longSize = fittedSize(longDay);
    ASSERT_GT(shortSize, longSize);

    harness.Clock().SetLocalTime(shortDay);
    auto* label = new CDateTimeLabel(&root, CZVRect(0, 0, 300, 30), kDateTimeLabel);
    root.AddChild(label);
    label->SetFontSize(30);
    harness.PaintAll();
    ASSERT_EQ(label->GetFontSize(), shortSize);
    harness.Clock().SetLocalTime(At(2026, 9, 30, 12, 58, 0));  // a tick before longDay
    Tick(60000);
    harness.PaintAll();
    EXPECT_STREQ(label->GetText().GetAnsi(), "Wednesday, September 30, 2026  12:59 PM");
    EXPECT_EQ(label->GetFontSize(), longSize);
    harness.Clock().SetLocalTime(At(2026, 5, 1, 13, 4, 59));  // a tick before shortDay
    Tick(60000);
    harness.PaintAll();
    EXPECT_STREQ(label->GetText().GetAnsi(), "Friday, May 1, 2026  1:05 PM");
    EXPECT_EQ(label->GetFontSize(), shortSize);
}

TEST_F(DateTimeLabelTimer, AnUnchangedTextIsNotRepainted) {
    Connect();
    CountingDateTimeLabel* label = MakeLabel(kDateLabel);
    Tick(60000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "Saturday, March 7, 2026");
    EXPECT_EQ(label->paints, 0);
}

TEST_F(DateTimeLabelTimer, TheModalFlagHoldsTheLabel) {
    Connect();
    CountingDateTimeLabel* label = MakeLabel(kTimeLabel);
    root.SetModal(1);
    Tick(1000);
    Tick(1000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:09 PM");
    EXPECT_EQ(label->paints, 0);
    root.SetModal(0);
    Tick(1000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:12 PM");
    EXPECT_EQ(label->paints, 1);
}

TEST_F(DateTimeLabelTimer, WhileInputIsBlockedTheTextFollowsWithoutARepaint) {
    Connect();
    CountingDateTimeLabel* label = MakeLabel(kTimeLabel);
    root.SetSuspended(1);
    Tick(1000);
    EXPECT_STREQ(label->GetText().GetAnsi(), "2:05:10 PM");
    EXPECT_EQ(label->paints, 0);
}

}  // namespace

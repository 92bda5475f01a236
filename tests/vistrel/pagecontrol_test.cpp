// The control definition record, its reader and clamps, overlap, the zone
// command corner, and the factory's common, panel and 3D-button steps.
#include <gtest/gtest.h>

#include <memory>

#include "control_records.h"
#include "gfx/speed.h"
#include "support/widget_harness.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/iconbutton.h"
#include "widgets/buttons/togglebutton.h"
#include "widgets/buttons/zonecommand.h"
#include "widgets/gauges/analogclock.h"
#include "widgets/pads/keypads.h"
#include "widgets/regions/rregion.h"
#include "widgets/text/valuelabel.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::ControlList;
using testsupport::ControlRecord;

// A message holding the payload, positioned at its start.
std::unique_ptr<CZVMSG> MessageOf(const testsupport::Bytes& payload) {
    auto message = std::make_unique<CZVMSG>(0, 0x2596);
    message->WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
    message->ResetPosition();
    return message;
}

CPageControlDesc ReadOne(const ControlRecord& record) {
    testsupport::PayloadWriter out;
    WriteControl(out, record);
    CPageControlDesc desc;
    EXPECT_TRUE(desc.Read(MessageOf(out).get()));
    return desc;
}

CPageControlDesc Desc(int type, int x, int y, int width, int height) {
    CPageControlDesc desc;
    desc.type = type;
    desc.x = x;
    desc.y = y;
    desc.width = width;
    desc.height = height;
    return desc;
}

TEST(PageControlDescTest, ReadTakesEveryFieldInWireOrder) {
    ControlRecord record;
    record.type = 123;
    record.id = 201;
    record.text = "Porch Light";
    record.x = 300;
    record.y = 4700;
    record.width = 1900;
    record.height = 1300;
    record.textColor = {255, 255, 255};
    record.faceColor = {40, 70, 110};
    record.attributes = {18, 2, 1, 3, 12, 4, 6, 1};
    record.text2 = "I_LIGHT";
    record.value = 1;
    const CPageControlDesc desc = ReadOne(record);
    EXPECT_EQ(desc.type, 123);
    EXPECT_EQ(desc.id, 201);
    EXPECT_STREQ(CZVString(desc.text).GetAnsi(), "Porch Light");
    EXPECT_EQ(desc.x, 300);
    EXPECT_EQ(desc.height, 1300);
    EXPECT_EQ(desc.textColor, 0xFFFFFFu);
    EXPECT_EQ(desc.faceColor, MakeColor(40, 70, 110));
    for (int i = 0; i < kAttrCount; ++i) EXPECT_EQ(desc.Attribute(i), record.attributes[i]) << i;
    EXPECT_STREQ(CZVString(desc.text2).GetAnsi(), "I_LIGHT");
    EXPECT_EQ(desc.value, 1);
}

TEST(PageControlDescTest, DefaultsAreThoseOfAnUnreadDefinition) {
    const CPageControlDesc desc;
    EXPECT_EQ(desc.type, -1);
    EXPECT_EQ(desc.width, 1);
    EXPECT_EQ(desc.height, 1);
    EXPECT_EQ(desc.Attribute(kAttrFontSize), 1);
    EXPECT_EQ(desc.Attribute(kAttrParameter), 0);
}

struct ClampCase {
    int x, width;
    int wantX, wantWidth;
};

TEST(PageControlDescTest, ReadClampsTheRectangleIntoThePage) {
    const ClampCase cases[] = {
        {-5, 20000, -1, 10000},  // full size: x comes out as -1
        {9990, 100, 9899, 100},  // pulled back so that it ends at 9999
        {100, 0, 100, 0},        // zero and negative sizes stay as sent
        {100, -50, 100, -50},
        {-7, 300, 0, 300},
    };
    for (const ClampCase& c : cases) {
        ControlRecord record;
        record.x = c.x;
        record.width = c.width;
        record.y = c.x;
        record.height = c.width;
        const CPageControlDesc desc = ReadOne(record);
        EXPECT_EQ(desc.x, c.wantX) << c.x << " " << c.width;
        EXPECT_EQ(desc.width, c.wantWidth) << c.x << " " << c.width;
        EXPECT_EQ(desc.y, c.wantX);
        EXPECT_EQ(desc.height, c.wantWidth);
    }
}

TEST(PageControlDescTest, ReadFailsAtAFieldThatIsMissing) {
    testsupport::PayloadWriter out;
    WriteControl(out, ControlRecord{});
    testsupport::Bytes cut = out;
    for (size_t keep : {size_t{0}, size_t{8}, cut.size() - 4}) {
        testsupport::Bytes shortRecord(cut.begin(), cut.begin() + static_cast<long>(keep));
        CPageControlDesc desc;
        EXPECT_FALSE(desc.Read(MessageOf(shortRecord).get())) << keep;
        EXPECT_EQ(desc.type, -1) << keep;
    }
    EXPECT_EQ(cut.size(), size_t{CPageControlDesc::kMinWireSize});
}

TEST(PageControlDescTest, ACountIsBoundedByTheRecordsLeft) {
    testsupport::PayloadWriter out;
    out.Int(0x7FFFFFFF);
    WriteControl(out, ControlRecord{});
    WriteControl(out, ControlRecord{});
    int count = -1;
    EXPECT_TRUE(ReadControlCount(MessageOf(out).get(), &count));
    EXPECT_EQ(count, 2);

    testsupport::PayloadWriter negative;
    negative.Int(-3);
    EXPECT_TRUE(ReadControlCount(MessageOf(negative).get(), &count));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(ReadControlCount(MessageOf({}).get(), &count));
}

struct OverlapCase {
    const char* name;
    CPageControlDesc a, b;
    bool overlaps;
};

TEST(PageControlDescTest, OverlapCountsTouchingEdges) {
    const OverlapCase cases[] = {
        {"shared vertical edge", Desc(124, 0, 0, 100, 100), Desc(153, 100, 0, 100, 100), true},
        {"shared horizontal edge", Desc(124, 0, 0, 100, 100), Desc(153, 0, 100, 100, 100), true},
        {"inside", Desc(124, 10, 10, 5, 5), Desc(153, 0, 0, 100, 100), true},
        {"apart sideways", Desc(124, 0, 0, 100, 100), Desc(153, 101, 0, 100, 100), false},
        {"apart downwards", Desc(124, 0, 0, 100, 100), Desc(153, 0, 101, 100, 100), false},
        {"negative width", Desc(124, 50, 50, -10, 10), Desc(153, 0, 0, 100, 100), false},
        {"negative height", Desc(124, 50, 50, 10, -10), Desc(153, 0, 0, 100, 100), false},
    };
    for (const OverlapCase& c : cases) EXPECT_EQ(c.a.Overlaps(c.b) != 0, c.overlaps) << c.name;
}

// ---- the factory on a widget tree

class PageFactoryTest : public ::testing::Test {
protected:
    CZVWindow* Create(CPageControlDesc& desc, int fontOverride = 0, const CZVObList* siblings = nullptr) {
        CZVWindow* control = CreatePageControl(&page, &page, CZVRect(10, 10, 120, 60), desc, siblings, fontOverride);
        if (control) page.AddChild(control);
        return control;
    }
    CPageControlArgs ArgsFor(CPageControlDesc& desc, const CZVObList* siblings) {
        return CPageControlArgs{&page, &page, CZVRect(), desc, siblings, 0, 0, 0, 0, 0, 0, 0,
                                desc.Attribute(kAttrBevel), 0, 0, 0};
    }

    testsupport::WidgetHarness harness{320, 240};
    CZVWindow page{&harness.Root(), CZVRect(0, 0, 320, 240), 5};
};

TEST_F(PageFactoryTest, TypesOutsideTheRangeCreateNothing) {
    for (int type : {99, 191, -1}) {
        CPageControlDesc desc = Desc(type, 0, 0, 10, 10);
        EXPECT_EQ(Create(desc), nullptr) << type;
    }
    EXPECT_TRUE(page.GetChildren().IsEmpty());
}

TEST_F(PageFactoryTest, CommonStepsApplyTheDefinitionsValues) {
    CPageControlDesc desc = Desc(100, 0, 0, 10, 10);
    desc.text = "Brenvik Residence";
    desc.textColor = MakeColor(250, 240, 10);
    desc.faceColor = MakeColor(10, 20, 30);
    desc.SetAttribute(kAttrFontSize, 28);
    desc.SetAttribute(kAttrTextFormat, 1);
    desc.SetAttribute(kAttrSmoothText, 1);
    desc.SetAttribute(kAttrBevelType, 2);
    desc.SetAttribute(kAttrCornerRadius, 9);
    desc.SetAttribute(kAttrBevel, 3);
    desc.SetAttribute(kAttrMargin, 4);
    auto* label = dynamic_cast<CZVLabel*>(Create(desc));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetFontSize(), 28);
    EXPECT_EQ(label->GetTextColor(), MakeColor(250, 240, 10));
    EXPECT_EQ(label->GetFaceColor(), MakeColor(10, 20, 30));
    EXPECT_EQ(label->GetTextFormat(), 0x11);  // vertical centring added
    EXPECT_EQ(label->GetBevelType(), 2);
    EXPECT_EQ(label->GetCornerRadius(), 9);
    EXPECT_EQ(label->GetBevel(), 3);
    EXPECT_EQ(label->GetMargin(), 4);
    EXPECT_EQ(label->IsSmooth(), 1);
    EXPECT_STREQ(label->GetText().GetAnsi(), "Brenvik Residence");
}

TEST_F(PageFactoryTest, ZeroValuesLeaveTheClassDefaults) {
    CPageControlDesc desc = Desc(111, 0, 0, 10, 10);
    desc.SetAttribute(kAttrFontSize, 0);
    CZVLabel reference(&page, CZVRect(0, 0, 10, 10), "", 5);
    auto* label = dynamic_cast<CZVLabel*>(Create(desc));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetFontSize(), reference.GetFontSize());
    EXPECT_EQ(label->GetTextColor(), reference.GetTextColor());
    EXPECT_EQ(label->GetFaceColor(), reference.GetFaceColor());
    EXPECT_EQ(label->IsSmooth(), 0);
}

TEST_F(PageFactoryTest, AFontOverrideReplacesTheRecordsSize) {
    CPageControlDesc desc = Desc(100, 0, 0, 10, 10);
    desc.SetAttribute(kAttrFontSize, 28);
    EXPECT_EQ(Create(desc, 14)->GetFontSize(), 14);
    EXPECT_EQ(Create(desc, 0)->GetFontSize(), 28);
}

template <class T>
bool IsA(CZVWindow* w) {
    return dynamic_cast<T*>(w) != nullptr;
}

struct ClassCase {
    int type;
    bool (*isExpected)(CZVWindow*);
};

TEST_F(PageFactoryTest, EachRegisteredTypeCreatesItsClass) {
    const ClassCase cases[] = {
        {124, IsA<CZoneCommandButton>}, {159, IsA<CZoneCommandButton>}, {125, IsA<CToggleButton>},
        {147, IsA<CNumericKeypadWnd>},  {149, IsA<CValueLabel>},        {153, IsA<CRemoteKeypadWnd>},
        {156, IsA<CRemoteKeypadWnd>},   {157, IsA<CRemoteKeypadWnd>},   {158, IsA<CRemoteKeypadWnd>},
        {169, IsA<CZoneSwitchCtl>},     {185, IsA<CZoneSwitchCtl>},     {181, IsA<CAnalogClock>},
    };
    for (const ClassCase& c : cases) {
        CPageControlDesc desc = Desc(c.type, 0, 0, 10, 10);
        desc.text = "Chime";
        EXPECT_TRUE(c.isExpected(Create(desc))) << c.type;
    }
}

TEST_F(PageFactoryTest, AZoneButtonOverAKeypadBecomesAPlainCornerPiece) {
    harness.Style().SetStyle(17, 5, 3);
    CPageControlDesc keypad = Desc(153, 1000, 1000, 2000, 2000);
    CPageControlDesc button = Desc(124, 900, 2900, 200, 200);
    button.text = "All\\nOff";
    button.textColor = MakeColor(250, 240, 10);
    button.SetAttribute(kAttrTextFormat, 1);
    CZVObList siblings;
    siblings.AddTail(&keypad);
    siblings.AddTail(&button);
    auto* first = dynamic_cast<CZoneCommandCornerButton*>(Create(button, 0, &siblings));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetMargin(), 0);
    EXPECT_EQ(first->GetIconLayout(), 1);
    EXPECT_STREQ(first->GetText().GetAnsi(), "All\nOff");
    EXPECT_NE(first->GetTextColor(), MakeColor(250, 240, 10));  // the constructor's colour stays
    button.value = 1;
    auto* second = dynamic_cast<CZoneCommandCornerButton*>(Create(button, 0, &siblings));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->GetStyleBits() & k3DBaseSurface);  // no 3D-button steps for a corner piece
    EXPECT_EQ(second->GetLookSource(), nullptr);
}

struct PanelCase {
    int type;
    COLORREF face;
    bool faceApplied;
    int wantBevel, wantMargin;
};

TEST_F(PageFactoryTest, PanelsTakeTheirOwnStepsInsteadOfTheCommonOnes) {
    const PanelCase cases[] = {
        {126, MakeColor(40, 70, 110), true, 0, 6},  // flat group panel: the ring is a margin
        {127, MakeColor(40, 70, 110), true, 6, 0},  // raised panel: the ring is a bevel
        {127, MakeColor(7, 3, 7), false, 6, 0},     // black once in RGB565: not applied
        {126, 0, false, 0, 6},
    };
    for (const PanelCase& c : cases) {
        CPageControlDesc desc = Desc(c.type, 0, 0, 10, 10);
        desc.faceColor = c.face;
        desc.textColor = MakeColor(255, 0, 0);
        desc.SetAttribute(kAttrFontSize, 31);
        desc.SetAttribute(kAttrBevel, 6);
        desc.SetAttribute(kAttrCornerRadius, 11);
        CZVWindow* panel = Create(desc);
        ASSERT_NE(dynamic_cast<CRRegion*>(panel), nullptr) << c.type;
        CRRegion plain(&page, CZVRect(0, 0, 10, 10), c.type == 126 ? 8 : 6);
        EXPECT_EQ(panel->GetFaceColor() == c.face, c.faceApplied) << c.type << " " << c.face;
        EXPECT_EQ(panel->GetBevel(), c.wantBevel) << c.type;
        EXPECT_EQ(panel->GetMargin(), c.wantMargin) << c.type;
        EXPECT_EQ(panel->GetCornerRadius(), 11) << c.type;
        // The common steps are skipped: no font size, text colour or format.
        EXPECT_EQ(panel->GetFontSize(), plain.GetFontSize()) << c.type;
        EXPECT_EQ(panel->GetTextColor(), plain.GetTextColor()) << c.type;
        EXPECT_EQ(panel->GetTextFormat(), plain.GetTextFormat()) << c.type;
    }
}

TEST_F(PageFactoryTest, AnIconButtonOnTheBaseSurfaceSharesTheFacesOfItsTwin) {
    CPageControlDesc desc = Desc(171, 0, 0, 10, 10);
    desc.text = "I_LOGO";
    desc.value = 1;
    auto* first = dynamic_cast<CIconButton*>(Create(desc));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->GetStyleBits() & k3DBaseSurface);
    EXPECT_EQ(first->GetTextFormat(), 18 | 0x10);
    desc.value = 0;
    auto* second = dynamic_cast<CIconButton*>(Create(desc));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->GetStyleBits() & k3DBaseSurface);
    EXPECT_EQ(second->GetLookSource(), first);
}

// ---- zone command buttons over a keypad

struct CornerCase {
    int x, y;
    int code;
};

// The button's far edge from the keypad's centre (2000) along one axis.
int Reach(int start) { return start < 2000 ? 1100 : 1099; }

TEST_F(PageFactoryTest, AZoneButtonTakesTheCornerOfTheKeypadItOverlaps) {
    harness.Style().SetStyle(17, 5, 3);
    CPageControlDesc keypad = Desc(153, 1000, 1000, 2000, 2000);  // centre 2000, 2000
    keypad.SetAttribute(kAttrCornerRadius, 10);
    CZVObList siblings;
    siblings.AddTail(&keypad);
    const CornerCase cases[] = {{900, 2900, 4}, {900, 900, 5}, {2900, 900, 6}, {2900, 2900, 7}};
    for (const CornerCase& c : cases) {
        CPageControlDesc button = Desc(124, c.x, c.y, 200, 200);
        siblings.AddTail(&button);
        CPageControlArgs args = ArgsFor(button, &siblings);
        const auto corner = PlanZoneCorner(args);
        siblings.Remove(&button);
        ASSERT_TRUE(corner.has_value()) << c.x << "," << c.y;
        EXPECT_EQ(corner->code, c.code) << c.x << "," << c.y;
        EXPECT_EQ(button.type, 124);
        EXPECT_EQ(args.bevel, 3);
        EXPECT_EQ(corner->radius, 1000 + 2 * 3 + 10 * 7 / 10);
        EXPECT_EQ(corner->dx, Reach(c.x));
        EXPECT_EQ(corner->dy, Reach(c.y));
    }
}

TEST_F(PageFactoryTest, WithoutAStyleBevelTheZoneButtonTurnsFlat) {
    harness.Style().SetStyle(17, 5, 0);
    harness.Style().SetStyle(17, 6, 4);
    CPageControlDesc keypad = Desc(158, 0, 0, 1000, 600);
    CPageControlDesc button = Desc(124, 900, 500, 300, 300);
    CZVObList siblings;
    siblings.AddTail(&keypad);
    siblings.AddTail(&button);
    CPageControlArgs args = ArgsFor(button, &siblings);
    const auto corner = PlanZoneCorner(args);
    ASSERT_TRUE(corner.has_value());
    EXPECT_EQ(button.type, 159);  // later builds take the flat path from the start
    EXPECT_EQ(args.bevel, 4);
    EXPECT_EQ(corner->radius, 300 + 4);
    EXPECT_EQ(corner->code, 7);
    EXPECT_EQ(corner->dx, 1199 - 500);
    EXPECT_EQ(corner->dy, 799 - 300);
}

TEST_F(PageFactoryTest, NoCornerWithoutAnOverlappingKeypad) {
    CPageControlDesc keypad = Desc(153, 0, 0, 100, 100);
    CPageControlDesc remote = Desc(156, 0, 0, 100, 100);  // not a keypad that takes corners
    CPageControlDesc narrow = Desc(124, 50, 50, -10, 10);
    CZVObList siblings;
    siblings.AddTail(&remote);
    siblings.AddTail(&narrow);
    CPageControlArgs args = ArgsFor(narrow, &siblings);
    EXPECT_FALSE(PlanZoneCorner(args).has_value());
    siblings.AddTail(&keypad);
    EXPECT_FALSE(PlanZoneCorner(args).has_value());  // a negative width overlaps nothing
    CPageControlArgs alone = ArgsFor(narrow, nullptr);
    EXPECT_FALSE(PlanZoneCorner(alone).has_value());
    EXPECT_EQ(FindOverlappingKeypad(&siblings, keypad), nullptr);  // not itself
}

}  // namespace

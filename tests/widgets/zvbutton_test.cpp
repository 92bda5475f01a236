#include "widgets/buttons/zvbutton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "support/assert_counter.h"
#include "widgets/buttons/buttonicon.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

using widgettest::ButtonTest;

class PushButtonTest : public ButtonTest {
protected:
    PushButtonTest() {
        button = new CZVButton(&root, CZVRect(10, 10, 80, 40), 5, 16);
        root.AddChild(button);
        harness.Clock().Advance(200);
    }
    CZVButton* button;
};

TEST_F(PushButtonTest, AClickCapturesTheFingerPlaysBothSoundsAndSendsTheClickId) {
    harness.Press(20, 20);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_TRUE(harness.Native().IsCaptured());
    EXPECT_EQ(Plays(button->GetPressSound()), 1);
    EXPECT_EQ(Plays(button->GetClickSound()), 0);
    EXPECT_TRUE(root.commands.empty());
    harness.Release(20, 20);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_EQ(Plays(button->GetClickSound()), 1);
    EXPECT_EQ(root.commands, std::vector<int>{5});
    EXPECT_STREQ(CZVString(button->GetPressSound()->GetName()).GetAnsi(), "click1.wav");
    EXPECT_STREQ(CZVString(button->GetClickSound()->GetName()).GetAnsi(), "click2.wav");
}

TEST_F(PushButtonTest, PressAndReleaseIdsGoOutWhereverTheFingerIsLifted) {
    button->SetPressIds(7, 8);
    harness.Press(20, 20);
    EXPECT_EQ(root.commands, std::vector<int>{7});
    harness.Release(200, 200);
    EXPECT_EQ(root.commands, (std::vector<int>{7, 8}));
}

TEST_F(PushButtonTest, AReleaseOutsideWithoutReleaseIdSendsNothing) {
    harness.Press(20, 20);
    EXPECT_EQ(button->OnLButtonUp(200, 200, 0), 0);
    EXPECT_TRUE(root.commands.empty());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_EQ(Plays(button->GetClickSound()), 0);
}

TEST_F(PushButtonTest, ASecondTapWithin100MsIsSwallowedUnlessDoubleClicksAreWanted) {
    harness.Tap(20, 20);
    harness.Clock().Advance(50);
    EXPECT_EQ(button->OnLButtonDown(20, 20, 0), 1);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(Plays(button->GetPressSound()), 1);

    button->SetDoubleClickId(6);
    harness.Clock().Advance(300);
    harness.Tap(20, 20);
    harness.Clock().Advance(299);
    harness.Tap(20, 20);
    harness.Clock().Advance(300);
    harness.Tap(20, 20);
    EXPECT_EQ(root.commands, (std::vector<int>{5, 5, 6, 5}));
}

TEST_F(ButtonTest, APressRightAfterConstructionIsSwallowed) {
    auto* fresh = new CZVButton(&root, CZVRect(0, 0, 50, 30), 3, 16);
    root.AddChild(fresh);
    harness.Clock().Advance(99);
    harness.Press(10, 10);
    EXPECT_FALSE(fresh->IsPressed());
    harness.Clock().Advance(1);
    harness.Press(10, 10);
    EXPECT_TRUE(fresh->IsPressed());
}

TEST_F(PushButtonTest, HeldRepeatsReplaceTheClick) {
    button->SetAutoRepeat(1);
    harness.Press(20, 20);
    harness.RunFor(1200);
    EXPECT_EQ(root.commands, (std::vector<int>{5, 5}));
    harness.Release(20, 20);
    EXPECT_EQ(root.commands, (std::vector<int>{5, 5}));

    // A short hold ends in a click.
    harness.Clock().Advance(200);
    harness.Press(20, 20);
    harness.RunFor(300);
    harness.Release(20, 20);
    EXPECT_EQ(root.commands, (std::vector<int>{5, 5, 5}));
}

TEST_F(PushButtonTest, ARampThatSlowsDownStaysBetweenItsIntervals) {
    button->SetAutoRepeat(1);
    button->SetRepeatTiming(100, 300, 0, 1000);
    harness.Press(20, 20);
    harness.RunFor(500);
    EXPECT_NEAR(button->GetRepeatInterval(), 200, 4);
    harness.RunFor(600);
    EXPECT_EQ(button->GetRepeatInterval(), 300);
}

TEST_F(PushButtonTest, AButtonDisabledWhileHeldLetsTheCaptureGo) {
    button->SetAutoRepeat(1);
    harness.Press(20, 20);
    button->Enable(0, 0);
    harness.RunFor(600);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_TRUE(root.commands.empty());

    // Without repeats, the release of a disabled held button ends the press.
    button->Enable(1, 0);
    button->SetAutoRepeat(0);
    harness.Clock().Advance(200);
    harness.Press(20, 20);
    button->Enable(0, 0);
    harness.Release(20, 20);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(PushButtonTest, TheTouchAreaReachesOnePixelPastTheEdgeAndTheMargins) {
    EXPECT_TRUE(button->HitTest(90, 50));
    EXPECT_FALSE(button->HitTest(91, 20));
    EXPECT_FALSE(button->HitTest(5, 20));
    button->SetTouchMargins(5, 0, 0, 0);
    EXPECT_TRUE(button->HitTest(5, 20));
}

TEST_F(ButtonTest, IconLayoutsPlaceTheIconAndCutTheCaption) {
    CZVButton b(&root, CZVRect(0, 0, 200, 60), 1, 16);
    b.SetShape(0, 10, 2);
    b.SetFontSize(20);
    b.SetIconName("pump", 2);
    CZVRect icon, caption;
    b.GetIconRect(&icon);
    EXPECT_EQ(icon, CZVRect(166, 20, 22, 21));
    b.GetInnerRect(&caption);
    EXPECT_EQ(caption.x + caption.w - 1, icon.x);
    b.SetIconName("pump", 3);
    b.GetIconRect(&icon);
    EXPECT_EQ(icon, CZVRect(12, 20, 21, 21));
    b.SetIconName("pump", 16);
    b.GetIconRect(&icon);
    EXPECT_EQ(icon, CZVRect(12, 33, 176, 15));
}

TEST_F(ButtonTest, SetIconKindOnAButtonWithAnIconReportsAndReplacesIt) {
    CZVButton b(&root, CZVRect(0, 0, 60, 30), 1, 16);
    testsupport::AssertCounter asserts;
    b.SetIconKind(3, nullptr);
    EXPECT_EQ(asserts.Count(), 0);
    b.SetIconKind(4, nullptr);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "zvButton");
    EXPECT_NE(b.GetIcon(), nullptr);
}

TEST_F(ButtonTest, TheFlatButtonShowsItsCaption) {
    CZVButton* plain = root.AddButton(CZVRect(0, 0, 80, 30), 1, 16, "");
    harness.PaintAll();
    const testsupport::Image565 empty = harness.Capture();
    plain->SetText("Go", nullptr, 0);
    harness.PaintAll();
    EXPECT_NE(harness.Capture().pixels, empty.pixels);
}

TEST_F(ButtonTest, ALongCaptionIsCutForDrawingButKeptWhole) {
    CZV3DButton* b = root.Add3DButtonDefault(CZVRect(0, 0, 40, 30), 1, 16, "A rather long caption");
    harness.PaintAll();
    EXPECT_STREQ(b->GetText().GetAnsi(), "A rather long caption");
}

TEST_F(ButtonTest, BevelledPressAndReleaseRepaintsWaitWhileInputIsBlocked) {
    CZV3DButton* b = root.Add3DButtonDefault(CZVRect(10, 10, 100, 40), 4, 16, "");
    harness.Clock().Advance(200);
    harness.PaintAll();
    const testsupport::Image565 before = harness.Capture();
    root.SetModal(1);
    harness.Press(20, 20);
    EXPECT_TRUE(b->IsPressed());
    EXPECT_TRUE(b->HasDeferredRepaint());
    EXPECT_EQ(harness.Capture().pixels, before.pixels);
    harness.Idle();
    EXPECT_TRUE(b->HasDeferredRepaint());
    root.SetModal(0);
    harness.Idle();
    EXPECT_FALSE(b->HasDeferredRepaint());

    // Unblocked, the press shows the pressed face at once.
    harness.Release(20, 20);
    harness.Clock().Advance(200);
    harness.Press(20, 20);
    EXPECT_NE(harness.Capture().pixels, before.pixels);
}

TEST_F(ButtonTest, BevelledLookRules) {
    CZV3DButton wide(&root, CZVRect(0, 0, 100, 40), 1, 16);
    CZV3DButton narrow(&root, CZVRect(0, 0, 99, 40), 1, 16);
    EXPECT_TRUE(wide.GetOpaqueRect().has_value());
    EXPECT_FALSE(narrow.GetOpaqueRect().has_value());

    CZV3DButton twin(&root, CZVRect(50, 50, 100, 40), 2, 16);
    EXPECT_EQ(wide.IsSameLook(&twin), &wide);
    twin.SetMargin(wide.GetMargin() + 1);
    EXPECT_EQ(wide.IsSameLook(&twin), nullptr);

    harness.Style().SetStyleColor(16, 1, 0x000001);
    CZV3DButton dark(&root, CZVRect(0, 0, 50, 20), 1, 16);
    EXPECT_EQ(dark.GetTextColor(), 0x080408u);
}

TEST_F(ButtonTest, ALookSourceSharesItsFaces) {
    CZV3DButton* first = root.Add3DButtonDefault(CZVRect(0, 0, 60, 30), 1, 16, "a");
    CZV3DButton* second = root.Add3DButton(CZVRect(70, 0, 60, 30), 2, 16, "b", first);
    EXPECT_EQ(second->GetNormalImage(), first->GetNormalImage());
    EXPECT_NE(first->GetStyleBits() & k3DKeepUnskinned, 0);
    testsupport::AssertCounter asserts;
    first->SetLookSource(second);  // already has faces of its own
    EXPECT_EQ(asserts.Count(), 1);
    first->SetLookSource(nullptr);
}

TEST_F(ButtonTest, ButtonsOutliveTheirLookSource) {
    // A user rendered only through the source, one that never drew, and a
    // user going first: the source's end leaves the others drawing faces of
    // their own, alike to the shared ones.
    CZV3DButton* source = root.Add3DButtonDefault(CZVRect(0, 0, 60, 30), 1, 16, "a");
    CZV3DButton* drawn = root.Add3DButton(CZVRect(70, 0, 60, 30), 2, 16, "b", source);
    CZV3DButton* idle = root.Add3DButton(CZVRect(140, 0, 60, 30), 3, 16, "c", source);
    auto* gone = new CZV3DButton(&root, CZVRect(0, 40, 60, 30), 4, 16);
    gone->SetLookSource(source);
    delete gone;
    harness.PaintAll();
    std::unique_ptr<CDibDC> shared(drawn->GetNormalImage()->Clone());

    root.RemoveChild(source);
    delete source;
    EXPECT_EQ(drawn->GetLookSource(), nullptr);
    EXPECT_EQ(idle->GetLookSource(), nullptr);
    harness.PaintAll();
    for (CZV3DButton* user : {drawn, idle}) {
        CDibDC* own = user->GetNormalImage();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(std::memcmp(own->GetPixelAddress(0, 0), shared->GetPixelAddress(0, 0), 2 * 60), 0);
        EXPECT_EQ(std::memcmp(own->GetPixelAddress(0, 15), shared->GetPixelAddress(0, 15), 2 * 60), 0);
    }
}

TEST_F(ButtonTest, KeypadKeysCarryTheirIdsAndShareTheFirstKeysLook) {
    CZV3DButton* keys[12];
    root.BuildKeypad(CZVRect(0, 0, 240, 200), 2, 60, "click3.wav", 1, keys, 0, 17);
    EXPECT_EQ(keys[9], nullptr);
    ASSERT_NE(keys[11], nullptr);
    EXPECT_STREQ(keys[11]->GetText().GetAnsi(), "Enter");
    EXPECT_EQ(keys[11]->GetCommandId(), 11011);
    EXPECT_EQ(keys[10]->GetCommandId(), 11000);
    EXPECT_EQ(keys[0]->GetCommandId(), 11001);
    EXPECT_EQ(keys[4]->GetX(), 82);
    EXPECT_EQ(keys[4]->GetWidth(), 76);
    EXPECT_EQ(keys[4]->GetFontSize(), 40);
    EXPECT_EQ(keys[4]->GetLookSource(), keys[0]);
    EXPECT_STREQ(CZVString(keys[4]->GetPressSound()->GetName()).GetAnsi(), "click3.wav");
    EXPECT_EQ(keys[4]->GetClickSound(), nullptr);

    harness.Clock().Advance(200);
    harness.Tap(120, 75);
    EXPECT_EQ(root.commands, std::vector<int>{11005});

    CZV3DButton* both[12];
    root.BuildKeypad(CZVRect(0, 0, 90, 80), 0, 12, "", 3, both, 0, 17);
    EXPECT_STREQ(both[9]->GetText().GetAnsi(), "Cancel");
    EXPECT_EQ(both[9]->GetCommandId(), 11010);
}

}  // namespace

namespace {

TEST_F(ButtonTest, ArrowButtonsTakeTheArrowIconOfTheirDirection) {
    CZV3DButton* up = root.AddArrowButton(CZVRect(0, 0, 40, 40), 2, nullptr, 31, 17);
    CZV3DButton* down = root.AddArrowButton(CZVRect(50, 0, 40, 40), 3, up, 32, 17);
    EXPECT_EQ(up->GetParent(), &root);
    EXPECT_EQ(down->GetLookSource(), up);
    EXPECT_EQ(down->GetCommandId(), 32);
    EXPECT_NE(up->GetIcon(), nullptr);
    EXPECT_NE(down->GetIcon(), nullptr);
}

// Records the built-in icon kinds that buttons ask for, and makes them as
// the source installed before it does.
class IconKindRecorder : public CButtonIconSource {
public:
    IconKindRecorder() : m_inner(ButtonIcons()), m_previous(InstallButtonIconSource(this)) {}
    ~IconKindRecorder() override { InstallButtonIconSource(m_previous); }
    IconKindRecorder(const IconKindRecorder&) = delete;
    IconKindRecorder& operator=(const IconKindRecorder&) = delete;
    CButtonIcon* MakeStock(int kind, COLORREF colour) override {
        kinds.push_back(kind);
        return m_inner.MakeStock(kind, colour);
    }
    CButtonIcon* MakeNamed(const CZVString& name) override { return m_inner.MakeNamed(name); }
    std::vector<int> kinds;

private:
    CButtonIconSource& m_inner;
    CButtonIconSource* m_previous;
};

TEST_F(ButtonTest, ArrowButtonsPointUpWithKind5AndEveryOtherWayWithKind4) {
    struct Case {
        int direction;
        int kind;
    };
    const Case cases[] = {{2, 5}, {3, 4}, {0, 4}, {1, 4}};
    CZV3DButton* first = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        IconKindRecorder recorder;
        CZV3DButton* arrow = root.AddArrowButton(CZVRect(0, 0, 40, 40), c.direction, first, 30 + c.direction, 17);
        EXPECT_EQ(recorder.kinds, std::vector<int>{c.kind});
        EXPECT_EQ(arrow->GetStyleClass(), 17);
        EXPECT_EQ(arrow->GetCommandId(), 30 + c.direction);
        EXPECT_EQ(arrow->GetLookSource(), first);
        if (!first) first = arrow;
    }
}

struct LabelCase {
    const char* name;
    CZVLabel* (*make)(CZVWindow& parent);
    int styleClass;
    int fontSize;
    int format;
    int flags;
    COLORREF textColour;
};

TEST_F(ButtonTest, LabelFactoriesSetWhatTheyAreGiven) {
    const CZVRect r(0, 0, 80, 20);
    CZVLabel plain(&root, r, "", 9);
    const int defaultFont = plain.GetFontSize();
    const int defaultFormat = plain.GetTextFormat();
    const int defaultFlags = plain.GetFlags();
    CZVLabel ofRoot(&root, r, "", root.GetStyleClass());
    const LabelCase cases[] = {
        {"plain", [](CZVWindow& p) { return p.AddLabel(CZVRect(0, 0, 80, 20), "a", 18); }, root.GetStyleClass(), 18,
         ofRoot.GetTextFormat(), ofRoot.GetFlags(), ofRoot.GetTextColor()},
        {"class", [](CZVWindow& p) { return p.AddLabelClass(CZVRect(0, 0, 80, 20), "a", 22, 9); }, 9, 22, defaultFormat,
         defaultFlags, plain.GetTextColor()},
        {"keeps font", [](CZVWindow& p) { return p.AddLabelClass(CZVRect(0, 0, 80, 20), "a", -1, 9); }, 9, defaultFont,
         defaultFormat, defaultFlags, plain.GetTextColor()},
        {"aligned", [](CZVWindow& p) { return p.AddLabelAligned(CZVRect(0, 0, 80, 20), "a", 14, 1, 9); }, 9, 14,
         defaultFormat | 2, defaultFlags, plain.GetTextColor()},
        {"aligned off", [](CZVWindow& p) { return p.AddLabelAligned(CZVRect(0, 0, 80, 20), "a", 14, 0, 9); }, 9, 14,
         defaultFormat & ~2, defaultFlags, plain.GetTextColor()},
        {"formatted", [](CZVWindow& p) { return p.AddLabelFormatted(CZVRect(0, 0, 80, 20), "a", 14, 1, 5, 0, 9); }, 9,
         14, 5, (defaultFlags | kLabelBold) & ~kLabelFramed, plain.GetTextColor()},
        {"coloured", [](CZVWindow& p) { return p.AddLabelColored(CZVRect(0, 0, 80, 20), "a", 16, 0x00FF00); },
         root.GetStyleClass(), 16, 17, defaultFlags, 0x00FF00},
    };
    for (const LabelCase& c : cases) {
        CZVLabel* label = c.make(root);
        EXPECT_EQ(label->GetParent(), &root) << c.name;
        EXPECT_EQ(label->GetStyleClass(), c.styleClass) << c.name;
        EXPECT_EQ(label->GetFontSize(), c.fontSize) << c.name;
        EXPECT_EQ(label->GetTextFormat(), c.format) << c.name;
        EXPECT_EQ(label->GetFlags(), c.flags) << c.name;
        EXPECT_STREQ(label->GetText().GetAnsi(), "a") << c.name;
        EXPECT_EQ(label->GetTextColor(), c.textColour) << c.name;
    }
}

}  // namespace

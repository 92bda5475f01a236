// Mask record lists, house-mode names, window groups and time ranges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_fixture.h"
#include "widgets/lists/maskrecords.h"
#include "widgets/lists/timeranges.h"
#include "widgets/window/childwindowlist.h"

namespace {

TEST(BitmaskRecordList, FindByBitAnswersTheFirstRecordWithTheBit) {
    CBitmaskRecordList list(nullptr, 0);
    for (int mask : {0x01, 0x0C, 0x08}) ASSERT_NE(list.Add(mask), nullptr);
    EXPECT_EQ(list.FindByBit(3), list.GetAt(1));
    EXPECT_EQ(list.FindByBit(0), list.GetAt(0));
    EXPECT_EQ(list.FindByBit(4), nullptr);
    EXPECT_EQ(list.FindByBit(-1), nullptr);
    EXPECT_EQ(list.FindByBit(40), nullptr);
    EXPECT_EQ(list.GetAt(3), nullptr);
}

class Modes : public IHouseModeNames {
public:
    explicit Modes(std::vector<std::string> names) : m_names(std::move(names)) {}
    int GetCount() const override { return static_cast<int>(m_names.size()); }
    CZVString GetName(int index) const override { return m_names[index].c_str(); }

private:
    std::vector<std::string> m_names;
};

TEST(FormatMaskNames, NamesTheChosenModes) {
    const Modes three({"Home", "Away", "Night"}), none({});
    const struct {
        const Modes& modes;
        int mask;
        const char* text;
    } cases[] = {{three, 0x5, "Home+Night"}, {three, 0x2, "Away"}, {three, 0x7, "All"}, {three, 0xF, "All"},
                 {three, 0x8, "None"},       {three, 0, "None"},   {none, 0x5, "All"},  {none, 0, "All"}};
    for (const auto& c : cases) {
        CZVString text;
        FormatMaskNames(&text, c.mask, c.modes);
        EXPECT_STREQ(text.GetAnsi(), c.text) << c.mask;
    }
}

// A window that paints its face.
class FilledWindow : public CZVWindow {
public:
    using CZVWindow::CZVWindow;
    void OnPaint(CZVDC* dc) override { FillFaceColor(dc, 0, 0, m_width, m_height); }
};

class WindowGroup : public widgettest::ButtonTest {
protected:
    // A group of two windows in a panel of the root.
    void Fill(CZVWindow* parent) {
        group.SetParent(parent);
        for (int i = 0; i < 2; ++i) {
            auto* w = new FilledWindow(parent, CZVRect(10 + 50 * i, 10, 40, 40), 0);
            w->SetFaceColor(MakeColor(200, 60, 60));
            parent->AddChild(w);
            group.AddTail(w);
            windows.push_back(w);
        }
    }
    CChildWindowList group;
    std::vector<CZVWindow*> windows;
};

TEST_F(WindowGroup, DetachErasesAndRemovesAttachPutsBack) {
    root.SetFaceColor(MakeColor(0, 0, 90));
    Fill(&root);
    harness.PaintAll();
    const uint16_t red = ToRgb565(MakeColor(200, 60, 60));
    EXPECT_EQ(harness.PixelAt(20, 20), red);
    group.Detach(1);
    EXPECT_FALSE(group.IsAttached());
    EXPECT_NE(harness.PixelAt(20, 20), red);
    EXPECT_NE(harness.PixelAt(70, 20), red);
    EXPECT_EQ(root.GetChildren().GetCount(), 0);
    for (CZVWindow* w : windows) {
        EXPECT_EQ(w->GetParent(), nullptr);
        EXPECT_FALSE(w->IsShown());
    }
    group.Attach();
    EXPECT_EQ(root.GetChildren().GetCount(), 2);
    for (CZVWindow* w : windows) {
        EXPECT_EQ(w->GetParent(), &root);
        EXPECT_EQ(w->IsShown(), root.IsShown());
    }
}

TEST_F(WindowGroup, TheParentMayGoWhileTheGroupIsDetached) {
    auto* panel = new CZVWindow(&root, CZVRect(0, 0, 200, 100), 0);
    root.AddChild(panel);
    Fill(panel);
    group.Detach(0);
    delete panel;
    // The group's destructor deletes its windows; none of them reaches the panel.
}

TEST_F(WindowGroup, AnAttachedGroupLeavesItsWindowsToTheParent) {
    {
        CChildWindowList attached;
        attached.SetParent(&root);
        auto* w = new CZVWindow(&root, CZVRect(0, 0, 10, 10), 0);
        root.AddChild(w);
        attached.AddTail(w);
    }
    EXPECT_EQ(root.GetChildren().GetCount(), 1);
}

// One pixel a minute from midnight.
class MinuteAxis : public ITimeAxis {
public:
    int TimeToX(const CZVTime& t) const override { return t.GetHour() * 60 + t.GetMinute(); }
};

CZVTime Clock(int hour, int minute) {
    CZVTime t;
    t.Set(2026, 3, 6, 7, hour, minute, 0, 0);
    return t;
}

TEST(TimeRangeList, FindAnswersTheFirstRangeAroundX) {
    CTimeRangeList list("Heat");
    list.Add(CTimeRange(Clock(6, 0), Clock(9, 0)));
    list.Add(CTimeRange(Clock(8, 0), Clock(12, 0)));
    const MinuteAxis axis;
    const struct {
        int x, found, startHour;
    } cases[] = {{8 * 60 + 30, 1, 6}, {9 * 60, 1, 6}, {9 * 60 + 1, 1, 8}, {12 * 60, 1, 8}, {6 * 60, 1, 6},
                 {5 * 60 + 59, 0, 0}, {12 * 60 + 1, 0, 0}};
    for (const auto& c : cases) {
        CZVTime start, end;
        EXPECT_EQ(list.Find(axis, c.x, &start, &end), c.found) << c.x;
        if (c.found) EXPECT_EQ(start.GetHour(), c.startHour) << c.x;
    }
    EXPECT_EQ(CZVString(list.GetName()).Compare("Heat"), 0);
}

}  // namespace

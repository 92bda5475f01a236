// The text list: its rows, its background and the three looks of the
// selected row.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "list_fixture.h"
#include "striped_art.h"
#include "support/golden.h"
#include "widgets/lists/textlist.h"
#include "widgets/style/setserver.h"
#include "widgets/style/skins.h"

namespace {

using widgettest::ListTest;

TEST(TextItemTest, KeepsAtMostTheGivenLengthAndNothingForANullTextOrALengthBelowOne) {
    struct Case {
        const char* text;
        int length;
        std::string expected;
    };
    const Case cases[] = {
        {"Kitchen", 7, "Kitchen"}, {"Kitchen", 3, "Kit"}, {"Kitchen", 0, ""},
        {"Kitchen", -4, ""},       {nullptr, 5, ""},      {"Hi", 40, "Hi"},
    };
    for (const Case& c : cases) {
        CTextItem row(0, c.text, c.length, nullptr);
        EXPECT_EQ(std::string(row.GetText().GetAnsi()), c.expected) << (c.text ? c.text : "null") << " " << c.length;
    }
    CTextItem row(0, "old", 3, nullptr);
    row.SetText("new text");
    EXPECT_EQ(std::string(row.GetText().GetAnsi()), "new text");
}

TEST_F(ListTest, TextListAddsRowsInOrderWithTheirData) {
    int data = 0;
    CTextItem* first = list->AddString("Porch", &data);
    list->AddItem(std::make_unique<CTextItem>(7, "Garage", 6, nullptr));
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(first->m_index, 0);
    EXPECT_EQ(list->GetItemAt(1)->m_index, 1);
    EXPECT_EQ(list->GetItemData(0), &data);
    EXPECT_EQ(list->TextAt(1), "Garage");
}

TEST_F(ListTest, TextListSelectionLooksRight) {
    list->AddRows(6);
    list->SelectIndex(1, 0);
    auto* shaded = new widgettest::TextList(page, CZVRect(215, 30, 100, 150), 43);
    shaded->SetShadedSelection(1);
    shaded->AddRows(6);
    shaded->SelectIndex(2, 0);
    harness.PaintAll();
    const uint16_t flat = ToRgb565(list->GetSelectedFillColor());
    EXPECT_EQ(harness.PixelAt(150, RowY(1)), flat);
    EXPECT_NE(harness.PixelAt(290, RowY(2)), flat);  // shaded, not flat
    EXPECT_NE(harness.PixelAt(290, RowY(2)), ToRgb565(shaded->GetBackColor()));
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "text_list_selection"));
}

TEST_F(ListTest, ASkinnedTextListLooksRight) {
    harness.Style().SetArt(std::make_unique<widgettest::StripedArt>());
    SetStyleFlag(kStyleSkins, true);
    list->SetShadedSelection(1);
    list->AddRows(6);
    list->SelectIndex(2, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "text_list_skinned"));
    SetStyleFlag(kStyleSkins, false);
    harness.Style().SetArt(nullptr);
}

}  // namespace

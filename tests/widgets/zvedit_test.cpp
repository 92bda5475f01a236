#include "widgets/text/zvedit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_fixture.h"
#include "platform/keys.h"

namespace {

using widgettest::CommandPage;

constexpr int kCommit = 700;
constexpr int kChange = 701;
constexpr int kFieldX = 20;
constexpr int kFieldY = 40;

// A key as the keyboard delivers it: the virtual key and its character (0
// for none).
struct Key {
    int vk;
    int ch;
};
constexpr Key kLeft{platform::VK_LEFT, 0};
constexpr Key kRight{platform::VK_RIGHT, 0};
constexpr Key kDelete{platform::VK_DELETE, 0};
constexpr Key kBack{platform::VK_BACK, 8};
constexpr Key kEnter{platform::VK_RETURN, 13};
constexpr Key kEscape{platform::VK_ESCAPE, 27};
constexpr Key kLineFeed{platform::VK_RETURN, 10};
Key Char(char c) { return {c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c, c}; }

std::string Text(const CZVEdit* field) {
    CZVString text = field->GetText();
    return text.GetAnsi();
}

class EditTest : public widgettest::ButtonTest {
protected:
    EditTest() { page = new CommandPage(&root); }

    CZVEdit* MakeField(const char* text, int width = 160) {
        auto* field = new CZVEdit(page, CZVRect(kFieldX, kFieldY, width, 24), text, kCommit, kChange, 11);
        page->AddChild(field);
        field->SetFontSize(14);
        return field;
    }
    void Type(std::initializer_list<Key> keys) {
        for (Key key : keys) harness.Native().QueueKey(key.vk, key.ch);
        harness.PumpEvents();
    }
    void TypeText(const std::string& text) {
        for (char c : text) harness.Native().QueueKey(Char(c).vk, Char(c).ch);
        harness.PumpEvents();
    }
    // Root x of the edge before character i, in the font the field measures
    // with (one size larger while it edits).
    int EdgeX(CZVEdit* field, int i, bool editing) {
        CZVDC dc(field);
        dc.SetFont(field->GetFontSize() + (editing ? 1 : 0), 0, 1);
        CZVString prefix = field->GetDisplayText().Left(i);
        const int width = dc.GetTextExtent(prefix.GetAnsi(), i).cx;
        return kFieldX + width + field->GetBevel();
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const auto& c : page->commands) ids.push_back(c.id);
        return ids;
    }
    int Count(int id) const {
        int n = 0;
        for (const auto& c : page->commands) n += c.id == id;
        return n;
    }

    CommandPage* page;
};

// ---- typing and keys

TEST_F(EditTest, BeginEditSelectsTheWholeTextAndTypingReplacesIt) {
    CZVEdit* field = MakeField("hello");
    field->BeginEdit();
    EXPECT_TRUE(field->IsEditing());
    EXPECT_EQ(field->GetCaret(), 5);
    EXPECT_EQ(field->GetAnchor(), 0);
    TypeText("hi");
    EXPECT_EQ(Text(field), "hi");
    EXPECT_EQ(field->GetCaret(), 2);
    EXPECT_EQ(field->GetAnchor(), 2);
    EXPECT_EQ(Ids(), (std::vector<int>{kChange, kChange}));
}

struct KeyCase {
    const char* name;
    std::vector<Key> keys;
    const char* text;
    int caret;
    int changes;
    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
};

class EditKeysTest : public EditTest, public ::testing::WithParamInterface<KeyCase> {};

// Every case starts on "abcd" with the whole text selected.
TEST_P(EditKeysTest, EditsTheTextAndKeepsTheCaretInIt) {
    const KeyCase& c = GetParam();
    CZVEdit* field = MakeField("abcd");
    field->BeginEdit();
    for (Key key : c.keys) Type({key});
    EXPECT_EQ(Text(field), c.text);
    EXPECT_EQ(field->GetCaret(), c.caret);
    EXPECT_EQ(field->GetAnchor(), c.caret);
    EXPECT_EQ(Count(kChange), c.changes);
    EXPECT_EQ(Count(kCommit), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeysTest,
    ::testing::Values(
        // A selection collapses to its end, then moves one more (not past the ends).
        KeyCase{"RightCollapsesToTheEnd", {kRight}, "abcd", 4, 0},
        KeyCase{"LeftCollapsesToTheStart", {kLeft}, "abcd", 0, 0},
        KeyCase{"LeftMovesAndStopsAtZero", {kRight, kLeft, kLeft, kLeft, kLeft, kLeft, kLeft}, "abcd", 0, 0},
        KeyCase{"InsertsAtTheCaret", {kRight, kLeft, kLeft, Char('x')}, "abxcd", 3, 1},
        KeyCase{"BackspaceRemovesTheCharacterBefore", {kRight, kLeft, kBack}, "abd", 2, 1},
        KeyCase{"BackspaceAtTheStartOnlyReports", {kLeft, kBack}, "abcd", 0, 1},
        KeyCase{"DeleteRemovesTheCharacterAt", {kRight, kLeft, kLeft, kDelete}, "abd", 2, 1},
        KeyCase{"DeleteAtTheEndDoesNothing", {kRight, kDelete}, "abcd", 4, 0},
        // A full stop is text like any other character.
        KeyCase{"FullStopIsTyped", {kRight, Char('.')}, "abcd.", 5, 1},
        // Backspace over a selection removes just the selection.
        KeyCase{"BackspaceRemovesOnlyTheSelection", {kBack}, "", 0, 1},
        KeyCase{"TabIsIgnored", {kRight, {platform::VK_TAB, 9}}, "abcd", 4, 0},
        KeyCase{"LineFeedWithoutCompletionIsIgnored", {kRight, kLineFeed}, "abcd", 4, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, BackspaceWithADraggedSelectionRemovesOnlyThatSelection) {
    CZVEdit* field = MakeField("abcdef");
    harness.Press(EdgeX(field, 1, false), kFieldY + 10);
    ASSERT_TRUE(field->IsEditing());
    EXPECT_EQ(field->GetCaret(), 1);
    harness.Move(EdgeX(field, 4, true), kFieldY + 10);
    harness.Release(EdgeX(field, 4, true), kFieldY + 10);
    EXPECT_EQ(field->GetAnchor(), 1);
    EXPECT_EQ(field->GetCaret(), 4);
    Type({kBack});
    EXPECT_EQ(Text(field), "aef");
    EXPECT_EQ(field->GetCaret(), 1);
}

// ---- ending the edit

TEST_F(EditTest, EnterCommitsOnceOnlyWhenTheTextChanged) {
    CZVEdit* field = MakeField("abc");
    field->BeginEdit();
    Type({kEnter});
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ(Count(kCommit), 0);

    field->BeginEdit();
    Type({kRight, Char('d'), kEnter});
    EXPECT_EQ(Text(field), "abcd");
    EXPECT_EQ(Count(kCommit), 1);
    EXPECT_FALSE(field->IsModified());
    field->EndEdit();
    EXPECT_EQ(Count(kCommit), 1);
}

// Every change of the text is committed when the edit ends, whichever key
// made it; an uncommitted change would be lost with the field.
TEST_F(EditTest, EveryKindOfChangeIsCommitted) {
    struct Case {
        const char* name;
        std::vector<Key> keys;
        const char* text;
    };
    const Case cases[] = {
        // The edit begins with the whole text selected.
        {"Delete", {kLeft, kDelete}, "bc"},
        {"Backspace over the selection", {kBack}, ""},
        {"Character over the selection", {Char('d')}, "d"},
    };
    for (const Case& c : cases) {
        CZVEdit* field = MakeField("abc");
        field->BeginEdit();
        const int before = Count(kCommit);
        for (Key key : c.keys) Type({key});
        Type({kEnter});
        EXPECT_EQ(Text(field), c.text) << c.name;
        EXPECT_EQ(Count(kCommit), before + 1) << c.name;
    }
}

TEST_F(EditTest, EscapeRestoresTheTextOfTheBeginningAndCommitsNothing) {
    CZVEdit* field = MakeField("abc");
    field->BeginEdit();
    TypeText("xyz");
    Type({kEscape});
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ(Text(field), "abc");
    EXPECT_EQ(Count(kCommit), 0);
    EXPECT_EQ(Count(kChange), 3);
}

TEST_F(EditTest, IgnoreNextEnterSwallowsOneEnter) {
    CZVEdit* field = MakeField("abc");
    field->SetIgnoreNextEnter(1);
    field->BeginEdit();
    Type({kEnter});
    EXPECT_TRUE(field->IsEditing());
    Type({kEnter});
    EXPECT_FALSE(field->IsEditing());
}

TEST_F(EditTest, LineFeedCompletesAWebAddressAndEnds) {
    CZVEdit* field = MakeField("example");
    field->SetCompleteWebAddress(1);
    field->BeginEdit();
    Type({kRight, kLineFeed});
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ(Text(field), "http://example.com");
}

TEST(WebAddressTest, CompletesWhatIsMissingAndKeepsWhatIsThere) {
    struct Case {
        const char* in;
        const char* out;
    };
    for (Case c : {Case{"example", "http://example.com"}, Case{"HTTP://WWW.X.COM", "HTTP://WWW.X.COM"},
                   Case{"http://a", "http://a.com"}, Case{"b.com", "http://b.com"}, Case{"", ""}}) {
        CZVString done = CZVEdit::CompleteWebAddress(c.in);
        EXPECT_STREQ(done.GetAnsi(), c.out) << c.in;
    }
    // A text at the string's limit has no room for the completion.
    std::string longest(CZVString::kMaxBytes - 1, 'w');
    CZVString done = CZVEdit::CompleteWebAddress(longest.c_str());
    EXPECT_EQ(done.GetLength(), CZVString::kMaxBytes - 1);
}

// ---- limits

TEST_F(EditTest, ATextAtTheStringLimitTakesNoMoreAndTheCaretStaysInIt) {
    const std::string full(CZVString::kMaxBytes - 1, 'a');
    CZVEdit* field = MakeField(full.c_str());
    field->BeginEdit();
    Type({kRight, Char('b')});
    EXPECT_EQ(field->GetText().GetLength(), CZVString::kMaxBytes - 1);
    EXPECT_EQ(field->GetCaret(), CZVString::kMaxBytes - 1);
    Type({kBack, Char('c')});
    EXPECT_EQ(Text(field), full.substr(1) + "c");
}

TEST_F(EditTest, TextReplacedWhileEditingKeepsCaretAndSelectionInside) {
    CZVEdit* field = MakeField("abcdefgh");
    field->BeginEdit();
    field->SetText("ab", nullptr, 0);
    field->Redraw(1);
    EXPECT_EQ(field->GetCaret(), 2);
    EXPECT_EQ(field->GetAnchor(), 0);
    Type({kRight, Char('x')});
    EXPECT_EQ(Text(field), "abx");
    field->SetText("", nullptr, 0);
    Type({kBack, kDelete, kLeft, Char('y')});
    EXPECT_EQ(Text(field), "y");
    EXPECT_EQ(field->GetCaret(), 1);
}

// ---- focus

TEST_F(EditTest, TheFieldTakesTheFocusAndGivesItBack) {
    auto* other = new CZVWindow(page, CZVRect(0, 0, 10, 10), 0);
    page->AddChild(other);
    root.SetFocusWindow(other);
    CZVEdit* field = MakeField("abc");
    field->BeginEdit();
    EXPECT_EQ(root.GetFocusWindow(), field);
    EXPECT_EQ(CZVEdit::GetActiveField(), field);
    Type({kEnter});
    EXPECT_EQ(root.GetFocusWindow(), other);
    EXPECT_EQ(CZVEdit::GetActiveField(), nullptr);
}

TEST_F(EditTest, ASecondFieldEndsTheFirstAndBothHandTheFocusBackInTurn) {
    auto* other = new CZVWindow(page, CZVRect(0, 0, 10, 10), 0);
    page->AddChild(other);
    root.SetFocusWindow(other);
    CZVEdit* first = MakeField("one");
    auto* second = new CZVEdit(page, CZVRect(kFieldX, 100, 160, 24), "two", 800, kChange, 11);
    page->AddChild(second);
    first->BeginEdit();
    TypeText("1");
    second->BeginEdit();
    EXPECT_FALSE(first->IsEditing());
    EXPECT_EQ(Count(kCommit), 1);
    EXPECT_EQ(root.GetFocusWindow(), second);
    // A field that is not editing has no focus to hand back.
    first->EndEdit();
    EXPECT_EQ(root.GetFocusWindow(), second);
    second->EndEdit();
    EXPECT_EQ(root.GetFocusWindow(), other);
}

TEST_F(EditTest, DestroyingTheEditingFieldGivesTheFocusBack) {
    auto* other = new CZVWindow(page, CZVRect(0, 0, 10, 10), 0);
    page->AddChild(other);
    root.SetFocusWindow(other);
    CZVEdit* field = MakeField("abc");
    field->BeginEdit();
    delete field;
    EXPECT_EQ(root.GetFocusWindow(), other);
    EXPECT_EQ(CZVEdit::GetActiveField(), nullptr);
    Type({Char('x')});
}

TEST_F(EditTest, AFocusWindowDestroyedMeanwhileIsNotHandedBack) {
    auto* other = new CZVWindow(page, CZVRect(0, 0, 10, 10), 0);
    page->AddChild(other);
    root.SetFocusWindow(other);
    CZVEdit* field = MakeField("abc");
    field->BeginEdit();
    delete other;
    Type({kEnter});
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
    Type({Char('x')});
}

TEST_F(EditTest, ThePageMayDeleteTheFieldOnItsCommands) {
    CZVEdit* field = MakeField("abc");
    page->onCommand = [&](int id) {
        if (id == kCommit) {
            delete field;
            field = nullptr;
        }
    };
    field->BeginEdit();
    Type({kRight, Char('d'), kEnter});
    EXPECT_EQ(field, nullptr);
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
}

// ---- touch

TEST_F(EditTest, ATouchInsideStartsEditingAtThePointAndATouchOutsideEndsIt) {
    CZVEdit* field = MakeField("abcdef");
    harness.Tap(EdgeX(field, 3, false), kFieldY + 12);
    EXPECT_TRUE(field->IsEditing());
    EXPECT_EQ(field->GetCaret(), 3);
    EXPECT_EQ(field->GetAnchor(), 3);
    EXPECT_EQ(root.GetFocusWindow(), field);
    harness.Tap(kFieldX + 1, kFieldY + 12);
    EXPECT_EQ(field->GetCaret(), 0);
    harness.Tap(kFieldX + 159, kFieldY + 12);
    EXPECT_EQ(field->GetCaret(), 6);
    harness.Tap(300, 200);
    EXPECT_FALSE(field->IsEditing());
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
}

TEST_F(EditTest, PasswordFieldsShowAndMeasureStars) {
    CZVEdit* field = MakeField("secret");
    field->SetPassword(1);
    EXPECT_STREQ(field->GetDisplayText().GetAnsi(), "******");
    harness.Tap(EdgeX(field, 2, false), kFieldY + 12);
    EXPECT_EQ(field->GetCaret(), 2);
    EXPECT_STREQ(field->GetText().GetAnsi(), "secret");
}

TEST_F(EditTest, ALongTextKeepsItsEndAndTheCaretInView) {
    CZVEdit* field = MakeField("a rather long text that is wider than its field", 80);
    field->BeginEdit();
    Type({kRight});
    harness.PaintAll();
    // The caret is a black line inside the field, not past its right edge.
    int caretX = -1;
    for (int x = kFieldX; x < kFieldX + 80; ++x)
        if (harness.PixelAt(x, kFieldY + 1) == 0 && harness.PixelAt(x, kFieldY + 22) == 0) caretX = x;
    EXPECT_GT(caretX, kFieldX + 40);
    EXPECT_LT(caretX, kFieldX + 80);
    // A tap near the right edge lands near the end of the text.
    harness.Tap(kFieldX + 78, kFieldY + 12);
    EXPECT_GT(field->GetCaret(), field->GetText().GetLength() - 3);
}

}  // namespace

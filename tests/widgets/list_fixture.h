#pragma once
// A touch list with text rows in a page that records the commands it gets,
// inside the button tests' widget tree.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "button_fixture.h"
#include "platform/keys.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/lists/textlist.h"

namespace widgettest {

// The text list of the pages, counting the rows it draws; the selected row
// is filled flat, so that tests can read its colour.
class TextList : public CTextList {
public:
    TextList(CZVWindow* parent, CZVRect rect, int id) : CTextList(parent, rect, id) {
        SetShadedSelection(0);
        parent->AddChild(this);
    }

    CListItem* Add(const std::string& text) { return AddString(text.c_str(), nullptr); }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) Add("Row " + std::to_string(i));
    }
    std::string TextAt(int index) {
        auto* row = static_cast<CTextItem*>(GetItemAt(index));
        return row ? std::string(row->GetText().GetAnsi()) : "";
    }
    void SetUniform(int on) { SetUniformRowHeight(on); }

    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override {
        ++rowsDrawn;
        CTextList::DrawRow(dc, row, top, bottom);
    }

    int rowsDrawn = 0;
};

// The page around the list: records each command with the list's selected
// index at that moment, and may act on it.
class CommandPage : public CZVWindow {
public:
    explicit CommandPage(CZVWindow* parent) : CZVWindow(parent, CZVRect(0, 0, 320, 240), 0) {
        SetColors(0xD0D0D0, 0xD0D0D0);
        parent->AddChild(this);
    }
    int OnChildCommand(int id, int) override { return Record(id); }
    int OnCommand(int id) override { return Record(id); }
    void OnPaint(CZVDC* dc) override {
        CZVWindow::OnPaint(dc);
        FillFaceColor(dc, 0, 0, m_width, m_height);
    }

    struct Command {
        int id;
        int selected;
        bool operator==(const Command&) const = default;
    };
    std::vector<Command> commands;
    TextList* list = nullptr;
    std::function<void(int)> onCommand;

private:
    int Record(int id) {
        commands.push_back({id, list ? list->GetSelectedIndex() : -2});
        if (onCommand) onCommand(id);
        return 1;
    }
};

// The text list draws the selected row's row buttons itself.
using RowButtonList = TextList;

class ListTest : public ButtonTest {
protected:
    // Rows are 18 pixels tall (font 15) under a bevel of 3; row i's middle
    // lies at root y 42 + 18 i while the list is not scrolled.
    static constexpr int kListX = 10;
    static constexpr int kListY = 30;
    static int RowY(int i) { return kListY + 3 + 18 * i + 9; }

    ListTest() {
        page = new CommandPage(&root);
        list = new TextList(page, CZVRect(kListX, kListY, 200, 150), 42);
        page->list = list;
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const auto& c : page->commands) ids.push_back(c.id);
        return ids;
    }

    CommandPage* page;
    TextList* list;
};

}  // namespace widgettest

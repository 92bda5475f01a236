#include "vistrel/shell/pagemakers.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CPageMakerRow>& PageRows() {
    static std::vector<CPageMakerRow> rows;
    return rows;
}

std::vector<CControlMakerRow>& ControlRows() {
    static std::vector<CControlMakerRow> rows;
    return rows;
}

template <typename Row, typename Key>
void Merge(std::vector<Row>& table, std::span<const Row> rows, Key key) {
    for (const Row& row : rows) {
        auto same = std::find_if(table.begin(), table.end(), [&](const Row& held) { return key(held) == key(row); });
        if (same != table.end())
            *same = row;
        else
            table.push_back(row);
    }
}

}  // namespace

void RegisterPageMakers(std::span<const CPageMakerRow> rows) {
    Merge(PageRows(), rows, [](const CPageMakerRow& row) { return row.command; });
}

void RegisterControlMakers(std::span<const CControlMakerRow> rows) {
    Merge(ControlRows(), rows, [](const CControlMakerRow& row) { return row.type; });
}

PageMaker FindPageMaker(int command) {
    for (const CPageMakerRow& row : PageRows())
        if (row.command == command) return row.make;
    return nullptr;
}

const CControlMakerRow* FindControlMaker(int type) {
    for (const CControlMakerRow& row : ControlRows())
        if (row.type == type) return &row;
    return nullptr;
}

namespace {

IntercomCallMaker& CallMaker() {
    static IntercomCallMaker make = nullptr;
    return make;
}

}  // namespace

void RegisterIntercomCallMaker(IntercomCallMaker make) { CallMaker() = make; }

IntercomCallMaker FindIntercomCallMaker() { return CallMaker(); }

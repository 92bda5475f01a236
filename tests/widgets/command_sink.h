#pragma once
// A parent window that keeps the commands its children send it.
#include <utility>
#include <vector>

#include "widgets/window/zvwindow.h"

namespace widgettest {

class CommandSink : public CZVWindow {
public:
    CommandSink(CZVWindow* parent, CZVRect rect) : CZVWindow(parent, rect, 0) { parent->AddChild(this); }
    int OnChildCommand(int id, int count) override {
        childCommands.emplace_back(id, count);
        return onChild ? onChild(id, count) : 1;
    }
    int OnCommand(int id) override {
        commands.push_back(id);
        return 1;
    }
    std::vector<std::pair<int, int>> childCommands;
    std::vector<int> commands;
    int (*onChild)(int, int) = nullptr;
};

}  // namespace widgettest

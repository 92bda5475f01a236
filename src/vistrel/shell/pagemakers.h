#pragma once
// The pages and gateway controls whose classes live in the libraries above
// the shell (home, media). Each library registers its rows once at start,
// before the main window exists; the main window looks pages up by menu
// command and the control factory looks controls up by definition type.
#include <span>

#include "widgets/window/zvwindow.h"

struct CPageControlArgs;

// Builds the page of a command under the main window.
using PageMaker = CZVWindow* (*)(CZVWindow* parent, int command, CZVRect rect);
// Builds the widget of a control definition; null when it cannot.
using ControlMaker = CZVWindow* (*)(CPageControlArgs& args);

struct CPageMakerRow {
    int command;
    PageMaker make;
};

struct CControlMakerRow {
    int type;
    ControlMaker make;
    int steps;  // ControlSteps the factory applies around the maker
};

// Adds the rows; a row for a command or type already registered replaces
// the earlier one, so registering twice changes nothing.
void RegisterPageMakers(std::span<const CPageMakerRow> rows);
void RegisterControlMakers(std::span<const CControlMakerRow> rows);

// The registered maker of a command or type; null when none.
PageMaker FindPageMaker(int command);
const CControlMakerRow* FindControlMaker(int type);

// The unseen window that answers an incoming intercom call from a station
// under the main window, talking from the start; deleting it ends the talk.
// The intercom's library registers it.
using IntercomCallMaker = CZVWindow* (*)(CZVWindow* parent, int station);
// Replaces the maker; null removes it.
void RegisterIntercomCallMaker(IntercomCallMaker make);
// The registered maker; null when none.
IntercomCallMaker FindIntercomCallMaker();

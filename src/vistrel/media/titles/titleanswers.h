#pragma once
// What the titles browser reads from a media device's answers, and what the
// window and its list share: every answer starts with the device's object id;
// a title answer lists {id, unused, name}; a state answer gives the device's
// state and, per group, the title that group plays.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "gfx/zvdc.h"

class CZVWindow;

struct CTitleEntry {
    int32_t id = 0;
    std::string name;
};

// Reads the object id at the start; a message for another object (or none)
// is put back to its start for the next reader and 0 returned.
int ReadOwnObject(CZVMSG& message, int object);
// The titles of a title answer after its object id, as far as the message
// holds them; 0 when the list was cut (what was read is kept).
int ReadTitleEntries(CZVMSG& message, std::vector<CTitleEntry>* out);

struct CTitleState {
    int32_t state = 0;
    // The title the asked group plays; false when the answer has no entry for
    // that group (the caller keeps what it showed).
    bool hasGroup = false;
    int32_t current = 0;
};
// A state answer after its object id, for group; false when not even the
// state could be read.
bool ReadTitleState(CZVMSG& message, int group, CTitleState* out);

// The colour that marks the current title in the device's state: blue
// while 1001, green while 1002, yellow while 1004, else `other`.
COLORREF TitleStateColour(int state, COLORREF other);

// Repaints the window now, or once the main window takes input again.
void RepaintWhenFree(CZVWindow* window);

#pragma once
// Readers of the lighting messages into plain values, so that what the
// gateway sends can be checked without a window. Counted lists stop at the
// first record that is not whole and return 1 only when every counted record
// was read.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

// One button of a keypad description, in the gateway's keypad units.
struct CKeypadButtonRecord {
    int32_t tag = 0;  // the gateway's, carried as received
    std::string caption;
    int32_t kind = 0;  // 5 momentary, 6 momentary with LED, else click with LED
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t corner = 0;
    uint32_t face = 0;
    uint32_t colour = 0;  // the gateway's, carried as received
};

struct CKeypadRecord {
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    std::vector<CKeypadButtonRecord> buttons;
};

// One row of the keypad programming editor.
struct CKeypadEntryRecord {
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    std::string texts[3];
};

struct CLightingAreaRecord {
    int32_t id = 0;
    std::string name;
    int32_t flags = 0;
};

// An entry of a button grid: a control the factory makes.
struct CGridEntryRecord {
    int32_t id = 0;
    std::string text;
    int32_t type = 0;
};

struct CSceneDeviceRecord {
    std::string name;
    int32_t value = 0;
    int32_t flags = 0;
};

// ZVM_LIGHTS_GETKEYPADA: 0 when the outline or the count cannot be read;
// the buttons read before a short one are kept.
int ReadKeypad(CZVMSG& message, CKeypadRecord* out);
// ZVM_LIGHTS_GETKEYPADLEDSA and ZVM_LIGHTS_KEYPADLEDSCHANGED.
int ReadKeypadLeds(CZVMSG& message, std::vector<int32_t>* out);
// ZVM_LIGHTS_KEYPADENTRYCHANGED.
int ReadKeypadEntry(CZVMSG& message, CKeypadEntryRecord* out);
// Two values from the payload's start: a switch's {id, value}, a scene's
// {id, state}, a keypad item's binding {keypad, button}; the options of
// ZVM_LIGHTS_SWITCHVALUE are the first alone.
int ReadTwoValues(CZVMSG& message, int32_t* first, int32_t* second);
// ZVM_LIGHTS_GETAREASA.
int ReadLightingAreas(CZVMSG& message, std::vector<CLightingAreaRecord>* out);
// ZVM_LIGHTS_GETBUTTONGRIDA.
int ReadGridEntries(CZVMSG& message, std::vector<CGridEntryRecord>* out);
// ZVM_SCENES_GETDEVICESA.
int ReadSceneDevices(CZVMSG& message, std::vector<CSceneDeviceRecord>* out);

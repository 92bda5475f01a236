#pragma once
// The gateway messages of the lighting controls and pages: areas, keypads
// with their LEDs and programming, switches and dimmers, button grids,
// scenes and the buttons of gateway pages that go straight to the gateway.
// The picker lists of lighting commands are in schedulemessages.h.
#include <cstdint>

// Areas and keypads.
constexpr uint16_t ZVM_LIGHTS_KEYPADLEDSCHANGED = 0x0BB8;   // {n, n x LED state}
constexpr uint16_t ZVM_LIGHTS_KEYPADENTRYCHANGED = 0x0BB9;  // {a, b, c, 3 x string}
constexpr uint16_t ZVM_LIGHTS_SWITCHCHANGED = 0x0BBA;       // {switch id, value}
constexpr uint16_t ZVM_LIGHTS_SCENECHANGED = 0x0BBB;        // {scene id, state}
constexpr uint16_t ZVM_LIGHTS_GETAREASQ = 0x0BC2;
constexpr uint16_t ZVM_LIGHTS_GETAREASA = 0x0BC3;          // {n, n x {area id, name, flags}}
constexpr uint16_t ZVM_LIGHTS_GETKEYPADQ = 0x0BCA;         // {keypad id}
constexpr uint16_t ZVM_LIGHTS_GETKEYPADA = 0x0BCB;         // {l, r, t, b, n, n x button}
constexpr uint16_t ZVM_LIGHTS_KEYPADPRESS = 0x0BDE;        // {keypad, button}
constexpr uint16_t ZVM_LIGHTS_KEYPADHOLD = 0x0BE0;         // {keypad, button}
constexpr uint16_t ZVM_LIGHTS_KEYPADRELEASE = 0x0BE2;      // {keypad, button}
constexpr uint16_t ZVM_LIGHTS_SETKEYPADENTRIESQ = 0x0BE4;  // {keypad, button, n, n x {a, b, c}}
constexpr uint16_t ZVM_LIGHTS_KEYPADCLICK = 0x0BE6;        // {keypad, button}
constexpr uint16_t ZVM_LIGHTS_SAVECOMMANDQ = 0x0C08;       // {sink id}
constexpr uint16_t ZVM_LIGHTS_GETKEYPADENTRIESQ = 0x0C0A;
constexpr uint16_t ZVM_LIGHTS_REGISTERKEYPADQ = 0x0C12;    // {keypad, sink id}, sender 0
constexpr uint16_t ZVM_LIGHTS_UNREGISTERKEYPAD = 0x0C14;   // {keypad, sink id}, sender 0
constexpr uint16_t ZVM_LIGHTS_GETKEYPADLEDSQ = 0x0C16;     // {keypad}
constexpr uint16_t ZVM_LIGHTS_GETKEYPADLEDSA = 0x0C17;     // {n, n x LED state}
constexpr uint16_t ZVM_LIGHTS_GETBUTTONBINDINGQ = 0x0C18;  // {item, sink id}
constexpr uint16_t ZVM_LIGHTS_GETBUTTONBINDINGA = 0x0C19;  // {keypad, button}

// Switches and dimmers.
constexpr uint16_t ZVM_LIGHTS_REGISTERSWITCH = 0x0D10;    // {switch id, sink id}
constexpr uint16_t ZVM_LIGHTS_SWITCHVALUE = 0x0D11;       // {options}
constexpr uint16_t ZVM_LIGHTS_UNREGISTERSWITCH = 0x0D12;  // {sink id}
constexpr uint16_t ZVM_LIGHTS_GETSWITCHQ = 0x0D14;        // {switch id}
constexpr uint16_t ZVM_LIGHTS_GETSWITCHA = 0x0D15;        // {switch id, value}
constexpr uint16_t ZVM_LIGHTS_SETSWITCH = 0x0D16;         // {switch id, value}

// Button grids.
constexpr uint16_t ZVM_LIGHTS_GETBUTTONGRIDQ = 0x0D1C;  // {parameter}
constexpr uint16_t ZVM_LIGHTS_GETBUTTONGRIDA = 0x0D1D;  // {n, n x {id, text, control type}}

// Scenes.
constexpr uint16_t ZVM_SCENES_GETSCENEQ = 0x0D50;       // {scene id}
constexpr uint16_t ZVM_SCENES_GETSCENEA = 0x0D51;       // {scene id, state}
constexpr uint16_t ZVM_SCENES_ACTIVATE = 0x0D52;        // {scene id}, sender 0
constexpr uint16_t ZVM_SCENES_GETDEVICESQ = 0x0D54;     // {scene id}
constexpr uint16_t ZVM_SCENES_GETDEVICESA = 0x0D55;     // {n, n x {name, value, flags}}
constexpr uint16_t ZVM_SCENES_ADDDEVICE = 0x0D56;       // {scene id, device id, 0}
constexpr uint16_t ZVM_SCENES_CLEAR = 0x0D58;           // {scene id, row}, sender 0
constexpr uint16_t ZVM_SCENES_SETDEVICELEVEL = 0x0D5A;  // {scene id, row, value}, sender 0

// Buttons of gateway pages.
constexpr uint16_t ZVM_UI_SETONOFF = 0x276A;  // {0, command id, 1 on / 0 off}, sender 0

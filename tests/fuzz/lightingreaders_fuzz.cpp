// Feeds arbitrary payloads to the readers of the lighting messages: the
// keypad description, the LED lists, the editor rows, the two-value
// messages of switches, scenes and bindings, the button grid, the areas,
// every device and the scene's devices.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/lightingmessages.h"
#include "core/messages/schedulemessages.h"
#include "readerfuzz.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/home/schedule/schedulereaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CKeypadRecord keypad;
    std::vector<int32_t> leds;
    CKeypadEntryRecord entry;
    int32_t first = 0, second = 0;
    const auto readTwoValues = [&](CZVMSG& m) { ReadTwoValues(m, &first, &second); };
    std::vector<CGridEntryRecord> grid;
    std::vector<CLightingAreaRecord> areas;
    std::vector<CLightItemRecord> devices;
    std::vector<CSceneDeviceRecord> sceneDevices;
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_LIGHTS_GETKEYPADA, [&](CZVMSG& m) { ReadKeypad(m, &keypad); }},
                                    {ZVM_LIGHTS_GETKEYPADLEDSA, [&](CZVMSG& m) { ReadKeypadLeds(m, &leds); }},
                                    {ZVM_LIGHTS_KEYPADLEDSCHANGED, [&](CZVMSG& m) { ReadKeypadLeds(m, &leds); }},
                                    {ZVM_LIGHTS_KEYPADENTRYCHANGED, [&](CZVMSG& m) { ReadKeypadEntry(m, &entry); }},
                                    {ZVM_LIGHTS_GETSWITCHA, readTwoValues},
                                    {ZVM_LIGHTS_SWITCHCHANGED, readTwoValues},
                                    {ZVM_LIGHTS_SWITCHVALUE, readTwoValues},
                                    {ZVM_SCENES_GETSCENEA, readTwoValues},
                                    {ZVM_LIGHTS_SCENECHANGED, readTwoValues},
                                    {ZVM_LIGHTS_GETBUTTONBINDINGA, readTwoValues},
                                    {ZVM_LIGHTS_GETBUTTONGRIDA, [&](CZVMSG& m) { ReadGridEntries(m, &grid); }},
                                    {ZVM_LIGHTS_GETAREASA, [&](CZVMSG& m) { ReadLightingAreas(m, &areas); }},
                                    {ZVM_LIGHTS_GETDEVICESA, [&](CZVMSG& m) { ReadLightItems(m, &devices); }},
                                    {ZVM_SCENES_GETDEVICESA, [&](CZVMSG& m) { ReadSceneDevices(m, &sceneDevices); }},
                                });
}

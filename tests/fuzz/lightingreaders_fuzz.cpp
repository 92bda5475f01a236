// Feeds arbitrary payloads to the readers of the lighting messages: the
// keypad description, the LED lists, the editor rows, the two-value
// messages of switches, scenes and bindings, the button grid, the areas,
// every device and the scene's devices.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/messages/lightingmessages.h"
#include "core/messages/schedulemessages.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/home/schedule/schedulereaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    CKeypadRecord keypad;
    ReadKeypad(*Payload(ZVM_LIGHTS_GETKEYPADA, data, size), &keypad);
    std::vector<int32_t> leds;
    ReadKeypadLeds(*Payload(ZVM_LIGHTS_GETKEYPADLEDSA, data, size), &leds);
    ReadKeypadLeds(*Payload(ZVM_LIGHTS_KEYPADLEDSCHANGED, data, size), &leds);
    CKeypadEntryRecord entry;
    ReadKeypadEntry(*Payload(ZVM_LIGHTS_KEYPADENTRYCHANGED, data, size), &entry);
    int32_t first = 0, second = 0;
    for (uint16_t id : {ZVM_LIGHTS_GETSWITCHA, ZVM_LIGHTS_SWITCHCHANGED, ZVM_LIGHTS_SWITCHVALUE, ZVM_SCENES_GETSCENEA,
                        ZVM_LIGHTS_SCENECHANGED, ZVM_LIGHTS_GETBUTTONBINDINGA})
        ReadTwoValues(*Payload(id, data, size), &first, &second);
    std::vector<CGridEntryRecord> grid;
    ReadGridEntries(*Payload(ZVM_LIGHTS_GETBUTTONGRIDA, data, size), &grid);
    std::vector<CLightingAreaRecord> areas;
    ReadLightingAreas(*Payload(ZVM_LIGHTS_GETAREASA, data, size), &areas);
    std::vector<CLightItemRecord> devices;
    ReadLightItems(*Payload(ZVM_LIGHTS_GETDEVICESA, data, size), &devices);
    std::vector<CSceneDeviceRecord> sceneDevices;
    ReadSceneDevices(*Payload(ZVM_SCENES_GETDEVICESA, data, size), &sceneDevices);
    return 0;
}

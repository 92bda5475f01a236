#pragma once
// The sample house's lighting as it runs: the keypads' registered sinks and
// LEDs, which a press lights; the keypad programming editor's rows; the
// switches' values; the custom scene with its devices.
namespace samplegateway {

class Gateway;
class House;

// Starts from the house's keypad, device and scene answers.
void ServeLighting(Gateway& gateway, const House& house);

}  // namespace samplegateway

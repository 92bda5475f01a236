#pragma once
// The sample house's alarm system: two partitions ("House" with a keypad
// and bypassing, "Garage" with a keypad only), their live status, arming
// with any code, zone bypass, the subscribers told of every change, the
// zone names and a history of armed nights, one short alarm and doors
// opening for any range a client asks for.
namespace samplegateway {

class Gateway;

void ServeSecurity(Gateway& gateway);

}  // namespace samplegateway

#pragma once
// The sample gateway's on/off objects behind the tablet's toggle buttons:
// a state asked for is answered, a state set is kept and told to every sink.
namespace samplegateway {

class Gateway;

void ServeToggles(Gateway& gateway);

}  // namespace samplegateway

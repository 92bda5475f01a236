#pragma once
// The sample gateway's on/off objects behind the tablet's toggle buttons:
// a state asked for is answered, a state set is kept and told to every sink.
namespace samplegateway {

class Gateway;

void ServeToggles(Gateway& gateway);

// The check buttons' objects: a state asked for is answered off, a state
// set is told to every sink, a device's state set comes back as its notice,
// and a press is taken without answer.
void ServeCheckStates(Gateway& gateway);

}  // namespace samplegateway

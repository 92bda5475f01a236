#pragma once
// The sample house's pool controller as it runs: the status follows the
// circuit switches, set points and heat modes that clients send, and each
// change is pushed to the client's subscribed sink.
namespace samplegateway {

class Gateway;
class House;

// Serves the status from a copy of the house that the writes change.
void ServePool(Gateway& gateway, const House& house);

}  // namespace samplegateway

#pragma once
// The sample pool's history: for any range a client asks for, the outside
// air and both bodies' temperatures every half hour on daily curves, and
// the equipment's daily running times, so that every window shows data.
namespace samplegateway {

class Gateway;

// Answers the history request with the history of the range asked for.
void ServePoolHistory(Gateway& gateway);

}  // namespace samplegateway

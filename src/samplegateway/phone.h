#pragma once
// The sample house's answering machine: the rings and call screening, the
// greeting (a three-second tone until one is recorded, then the recording),
// the call log (six calls over three days, one caller without a name),
// mailbox voice mail (three new messages and two old ones, each with its
// audio, the separator beep between messages, deleting, marking new, and
// messages recorded on the tablet), and a call on request: the caller's
// number and name, a few seconds of call audio, then the end of the call.
namespace samplegateway {

class Gateway;
class Pacer;

void ServePhone(Gateway& gateway, Pacer& pacer);
// A call comes in at the gateway served by ServePhone (the "call" cue of the
// program's standard input, or a test); false when it serves no phone.
bool RingPhone(Gateway& gateway);

}  // namespace samplegateway

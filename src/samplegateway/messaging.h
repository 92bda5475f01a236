#pragma once
// The sample house's messaging: the sources the Messages page shows (the
// answering machine "Voice Mail", the message boxes "Email" and "Family",
// and the "Intercom" panel), each box's messages with their read state, the
// bodies (text, and for two messages a picture and an attachment), "Check
// Now" bringing a new message, and the tab icon of a box that got one.
namespace samplegateway {

class Gateway;

void ServeMessaging(Gateway& gateway);

}  // namespace samplegateway

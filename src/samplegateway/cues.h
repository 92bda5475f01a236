#pragma once
// What the sample gateway does on cue, for trying the tablet by hand: it
// offers a program file as the tablet's update, and takes commands typed on
// its standard input:
//   update        asks the tablet to update itself now
//   web <url>     opens the tablet's web page on the address
//   push <id> <field>...
//                 pushes the message to every sink; each field is a number
//                 (an i32, decimal or 0x...) or a "quoted" string, as in
//                 push 0x0078 "Kitchen"
//   intercom      rings the tablet from the intercom's Kitchen for ten seconds
//   call          a call comes in at the answering machine
#include <string>

namespace samplegateway {

class Gateway;

// Serves the file on the tablet's program request, in chunks of 64 KB;
// false when it cannot be read.
bool OfferProgramUpdate(Gateway& gateway, const std::string& path);
// Runs one typed command; false when it is not one.
bool RunCue(Gateway& gateway, const std::string& line);

}  // namespace samplegateway

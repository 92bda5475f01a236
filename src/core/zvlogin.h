#pragma once
// The pieces of the remote login that do not touch a socket: the address server's request and
// the reading of its answer, the field splitter, the client names, the arguments that hand a
// remote login to another program, and the progress lines, which go to an optional status sink.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/statussink.h"
#include "core/zvvariant.h"

// Progress line for a status sink that may be null.
void ZVStatus(CStatusSink* status, const std::string& text);
// Whether to go on: true without a status sink.
bool ZVContinue(CStatusSink* status);

// Takes the next field off the front of `text`: the part before the first separator, which the
// text then loses together with the separator. Without a separator the field is the whole text
// and the text stays, so that further calls repeat the last field. Returns 1.
int SplitField(std::string& field, char separator, std::string& text);

// The name a remote client logs in with, by client type (-1 counts as 0).
const char* ZVClientName(ZVVariant variant, int clientType);

// The window title every program of the suite starts another with.
inline constexpr char kTitleArgument[] = "/TITLE:Marquel";
// The arguments that start a program signed in remotely: "/R", the user and the password,
// each whole in one argument, and the title.
std::vector<std::string> RemoteLoginArguments(const std::string& user, const std::string& password);

// The address server's HTTP/1.0 request, sent as two texts.
std::string AddressServerHeader(const std::string& host, size_t bodyLength);
std::string AddressServerBody(const std::string& systemName);

// The answer is gathered in a buffer of this size, one byte of it kept for a terminator.
constexpr size_t kAddressAnswerSize = 2000;
constexpr size_t kAddressAnswerRoom = kAddressAnswerSize - 1;

// True once the answer holds its whole head and as many body bytes as its Content-Length
// announces. Without that header only the server's close completes the answer.
bool AddressAnswerComplete(std::string_view answer);

// What the address server says of a system.
struct ZVSystemLocation {
    std::string address;  // dotted quad
    std::string port;     // decimal
    std::string challenge;
};

// Reads a complete answer for the system asked for: a "200 OK" status, a head ended by an
// empty line, and a body of "|"-separated fields whose second names the system. With
// `alternative` the second address and port are taken. Reports what went wrong to the status
// sink; 1 with `location` filled, or 0 with it untouched.
int ParseAddressAnswer(std::string_view answer, const std::string& systemName, int alternative,
                       ZVSystemLocation* location, CStatusSink* status);

#pragma once
// The gateway's framing under the fakes' names: the sample gateway's own reading of the wire
// format, which the tests hold the core's messages against.
#include "samplegateway/requestvalues.h"
#include "samplegateway/wire.h"

namespace testsupport {

using samplegateway::Bytes;
using samplegateway::EncodeFrame;
using samplegateway::EncodeHeader;
using samplegateway::Frame;
using samplegateway::FrameDecoder;
using samplegateway::IntsOf;
using samplegateway::Join;
using samplegateway::kEverySink;
using samplegateway::kHeaderSize;
using samplegateway::PayloadReader;
using samplegateway::PayloadWriter;

}  // namespace testsupport

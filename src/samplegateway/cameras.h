#pragma once
// The sample house's cameras. Camera 1 sends its pictures as four JPEG tiles, camera 2 as whole
// JPEG pictures (every tenth one turned, 0x17BD, to be shown turned back), camera 3 the
// 352 x 240 MPEG-2 pictures in a loop, the first chunk with a reset. A stream started (0x1782)
// for a window runs until it is stopped (0x1786): ten pictures a second at the size asked,
// never more than two pictures unacknowledged (0x1771); the MPEG-2 stream in 5000-byte chunks at
// its own rate, paused while the window's buffer reports more than 60000 bytes (0x17BB). The
// camera's sound (0x179D) is a tone until it is stopped (0x179F); camera moves are answered
// 300 ms after the pacer's step that saw them. What starts is timed from that step too.
// Camera 1 turns to the position an XY pad or an axis sends (0x17B5, 0x17B7) and every window of
// it hears its new capabilities (0x17BA, also the answer to 0x17B9); the -/+ and preset buttons
// (0x17B1, 0x17B3) are taken without an effect; a quality chosen (0x178F) marks the camera's tiles
// from then on. The recorder's stream 300 sends whole JPEG pictures as camera 2 does.
#include <cstdint>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class Pacer;

constexpr int kTiledCamera = 1;
constexpr int kJpegCamera = 2;
constexpr int kMpegCamera = 3;
// The recorder's playback stream, whose pictures come as camera 2's do.
constexpr int kDvrStream = 300;
constexpr uint32_t kPictureMs = 100;
constexpr int kMaxUnacknowledgedPictures = 2;
constexpr int kMpegChunkSize = 5000;
constexpr int kMpegPauseLevel = 60000;
constexpr uint32_t kCameraMoveMs = 300;
constexpr int32_t kZoomRectCapability = 0x400;

// Camera's picture number n as RGB rows, width x height.
Bytes CameraPicture(int camera, int number, int width, int height);

void ServeCameras(Gateway& gateway, Pacer& pacer);

}  // namespace samplegateway

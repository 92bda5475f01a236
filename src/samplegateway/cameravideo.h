#pragma once
// The sample cameras' MPEG-2 pictures, built into the program from video/ (made once by
// video/make_camera_video.py): two seconds of moving bars, the frame number and red, green and
// blue blocks at the top left, with I, P and B pictures.
#include <cstdint>
#include <span>

namespace samplegateway {

// 352 x 240 at 29.97 pictures a second.
std::span<const uint8_t> CameraVideo352x240();
// 176 x 144 at 25 pictures a second.
std::span<const uint8_t> CameraVideo176x144();

}  // namespace samplegateway

#pragma once
// The idle screen's pictures: the gateway's logo and a slideshow of three
// pictures, all made by the program itself (JPEG slides, a PNG logo).
#include <cstdint>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

// The RGB rows (3 bytes a pixel) as a JPEG picture.
Bytes EncodeJpeg(int width, int height, const Bytes& rgb);
// Slide number (0, 1 or 2) as a JPEG picture of width x height.
Bytes SlidePicture(int number, int width, int height);
// The logo, a small PNG picture.
Bytes LogoPicture();
// Answers the slide requests {sink, width, height, direction} with the
// pictures in turn, each fitted into the tablet's window, and the logo request.
void ServeSlides(Gateway& gateway);

}  // namespace samplegateway

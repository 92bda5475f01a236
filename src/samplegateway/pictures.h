#pragma once
// The sample house's pictures: the vector icons of the tablet's menu entries by name (0x239C),
// in the form of the tablet's look, and the garden photo of the home page (0x238E, 0x23A8).
// A name the house does not have is answered with 0x1F, so the tablet stops waiting for it.
#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

void ServePictures(Gateway& gateway, bool themed);

// The garden photo, a small PNG file.
Bytes GardenPicture();

}  // namespace samplegateway

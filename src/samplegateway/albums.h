#pragma once
// The sample house's picture albums: the tree itself is an answer of the house file; every
// picture of it is made at the size asked for, coloured by its album and striped by its
// place in the album, and sent to the asking sink as a JPEG picture.
#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

// Picture index of album id as a JPEG picture of width x height.
Bytes AlbumPicture(int album, int index, int width, int height);
void ServeAlbums(Gateway& gateway);

}  // namespace samplegateway

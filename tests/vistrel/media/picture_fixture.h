#pragma once
// Picture albums for the tests of the grid, the viewer and the page: a tree
// read from a record, flat JPEG pictures, and answers handed straight to items.
#include <string>
#include <vector>

#include "core/messages/shellmessages.h"
#include "gfx/picture_files.h"
#include "vistrel/media/pictures/picturefolder.h"
#include "widgets/gateway_tree.h"

namespace picturetest {

// A folder record in the gateway's layout.
struct Album {
    int32_t id;
    std::string name;
    std::vector<std::string> pictures;
    std::vector<Album> subAlbums;
};

inline void WriteAlbum(CZVMSG& message, const Album& album) {
    message.WriteInt(album.id);
    message.WriteString(album.name);
    message.WriteInt(static_cast<int32_t>(album.pictures.size()));
    for (const std::string& name : album.pictures) message.WriteString(name);
    message.WriteInt(static_cast<int32_t>(album.subAlbums.size()));
    for (const Album& sub : album.subAlbums) WriteAlbum(message, sub);
}

inline void ReadAlbum(CPictureFolder& folder, const Album& album) {
    CZVMSG message(0, ZVM_PICTURES_GETSUMMARYA);
    WriteAlbum(message, album);
    message.ResetPosition();
    folder.Read(&message);
}

inline std::vector<uint8_t> FlatJpeg(int w, int h, uint8_t r = 0x80, uint8_t g = 0x80, uint8_t b = 0x80) {
    pictures::JpegSpec spec;
    spec.width = w;
    spec.height = h;
    spec.samples.reserve(static_cast<size_t>(w * h * 3));
    for (int i = 0; i < w * h; ++i) spec.samples.insert(spec.samples.end(), {r, g, b});
    return pictures::MakeJpeg(spec);
}

// An answer 0x2AF8 {w, h, JPEG} to the item.
inline void Answer(CPictureItem* item, int32_t w, int32_t h, const std::vector<uint8_t>& jpeg) {
    CZVMSG message(item->GetId(), ZVM_PICTURES_PICTURE);
    message.WriteInt(w);
    message.WriteInt(h);
    if (!jpeg.empty()) message.WriteBytes(jpeg.data(), static_cast<int32_t>(jpeg.size()));
    message.ResetPosition();
    item->OnMessage(&message);
}

// Answers every item of the folder that waits with a w x h picture, a shade
// of its own for each; returns how many were answered.
inline int AnswerPending(CPictureFolder& folder, int w, int h) {
    int answered = 0;
    for (int i = 0; i < folder.GetPictureCount(); ++i) {
        CPictureItem* item = folder.GetPicture(i);
        if (item->GetPending() == kPictureNone) continue;
        Answer(item, w, h, FlatJpeg(w, h, static_cast<uint8_t>(40 + 50 * (i % 4)), 140, 90));
        ++answered;
    }
    return answered;
}

}  // namespace picturetest

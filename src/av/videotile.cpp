#include "av/videotile.h"

#include <algorithm>
#include <cstdlib>

#include "core/zvmsg.h"
#include "gfx/jpegdecode.h"

namespace {

bool FitsInt(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

}  // namespace

int ReadVideoTile(CZVMSG* message, CVideoTile* tile) {
    int32_t* fields[] = {&tile->quality, &tile->scale, &tile->frame, &tile->x,
                         &tile->y,       &tile->w,     &tile->h,     &tile->flags};
    for (int32_t* field : fields)
        if (!message->ReadInt(*field)) return 0;
    tile->jpegSize = message->GetRemaining();
    tile->jpeg = tile->jpegSize > 0 ? message->GetUnread() : nullptr;
    return 1;
}

int PlaceVideoTile(const CVideoTile& tile, int pictureWidth, int pictureHeight, int bufferWidth, int bufferHeight,
                   CZVRect* rect, int* scale) {
    if (tile.scale < 1) return 0;
    int64_t x = int64_t{tile.x} * tile.scale;
    int64_t y = int64_t{tile.y} * tile.scale;
    const int64_t w = int64_t{tile.w} * tile.scale;
    const int64_t h = int64_t{tile.h} * tile.scale;
    int turned = tile.scale;
    if (tile.flags & CVideoTile::kFlagTurned) {
        turned = -tile.scale;
        x = pictureWidth - w - x;
        y = pictureHeight - h - y;
    }
    if (w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > bufferWidth || y + h > bufferHeight) return 0;
    if (!FitsInt(x) || !FitsInt(y)) return 0;
    *rect = CZVRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h));
    *scale = turned;
    return 1;
}

int DecodeVideoTile(const CVideoTile& tile, const CZVRect& rect, int scale, uint16_t* buffer, int bufferWidth,
                    int bufferHeight) {
    if (!tile.jpeg) return 0;
    int width = 0;
    int height = 0;
    if (!ReadJpegSize(tile.jpeg, static_cast<size_t>(tile.jpegSize), &width, &height)) return 0;
    const int64_t magnified = std::abs(int64_t{scale});
    if (int64_t{width} * magnified != rect.w || int64_t{height} * magnified != rect.h) return 0;
    return DecodeJpegToRgb565(tile.jpeg, static_cast<size_t>(tile.jpegSize), buffer, scale, rect.x, rect.y, bufferWidth,
                              bufferHeight, nullptr, nullptr);
}

int ReadMpegChunk(CZVMSG* message, CMpegChunk* chunk) {
    *chunk = CMpegChunk();
    message->ReadInt(chunk->reset) && message->ReadInt(chunk->length) && message->ReadInt(chunk->flags);
    if (chunk->length < 0) return 0;
    chunk->size = std::min(chunk->length, message->GetRemaining());
    chunk->bytes = chunk->size > 0 ? message->GetUnread() : nullptr;
    return 1;
}

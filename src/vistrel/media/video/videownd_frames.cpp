// The video window's picture pipeline: tiles, whole JPEG pictures and the
// MPEG-2 stream into the back buffer, paced to the idle tick, and the copy
// of the back buffer to the screen.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "av/videotile.h"
#include "core/messages/mediamessages.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "platform/clock.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/media/video/videownd.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kWideSource = 320;
constexpr int kWidePicture = 640;

size_t PixelCount(int w, int h) { return static_cast<size_t>(w) * static_cast<size_t>(h); }

}  // namespace

void CVideoWnd::DrawTile(CZVMSG* message) {
    if (m_stopPending || !m_back) return;
    CVideoTile tile;
    if (!ReadVideoTile(message, &tile)) return;
    CZVRect rect;
    int scale = 0;
    const int bw = m_back->GetWidth();
    const int bh = m_back->GetHeight();
    if (!PlaceVideoTile(tile, m_pictureWidth, m_pictureHeight, bw, bh, &rect, &scale)) return;
    if (!DecodeVideoTile(tile, rect, scale, m_back->GetBits(), bw, bh)) return;
    if (m_clean && m_blender) {
        m_clean->BitBlt(rect.x, rect.y, m_back.get(), rect.x, rect.y, rect.w, rect.h);
        m_blender->Apply(m_back.get(), rect.x, rect.y, rect.w, rect.h);
    }
    CZVDC dc(this);
    Present(&dc, rect.x, rect.y, rect.w, rect.h);
    SetQualityLevel(tile.quality);
}

void CVideoWnd::DrawJpegFrame(CZVMSG* message, int rotated) {
    const uint8_t* data = message->GetUnread();
    const int size = message->GetRemaining();
    int w = 0;
    int h = 0;
    if (!data || !ReadJpegSize(data, static_cast<size_t>(size), &w, &h) || !WithinPictureLimits(w, h)) return;
    if (w != m_lastWidth || h != m_lastHeight || m_lastPicture.empty()) {
        m_lastPicture.assign(PixelCount(w, h), 0);
        m_lastWidth = w;
        m_lastHeight = h;
    }
    if (!DecodeJpeg(data, static_cast<size_t>(size), m_lastPicture.data(), w, h, rotated ? -1 : 1)) return;
    CZVDC dc(this);
    DrawFrame(&dc, m_lastPicture.data(), w, h, w);
    SetQualityLevel(w >= kWidePicture ? 2 : w >= kWideSource ? 1 : 0);
}

void CVideoWnd::FeedMpeg(CZVMSG* message) {
    if (!m_decoder) m_decoder = std::make_unique<CMpegDecoder>();
    CMpegChunk chunk;
    const int accepted = ReadMpegChunk(message, &chunk);
    m_dropB = chunk.flags & CMpegChunk::kFlagDropB;
    SetQualityLevel(chunk.flags >> 8);
    if (!accepted) return;
    if (chunk.reset) {
        m_stream.Reset();
        m_decoder->Reset();
    }
    if (chunk.size > m_stream.GetFree()) {
        CZVDC dc(this);
        while (m_stream.GetFill() > CMpegDecoder::kFeedSize)
            if (!DecodeStep(&dc, 1)) break;
    }
    if (m_stream.GetFill() == 0) m_stream.Reset();
    m_stream.Append(chunk.bytes, chunk.size);
}

int CVideoWnd::DecodeStep(CZVDC* dc, int behind) {
    if (!m_decoder || m_stream.GetFill() < CMpegDecoder::kFeedSize) return 0;
    const int before = m_stream.GetFill();
    CMpegPicture picture;
    if (!m_decoder->Decode(m_stream, !m_shown, behind != 0, &picture)) return m_stream.GetFill() != before;
    if ((m_cachedSourceWidth >= kWideSource) != (picture.width >= kWideSource))
        SetQualityLevel(picture.width < kWideSource ? 0 : 2);
    if (m_turned) {
        TurnHalf(picture.pixels, picture.width, picture.height, picture.stride, m_turnBuffer);
        DrawFrame(dc, m_turnBuffer.data(), picture.width, picture.height, picture.width);
    } else {
        DrawFrame(dc, picture.pixels, picture.width, picture.height, picture.stride);
    }
    return 1;
}

int CVideoWnd::OnIdle(int busy) {
    if (m_stream.GetFill() < CMpegDecoder::kFeedSize) return CZVWindow::OnIdle(busy);
    const uint64_t now = platform::GetCounter();
    if (now - m_lastIdle < m_idleInterval) return 1;
    const bool wasSkipping = m_skipCounter > 0;
    if (wasSkipping)
        --m_skipCounter;
    else
        m_skipCounter = m_stream.GetFill() > kSkipStep ? (m_stream.GetFill() - kSkipStep) / kSkipStep : 0;
    const bool behind = wasSkipping || m_dropB || g_videoThrottle ||
                        platform::TicksSince(m_throttleTick) < static_cast<uint32_t>(kThrottleMs);
    const int before = m_stream.GetFill();
    CZVDC dc(this);
    DecodeStep(&dc, behind);
    if (m_stream.GetFill() != before) SendToGateway(ZVM_VIDEO_BUFFERLEVEL, {m_stream.GetFill()}, GetId());
    m_lastIdle = now;
    return 1;
}

bool CVideoWnd::IsSelecting() const {
    return m_dragActive && m_dragHalfWidth > kMinDragExtent && m_dragHalfHeight > kMinDragExtent;
}

CZVRect CVideoWnd::GetSelectionRect(int w, int h) const {
    const int64_t ww = std::max(1, m_width);
    const int64_t wh = std::max(1, m_height);
    auto clampX = [w](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, w - 1)); };
    auto clampY = [h](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, h - 1)); };
    const int left = clampX(int64_t{m_dragX - m_dragHalfWidth} * w / ww);
    const int top = clampY(int64_t{m_dragY - m_dragHalfHeight} * h / wh);
    const int right = clampX(int64_t{w} * (m_dragX + m_dragHalfWidth) / ww);
    const int bottom = clampY(int64_t{h} * (m_dragY + m_dragHalfHeight) / wh);
    return CZVRect(left, top, right - left + 1, bottom - top + 1);
}

void CVideoWnd::Highlight(uint16_t* pixels, int w, int h, int stride) const {
    const CZVRect r = GetSelectionRect(w, h);
    for (int y = r.y; y < r.y + r.h - 1; ++y) {
        uint16_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
        for (int x = r.x; x < r.x + r.w; ++x) {
            const int green = std::min(63, ((row[x] >> 5) & 0x3F) * 2);
            row[x] = static_cast<uint16_t>((row[x] & 0xF81F) | green << 5);
        }
    }
}

void CVideoWnd::DrawFrame(CZVDC* dc, const uint16_t* pixels, int sw, int sh, int stride) {
    if (!m_shown || !m_drawingEnabled || sw <= 0 || sh <= 0) return;
    std::vector<uint16_t> highlighted;
    if (IsSelecting()) {
        highlighted.resize(PixelCount(sw, sh));
        for (int y = 0; y < sh; ++y)
            std::memcpy(&highlighted[PixelCount(sw, y)], pixels + static_cast<ptrdiff_t>(y) * stride,
                        sizeof(uint16_t) * static_cast<size_t>(sw));
        Highlight(highlighted.data(), sw, sh, sw);
        pixels = highlighted.data();
        stride = sw;
    }
    m_cachedSourceWidth = sw;
    // At most one picture on the screen per minimum draw interval.
    uint64_t now = platform::GetCounter();
    while (now - m_lastDraw < m_drawInterval) {
        platform::Sleep(1);
        now = platform::GetCounter();
    }
    m_lastDraw = now;
    const int bw = m_back->GetWidth();
    const int bh = m_back->GetHeight();
    m_scaler.Scale(pixels, sw, sh, stride, m_back->GetBits(), bw, bh, m_back->GetWidth());
    ForEachChild(m_children, [this](CZVWindow* child) {
        ReapplyOverlays(child->ToRootX(0) - ToRootX(0), child->ToRootY(0) - ToRootY(0), child->GetWidth(),
                        child->GetHeight());
    });
    Present(dc, 0, 0, bw, bh);
}

void CVideoWnd::Present(CZVDC* dc, int sx, int sy, int w, int h) {
    int dx = m_margin - m_panPosition + sx;
    const int dy = m_margin + sy;
    if (dx < m_margin) {
        const int cut = m_margin - dx;
        w -= cut;
        sx += cut;
        dx = m_margin;
    }
    const int area = m_width - 2 * m_margin;
    if (sx - m_panPosition + w > area) w = area + m_panPosition - sx;
    if (w <= 0 || !m_shown) return;
    if (!IsSelecting()) {
        dc->BitBlt(dx, dy, m_back.get(), sx, sy, w, h);
        return;
    }
    std::unique_ptr<CDibDC> clone(m_back->Clone());
    Highlight(clone->GetBits(), clone->GetWidth(), clone->GetHeight(), clone->GetWidth());
    dc->BitBlt(dx, dy, clone.get(), sx, sy, w, h);
}

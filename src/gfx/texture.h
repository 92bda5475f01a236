#pragma once
// CTexture: a gateway picture laid under the tablet's surfaces. In luminance
// mode its brightness becomes a map that lightens or darkens every colour
// drawn over it (stone, wood, fabric); in skin mode the colour picture itself
// is kept at screen size for the skin operations, together with the skinned
// fills made from it. Both are stretched to the main window, so that a
// screen position always takes the same part of the picture.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/zvoblist.h"
#include "gfx/speed.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CDibDC;
class CSpanList;
class CZVDC;
class CZVImage;
class CZVServer;

// A cached rendering of a texture, kept under two keys.
class CTexturePiece {
public:
    CTexturePiece(int key1, int key2, CDibDC* surface);
    virtual ~CTexturePiece();

    std::unique_ptr<CDibDC> surface;
    int key1;
    int key2;
};

class CTexture {
public:
    enum { kLuminance = 0, kSkin = 1 };
    // The map value that leaves a colour as it is.
    static constexpr int kNeutral = 175;

    CTexture(CZVServer& server, int mode);
    virtual ~CTexture();
    CTexture(const CTexture&) = delete;
    CTexture& operator=(const CTexture&) = delete;

    // The main window's size, to which the picture is stretched; 0 leaves
    // the picture at its own size.
    void SetScreenSize(int width, int height);
    // Asks for the picture of this name (kept when it is the same and both
    // picture and map are there). An empty name leaves the texture empty.
    void SetImage(CZVString name);
    // 1 when the texture can be used. The first call may block while the
    // picture is fetched; once a fetch has failed, later calls only take a
    // picture that has arrived since.
    int Prepare();
    // The picture enlarged to the screen size; null without one.
    CDibDC* GetScreenImage();

    // dst = src modulated by the map read from (texX, texY) for the area's
    // top-left; the area is src, or the clip within it.
    void Apply(CDibDC* src, CDibDC* dst, int texX, int texY, const CZVRect* clip);
    // Modulates the surface in place along the spans, the map read at
    // (x, y) plus each span's position.
    void ApplySpans(CDibDC* surface, int x, int y, const CSpanList* spans);
    // Fills the rectangle with the colour modulated at its screen position.
    void FillRect(CZVDC* dc, int x, int y, int w, int h, COLORREF colour);

    CDibDC* FindPiece(int key1, int key2);
    // Ownership passes; a key pair already present keeps the first piece
    // (and the surface given is deleted). 1 when added.
    int AddPiece(int key1, int key2, CDibDC* surface);
    void ClearPieces();
    int GetPieceCount() const { return m_pieces.GetCount(); }

    // One colour through one map value.
    uint16_t Modulate(uint16_t pixel, uint8_t t) const;

    int GetMode() const { return m_mode; }
    const CZVString& GetName() const { return m_name; }
    int GetMapWidth() const { return m_mapWidth; }
    int GetMapHeight() const { return m_mapHeight; }
    const uint8_t* GetMap() const { return m_map.empty() ? nullptr : m_map.data(); }
    CZVImage* GetImage() const { return m_image.get(); }

private:
    // The picture at the given enlargement, waiting for it only while no
    // fetch has failed yet.
    CDibDC* Fetch(int w, int h);
    void MakeMap(CDibDC* picture);
    void StretchMap();
    // The map value at (x, y), both clamped into the map.
    uint8_t MapAt(int x, int y) const;
    // Modulates n pixels of a row (step apart), the map read from (mx, my).
    void ModulateRun(const uint16_t* from, uint16_t* to, int n, int mx, int my, int step, bool vertical) const;

    CZVServer* m_server;
    std::vector<uint8_t> m_map;
    int m_mapWidth = 0;
    int m_mapHeight = 0;
    std::unique_ptr<CZVImage> m_image;
    std::array<uint8_t, 768> m_clamp{};
    CZVString m_name;
    int m_mode;
    CZVObList m_pieces;  // CTexturePiece*, owned
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_fetchFailed = 0;
};

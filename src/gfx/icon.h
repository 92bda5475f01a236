#pragma once
// Icons of buttons, list rows and tabs: vector drawings (filled shapes in
// abstract units, scaled to the box they are drawn into) or small GIF, JPEG
// or PNG pictures. They are built in (stock drawings) or described by the
// gateway on request by name. The icon cache shares every named icon and
// every gateway picture; widgets keep copies of a named icon that point back
// to the shared one, which asks the gateway once and fills the copies in
// when its answer arrives, and which keeps the copies' last renderings; an
// icon without a source keeps its own, until its shapes change.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/messages/toolkitmessages.h"
#include "core/zvoblist.h"
#include "core/zvserver.h"
#include "gfx/speed.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CDibDC;
class CPaintWindow;
class CZVDC;
class CZVImage;

// What an icon asks of the window tree, which lives further up. The toolkit
// installs its object; until then nothing is repainted.
class CIconHost {
public:
    virtual ~CIconHost() = default;
    // The icon that the window drew while it was loading has arrived: the
    // window draws it now. The window may have been deleted since: it must be
    // looked for in the tree, never reached through itself.
    virtual void RepaintOwner(CPaintWindow* /*owner*/) {}
};

CIconHost& IconHost();
// Installs the host (null restores the default); returns the previous one.
CIconHost* InstallIconHost(CIconHost* host);

// One filled shape of a vector icon, in icon units.
struct CIconShape {
    using enum iconwire::Shape;

    CZVRect rect;
    int type = kRect;
    int param = 0;        // thickness of a band, in icon units
    COLORREF colour = 0;  // 0 is a hole in the rendering

    // Draws the shape at (x, y) icon units, scaled, into the target.
    void Draw(CDibDC* target, int x, int y, float scale) const;
    CIconShape* Clone() const { return new CIconShape(*this); }
};

// One cached rendering of an icon and its keys.
class CIconImage {
public:
    CIconImage(int width, int height, COLORREF colour, COLORREF iconColour, unsigned flags, CDibDC* image);
    virtual ~CIconImage();

    bool Matches(int w, int h, COLORREF c, COLORREF ic, unsigned f) const {
        return width == w && height == h && colour == c && iconColour == ic && flags == f;
    }

    int width;
    int height;
    COLORREF colour;
    COLORREF iconColour;
    unsigned flags;
    bool skins = false;  // drawn under the skins' style
    std::unique_ptr<CDibDC> image;
};

class CZVIcon : public CSocketSink {
public:
    enum State { kNotRequested = 0, kAsked = 1, kLoaded = 2, kFailed = 3 };
    enum Kind { kGif = 1, kJpeg = 2, kPng = 5, kVector = 6 };
    // Draw flags.
    enum : unsigned { kDisabled = 1, kNoCache = 2, kNoSmoothing = 4, kOpaque = 8 };
    static constexpr int kMaxRenderings = 10;
    static constexpr uint32_t kWaitTimeout = 5000;

    explicit CZVIcon(CZVServer& server);
    // Leaves its source's waiting list, and lets go of the copies still on
    // its own: they keep their data and draw on without a source.
    ~CZVIcon() override;

    void Load(CZVString name);
    // Asks the gateway once connected; a request that could not be sent
    // leaves the icon unrequested.
    void Request();
    // Blocks until the answer is there (1), or 0 on a lost connection, a
    // failed poll (the icon asks again on reconnection) or after kWaitTimeout.
    int WaitLoaded();
    void SetSource(CZVIcon* source);
    CZVIcon* GetSource() const { return m_source; }
    void AddWaiter(CZVIcon* icon);
    void RemoveWaiter(CZVIcon* icon);
    int GetWaiterCount() const { return m_waiting.GetCount(); }
    void CopyFrom(CZVIcon* other);
    CZVIcon* Clone();
    void MakeStock(int type, COLORREF colour);
    void SetColor(COLORREF colour);
    void AddToColors(int r, int g, int b);
    void AddShape(CIconShape* shape);
    void AddShapeFields(CZVRect rect, int type, int param, COLORREF colour);
    void ClearShapes();
    CZVRect GetBounds() const;
    void DrawShapes(CDibDC* target, const COLORREF* override, int x, int y, float scale) const;
    // Copies src's pixels other than key to dst (or the tint where one is
    // given); a negative x or y moves the start in src instead.
    static void BlitMasked(CDibDC* dst, CDibDC* src, const COLORREF* tint, int x, int y, uint16_t key);
    // tint: three bytes r, g, b added to the icon, or null.
    void Draw(CPaintWindow* owner, CZVDC* dc, COLORREF back, CZVRect box, unsigned flags, const uint8_t* tint);

    CDibDC* FindImage(int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags) const;
    // Keeps the surface itself (ownership passes).
    void AddImage(CDibDC* image, int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags);
    // Keeps a copy, unless an entry with these keys is there.
    void AddImageCopy(CDibDC* image, int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags);
    int GetRenderingCount() const { return static_cast<int>(m_renderings.size()); }
    void RepaintOwner();

    void OnMessage(CZVMSG* message) override;
    // A request lost with the connection is sent again once it is back.
    void OnConnect(int connected) override;
    // Appends the kind and the shapes; always 1.
    int Write(CZVMSG* message) const;
    // Takes an answer to ZVM_IMAGE_GETICONQ. The shapes read before an early
    // end are kept.
    void ReadReply(CZVMSG* message);

    int GetState() const { return m_state; }
    const CZVString& GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    COLORREF GetColor() const { return m_colour; }
    int GetShapeCount() const { return static_cast<int>(m_shapes.size()); }
    const CIconShape& GetShape(int i) const { return *m_shapes[i]; }
    CDibDC* GetBitmap() const { return m_bitmap.get(); }
    CPaintWindow* GetOwner() const { return m_owner; }

private:
    void Unregister();
    void ReadShapes(CZVMSG* message, bool rawColours);
    void ReadBitmap(CZVMSG* message, int kind);
    void DrawVector(CZVDC* dc, COLORREF back, CZVRect box, unsigned flags, CZVRect bounds, float scale, int left,
                    int top, int A, int B);
    void DrawBitmap(CZVDC* dc, COLORREF back, unsigned flags, const uint8_t* tint, int left, int top, int A, int B);
    void DropOldestRendering();

    int m_state = kNotRequested;
    CZVObList m_waiting;  // CZVIcon*, not owned
    std::vector<std::unique_ptr<CIconShape>> m_shapes;
    CZVString m_name;
    int m_kind = kVector;
    COLORREF m_colour = static_cast<COLORREF>(-1);
    std::unique_ptr<CDibDC> m_bitmap;
    CPaintWindow* m_owner = nullptr;
    CZVIcon* m_source = nullptr;
    std::vector<std::unique_ptr<CIconImage>> m_renderings;  // oldest first
};

// The shared gateway pictures and named icons.
class CIconCache {
public:
    // The first cache made becomes the program's one (Instance).
    explicit CIconCache(CZVServer& server);
    virtual ~CIconCache();
    CIconCache(const CIconCache&) = delete;
    CIconCache& operator=(const CIconCache&) = delete;

    static CIconCache* Instance();

    // The picture with these keys, asked for when new. Each call makes the
    // caller a holder of the picture until it calls ReleaseImage.
    CZVImage* GetImage(CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey, int sentValue);
    void ReleaseImage(CZVImage* image);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }

    CZVIcon* GetIcon(CZVString name);
    CZVIcon* FindIcon(CZVString name) const;
    void AddIcon(CZVIcon* icon);
    int HasIcon(CZVIcon* icon) const;
    int GetIconCount() const { return m_icons.GetCount(); }
    // Whether a picture or an icon asked for is still on its way.
    bool IsLoading() const;

    // Forgets every picture and icon (pictures still held are freed by their
    // last holder's release).
    void Clear();
    // Frees the pictures marked purgeable that nobody holds.
    void PurgeImages();

private:
    struct ImageEntry {
        std::unique_ptr<CZVImage> image;
        int holders = 0;
    };

    static void DropUnheld(std::vector<ImageEntry>& entries, bool onlyPurgeable);

    CZVServer* m_server;
    std::vector<ImageEntry> m_images;
    std::vector<ImageEntry> m_released;  // cleared from the cache while still held
    CZVObList m_icons;                   // CZVIcon*, owned
};

// A copy of the program cache's icon of that name that draws the cached
// one's data (asked for when new); null without a cache.
CZVIcon* CopyOfCachedIcon(CZVString name);

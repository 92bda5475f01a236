#pragma once
// CSetServer: the tablet's one UI style object. It holds a row of style
// values and two colours for each of 38 widget classes, the style flags, the
// names of the two skin pictures and of four sounds, and a few colours; the
// gateway supplies them (ZVM_UI_GETSETTINGSQ) on top of built-in values.
// Every window takes its size, shape, font size, text format and colours from
// it at construction. It listens on the connection for the notice that the
// settings changed and plays the connect and disconnect sounds.
#include <cstdint>
#include <memory>

#include "core/messages/toolkitmessages.h"
#include "core/zvoblist.h"
#include "core/zvserver.h"
#include "gfx/skinservices.h"
#include "gfx/speed.h"
#include "gfx/zvstring.h"

class CDibDC;
class CSoundClip;
class CZVDC;
class CZVWindow;

// Style flags (outlines and skins are shared with the drawing engine).
enum : int {
    kStyleBlend = 0x1,
    kStyleGloss = 0x6,
    kStyleOutlineCorners = 0x8,
    kStyleLayoutMask = 0xF00,
    kStyleAnimate = 0x1000,
    kStyleTextures = 0x2000,
    kStyleCurve5000 = 0x4000,
    kStyleCurve2500 = 0x8000,
    kStyleGlossVariant = 0x10000,
    kStyleClickFlash = 0x20000,
    kStyleBold = 0x200000,
};

// Columns of a style row.
enum : int {
    kStyleWidth,
    kStyleHeight,
    kStyleInset,
    kStyleRadius,
    kStyleSpacing,
    kStyleBevel,
    kStyleMargin,
    kStyleFontSize,
    kStyleTextFormat,
};

// The style and colour tables; the colour 0x010101 means unset.
struct CStyleTables {
    static constexpr int kClasses = 38;
    static constexpr int kValues = 9;
    static constexpr int kColors = 2;
    static constexpr COLORREF kUnsetColor = 0x010101;

    int style[kClasses][kValues];
    COLORREF colors[kClasses][kColors];

    // The values the program starts with.
    static const CStyleTables& BuiltIn();
    // Sizes, shape, font size, text format and colours of the window's class
    // (class 0 for one outside 0..37).
    void ApplyStyle(CZVWindow* window) const;
};

// The pictures of the style, drawn by the texture and skin code once it is
// installed (CSetServer::SetArt). Without it no picture is ever ready and
// every fill is plain.
class CStyleArt {
public:
    virtual ~CStyleArt() = default;
    virtual void SetImages(const CZVString& texture, const CZVString& skin) = 0;
    // The first picture's luminance map is ready.
    virtual int IsTextureReady() = 0;
    // The second picture at the main window's size; null when there is none.
    virtual CDibDC* GetSkinImage() = 0;
    // Drops the pictures' cached pieces (memory runs low).
    virtual void ReleaseSkins() = 0;
    // Paints a piece of background in the skin; 0 when it did not.
    virtual int DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, int flags) = 0;
};

// The style flags until the gateway's style arrives: blended drawing and
// shaded outlines on pressed corners.
constexpr int kDefaultStyleFlags = kStyleBlend | static_cast<int>(kStyleOutlines);

class CSetServer : public CSocketSink {
public:
    // Registers with the connection manager; the one style object of the
    // program until it is destroyed.
    explicit CSetServer(CZVServer& server);
    ~CSetServer() override;

    // The style object, or null while none exists.
    static CSetServer* Get();
    // The style flags of the style object, or the default flags while none exists.
    static int CurrentFlags();
    // A style value of the style object, or 0 while none exists.
    static int CurrentStyle(int styleClass, int index);
    // A style colour of the style object, or black while none exists.
    static COLORREF CurrentStyleColor(int styleClass, int index);

    void SetFlags(int flags);
    int GetFlags() const { return m_flags; }
    int GetStyle(int styleClass, int index);
    void SetStyle(int styleClass, int index, int value);
    COLORREF GetStyleColor(int styleClass, int index);
    void SetStyleColor(int styleClass, int index, COLORREF colour);
    const CStyleTables& GetTables() const { return m_tables; }
    static COLORREF GetPressedShade(COLORREF colour);
    static int GetBevelInset(int bevelType);
    static int IsSunkenBevel(int bevelType) { return bevelType == 3 || bevelType == 4; }
    int IsCompactLayout() const;
    int HasSkinTexture();
    int IsSkinColor(COLORREF colour, int level) const;
    void ReleaseSkins();
    void ApplyStyle(CZVWindow* window) const { m_tables.ApplyStyle(window); }

    CSoundClip* FindSound(CZVString name);
    CSoundClip* GetSound(CZVString name);

    // Asks the gateway for the settings (5000 ms at most) and takes them.
    // The layout type comes from the main window, or from this size while
    // there is none. 1 when settings were taken.
    int Load(int width, int height);
    // Takes a ZVM_UI_GETSETTINGSA answer. A malformed answer changes nothing
    // and gives 0.
    int ParseSettings(CZVMSG* reply);

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    void SetArt(std::unique_ptr<CStyleArt> art);
    CStyleArt* GetArt() const { return m_art.get(); }
    int IsTextureReady() { return m_art ? m_art->IsTextureReady() : 0; }
    CDibDC* GetSkinImage() { return m_art ? m_art->GetSkinImage() : nullptr; }
    int DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, int flags);

    int IsLoaded() const { return m_loaded; }
    int IsThemed() const { return m_themed; }
    int IsSpecial() const { return m_special; }
    int GetTabIconCap() const { return m_tabIconCap; }
    int GetSkinLevel() const { return m_skinLevel; }
    // The shading curve that the flags select (10000, 5000 or 2500).
    int GetShadeCurve() const { return m_shadeCurve; }
    const CZVString& GetTextureName() const { return m_textureName; }
    const CZVString& GetSkinName() const { return m_skinName; }
    const CZVString& GetPressSound() const { return m_pressSound; }
    const CZVString& GetClickSound() const { return m_clickSound; }
    const CZVString& GetConnectSound() const { return m_connectSound; }
    const CZVString& GetDisconnectSound() const { return m_disconnectSound; }
    CSoundClip* GetConnectClip() const { return m_connectClip; }
    CSoundClip* GetDisconnectClip() const { return m_disconnectClip; }
    COLORREF GetSelectionColor() const { return m_selectionColor; }
    COLORREF GetSelectionTextColor() const { return m_selectionTextColor; }
    COLORREF GetTabPressColor() const { return m_tabPressColor; }
    void SetExtraReservedColor(COLORREF colour) { m_extraReservedColor = colour; }

private:
    int IsRemote() const;
    void MakeConnectClips();
    // Runs the refresh that a settings notice asks for.
    void Refresh(bool reload);

    int m_loaded = 0;
    int m_themed = 1;
    int m_special = 0;
    CZVObList m_sounds;
    CSoundClip* m_connectClip = nullptr;
    CSoundClip* m_disconnectClip = nullptr;
    std::unique_ptr<CStyleArt> m_art;
    int m_flags = kDefaultStyleFlags;
    int m_shadeCurve = 10000;
    int m_tabIconCap = 32;
    CZVString m_textureName;
    CZVString m_skinName;
    int m_skinLevel = 1;
    CStyleTables m_tables;
    CZVString m_pressSound = "click1.wav";
    CZVString m_clickSound = "click2.wav";
    CZVString m_connectSound = "connect.wav";
    CZVString m_disconnectSound = "disconnect.wav";
    COLORREF m_selectionColor = 0x64FFFF;
    COLORREF m_selectionTextColor = 0;
    COLORREF m_tabPressColor = 0;
    COLORREF m_extraReservedColor = 0;
    int m_inMessage = 0;
};

// Runs the rendering with the style flags changed, then puts them back.
template <typename F>
void WithStyleFlags(int set, int clear, F render) {
    CSetServer* style = CSetServer::Get();
    if (!style) return render();
    const int flags = style->GetFlags();
    style->SetFlags((flags | set) & ~clear);
    render();
    style->SetFlags(flags);
}

// The dimmed face of the lighting and audio level controls: the face colour
// blended half-way with the style colour of the button class (18, 0); the
// face itself while there is no style object.
COLORREF GetDimColour(COLORREF face);

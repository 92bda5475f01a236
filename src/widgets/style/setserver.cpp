#include "widgets/style/setserver.h"

#include <algorithm>
#include <string>

#include "av/soundclip.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "platform/report.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr const char* kSource = "setserver";
CSetServer* g_style = nullptr;

// The rows of the classes 25 to 34 differ only in their face colour.
constexpr int kGraphRow[9] = {-1, -1, -1, 20, 0, 0, 1, 16, 18};

CStyleTables MakeBuiltIn() {
    CStyleTables t{};
    const int rows[CStyleTables::kClasses][CStyleTables::kValues] = {
        {-1, -1, -1, -1, -1, -1, -1, -1, 18},  // 0 default
        {-1, -1, 15, 25, 10, 10, 0, 40, 18},   // 1 main window
        {140, 43, 0, 25, 10, 10, 0, 20, 17},   // 2 main menu, overlay panel
        {140, 55, 0, 15, 10, 10, 0, 18, 18},   // 3 tab rows
        {20, 20, 0, 5, 5, 3, 0, -1, 18},       // 4 indicator
        {-1, -1, 15, 10, 5, 5, 0, 30, 18},     // 5 page
        {131, 35, -1, 10, 5, 5, 0, 18, 18},    // 6 panel
        {20, 15, 0, 5, 5, 3, 0, -1, -1},       // 7 zoom bar
        {-1, -1, 5, 8, 5, 0, 3, 20, -1},       // 8 grey group panel
        {-1, -1, 5, 5, 4, 0, 3, 20, -1},       // 9
        {-1, -1, 5, 5, 0, 0, 3, 10, -1},       // 10
        {-1, -1, -1, 0, 0, 3, 0, 15, -1},      // 11 list
        {-1, -1, -1, 0, 0, 3, 0, 20, -1},      // 12 check colour of text lists
        {-1, -1, -1, 0, 0, 6, 0, 23, -1},      // 13 scroll bar
        {-1, -1, -1, 0, 0, 3, 0, 25, -1},      // 14
        {-1, -1, -1, 0, 0, 0, 0, 25, -1},      // 15 column header
        {25, 25, -1, 15, 5, 6, 0, 15, 18},     // 16 small button
        {100, 50, -1, 15, 5, 6, 0, 18, 18},    // 17 medium button
        {200, 60, -1, 25, 10, 10, 2, 20, 18},  // 18 large button
        {20, 20, -1, 10, 5, 5, 1, 20, -1},     // 19
        {30, 30, -1, 15, 5, 8, 1, 23, -1},     // 20
        {50, 50, -1, 25, 5, 20, 1, 18, -1},    // 21
        {10, 10, -1, 5, 5, 4, 1, 20, 17},      // 22
        {20, 20, -1, 10, 5, 4, 1, 20, 17},     // 23
        {30, 30, -1, 15, 5, 4, 1, 20, 17},     // 24
        {},
        {},
        {},
        {},
        {},
        {},
        {},
        {},
        {},
        {},                                 // 25 to 34: kGraphRow
        {-1, 35, -1, 13, 7, 6, 0, 16, 17},  // 35
        {-1, -1, -1, 20, 0, 5, 0, 16, 17},  // 36
        {-1, 40, -1, 10, 5, 5, 0, 13, 18},  // 37
    };
    const COLORREF colours[CStyleTables::kClasses][CStyleTables::kColors] = {
        {0x010101, 0x010101}, {0xBB8089, 0xFFFFFF}, {0xBB8089, 0xFFFFFF}, {0xBB8089, 0xFFFFFF}, {0x50AA46, 0x010101},
        {0xBB8089, 0},        {0xF0F0F0, 0},        {0x7D7D7D, 0x010101}, {0xAFAFAF, 0},        {0xAFAFAF, 0},
        {0xAFAFAF, 0},        {0xFFFFFF, 0x010101}, {0xA8545A, 0},        {0xA8545A, 0x010101}, {0x7D7D7D, 0},
        {0xBB8089, 0xFFFFFF}, {0xE4E4E4, 0},        {0xE4E4E4, 0},        {0xE4E4E4, 0},        {0xE4E4E4, 0},
        {0xE4E4E4, 0},        {0xE4E4E4, 0},        {0xE4E4E4, 0xFFFFFF}, {0xE4E4E4, 0},        {0xE4E4E4, 0},
        {0xD367FC, 0},        {0xF1AF27, 0},        {0x0DD6F2, 0},        {0x38D683, 0},        {0xCDDD74, 0},
        {0x9E5A41, 0},        {0x3636F8, 0},        {0x3476FE, 0},        {0xFFA8D3, 0},        {0x808080, 0},
        {0x7D7D7D, 0xFFFFFF}, {0x808080, 0},        {0x808080, 0},
    };
    for (int c = 0; c < CStyleTables::kClasses; ++c) {
        const int* row = c >= 25 && c <= 34 ? kGraphRow : rows[c];
        std::copy(row, row + CStyleTables::kValues, t.style[c]);
        std::copy(colours[c], colours[c] + CStyleTables::kColors, t.colors[c]);
    }
    return t;
}

bool IsFullSettings(int32_t kind) { return kind == 1 || kind == 6 || kind == 7; }

}  // namespace

const CStyleTables& CStyleTables::BuiltIn() {
    static const CStyleTables tables = MakeBuiltIn();
    return tables;
}

void CStyleTables::ApplyStyle(CZVWindow* window) const {
    const int c = window->m_styleClass >= 0 && window->m_styleClass < kClasses ? window->m_styleClass : 0;
    const int* row = style[c];
    CZVWindow* parent = window->m_parent;
    const int givenHeight = window->m_height;
    int x = window->m_x, y = window->m_y, w = window->m_width, h = window->m_height;
    if (w == -1) {
        w = row[kStyleWidth];
        if (w == -1) {
            if (parent) {
                w = parent->GetWidth();
            } else {
                ReportAssert(kSource, 315, 1);
                w = 0;
            }
        }
    }
    if (h == -1) {
        h = row[kStyleHeight];
        if (h == -1) {
            ReportAssert(kSource, 325, 1);
            h = parent ? parent->GetHeight() : 0;
        }
    }
    if (parent) {
        const int inset = row[kStyleInset];
        if (x == -1) {
            ReportAssert(kSource, 336, 1);
            x = 0;
            if (inset != -1) w = std::min(w, std::max(parent->GetWidth() - 2 * inset, 0));
        }
        if (y == -1) {
            ReportAssert(kSource, 351, 1);
            y = 0;
            if (inset != -1) h = std::min(h, std::max(parent->GetHeight() - 2 * inset, 0));
        }
    }
    window->m_x = x;
    window->m_y = y;
    window->m_width = w;
    window->m_height = h;
    if (row[kStyleRadius] != -1) window->m_radius = row[kStyleRadius];
    if (row[kStyleSpacing] != -1) window->m_spacing = row[kStyleSpacing];
    if (row[kStyleMargin] != -1) window->m_margin = row[kStyleMargin];
    if (row[kStyleBevel] != -1) window->m_bevel = row[kStyleBevel];
    if (row[kStyleFontSize] != -1) {
        window->m_fontSize = row[kStyleFontSize];
        if (givenHeight == 0) window->m_height = std::max(window->m_height, window->m_fontSize);
    }
    const int low = row[kStyleTextFormat] & 0x3F;
    if (low != 0 && low != 0x3F) window->m_textFormat = row[kStyleTextFormat];
    if (colors[c][0] != kUnsetColor) window->m_faceColor = colors[c][0];
    if (colors[c][1] != kUnsetColor) window->m_textColor = colors[c][1];
}

CSetServer::CSetServer(CZVServer& server) : CSocketSink(server), m_tables(CStyleTables::BuiltIn()) {
    server.RegisterSink(this);
    if (g_style) ReportAssert(kSource, __LINE__, 1);
    g_style = this;
}

CSetServer::~CSetServer() {
    if (g_style == this) g_style = nullptr;
    while (!m_sounds.IsEmpty()) delete static_cast<CSoundClip*>(m_sounds.RemoveHead());
}

CSetServer* CSetServer::Get() { return g_style; }

int CSetServer::CurrentFlags() { return g_style ? g_style->GetFlags() : kDefaultStyleFlags; }

int CSetServer::CurrentStyle(int styleClass, int index) { return g_style ? g_style->GetStyle(styleClass, index) : 0; }

COLORREF CSetServer::CurrentStyleColor(int styleClass, int index) {
    return g_style ? g_style->GetStyleColor(styleClass, index) : 0;
}

void CSetServer::SetFlags(int flags) {
    m_flags = flags;
    m_shadeCurve = (flags & kStyleCurve2500) ? 2500 : (flags & kStyleCurve5000) ? 5000 : 10000;
}

int CSetServer::GetStyle(int styleClass, int index) {
    if (styleClass < 0 || styleClass >= CStyleTables::kClasses) {
        ReportAssert(kSource, 429, 1);
        styleClass = 0;
    }
    if (index < 0 || index >= CStyleTables::kValues) {
        ReportAssert(kSource, 430, 1);
        return 0;
    }
    return m_tables.style[styleClass][index];
}

void CSetServer::SetStyle(int styleClass, int index, int value) {
    if (styleClass >= 0 && styleClass < CStyleTables::kClasses && index >= 0 && index < CStyleTables::kValues)
        m_tables.style[styleClass][index] = value;
}

COLORREF CSetServer::GetStyleColor(int styleClass, int index) {
    if (styleClass < 0 || styleClass >= CStyleTables::kClasses) {
        ReportAssert(kSource, 461, 1);
        styleClass = 0;
    }
    if (index < 0 || index >= CStyleTables::kColors) {
        ReportAssert(kSource, 462, 1);
        return 0;
    }
    return m_tables.colors[styleClass][index];
}

void CSetServer::SetStyleColor(int styleClass, int index, COLORREF colour) {
    if (styleClass >= 0 && styleClass < CStyleTables::kClasses && index >= 0 && index < CStyleTables::kColors)
        m_tables.colors[styleClass][index] = colour;
}

COLORREF CSetServer::GetPressedShade(COLORREF colour) {
    int r = ColorRed(colour), g = ColorGreen(colour), b = ColorBlue(colour);
    const bool darken = r >= 50 || g >= 50 || b >= 50;
    auto shade = [darken](int channel) { return darken ? channel * 80 / 100 : channel * 100 / 80; };
    r = std::max(shade(r), 9);
    g = std::max(shade(g), 5);
    b = std::max(shade(b), 9);
    return MakeColor(std::min(r, 255), std::min(g, 255), std::min(b, 255));
}

int CSetServer::GetBevelInset(int bevelType) {
    if (bevelType == 1 || bevelType == 3) return 2;
    if (bevelType == 2 || bevelType == 4) return 3;
    return 0;
}

int CSetServer::IsCompactLayout() const {
    const int layout = m_flags & kStyleLayoutMask;
    return layout == 0x300 || layout == 0x500;
}

int CSetServer::HasSkinTexture() {
    if ((m_flags & kStyleSkins) && m_skinLevel > 8) return 1;
    if (m_flags & kStyleTextures) return IsTextureReady();
    return 0;
}

int CSetServer::IsSkinColor(COLORREF colour, int level) const {
    return (colour == m_tables.colors[2][0] && level == m_skinLevel) || colour == m_tables.colors[6][0] ||
           colour == m_tables.colors[11][0] || colour == m_tabPressColor || colour == m_extraReservedColor;
}

void CSetServer::ReleaseSkins() {
    if (m_art) m_art->ReleaseSkins();
}

void CSetServer::SetArt(std::unique_ptr<CStyleArt> art) {
    m_art = std::move(art);
    if (m_art) m_art->SetImages(m_textureName, m_skinName);
}

int CSetServer::DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, int flags) {
    return m_art ? m_art->DrawSkinPiece(dc, colour, x, y, w, h, level, flags) : 0;
}

// ---- sounds

CSoundClip* CSetServer::FindSound(CZVString name) {
    for (ZVPOSITION pos = m_sounds.GetHeadPosition(); pos;) {
        auto* clip = static_cast<CSoundClip*>(m_sounds.GetNext(pos));
        if (clip->GetName().CompareNoCase(name) == 0) return clip;
    }
    return nullptr;
}

CSoundClip* CSetServer::GetSound(CZVString name) {
    if (CSoundClip* clip = FindSound(name)) return clip;
    if (!GetServer()) return nullptr;
    auto* clip = new CSoundClip(*GetServer(), name);
    m_sounds.AddTail(clip);
    return clip;
}

int CSetServer::IsRemote() const { return GetServer() && GetServer()->IsRemoteMode(); }

void CSetServer::MakeConnectClips() {
    if (!m_connectClip) m_connectClip = GetSound(m_connectSound);
    if (!m_disconnectClip) m_disconnectClip = GetSound(m_disconnectSound);
}

// ---- the gateway's settings

int CSetServer::Load(int width, int height) {
    m_loaded = 0;
    CZVServer* server = GetServer();
    if (!server) return 0;
    CMainWndBase* main = GetMainWnd();
    const int layout = main ? main->GetLayoutType() : LayoutTypeOf(width, height);
    CZVQuery query(*server);
    query.SetTimeout(5000);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, ZVM_UI_GETSETTINGSQ, layout)) return 0;
    return ParseSettings(answer);
}

int CSetServer::ParseSettings(CZVMSG* reply) {
    int32_t kind = 0;
    if (!reply || !reply->ReadInt(kind)) return 0;
    if (!IsFullSettings(kind)) {
        m_themed = 0;
        if (kind == 4) m_special = 1;
        m_loaded = 1;
        m_tables.style[2][kStyleWidth] = 100;
        m_tabIconCap = 40;
        SetFlags(0x21100);
        return 1;
    }

    // Everything up to the skin level is read before anything is taken, so a
    // malformed answer leaves the style as it was.
    int32_t count = 0, values = 0, colours = 0;
    CMsgReader head(*reply);
    if (!head.Int(count).Int(values).Int(colours) || count < 0 || values != CStyleTables::kValues ||
        colours != CStyleTables::kColors)
        return 0;
    const int64_t rowBytes = (int64_t{count} * CStyleTables::kValues + 3) / 4 * 4;
    const int64_t colourBytes = int64_t{count} * CStyleTables::kColors * 4;
    if (reply->GetRemaining() < rowBytes + colourBytes) return 0;

    CStyleTables tables = m_tables;
    const int kept = std::min<int32_t>(count, CStyleTables::kClasses);
    std::vector<uint8_t> rows(static_cast<size_t>(rowBytes));
    if (!reply->ReadBytes(rows.data(), static_cast<int32_t>(rowBytes))) return 0;
    for (int c = 0; c < kept; ++c)
        for (int i = 0; i < CStyleTables::kValues; ++i) tables.style[c][i] = rows[c * CStyleTables::kValues + i];
    CMsgReader body(*reply);
    for (int32_t c = 0; c < count && body; ++c) {
        uint32_t face = 0, text = 0;
        if (body.UInt(face).UInt(text) && c < kept) {
            tables.colors[c][0] = face;
            tables.colors[c][1] = text;
        }
    }
    int32_t flags = 0, cap = 0, level = 0;
    std::string textureName, skinName;
    if (!body.Int(flags).Int(cap).String(textureName).String(skinName).Int(level)) return 0;

    m_tables = tables;
    m_themed = 1;
    m_tabIconCap = cap;
    m_textureName = textureName.c_str();
    m_skinName = skinName.c_str();
    m_skinLevel = level;
    if (m_art) m_art->SetImages(m_textureName, m_skinName);
    SetFlags(flags);

    // The tail is optional: what is there is taken.
    CZVString* sounds[] = {&m_pressSound, &m_clickSound, &m_connectSound, &m_disconnectSound};
    for (CZVString* sound : sounds) {
        std::string name;
        if (!body.String(name)) break;
        *sound = name.c_str();
    }
    COLORREF* tail[] = {&m_selectionColor, &m_selectionTextColor, &m_tabPressColor};
    for (COLORREF* colour : tail) {
        uint32_t value = 0;
        if (!body.Color(value)) break;
        *colour = value;
    }
    int32_t reserved = 0;
    body.Int(reserved);

    if (!IsRemote()) {
        if (m_connectClip) m_connectClip = GetSound(m_connectSound);
        if (m_disconnectClip) m_disconnectClip = GetSound(m_disconnectSound);
    }
    m_loaded = 1;
    return 1;
}

void CSetServer::Refresh(bool reload) {
    CMainWndBase* main = GetMainWnd();
    if (!main) return;
    if (reload) Load(main->GetWidth(), main->GetHeight());
    main->FlushCaches();
}

void CSetServer::OnMessage(CZVMSG* message) {
    // The blocking load dispatches messages while it waits.
    if (m_inMessage || !message) return;
    m_inMessage = 1;
    if (message->GetId() == ZVM_UI_SETTINGSCHANGED)
        Refresh(true);
    else if (message->GetId() == ZVM_SYSCONFIG_SETTINGSCHANGED)
        Refresh(false);
    m_inMessage = 0;
}

void CSetServer::OnConnect(int connected) {
    CMainWndBase* main = GetMainWnd();
    if (!main) return;
    if (!connected) {
        if (m_disconnectClip) m_disconnectClip->Play(0);
        return;
    }
    if (!IsRemote()) MakeConnectClips();
    if (m_connectClip) m_connectClip->Play(0);
    if (!m_loaded && Load(main->GetWidth(), main->GetHeight())) main->FlushCaches();
}

COLORREF GetDimColour(COLORREF face) {
    constexpr int kButtonClass = 18;
    CSetServer* style = CSetServer::Get();
    return style ? MixColors(face, style->GetStyleColor(kButtonClass, 0), 0.5) : face;
}

#pragma once
// Where the tablet's drawing engine and toolkit are put together. The shell
// makes one CToolkit after its connection manager and before its main
// window, and deletes it after the main window: it makes the drawing
// singletons in the shell's order (font server with its enumeration, GDI
// cache, style object, pixel tables, bitmap cache, icon cache; the gateway
// audio player, made between the pixel tables and the bitmap cache, is the
// shell's own) and deletes them in reverse, and it installs the toolkit's
// implementations behind the seams of the layers below (CToolkitServices).
#include <memory>

#include "widgets/window/zvwindow.h"

class CBitmapCache;
class CButtonFaceRenderer;
class CButtonIconSource;
class CFontServer;
class CGdiCache;
class CIconCache;
class CIconHost;
class CSetServer;
class CSpeed;
class CStyleSkins;
class CZVImageHost;
class CZVServer;

// Installs, for the life of the object: the style object's pictures and
// skin operations, the shaded faces of the bevelled buttons, the icons of
// the buttons, the scroll bars of scrolling windows, and the delivery of arrived pictures and icons to windows of
// the main window's tree. The destructor puts back what it found.
class CToolkitServices {
public:
    CToolkitServices(CZVServer& server, CSetServer& style);
    ~CToolkitServices();
    CToolkitServices(const CToolkitServices&) = delete;
    CToolkitServices& operator=(const CToolkitServices&) = delete;

private:
    std::unique_ptr<CStyleSkins> m_skins;
    std::unique_ptr<CButtonFaceRenderer> m_faces;
    std::unique_ptr<CButtonIconSource> m_icons;
    std::unique_ptr<CZVImageHost> m_imageHost;
    std::unique_ptr<CIconHost> m_iconHost;
    CButtonFaceRenderer* m_previousFaces;
    CButtonIconSource* m_previousIcons;
    CZVImageHost* m_previousImageHost;
    CIconHost* m_previousIconHost;
    ScrollBarFactory m_previousScrollBars;
};

class CToolkit {
public:
    explicit CToolkit(CZVServer& server);
    ~CToolkit();
    CToolkit(const CToolkit&) = delete;
    CToolkit& operator=(const CToolkit&) = delete;

    CSetServer& Style() { return *m_style; }

private:
    // Members are destroyed in reverse: the services go first.
    std::unique_ptr<CFontServer> m_fonts;
    std::unique_ptr<CGdiCache> m_gdi;
    std::unique_ptr<CSetServer> m_style;
    std::unique_ptr<CSpeed> m_speed;
    std::unique_ptr<CBitmapCache> m_bitmaps;
    std::unique_ptr<CIconCache> m_icons;
    std::unique_ptr<CToolkitServices> m_services;
};

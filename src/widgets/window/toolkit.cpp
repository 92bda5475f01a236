#include "widgets/window/toolkit.h"

#include "gfx/bitmapcache.h"
#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "gfx/icon.h"
#include "gfx/speed.h"
#include "gfx/zvimage.h"
#include "widgets/buttons/iconsource.h"
#include "widgets/window/mainwnd.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/style/setserver.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/skins.h"
#include "widgets/buttons/zvbutton.h"

namespace {

// The window of the main window's tree that is `target`, or null. A waiter
// may have been deleted since it asked, so it is only ever compared.
CZVWindow* FindInTree(CZVWindow* root, const CPaintWindow* target) {
    if (!root || !target) return nullptr;
    if (static_cast<CPaintWindow*>(root) == target) return root;
    for (ZVPOSITION pos = root->GetChildren().GetHeadPosition(); pos;)
        if (CZVWindow* found = FindInTree(static_cast<CZVWindow*>(root->GetChildren().GetNext(pos)), target))
            return found;
    return nullptr;
}

class CTreeImageHost : public CZVImageHost {
public:
    bool IsThemed() override {
        CSetServer* style = CSetServer::Get();
        return !style || style->IsThemed();
    }
    int NotifyImageReady(CPaintWindow* waiter, CDibDC* picture) override {
        CZVWindow* window = FindInTree(GetMainWnd(), waiter);
        return window ? window->OnImageReady(picture) : -1;
    }
};

class CTreeIconHost : public CIconHost {
public:
    // A button draws just its icon; any other window draws itself again.
    void RepaintOwner(CPaintWindow* owner) override {
        CZVWindow* window = FindInTree(GetMainWnd(), owner);
        if (!window || !window->IsShown()) return;
        auto* button = dynamic_cast<CZVButton*>(window);
        if (!button) {
            window->RedrawBuffered();
            return;
        }
        if (button->DeferIfBlocked()) return;
        CZVDC dc(button);
        button->DrawIcon(&dc, button->GetButtonColor());
    }
};

}  // namespace

CToolkitServices::CToolkitServices(CZVServer& server, CSetServer& style)
    : m_skins(std::make_unique<CStyleSkins>(style)),
      m_faces(std::make_unique<CShadedFaceRenderer>()),
      m_icons(std::make_unique<CGatewayIconSource>(server)),
      m_imageHost(std::make_unique<CTreeImageHost>()),
      m_iconHost(std::make_unique<CTreeIconHost>()),
      m_previousFaces(InstallButtonFaceRenderer(m_faces.get())),
      m_previousIcons(InstallButtonIconSource(m_icons.get())),
      m_previousImageHost(InstallImageHost(m_imageHost.get())),
      m_previousIconHost(InstallIconHost(m_iconHost.get())),
      m_previousScrollBars(SetScrollBarFactory(MakeScrollBar)) {}

CToolkitServices::~CToolkitServices() {
    SetScrollBarFactory(m_previousScrollBars);
    InstallIconHost(m_previousIconHost);
    InstallImageHost(m_previousImageHost);
    InstallButtonIconSource(m_previousIcons);
    InstallButtonFaceRenderer(m_previousFaces);
}

CToolkit::CToolkit(CZVServer& server)
    : m_fonts(std::make_unique<CFontServer>()),
      m_gdi((m_fonts->EnumerateFonts(), std::make_unique<CGdiCache>())),
      m_style(std::make_unique<CSetServer>(server)),
      m_speed(std::make_unique<CSpeed>()),
      m_bitmaps(std::make_unique<CBitmapCache>()),
      m_icons(std::make_unique<CIconCache>(server)),
      m_services(std::make_unique<CToolkitServices>(server, *m_style)) {}

CToolkit::~CToolkit() = default;

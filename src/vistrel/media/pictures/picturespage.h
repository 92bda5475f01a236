#pragma once
// The main menu's Pictures page (command 5011): it reads the household's
// album tree once from the gateway and shows it: a single album straight in
// a picture viewer, albums with sub-albums in a tabbed panel with one tab for
// the album's own pictures and one per sub-album, nested panel by panel.
#include <memory>
#include <vector>

#include "vistrel/media/pictures/picturefolder.h"
#include "vistrel/shell/pbase.h"
#include "widgets/tabs/trregion.h"

class CPicturesSummaryPage;

class CPictureAlbumPanel : public CTRRegion {
public:
    static constexpr int kOwnPicturesTab = 1100;
    static constexpr int kFirstSubAlbumTab = 1200;
    static constexpr int kLastSubAlbumTab = 1500;
    static constexpr int kViewerFlags = 7;

    CPictureAlbumPanel(CZVWindow* parent, CPicturesSummaryPage* page, CZVRect rect, CPictureFolder* folder);

    // Shows the tab's album; ids outside the panel's tabs change nothing.
    void ShowTab(int id, int redraw);
    int OnCommand(int id) override;

    CZVWindow* GetContent() const { return m_content; }
    CPictureFolder* GetFolder() const { return m_folder; }
    // The captions as the tabs show them (wrapped when the tabs crowd).
    const std::vector<CZVString>& GetCaptions() const { return m_captions; }
    const std::vector<int>& GetTabIds() const { return m_tabIds; }

private:
    // Crowded tabs: a smaller font, captions wrapped to three lines at most
    // and a band tall enough for the tallest.
    void WrapCaptions();

    CPicturesSummaryPage* m_page;
    CPictureFolder* m_folder;
    CZVWindow* m_content = nullptr;
    std::vector<CZVString> m_captions;
    std::vector<int> m_tabIds;
};

class CPicturesSummaryPage : public CPageBase {
public:
    static constexpr int kPageId = 5011;

    CPicturesSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CPicturesSummaryPage() override;

    // Commands from inside the page go no further.
    int OnCommand(int id) override { return id; }

    CPictureFolder* GetRoot() const { return m_root.get(); }
    CZVWindow* GetContent() const { return m_content; }

private:
    std::unique_ptr<CPictureFolder> m_root;
    CZVWindow* m_content = nullptr;
};

// Registers the Pictures page with the shell.
void RegisterPicturePages();

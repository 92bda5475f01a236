#pragma once
// CDvrSourcesPage: the main-menu page of the gateway's recorders, one tab
// each; the chosen recorder plays back in a CDvrPage.
#include <vector>

#include "core/zvserver.h"
#include "vistrel/media/video/videosources.h"
#include "vistrel/shell/pbase.h"

class CDvrPage;

// The recorders as far as the message holds them; 0 when the count is
// missing or the list is cut (what was read is kept).
int ReadDvrSources(CZVMSG& message, std::vector<CVideoSourceEntry>* out);

class CDvrSourcesPage : public CPageBase {
public:
    static constexpr int kPageId = 5013;
    static constexpr int kFirstTab = 3000;
    static constexpr int kLastTab = 3100;

    CDvrSourcesPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CDvrSourcesPage() override;

    int OnCommand(int id) override { return OnTabCommand(id, 1); }
    void Rebuild() override;
    int OnTabCommand(int id, int redraw);

    const std::vector<CVideoSourceEntry>& GetSources() const { return m_sources; }
    CDvrPage* GetDvrPage() const { return m_page; }

private:
    void LoadSources();
    void RemoveDvrPage();

    CZVServer& m_server;
    std::vector<CVideoSourceEntry> m_sources;
    CDvrPage* m_page = nullptr;
};

// Registers the DVR page with the shell.
void RegisterDvrPages();

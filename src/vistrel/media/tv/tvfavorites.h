#pragma once
// CTvFavoritesCtl: the favourite channels of a TV source (control type 183):
// a tabbed panel whose tabs are the source's channel groups and whose body is
// a grid of icon buttons, one per favourite channel of the chosen group. A
// button tunes the source to its favourite.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "widgets/tabs/trregion.h"

class CZV3DButton;
struct CPageControlArgs;

// Columns and rows of a grid of count cells in an area, with cells of at
// least (24 s + 48) x (18 s + 36) for size class s, grown until all fit.
struct CFavoriteGrid {
    int columns = 1;
    int rows = 1;
};
CFavoriteGrid LayoutFavoriteGrid(int width, int height, int sizeClass, int count);

// One channel group of a TV source.
struct CChannelGroup {
    int32_t id = 0;
    std::string name;
};
// The groups of a groups answer, at most `limit`, as far as the message holds them; 0 when the
// count is missing or the list is cut (what was read is kept).
int ReadChannelGroups(CZVMSG& message, size_t limit, std::vector<CChannelGroup>* out);

class CTvFavoritesCtl : public CTRRegion, public CSocketSink {
public:
    static constexpr int kType = 183;
    static constexpr int kStyleClass = 6;
    static constexpr int kButtonClass = 17;
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1100;
    static constexpr int kFirstFavorite = 1200;
    static constexpr int kMaxFavorites = 200;  // ids 1200..1399
    static constexpr int kCellGap = 5;
    static constexpr uint32_t kRetryInterval = 2000;  // ms
    static constexpr const char* kNoGroups = "No Channel Groups";

    CTvFavoritesCtl(CZVWindow* parent, CZVServer& server, CZVRect rect, int source, int sizeClass, int fontSize);
    ~CTvFavoritesCtl() override;

    // Keeps the colour for the buttons that later answers make.
    void SetFaceColor(COLORREF colour) override { m_favoriteFace = colour; }
    int OnCommand(int id) override { return OnTabCommand(id, 1); }
    // Asks for the groups again until they come.
    void OnTimer() override;
    void OnMessage(CZVMSG* message) override;

    // Asks the gateway for the channel groups and makes a tab of each; 0 when
    // the query failed (nothing changed).
    int LoadGroups(int redraw);
    // A tab asks for its group's favourites, a favourite button tunes to it.
    int OnTabCommand(int id, int redraw);

    int IsLoaded() const { return m_loaded; }
    const std::vector<int32_t>& GetGroupIds() const { return m_groupIds; }
    const std::vector<CZV3DButton*>& GetButtons() const { return m_buttons; }
    const std::vector<int32_t>& GetFavoriteIds() const { return m_favoriteIds; }
    CFavoriteGrid GetGrid() const { return m_grid; }

private:
    // The body below the tabs.
    CZVRect GridArea();
    void RemoveButtons();
    void ShowFavorites(CZVMSG* message);
    void Send(uint16_t id, int32_t first, int32_t second);

    int m_source;
    int m_sizeClass;
    int m_loaded = 0;
    std::vector<int32_t> m_groupIds;
    std::vector<CZV3DButton*> m_buttons;  // children of the control
    std::vector<int32_t> m_favoriteIds;
    CFavoriteGrid m_grid;
    COLORREF m_favoriteFace = 0;
};

// The page control factory's maker for type 183.
CZVWindow* MakeTvFavorites(CPageControlArgs& args);

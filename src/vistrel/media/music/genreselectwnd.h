#pragma once
// CGenreSelectWnd: the pop-up in which the user picks the genres that the
// music library lists. It asks the gateway for the genres, shows one check
// button per genre in a grid, offers "All On", "All Off" and "Play Random",
// and sends the selection back once, when it closes, if the user changed it.
#include <vector>

#include "core/zvserver.h"
#include "widgets/window/overlay.h"

class CZVCheckButton;

// Where the genre buttons go: columns and rows of the grid.
struct GenreGrid {
    int columns;
    int rows;
};
// The grid of n genres in an area `height` pixels high: one column while a
// row can be 40 pixels high or more, else as many columns as it takes, never
// more than one per genre.
GenreGrid LayOutGenres(int n, int height);

class CGenreSelectWnd : public CPopupWnd, public CSocketSink {
public:
    enum : int {
        kAllOnCommand = 1000,
        kAllOffCommand = 1001,
        kPlayRandomCommand = 1002,
        kGenreCommand = 1003,
    };
    static constexpr int kButtonStripHeight = 40;
    static constexpr int kButtonStripGap = 5;
    static constexpr int kSingleColumnWidth = 300;

    // Sends the genre request at once.
    CGenreSelectWnd(CZVWindow* owner, CZVRect rect, int styleClass, CZVServer& server);
    ~CGenreSelectWnd() override;

    void OnMessage(CZVMSG* message) override;
    int OnCommand(int id) override;
    int OnLButtonDown(int x, int y, int keys) override;

    void SendSelection();
    int GetGenreCount() const { return static_cast<int>(m_genres.size()); }
    CZVCheckButton* GetGenreButton(int index) const { return m_genres[static_cast<size_t>(index)].button; }
    int IsChanged() const { return m_changed; }

private:
    struct Genre {
        CZVCheckButton* button;
        uint16_t id;
    };

    void ReadGenres(CZVMSG* message);
    void DeleteGenreButtons();
    // The selection goes out before the overlay closes, so that the pages
    // that reload on the closing list the genres just chosen.
    void SendBeforeClosing();
    CZVRect GridArea();

    std::vector<Genre> m_genres;
    int m_changed = 0;
};

#pragma once
// CMusicBrowsePage: the base of the music library's tab pages. Each page
// shows one to three music lists side by side, loads the next list when a
// row of the previous one is chosen, auto-selects the first row of a list
// after its first load, and turns the lists' row buttons into play and add
// commands of the source page that owns it. In genre-select mode (feature
// bit 0x200000) the page offers "Select Genres...", which opens the genre
// pop-up as the main window's overlay; the lists reload when it is closed
// with its own "Done".
#include "vistrel/media/music/musiclists.h"
#include "widgets/window/zvwindow.h"

class CAudioSourcePage;
class CMainWndBase;
class CZVLabel;

// The commands the browse pages' lists pass up, besides the row buttons'.
enum : int {
    kArtistSelected = 1000,
    kAlbumSelected = 1003,
    kTrackSelected = 1006,
    kGenreSelected = 1011,
    kGenrePlayCommand = 1017,
    kArtistsLoaded = 2000,
    kAlbumsLoaded = 2001,
    kTracksLoaded = 2002,
    kPlaylistsLoaded = 2003,
    kGenresLoaded = 2004,
    kSelectGenresCommand = 2010,
};

// The feature bit that lets the user pick the genres the library lists.
inline constexpr int kSourceGenreSelect = 0x200000;

class CMusicBrowsePage : public CZVWindow, public CMusicSource {
public:
    static constexpr int kHeadingHeight = 25;
    static constexpr int kGenreModeHeadingHeight = 37;
    static constexpr int kHeadingFontSize = 18;
    static constexpr int kGenreButtonWidth = 150;
    static constexpr int kGenreButtonHeight = 35;
    // The lists' first-load flags: the first to the fourth list of a page.
    static constexpr int kLists = 4;

    // The owner sends the play commands; it may be null (nothing is sent).
    CMusicBrowsePage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server);
    ~CMusicBrowsePage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;

    // ---- added operations
    // Empties the lists and loads the first one again.
    virtual void Refresh(int /*redraw*/) {}
    virtual CZVString GetTitle() { return "Music Library"; }
    virtual int IsSmallScreen();
    // The pop-up that "Select Genres..." opens, over the given rectangle of the main window.
    virtual CZVWindow* CreateGenrePopup(CMainWndBase* main, CZVRect rect);
    // Built anew in place of the same tab's page (the library changed): keeps the user's place.
    virtual void KeepPlaceOf(CMusicBrowsePage& /*before*/) {}

    // ---- the source the lists browse: the one chosen in the current zone
    int GetSelectedAudioItem() override;
    int GetSourceFeatures() override;

    int IsGenreSelectMode();
    int GetHeadingHeight();
    void AddGenreButton();
    void ShowGenrePopup(int show);
    int IsPopupShown() const { return m_popupShown; }
    CAudioSourcePage* GetOwner() const { return m_owner; }

protected:
    // The arguments of a list of this page with its selection and loaded commands.
    MusicListArgs ListArgs(CZVRect rect, int selection, int loaded);
    // Makes the list a child of the page and gives it back.
    template <class List>
    List* Place(List* list) {
        AddChild(list);
        return list;
    }
    // A heading band cut from the top of the column. The heading at the page's
    // top right leaves room for the "Select Genres..." button in genre-select mode.
    CZVLabel* AddHeading(CZVRect* column, const char* caption, bool topRight = false);
    // The heading names the row ("Tracks by %s"), unless in genre-select mode.
    void Retitle(CZVLabel* heading, const char* format, CLBAudioItem* row);
    // True the first time the list loaded since the page was built or refreshed.
    bool TakeFirstLoad(int list);
    void ClearFirstLoads();
    // Selects the first row, with a redraw while the page is shown.
    void SelectFirstRow(CAudioLibListBase* list);
    int SendPlay(int kind, int a, int b, int position, int play);
    int IsInputBlocked();
    // The pop-up opens from the middle of the button.
    void SetPopupAnchor(CZVWindow* button);

    CZVServer& m_libraryServer;

private:
    CAudioSourcePage* m_owner;
    int m_firstLoaded[kLists] = {};
    int m_popupShown = 0;
    // Compared only: the overlay owns and deletes the pop-up.
    const CZVWindow* m_popup = nullptr;
    int m_anchorX = 0;
    int m_anchorY = 0;
};

// The list shows a track row's artist, album and title in three columns.
CTrackList* WithTrackColumns(CTrackList* list);
// The list's current row, or null.
CLBAudioItem* CurrentRow(CAudioLibListBase* list);
// The current row when its text has arrived, or null.
CLBAudioItem* LoadedRow(CAudioLibListBase* list);

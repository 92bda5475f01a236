#pragma once
// CPlaylistList: the music server's play queue as a four-column table
// (three texts of each track and its length). The track being played is
// marked by its play state; while it plays, a bar across its row shows how
// far it got. The list tells its owner page which track is current, so that
// the page can show it as the track now playing.
#include <string>
#include <vector>

#include "widgets/lists/columnlist.h"

class CZVMSG;

// Play states of the current track.
enum : int {
    kPlayStatePaused = 4000,
    kPlayStatePlaying = 4004,
    kPlayStateWorking = 4005,
};

// The page that shows the track now playing.
class CPlayQueueOwner {
public:
    virtual ~CPlayQueueOwner() = default;
    virtual void OnPlayState(int state, int redraw) = 0;
    // Asks the album art of the current track.
    virtual void RequestAlbumArt() = 0;
    virtual void SetNowPlaying(const std::string& text0, const std::string& text1, const std::string& text2,
                               int redraw) = 0;
};

// "m:ss" of a number of seconds.
std::string MinutesSeconds(int seconds);
// The length column of a queue entry: "OFFLINE", "BAD FORMAT", "m:ss" or "-".
std::string QueueLengthText(int seconds, int entryState);

class CPlaylistList : public CColumnListWnd {
public:
    static constexpr int kColumns = 4;
    static constexpr COLORREF kPlayingBase = 0xFF8080;
    static constexpr COLORREF kPlayingBaseFlagged = 0xFF80FF;
    static constexpr COLORREF kPlayingBar = 0x80FF80;

    CPlaylistList(CZVWindow* parent, CPlayQueueOwner* owner, CZVRect rect, int commandId);

    // The play queue (0x10DB, 0x0FA3).
    void SetQueue(CZVMSG* message, int redraw);
    // The play state (0x10E7, 0x0FA2), read from after the owner's three integers.
    void SetStatus(CZVMSG* message, int redraw, int flag);
    void Previous();
    void Next();
    int GetCurrentIndex() const { return m_current; }
    void SetCurrentIndex(int index) { m_current = index; }
    int GetState() const { return m_state; }
    int GetProgress() const { return m_progress; }
    int IsNowPlayingPending() const { return m_nowPlayingPending; }
    // The width of the bar's fills: the inner width down to a multiple of 4.
    int GetBarWidth();

    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;

private:
    bool HasRow(int index) { return index >= 0 && index < GetCount(); }
    // Moves the current row locally and marks it as being worked on.
    void Step(int delta);
    void UpdateNowPlaying(int redraw);
    void ShowPlayedTime();
    COLORREF StateColour() const;
    void FillRowBand(CZVDC* dc, COLORREF colour, int x, int top, int w, int h, bool lines);

    CPlayQueueOwner* m_owner;
    int m_progress = 0;
    int m_current = 0;
    int m_state = -1;
    int m_flag = 0;
    int m_nowPlayingPending = 0;
    // Each row's length text; column 3 shows the played time instead while it is negative.
    std::vector<std::string> m_lengths;
};

#pragma once
// CMediaPlayerPage: "Now Playing" of a music server. The play queue fills the
// top; below it, the transport buttons at the left and the transport bar
// with the track now playing and its album art. Every button becomes a
// command to the gateway, which answers with the play state, the queue and
// the album art; the page follows them.
#include <cstdint>
#include <string>
#include <vector>

#include "vistrel/media/music/playlistlist.h"
#include "vistrel/shell/audiosourcepage.h"

class CImagePagerWnd;
class CMediaTransportBar;
class CZV3DButton;
class CZVCheckButton;
class CZVLabel;

// Feature bits of the music server's kind word that the page reads.
enum : int {
    kSourceNoQueueDelete = 0x80000,
    kSourceFixedOrder = 0x400000,
    kSourceNoRepeatRandom = 0x10000000,
};

// Codes of ZVM_AUDIO_SOURCECOMMAND.
enum : int {
    kSourceRandom = 5002,
    kSourceRepeat = 5003,
    kSourceSkipBack = 5005,
    kSourceStop = 5006,
    kSourcePause = 5007,
    kSourcePlay = 5008,
    kSourceSkipForward = 5009,
};

class CMediaPlayerPage : public CAudioSourcePage, public CPlayQueueOwner {
public:
    static constexpr int kMusicServerType = 3000;
    enum : int {
        kRepeatId = 2000,
        kRandomId = 2001,
        kUpId = 2002,
        kDownId = 2003,
        kDeleteId = 2004,
        kDeleteAllId = 2005,
        kPlayId = 3001,
        kPauseId = 3002,
        kStopId = 3003,
        kQueueId = 4000,
    };

    // features: the high bits of the source's kind word.
    CMediaPlayerPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, COLORREF faceColour,
                     int features);

    void OnShow(int show) override;
    int OnCommand(int id) override;
    void OnSourceMessage(CZVMSG* message, int redraw) override;

    void SendSourceCommand(int code, int argument);
    void RequestQueue();
    void SetPlayState(int state, int redraw);
    void SetTrackText(const std::string& artist, const std::string& album, const std::string& track, int redraw);

    // CPlayQueueOwner
    void OnPlayState(int state, int redraw) override { SetPlayState(state, redraw); }
    void RequestAlbumArt() override;
    void SetNowPlaying(const std::string& artist, const std::string& album, const std::string& track,
                       int redraw) override;

    int GetPlayState() const { return m_playState; }
    CPlaylistList* GetQueue() const { return m_queue; }
    CMediaTransportBar* GetTransportBar() const { return m_bar; }
    CImagePagerWnd* GetAlbumArt() const { return m_albumArt; }
    CZVLabel* GetValueLabel(int i) const { return m_values[i]; }
    // The button of a command id; null when the page has none.
    CZV3DButton* GetButton(int id) const;
    int HasAlbumArtArea() const { return m_artW >= 1 && m_artH >= 1; }
    CZVRect GetAlbumArtArea() const { return CZVRect(m_artX - m_artW / 2, m_artY - m_artH / 2, m_artW, m_artH); }

private:
    void BuildBar(CZVRect client, int barHeight, int leftWidth);
    // The rectangle with its right and bottom edges moved to those of the panel (the tabbed
    // panel that holds the page's parent); unchanged without one.
    CZVRect ReachPanelEdges(CZVRect rect, CZVWindow* panel);
    void BuildButtons(CZVRect block);
    void OnStatus(CZVMSG* message, int redraw);
    void OnAlbumArt(CZVMSG* message, int redraw);
    void DeleteSelected();
    void Play();
    void SendZoneValues(uint16_t id, std::initializer_list<int32_t> values);
    bool CanRedraw(int redraw);

    int m_features;
    int m_playState = 0;
    CPlaylistList* m_queue = nullptr;
    CZV3DButton* m_play = nullptr;
    CZV3DButton* m_pause = nullptr;
    CZV3DButton* m_stop = nullptr;
    CZV3DButton* m_up = nullptr;
    CZV3DButton* m_down = nullptr;
    CZV3DButton* m_delete = nullptr;
    CZV3DButton* m_deleteAll = nullptr;
    CZVCheckButton* m_repeat = nullptr;
    CZVCheckButton* m_random = nullptr;
    CImagePagerWnd* m_albumArt = nullptr;
    std::string m_albumArtName;
    CZVLabel* m_values[3] = {};
    std::string m_artist;
    std::string m_album;
    std::string m_track;
    CMediaTransportBar* m_bar = nullptr;
    int m_artX = 0;
    int m_artY = 0;
    int m_artW = -1;
    int m_artH = -1;
};

#pragma once
// CRadioNowPlayingPage: what the internet radio of a zone plays: station,
// artist, track, frequency, the stream's incoming bit rate and quality, a
// level bar the gateway fills, two lamp meters (reception and quality) and
// Pause and Stop. It asks for the status whenever it paints and follows the
// status notices in between; while it is hidden, the zones page's
// now-playing listener gets the level instead.
#include <string>

#include "vistrel/shell/audiosourcepage.h"

class CLampMeter;
class CZVLabel;
class CZVLevelBar;

// The quality a stream's bit rate (bits a second) gives: 1 to 7, and its text.
struct RadioQuality {
    int level;
    const char* text;
};
RadioQuality QualityOfBitRate(int bitRate);
// The reception meter's lit lamps: incoming bytes against the stream's bits, 0 to 14.
int ReceptionLamps(int incoming, int streamBitRate);

// The source type whose status the page shows (the kind word's low half).
inline constexpr int kInternetRadioType = 3001;

class CRadioNowPlayingPage : public CAudioSourcePage {
public:
    static constexpr int kStop = 3002;
    static constexpr int kPause = 3003;
    static constexpr int kStopCode = 5006;
    static constexpr int kPauseCode = 5007;
    static constexpr int kMeterLamps = 14;

    // Switches the program's labels to the smooth font for good (ResetSmoothLabels in tests).
    CRadioNowPlayingPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass);

    void OnPaint(CZVDC* dc) override;
    int OnCommand(int id) override;
    void OnSourceMessage(CZVMSG* message, int visible) override;

    CZVLabel* GetStation() const { return m_station; }
    CZVLabel* GetArtist() const { return m_artist; }
    CZVLabel* GetTrack() const { return m_track; }
    CZVLabel* GetIncoming() const { return m_incoming; }
    CZVLabel* GetFrequency() const { return m_frequency; }
    CZVLabel* GetQuality() const { return m_quality; }
    CZVLevelBar* GetLevelBar() const { return m_levelBar; }
    CLampMeter* GetReceptionMeter() const { return m_reception; }
    CLampMeter* GetQualityMeter() const { return m_qualityMeter; }

private:
    struct Status;

    void Build();
    // An icon button with its caption beside the icon.
    void AddTransportButton(CZVRect rect, int id, const char* icon, const char* caption);
    // The value label of a field row; the meter's rectangle when asked for.
    CZVLabel* AddFieldLabels(CZVRect row, const char* caption, CZVRect* meter);
    CLampMeter* AddMeter(CZVRect rect);
    void ShowStatus(const Status& status, int redraw);
    void ShowMeters(const Status& status);
    void TellListener(const Status& status);

    CZVLabel* m_station = nullptr;
    CZVLabel* m_artist = nullptr;
    CZVLabel* m_track = nullptr;
    CZVLabel* m_incoming = nullptr;
    CZVLabel* m_frequency = nullptr;
    CZVLabel* m_quality = nullptr;
    CZVLevelBar* m_levelBar = nullptr;
    CLampMeter* m_reception = nullptr;
    CLampMeter* m_qualityMeter = nullptr;
    int m_streamBitRate = 0;
    std::string m_stationName;
};

#pragma once
// CSpeakerCtl: the speaker selector of a video source, four check buttons
// with the gateway's "speaker_0" to "speaker_3" icons. Position 0 silences
// all video audio; positions 1 to 3 play this source's audio, alone, at 34,
// 67 or 100 percent of the output volume. It is known to the video
// registries for its whole life, so that choosing another source's audio
// shows it off.
#include "vistrel/media/video/pvideo.h"
#include "widgets/window/zvwindow.h"

class CZVCheckButton;

class CSpeakerCtl : public CZVWindow, public CSpeakerControl {
public:
    static constexpr int kPositions = 4;
    static constexpr int kFirstCommand = 1000;
    static constexpr int kStyleClass = 8;

    CSpeakerCtl(CZVWindow* parent, int source, CZVRect rect);
    ~CSpeakerCtl() override;

    // Turns on the button of the position; with apply, plays as it says.
    void SetSpeaker(int position, int redraw, int apply);
    // The output volume in percent of a position from 1 to 3.
    static int VolumeOf(int position) { return position * 33 + 1; }

    int OnCommand(int id) override;
    int GetSource() const override { return m_source; }
    void ShowOff() override { SetSpeaker(0, 1, 0); }

    CZVCheckButton* GetButton(int position) const { return m_buttons[position]; }

private:
    int m_source;
    CZVCheckButton* m_buttons[kPositions] = {};
};

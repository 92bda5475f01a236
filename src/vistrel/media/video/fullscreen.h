#pragma once
// CFullScreenButton: "Full Screen" for a video source. Its press shows the
// source in the largest 4:3 video window the main window holds, on black,
// with the other video windows paused; the next touch anywhere closes it
// and lets the others run again. The screen saver closes it too.
#include "vistrel/media/video/videownd.h"
#include "widgets/buttons/zv3dbutton.h"

class CFullScreenButton : public CZV3DButton {
public:
    static constexpr int kCommand = 1000;
    static constexpr int kStyleClass = 17;
    static constexpr int kType = 182;

    CFullScreenButton(CZVWindow* parent, CZVRect rect, int source, int quality);
    ~CFullScreenButton() override;

    int OnLButtonDown(int x, int y, int keys) override;
    int OnCommand(int id) override;
    void OnSuspend() override;
    // Closes the full-screen window without redrawing or restarting anything.
    void CloseFullScreen();

    CVideoWnd* GetFullScreenWindow() const { return m_fullScreen; }

private:
    // Takes the window off the main window and deletes it; 0 when none was open.
    int RemoveFullScreen();

    int m_source;
    int m_quality;
    CVideoWnd* m_fullScreen = nullptr;
};

// Registers the full-screen button with the page control factory.
void RegisterFullScreenButton();

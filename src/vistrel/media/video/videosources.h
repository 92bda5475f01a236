#pragma once
// CVideoSourcesPage: the main-menu page of the gateway's video sources, one
// tab each. The chosen source shows in a video window with a strip of its
// controls beside or below it (whichever leaves the larger picture), or as
// the gateway's own panel for a source that asks for one. The chosen tab is
// remembered for the whole run.
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/video/videownd.h"
#include "vistrel/shell/pbase.h"

// One video source of the gateway's list.
struct CVideoSourceEntry {
    std::string name;
    int32_t sourceId = 0;
    int32_t controlFlags = 0;
    int32_t videoFlags = 0;
    bool operator==(const CVideoSourceEntry&) const = default;
};

// Control flags: the controls a source offers.
enum : int32_t {
    kVideoArrowPad = 0x2,
    kVideoSpeaker = 0x8,
    kVideoPanel = 0x10,
    kVideoPlusMinus = 0x80,
    kVideoPresets = 0x100,
};

// Video flags: how the picture's quality is chosen and what the strip leaves out.
enum : int32_t {
    kVideoQualityMed = 0x4,
    kVideoQualityLow = 0x8,
    kVideoNoLevels = 0x10,
    kVideoNoFullScreen = 0x20,
    kVideoQualityByWidth = 0x40,
};

// The count and the sources as far as the message holds them; 0 when the
// count is missing or the list is cut (what was read is kept).
int ReadVideoSources(CZVMSG& message, std::vector<CVideoSourceEntry>* out);

// The quality a source's pictures are asked for in: 0 Low, 1 Med, 2 High.
int VideoQualityIndex(int32_t videoFlags, int pictureWidth);

// Where the picture and the control strip go in a content area (at 0, 0).
struct CVideoPageLayout {
    int pictureX = 5;
    int pictureY = 30;
    int pictureWidth = 800;
    int pictureHeight = 600;
    int overhang = 0;  // how far the picture reaches past the area's right edge
    CZVRect video;     // the window, 2 pixels around the picture
    CZVRect strip;
    int vertical = 0;  // 1: the strip stands right of the picture
};
CVideoPageLayout LayoutVideoPage(int width, int height, int gap);

// The controls of the strip, in the order they are placed.
enum class VideoStripSlot : int { kArrowPad, kPlusMinus, kPresets, kLevels, kSpeaker, kFullScreen, kCount };

struct CVideoStripCell {
    VideoStripSlot slot;
    CZVRect rect;
};
// The cells of the controls a source asks for, taken off the strip from the
// right (strip below) or the top (strip beside); the strip narrows to them
// when it stands beside and they fit.
std::vector<CVideoStripCell> LayoutVideoStrip(CZVRect* strip, int vertical, int32_t controlFlags, int32_t videoFlags);

// Hands the camera moves that a video window reports on to the control
// that shows them (the arrow pad), while there is one.
class CCameraMoveForwarder : public CVideoListener {
public:
    void SetTarget(CVideoListener* target) { m_target = target; }
    void OnCameraMoves(int left, int right, int up, int down) override {
        if (m_target) m_target->OnCameraMoves(left, right, up, down);
    }

private:
    CVideoListener* m_target = nullptr;
};

class CVideoSourcesPage : public CPageBase {
public:
    static constexpr int kPageId = 5009;
    static constexpr int kFirstTab = 3000;
    static constexpr int kLastTab = 3999;
    static constexpr int kSourceVariable = 9;
    static constexpr int kPanelId = 8;

    CVideoSourcesPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CVideoSourcesPage() override;

    int OnCommand(int id) override { return OnTabCommand(id, 1); }
    void OnShow(int show) override;
    void Rebuild() override;
    // A tab's id shows its source and is remembered; other ids are returned.
    int OnTabCommand(int id, int redraw);

    const std::vector<CVideoSourceEntry>& GetSources() const { return m_sources; }
    const CVideoPageLayout& GetLayout() const { return m_layout; }
    CZVWindow* GetPanel() const { return m_panel; }
    CVideoWnd* GetVideoWindow() const { return m_video; }
    int GetSavedVolume() const { return m_savedVolume; }

private:
    void LoadSources();
    void ShowSource(int redraw);
    void RemovePanel();
    void BuildStrip(const CVideoSourceEntry& source);
    // The control of a strip cell for the source.
    CZVWindow* MakeStripControl(const CVideoStripCell& cell, const CVideoSourceEntry& source);

    CZVServer& m_server;
    CCameraMoveForwarder m_listener;
    std::vector<CVideoSourceEntry> m_sources;
    CVideoPageLayout m_layout;
    int m_savedVolume;
    CZVWindow* m_panel = nullptr;
    CVideoWnd* m_video = nullptr;
};

// Registers the Video page with the shell.
void RegisterVideoSourcesPage();

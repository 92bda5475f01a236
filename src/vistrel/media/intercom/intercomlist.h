#pragma once
// CIntercomButton: the intercom's station list (control type 186). One row
// per station, and an "All" row first when there are several; the selected
// row's Talk and Listen buttons drive that row's CTalkListenWnd, which the
// list owns (the windows are not shown). While a row talks or listens the
// list draws its level as a bar over the row.
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "widgets/lists/textlist.h"

class CTalkListenWnd;
class CWavDevice;
struct CPageControlArgs;

class CIntercomButton : public CTextList, public CSocketSink {
public:
    static constexpr int kType = 186;
    static constexpr int kMinRowHeight = 40;
    static constexpr int kButtonClass = 17;
    static constexpr const char* kAllRow = "All";
    static constexpr COLORREF kTalkingColor = 0x0000C8;    // red 200
    static constexpr COLORREF kListeningColor = 0x00C800;  // green 200

    // Colours of 0 keep the list's; a font size of 0 keeps the style's. The
    // device is the one the rows record from; null: the tablet's audio player.
    CIntercomButton(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize, COLORREF textColour,
                    COLORREF faceColour, CWavDevice* device = nullptr);
    ~CIntercomButton() override;

    // Talk and Listen pressed go to the selected row, released to every row.
    int OnCommand(int id) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnIdle(int busy) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // A row window's activity or level changed: its row is drawn again.
    void OnRowLevel(CTalkListenWnd* window);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    CTalkListenWnd* GetRowWindow(int index) const { return m_rows[static_cast<size_t>(index)].get(); }

private:
    void RequestStations();
    void ReadStations(CZVMSG* message);
    void AddStation(const char* name, int station);
    void MakeRowButtons();
    int IndexOfWindow(const CTalkListenWnd* window) const;
    // The row's active bar width: level % of the row less the margins and,
    // on the selected row of a station, less its row buttons.
    int BarWidth(CListItem* row, int level);

    std::vector<std::unique_ptr<CTalkListenWnd>> m_rows;
    CWavDevice* m_device;
    int m_firstAnswer = 1;
    int m_releaseSent = 0;
    std::vector<int> m_heldRowButtons;  // press ids of the row buttons held down
};

// The page control factory's maker for type 186.
CZVWindow* MakeIntercomList(CPageControlArgs& args);
// The types 155 and 186, and the window that answers an incoming call.
void RegisterIntercomControls();

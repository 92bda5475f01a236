#pragma once
// CKeypadCtl: one lighting keypad as the gateway describes it, its buttons
// scaled into the control, every touch reported with the press, hold,
// release and click protocol, and the keypad's LEDs shown as the buttons'
// set state. The right-arrow key while a button with an LED is held opens
// the programming editor of that button in place of the keypad.
#include <cstdint>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "widgets/window/zvwindow.h"

class CColumnListWnd;
class CRRegion;
class CZV3DButton;

// Where the keypad's buttons go: the largest rectangle of the outline's
// aspect inside the area (the whole area without keepAspect), centred.
CZVRect KeypadTargetRect(CZVRect area, int outlineWidth, int outlineHeight, int keepAspect);
// A button of the description scaled from the outline into the area
// (multiplying before dividing); the outline's sizes are above 0.
CZVRect ScaleKeypadButton(const CKeypadButtonRecord& button, const CKeypadRecord& outline, CZVRect area);

class CKeypadCtl : public CZVWindow, public CSocketSink {
public:
    enum : int {
        kClickBase = 2000,
        kPressBase = 2100,
        kReleaseBase = 2200,
        kSaveId = 4000,
        kCancelId = 4001,
    };
    enum : int { kMomentary = 5, kMomentaryWithLed = 6 };
    static constexpr uint32_t kHoldTime = 50;  // ms from press to hold
    static constexpr int kButtonClass = 18;
    static constexpr int kPanelClass = 6;

    CKeypadCtl(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int keypadId, int framed,
               int fontSize, COLORREF textColour, int keepAspect);
    ~CKeypadCtl() override;

    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    void OnKeyDown(int key, int flags) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int GetKeypadId() const { return m_keypadId; }
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    CZV3DButton* GetButton(int index) const { return m_buttons[static_cast<size_t>(index)]; }
    CRRegion* GetPanel() const { return m_panel; }
    CColumnListWnd* GetEditor() const { return m_editor; }
    const std::vector<CKeypadEntryRecord>& GetEditorEntries() const { return m_entries; }

private:
    void BuildButtons(int redraw);
    void DeleteButtons();
    CZV3DButton* MakeButton(CZVWindow* host, const CKeypadButtonRecord& desc, CZVRect rect, int index,
                            int outlineWidth);
    void StyleCaptions(CZVWindow* host);
    static int HasLed(int kind) { return kind != kMomentary; }
    void SendPair(uint16_t id, int32_t second, uint16_t sender);
    void SendTouch(uint16_t id, int button);
    void AskLeds();
    void TakeLeds(CZVMSG& message);

    void OpenEditor(int button);
    // Deletes the editor's windows and rows.
    void RemoveEditor();
    // Removes the editor, tells the gateway and builds the keypad again.
    void CloseEditor();
    void SaveEditor();
    void TakeEntry(CZVMSG& message);

    int m_keypadId;
    int m_framed;
    int m_keepAspect;
    int m_fontSize;
    COLORREF m_captionColour;
    std::vector<CZV3DButton*> m_buttons;
    std::vector<int> m_kinds;
    CRRegion* m_panel = nullptr;
    int m_heldButton = -1;
    uint32_t m_pressTime;
    CColumnListWnd* m_editor = nullptr;
    CZV3DButton* m_save = nullptr;
    CZV3DButton* m_cancel = nullptr;
    std::vector<CKeypadEntryRecord> m_entries;
    int m_editorButton = -1;
};

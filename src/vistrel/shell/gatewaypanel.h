#pragma once
// Areas the gateway fills with its own controls. CGatewayPanel: a plain
// panel whose controls the gateway sends for a panel id. CEntryPanel: a
// titled panel with a twelve-key entry keypad. CGatewayCheckButton:
// the check button of control types 123, 173 and 175 that mirrors a
// gateway state and (123, 173) sets it.
#include "core/zvserver.h"
#include "widgets/buttons/zvchkbutton.h"

class CGatewayPanel : public CZVWindow {
public:
    // Loads nothing: a subclass loads its own list.
    static constexpr int kNoPanel = 0x7FFF;

    // Asks the gateway for the panel's controls at once (a blocking,
    // cached query); a failed query leaves the panel empty.
    CGatewayPanel(CZVWindow* parent, CZVRect rect, int styleClass, int panelId, int argument);

    // Builds a count-prefixed list of control records, each value scaled
    // to the panel's size on its own.
    void LoadControls(CZVMSG* message);

protected:
    int m_fontOverride = 0;  // 0: each record's own font size
};

class CZVLabel;

class CEntryPanel : public CZVWindow {
public:
    static constexpr int kTitleClass = 8;
    static constexpr int kKeyClass = 18;
    static constexpr const char* kKeySound = "bleep10.wav";

    // A title band of titleHeight over a keypad whose key commands
    // (11000..11011) bubble to the parent.
    CEntryPanel(CZVWindow* parent, CZVRect rect, int styleClass, int titleHeight, int gap, int fontSize);

    // A backslash-n in the text becomes a line break.
    void SetTitle(CZVString text, int redraw);
    CZVLabel* GetTitle() const { return m_title; }

private:
    CZVLabel* m_title = nullptr;
};

class CGatewayCheckButton : public CZVCheckButton, public CSocketSink {
public:
    enum : int { kCheckState = 123, kDeviceState = 173, kDeviceStateShown = 175 };

    CGatewayCheckButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int fontSize,
                        COLORREF textColour, COLORREF faceColour, int objectId, int readOnly, int type);
    ~CGatewayCheckButton() override;

    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

private:
    // The message carries this button's kind of state.
    int Takes(uint16_t id) const;

    int m_objectId;
    int m_readOnly;
    int m_type;
};

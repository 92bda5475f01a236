#pragma once
// The controls through which gateway pages show and set the house mode.
// CHouseModeButton: one mode's button (types 101-103 for modes 0-2, 133-139
// for modes 3-9); the buttons of a page act as radio buttons, each checked
// while its mode is the house's and blinking when the gateway says so.
// CHouseModeWnd (type 104): the line "House is in <mode> Mode". Both ask for
// the mode once and then follow every change the gateway announces.
#include "core/zvserver.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/text/zvlabel.h"

class CHouseModeButton : public CZVCheckButton, public CSocketSink {
public:
    static constexpr int kStyleClass = 18;

    CHouseModeButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int fontSize,
                     COLORREF textColour, COLORREF faceColour, int mode);
    ~CHouseModeButton() override;

    // The button's own command (its mode) sets the house mode.
    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    int GetMode() const { return m_mode; }

private:
    int m_mode;
};

class CHouseModeWnd : public CZVLabel, public CSocketSink {
public:
    static constexpr int kStyleClass = 5;

    CHouseModeWnd(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CHouseModeWnd() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}
};

// The mode of a house-mode notice or answer; false for other messages.
bool ReadHouseMode(CZVMSG* message, int32_t* mode, int32_t* blink);

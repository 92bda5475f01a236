#pragma once
// CToggleButton: a check button bound to one on/off object of the gateway.
// It asks for the object's state when made, follows every state notice for
// the object (also those that other panels cause) and sends its own flips
// at once, without waiting for an answer.
#include "core/zvserver.h"
#include "widgets/buttons/zvchkbutton.h"

class CToggleButton : public CZVCheckButton, public CSocketSink {
public:
    // Factory type 125; the icon or the caption as for the command button.
    CToggleButton(CZVWindow* parent, CZVRect rect, int iconKind, CZVString caption, int fontSize,
                  COLORREF iconColour, COLORREF faceColour, int objectId);

    // A release inside a press flips the state and sends it; every release
    // ends the press and its capture.
    int OnLButtonUp(int x, int y, int keys) override;
    void OnMessage(CZVMSG* message) override;

private:
    int m_objectId;
};

#pragma once
// Buttons that the gateway places on its pages and that each turn a click
// into one gateway command: the bevelled command button, the same on a
// corner piece of a remote keypad, and the switch buttons of the media pages.
#include "widgets/buttons/cornerbtn.h"
#include "widgets/buttons/zv3dbutton.h"

// Gives a gateway button its icon, or its caption when the icon kind is 0
// (kind 22: the named gateway icon, else a built-in icon in the colour),
// and the font size and face colour when they are not 0.
void DressGatewayButton(CZVButton* button, int iconKind, CZVString caption, int fontSize, COLORREF iconColour,
                        COLORREF faceColour, CZVString iconName);

class CZoneCommandButton : public CZV3DButton {
public:
    // The button's command is the command code itself (factory types 124 and 159).
    CZoneCommandButton(CZVWindow* parent, CZVRect rect, int styleClass, int iconKind, CZVString caption, int fontSize,
                       COLORREF iconColour, COLORREF faceColour, CZVString iconName, int commandCode);

    // The command code goes to the gateway with the audio zone, and no further.
    int OnCommand(int id) override;

private:
    int m_commandCode;
};

class CZoneCommandCornerButton : public CCornerButton {
public:
    // As the command button, on a corner piece of a keypad's pad circle.
    CZoneCommandCornerButton(CZVWindow* parent, CZVRect rect, int styleClass, int iconKind, CZVString caption,
                             int fontSize, COLORREF iconColour, COLORREF faceColour, CZVString iconName,
                             int commandCode, int cornerKind, int circleRadius, int centreX, int centreY);

    int OnCommand(int id) override;

private:
    int m_commandCode;
};

// Factory types of the switch button.
enum : int {
    kZoneSwitchType = 169,
    kZoneSwitchPairType = 185,
};

class CZoneSwitchCtl : public CZV3DButton {
public:
    static constexpr int kClickId = 1000;

    // Type 169: value is the switch value, parameter a built-in icon kind
    // (0: none) in the colour. Type 185: value and parameter are the two
    // values it sends.
    CZoneSwitchCtl(CZVWindow* parent, CZVRect rect, int type, int value, CZVString caption, int fontSize,
                   int parameter, COLORREF colour);

    int OnCommand(int id) override;

private:
    int m_type;
    int m_value;
    int m_parameter;
};

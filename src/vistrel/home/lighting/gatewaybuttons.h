#pragma once
// Buttons of gateway pages whose touches go straight to the gateway:
// CGatewayButton (type 121), COnOffButton (150 and 174, on while pressed),
// and CButtonGridCtl (179), a grid of further controls that the gateway
// lists when the grid asks.
#include "core/zvserver.h"
#include "widgets/buttons/zv3dbutton.h"

class CGatewayButton : public CZV3DButton {
public:
    static constexpr int kStyleClass = 18;

    // A parameter other than 0 shows that icon kind instead of the text
    // (kind 22: the gateway icon named by iconName).
    CGatewayButton(CZVWindow* parent, CZVRect rect, int commandId, int type, CZVString text, int fontSize,
                   COLORREF textColour, COLORREF faceColour, int parameter, CZVString iconName);

    int OnCommand(int id) override;

protected:
    int m_commandId;
    int m_type;
};

class COnOffButton : public CGatewayButton {
public:
    enum : int { kPressId = 1000, kReleaseId = 1001 };
    static constexpr int kUiType = 150;
    static constexpr int kDeviceType = 174;

    COnOffButton(CZVWindow* parent, CZVRect rect, int commandId, int type, CZVString text, int fontSize,
                 COLORREF textColour, COLORREF faceColour, int parameter, CZVString iconName);

    int OnCommand(int id) override;
};

// How a button grid lays out n entries in a client area w x h of a
// control controlHeight high: columns x rows and the height they use.
struct CButtonGridShape {
    int columns = 1;
    int rows = 1;
    int usedHeight = 0;
};
CButtonGridShape ButtonGridShape(int count, int width, int height, int controlHeight);

class CButtonGridCtl : public CZVWindow, public CSocketSink {
public:
    static constexpr int kRowHeight = 50;
    static constexpr int kCellWidth = 300;

    CButtonGridCtl(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int parameter, int fontSize);
    ~CButtonGridCtl() override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

private:
    void Build(CZVMSG& answer);
};

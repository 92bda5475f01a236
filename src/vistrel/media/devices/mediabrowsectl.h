#pragma once
// CMediaBrowseCtl: a menu the gateway defines as a list of page controls,
// either for the current audio zone (type 168) or for one media device
// (type 184); every new menu that arrives replaces the controls.
#include "core/zvserver.h"
#include "vistrel/shell/gatewaypanel.h"

class CMediaBrowseCtl : public CGatewayPanel, public CSocketSink {
public:
    static constexpr int kZoneMenuType = 168;
    static constexpr int kDeviceMenuType = 184;
    static constexpr int kNoZone = -1;

    // fontSize: the font size of every control of the menu (0: each
    // control's own). deviceId counts for type 184 only.
    CMediaBrowseCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize, int type, int deviceId);
    ~CMediaBrowseCtl() override;

    // Showing a zone menu asks for the menu of the zone current now when it
    // is not the one asked for last.
    void OnShow(int show) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // The zone whose menu was asked for last (kNoZone before any), or the device.
    int GetZoneOrDevice() const { return m_zoneOrDevice; }

private:
    // Asks for the menu: of the current zone (none while there is no
    // current zone) or of the device.
    void Request();
    void Unsubscribe();
    // The message is a menu this control shows; its read position then
    // stands at the control list.
    bool IsOwnMenu(CZVMSG* message);

    int m_type;
    int m_zoneOrDevice;
};

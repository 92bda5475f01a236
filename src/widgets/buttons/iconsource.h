#pragma once
// Button icons made of the drawing engine's icons: built-in vector drawings,
// and copies of the icon cache's shared icons that fill in when the
// gateway's answer arrives.
#include "widgets/buttons/buttonicon.h"

class CZVServer;

class CGatewayIconSource : public CButtonIconSource {
public:
    explicit CGatewayIconSource(CZVServer& server) : m_server(server) {}

    CButtonIcon* MakeStock(int kind, COLORREF colour) override;
    // Without an icon cache the icon is the button's own and asks for itself.
    CButtonIcon* MakeNamed(const CZVString& name) override;

private:
    CZVServer& m_server;
};

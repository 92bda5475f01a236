#pragma once
// "Set Remote Password": the password with which remote clients log in. It
// never travels itself: the gateway's login challenge, encrypted with the new
// password as the key, is sent for password slots 0 and 1.
#include <string>

#include "core/gatewaylink.h"

class CSetPassView {
public:
    virtual ~CSetPassView() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

class CSetPassDlg {
public:
    // How OnOK leaves the dialog.
    enum Outcome { kStayOpen = 0, kClosedOk = 1, kClosedCancel = 2 };

    CSetPassDlg(CGatewayLink& link, CSetPassView& view) : m_link(link), m_view(view) {}

    Outcome OnOK(const std::string& password, const std::string& confirmation);
    // 1 when both slots took the new password, else 0 (a slot 0 that
    // answered stays set).
    int SetPassword(const std::string& password);

private:
    CGatewayLink& m_link;
    CSetPassView& m_view;
};

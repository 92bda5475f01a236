#include "basinsetup/setpassdlg.h"

#include "core/messages/setupmessages.h"
#include "core/zvcode.h"
#include "core/zvserver.h"

CSetPassDlg::Outcome CSetPassDlg::OnOK(const std::string& password, const std::string& confirmation) {
    if (password != confirmation) {
        m_view.ShowMessage("Passwords Do Not Match");
        return kClosedCancel;
    }
    if (password.empty()) {
        m_view.ShowMessage("Empty Password is not allowed");
        return kStayOpen;
    }
    m_view.ShowMessage(SetPassword(password) ? "New Password has been set." : "Error Setting New Password");
    return kClosedOk;
}

int CSetPassDlg::SetPassword(const std::string& password) {
    CZVMSG ask(0, ZVM_LOGIN_GETCHALLENGEQ, 0, 1, ZVVariant::Config);
    std::unique_ptr<CZVMSG> answer = m_link.Ask(ask, kDefaultQueryTimeout);
    std::string challenge;
    if (!answer || !answer->ReadString(challenge)) return 0;
    const auto response = EncryptPasswordBlock(password, challenge);
    for (int32_t slot = 0; slot < 2; ++slot) {
        CZVMSG request(0, ZVM_SYSCONFIG_SETPASSWORDQ, 0, 1, ZVVariant::Config);
        request.WriteInt(slot);
        request.WriteBytes(response.data(), static_cast<int32_t>(response.size()));
        if (!m_link.Ask(request, kDefaultQueryTimeout)) return 0;
    }
    return 1;
}

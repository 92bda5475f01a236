// Logging in to the gateway. For now this holds the re-login that Poll runs
// after reconnecting in remote mode; the direct and remote connects join it.
#include "core/zvquery.h"
#include "core/zvserver.h"

int CZVServer::Relogin() {
    CZVQuery query(*this);
    std::string challenge;
    if (!query.QueryString(challenge, ZVM_LOGIN_GETCHALLENGEQ))
        return 0;
    return Login(challenge, m_password, m_clientType, m_clientName);
}

// Placeholder until the challenge response is built here with the block
// cipher: every login counts as refused, so a remote re-login fails cleanly
// and Poll tries again later.
int CZVServer::Login(const std::string&, const std::string&, int, const std::string&) {
    m_loginRefused = 1;
    return 0;
}

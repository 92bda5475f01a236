#include "sentinax/mxlookup.h"

#include <arpa/nameser.h>
#include <netdb.h>
#include <netinet/in.h>
#include <resolv.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "sentinax/hostlookup.h"

bool ParseMxAnswer(const uint8_t* answer, size_t length, std::vector<std::string>& hosts) {
    hosts.clear();
    ns_msg message;
    if (!answer || length > INT_MAX || ns_initparse(answer, static_cast<int>(length), &message) < 0)
        return false;
    std::vector<std::pair<uint16_t, std::string>> exchangers;
    const int count = ns_msg_count(message, ns_s_an);
    for (int i = 0; i < count; ++i) {
        ns_rr record;
        if (ns_parserr(&message, ns_s_an, i, &record) < 0)
            return false;
        if (ns_rr_type(record) != ns_t_mx)
            continue;
        // A 16-bit preference, then the exchange's name.
        constexpr int kPreferenceBytes = 2;
        char name[NS_MAXDNAME];
        if (ns_rr_rdlen(record) <= kPreferenceBytes ||
            ns_name_uncompress(ns_msg_base(message), ns_rr_rdata(record) + ns_rr_rdlen(record),
                               ns_rr_rdata(record) + kPreferenceBytes, name, sizeof name) < 0)
            return false;
        exchangers.emplace_back(ns_get16(ns_rr_rdata(record)), name);
    }
    // The lowest preference is tried first; equal ones keep the answer's order.
    std::stable_sort(exchangers.begin(), exchangers.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& exchanger : exchangers)
        hosts.push_back(std::move(exchanger.second));
    return true;
}

bool CDnsMxResolver::QueryMx(const std::string& domain, std::vector<std::string>& hosts, int& error) {
    hosts.clear();
    if (domain.empty() || !MayLookUpHost(domain)) {
        error = HOST_NOT_FOUND;
        return false;
    }
    struct __res_state state{};
    if (res_ninit(&state) != 0) {
        error = NETDB_INTERNAL;
        return false;
    }
    std::vector<uint8_t> answer(NS_MAXMSG);
    const int length = res_nquery(&state, domain.c_str(), ns_c_in, ns_t_mx, answer.data(), static_cast<int>(answer.size()));
    error = state.res_h_errno;
    res_nclose(&state);
    if (length < 0)
        return false;
    // A longer answer was cut to the buffer.
    if (!ParseMxAnswer(answer.data(), std::min<size_t>(static_cast<size_t>(length), answer.size()), hosts)) {
        error = NO_RECOVERY;
        return false;
    }
    return true;
}

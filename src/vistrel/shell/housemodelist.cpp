#include "vistrel/shell/housemodelist.h"

#include <string>

#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "widgets/style/setserver.h"

namespace {

constexpr const char* kDefaultModes[] = {"Home", "Away", "Vacation"};
constexpr const char* kDefaultIcon = "I_LOGO";
constexpr int32_t kMinEntryBytes = 8;  // two empty strings

}  // namespace

int CHouseModeList::Load(CZVServer& server) {
    Clear();
    CSetServer* style = CSetServer::Get();
    if (!style || !style->IsThemed()) {
        for (const char* name : kDefaultModes) m_entries.push_back({name, kDefaultIcon});
        return 1;
    }
    CZVQuery query(server);
    CZVMSG request(0, ZVM_HOUSE_GETMODENAMESQ);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request)) return 0;
    // A broken answer keeps the modes read before the break.
    int32_t count = 0;
    if (!answer->ReadInt(count)) return 1;
    ReadRecords(*answer, count, kMinEntryBytes, [&](int) {
        std::string name, icon;
        if (!CMsgReader(*answer).String(name).String(icon)) return 0;
        m_entries.push_back({name.c_str(), icon.c_str()});
        return 1;
    });
    return 1;
}

CZVString CHouseModeList::GetName(int index) const { return Holds(index) ? m_entries[index].name : "Error"; }

CZVString CHouseModeList::GetIcon(int index) const { return Holds(index) ? m_entries[index].icon : ""; }

std::optional<CHouseModeList::Entry> CHouseModeList::GetEntry(int index) const {
    if (!Holds(index)) return std::nullopt;
    return m_entries[index];
}

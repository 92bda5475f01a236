#include "vistrel/media/phone/phonelists.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"

namespace {

// The bytes of the shortest entry: id, time, span, two empty strings and the
// two trailing ints.
constexpr int32_t kMinEntryBytes = 4 + 16 + 12 + 4 + 4 + 4 + 4;
constexpr int32_t kOldBit = 0x2;

struct PhoneEntry {
    int32_t id = -1;
    CZVTime time;
    CZVTimeSpan span;
    std::string number;
    std::string caller;
    int32_t first = 0;
    int32_t flags = 0;
};

// The entry after the id.
bool ReadEntryRest(CZVMSG& message, PhoneEntry& entry) {
    return message.ReadTime(entry.time) && message.ReadTimeSpan(entry.span) &&
           CMsgReader(message).String(entry.number).String(entry.caller).Int(entry.first).Int(entry.flags);
}

// Asks the query and hands the answer positioned after its count; null when
// there is no usable answer.
CZVMSG* AskList(CZVQuery& query, CZVMSG& request, uint16_t answerId, int32_t* count) {
    query.SetTimeout(CZVQuery::kDefaultTimeout);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || !answer || answer->GetId() != answerId) return nullptr;
    answer->ResetPosition();
    if (!answer->ReadInt(*count)) return nullptr;
    return answer;
}

CColumnListItem* InsertEntryRow(CColumnListWnd* list, const PhoneEntry& entry) {
    CColumnListItem* row = list->InsertRowFirst();
    row->m_data = reinterpret_cast<void*>(static_cast<intptr_t>(entry.id));
    row->SetText(0, CZVString(entry.caller.c_str()));
    row->SetText(1, CZVString(entry.number.c_str()));
    row->SetText(2, PhoneDateText(entry.time));
    row->SetText(3, PhoneTimeText(entry.time));
    row->SetText(4, PhoneLengthText(entry.span));
    return row;
}

void SetColumns(CColumnListWnd* list, const char* const* titles, const int* widths, int count) {
    for (int i = 0; i < count; ++i) {
        list->SetColumnTitle(i, titles[i]);
        list->SetColumnWidth(i, widths[i]);
    }
}

const char* StatusText(bool old) { return old ? "Old" : "New"; }

}  // namespace

CZVString PhoneDateText(const CZVTime& time) {
    CZVString text;
    text.Format("%s %d %s", time.GetMonthNameShort().c_str(), time.GetDay(), time.GetDayNameShort().c_str());
    return text;
}

CZVString PhoneTimeText(const CZVTime& time) {
    CZVString text;
    text.Format(" %2d:%02d %s", time.GetHour12(), time.GetMinute(), time.GetAmPm().c_str());
    return text;
}

CZVString PhoneLengthText(const CZVTimeSpan& span) {
    CZVString text;
    text.Format("  %2d:%02d", span.GetHours(), span.GetMinutes());
    return text;
}

int32_t PhoneRowId(CListWnd* list, int index) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(list->GetItemData(index)));
}

// ---- CCallerIdList

CCallerIdList::CCallerIdList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server)
    : CColumnListWnd(parent, rect, 5, commandId), CSocketSink(server) {
    static const char* const kTitles[] = {"Caller", "Number", "Date", "Time", "Length"};
    static const int kWidths[] = {185, 115, 77, 65, 50};
    SetColumns(this, kTitles, kWidths, 5);
    m_latest.SetNow(0);
    m_earliest = m_latest;
}

void CCallerIdList::Refresh() {
    RemoveAll(0);
    CZVServer* server = GetServer();
    if (!server) return;
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_PHONE_GETCALLERIDSQ);
    int32_t count = 0;
    CZVMSG* answer = AskList(query, request, ZVM_PHONE_GETCALLERIDSA, &count);
    if (answer) Fill(*answer, count);
}

void CCallerIdList::Fill(CZVMSG& answer, int32_t count) {
    if (count < 1) return;
    ReadRecords(answer, count, kMinEntryBytes, [&](int32_t i) {
        PhoneEntry entry;
        if (!answer.ReadInt(entry.id) || entry.id == -1 || !ReadEntryRest(answer, entry)) return false;
        InsertEntryRow(this, entry);
        if (i == 0 || entry.time > m_latest) m_latest = entry.time;
        if (i == 0 || entry.time < m_earliest) m_earliest = entry.time;
        return true;
    });
}

// ---- CVoiceMailList

CVoiceMailList::CVoiceMailList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server)
    : CColumnListWnd(parent, rect, 6, commandId), m_server(server) {
    static const char* const kTitles[] = {"Caller", "Number", "Date", "Time", "Length", "Status"};
    static const int kWidths[] = {135, 90, 77, 65, 50, 50};
    SetColumns(this, kTitles, kWidths, 6);
}

void CVoiceMailList::Refresh(int32_t box) {
    RemoveAll(0);
    m_newCount = 0;
    m_oldCount = 0;
    CZVQuery query(m_server);
    CZVMSG request(0, ZVM_PHONE_GETVOICEMAILSQ);
    request.WriteInt(box);
    int32_t count = 0;
    CZVMSG* answer = AskList(query, request, ZVM_PHONE_GETVOICEMAILSA, &count);
    if (answer) Fill(*answer, count);
}

void CVoiceMailList::Fill(CZVMSG& answer, int32_t count) {
    ReadRecords(answer, count, kMinEntryBytes, [&](int32_t) {
        PhoneEntry entry;
        if (!answer.ReadInt(entry.id) || !ReadEntryRest(answer, entry)) return false;
        const bool old = (entry.flags & kOldBit) != 0;
        InsertEntryRow(this, entry)->SetText(kStatusColumn, StatusText(old));
        ++(old ? m_oldCount : m_newCount);
        return true;
    });
}

bool CVoiceMailList::HasStatus(int index, int status) {
    CColumnListItem* row = GetRow(index);
    if (!row) return false;
    if (status != kNew && status != kOld) return true;
    return row->GetText(kStatusColumn).Compare(StatusText(status == kOld)) == 0;
}

int CVoiceMailList::CountRows(int status) {
    int count = 0;
    for (int i = 0; i < GetCount(); ++i) count += HasStatus(i, status) ? 1 : 0;
    return count;
}

int CVoiceMailList::FindNth(int status, int k) {
    if (k < 0) return -1;
    for (int i = 0; i < GetCount(); ++i) {
        if (HasStatus(i, status) && k-- == 0) return i;
    }
    return -1;
}

int CVoiceMailList::FindNext(int status, int i) {
    if (i < 0) return -1;
    for (int j = i + 1; j < GetCount(); ++j) {
        if (HasStatus(j, status)) return j;
    }
    return -1;
}

int CVoiceMailList::FindPrevious(int status, int i) {
    if (i <= 0 || i >= GetCount()) return -1;
    for (int j = i - 1; j >= 0; --j) {
        if (HasStatus(j, status)) return j;
    }
    return -1;
}

void CVoiceMailList::MarkRowNew(int index) {
    CColumnListItem* row = GetRow(index);
    if (!row) return;
    row->SetText(kStatusColumn, StatusText(false));
    row->MarkChanged();
    ++m_newCount;
    if (m_oldCount > 0) --m_oldCount;
}

#include "core/zvquery.h"

#include "platform/clock.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "ZVQuery";

// How long a waiting query lets the socket wait for data when a poll found
// nothing; data that arrives ends the wait at once.
uint32_t PollWait(ZVVariant variant) { return variant == ZVVariant::Monitor ? 50 : 25; }

int Append(CZVMSG& message, int32_t value) { return message.WriteInt(value); }
int Append(CZVMSG& message, std::string_view text) { return message.WriteString(text); }

int ReadFirst(CZVMSG& message, int32_t& value) { return message.ReadInt(value); }
int ReadFirst(CZVMSG& message, std::string& text) { return message.ReadString(text); }

}  // namespace

CQACache::CQACache(std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer)
    : m_request(std::move(request)), m_answer(std::move(answer)), m_stamp(platform::GetTickCount()) {}

const CQACache* CQACacheList::Lookup(const CZVMSG& request) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (!(*it)->GetRequest().IsEqual(request))
            continue;
        if (platform::TicksSince((*it)->GetStamp()) <= kLifetime)
            return it->get();
        m_entries.erase(it);
        return nullptr;
    }
    return nullptr;
}

void CQACacheList::Insert(std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer) {
    if (!request || !answer)
        return;
    while (GetCount() > kTrimTo)
        m_entries.pop_front();
    m_entries.push_back(std::make_unique<CQACache>(std::move(request), std::move(answer)));
}

int QACacheInit(CZVServer& server) {
    if (server.GetAnswerCache()) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    server.SetAnswerCache(std::make_unique<CQACacheList>());
    return 1;
}

void QACacheClear(CZVServer& server) {
    if (CQACacheList* cache = server.GetAnswerCache())
        cache->Clear();
}

void QACacheShutdown(CZVServer& server) { server.SetAnswerCache(nullptr); }

const CQACache* QACacheLookup(CZVServer& server, const CZVMSG& request) {
    CQACacheList* cache = server.GetAnswerCache();
    return cache ? cache->Lookup(request) : nullptr;
}

void QACacheInsert(CZVServer& server, std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer) {
    if (CQACacheList* cache = server.GetAnswerCache())
        cache->Insert(std::move(request), std::move(answer));
}

CZVQuery::CZVQuery(CZVServer& server, int useCache)
    : CSocketSink(server), m_useCache(useCache && server.GetAnswerCache() ? 1 : 0) {}

CZVQuery::~CZVQuery() = default;

int CZVQuery::Send(CZVMSG* request) {
    m_answer.reset();
    m_requestCopy.reset();
    m_sent = 0;
    CZVServer* server = GetServer();
    if (!server || !request || !server->IsConnected())
        return 0;
    m_expectedId = static_cast<uint16_t>(request->GetId() + 1);
    if (m_useCache) {
        // The cache keeps its own answer: the query works on a copy of it.
        if (const CQACache* hit = QACacheLookup(*server, *request)) {
            m_answer = hit->GetAnswer().Clone();
            m_sent = m_answer != nullptr;
            return m_sent;
        }
        m_requestCopy = request->Clone();
    }
    if (!server->IsRegistered(this))
        server->RegisterSink(this);
    m_waiting = 1;
    if (!request->SetSenderId(GetId()) || !server->Send(request)) {
        StopWaiting();
        return 0;
    }
    m_sent = 1;
    return 1;
}

int CZVQuery::Wait(CZVMSG** answer, CStatusSink* status) {
    if (!m_sent)
        return 0;
    CZVServer* server = GetServer();
    if (!m_answer && server) {
        const uint32_t start = platform::GetTickCount();
        const uint32_t pollWait = PollWait(server->GetVariant());
        m_waiting = 1;
        while (m_waiting) {
            if (platform::TicksSince(start) > m_timeout || (status && !status->Continue()) ||
                server->Poll(nullptr, GetId(), pollWait) == CZVServer::kPollDown) {
                StopWaiting();
                return 0;
            }
        }
    }
    return Finish(answer);
}

int CZVQuery::Finish(CZVMSG** answer) {
    std::unique_ptr<CZVMSG> requestCopy = std::move(m_requestCopy);
    StopWaiting();
    // Any other message for this sink id is a refusal.
    if (!m_answer || m_answer->GetId() != m_expectedId)
        return 0;
    m_answer->ResetPosition();
    if (requestCopy && GetServer())
        QACacheInsert(*GetServer(), std::move(requestCopy), m_answer->Clone());
    if (answer)
        *answer = m_answer.get();
    return 1;
}

void CZVQuery::StopWaiting() {
    m_waiting = 0;
    m_requestCopy.reset();
    if (CZVServer* server = GetServer())
        server->UnregisterSink(this);
}

int CZVQuery::Query(CZVMSG** answer, CZVMSG* request) { return Send(request) && Wait(answer, nullptr); }

void CZVQuery::OnMessage(CZVMSG* message) {
    if (!message || message->GetSenderId() == CZVServer::kEverySink)
        return;
    m_answer = message->Clone();
    m_waiting = 0;
    if (CZVServer* server = GetServer())
        server->UnregisterSink(this);
}

template <typename... Values> int CZVQuery::Ask(CZVMSG** answer, uint16_t id, const Values&... values) {
    CZVServer* server = GetServer();
    if (!server)
        return 0;
    CZVMSG request(0, id, 0, 1, server->GetVariant());
    if (!(Append(request, values) && ...))
        return 0;
    return Query(answer, &request);
}

template <typename Out, typename... Values> int CZVQuery::AskFirst(Out& out, uint16_t id, const Values&... values) {
    CZVMSG* answer = nullptr;
    Out value{};
    if (!Ask(&answer, id, values...) || !ReadFirst(*answer, value))
        return 0;
    out = std::move(value);
    return 1;
}

int CZVQuery::Command0(uint16_t id) { return Ask(nullptr, id); }
int CZVQuery::Command1(uint16_t id, int32_t a) { return Ask(nullptr, id, a); }
int CZVQuery::Command2(uint16_t id, int32_t a, int32_t b) { return Ask(nullptr, id, a, b); }
int CZVQuery::CommandString(uint16_t id, std::string_view s) { return Ask(nullptr, id, s); }

int CZVQuery::QueryAnswer1(CZVMSG** answer, uint16_t id, int32_t a) { return Ask(answer, id, a); }
int CZVQuery::QueryAnswer2(CZVMSG** answer, uint16_t id, int32_t a, int32_t b) { return Ask(answer, id, a, b); }
int CZVQuery::QueryAnswerString(CZVMSG** answer, uint16_t id, int32_t a, int32_t b, std::string_view s) {
    return Ask(answer, id, a, b, s);
}

int CZVQuery::QueryInt(int32_t& value, uint16_t id) { return AskFirst(value, id); }
int CZVQuery::QueryInt1(int32_t& value, uint16_t id, int32_t a) { return AskFirst(value, id, a); }
int CZVQuery::QueryInt2(int32_t& value, uint16_t id, int32_t a, int32_t b) { return AskFirst(value, id, a, b); }
int CZVQuery::QueryInt3(int32_t& value, uint16_t id, int32_t a, int32_t b, int32_t c) {
    return AskFirst(value, id, a, b, c);
}
int CZVQuery::QueryInt4(int32_t& value, uint16_t id, int32_t a, int32_t b, int32_t c, int32_t d) {
    return AskFirst(value, id, a, b, c, d);
}
int CZVQuery::QueryIntString(int32_t& value, uint16_t id, std::string_view s) { return AskFirst(value, id, s); }
int CZVQuery::QueryIntString1(int32_t& value, uint16_t id, int32_t a, std::string_view s) {
    return AskFirst(value, id, a, s);
}
int CZVQuery::QueryIntString2(int32_t& value, uint16_t id, int32_t a, int32_t b, std::string_view s) {
    return AskFirst(value, id, a, b, s);
}

int CZVQuery::QueryString(std::string& text, uint16_t id) { return AskFirst(text, id); }
int CZVQuery::QueryString1(std::string& text, uint16_t id, int32_t a) { return AskFirst(text, id, a); }
int CZVQuery::QueryString2(std::string& text, uint16_t id, int32_t a, int32_t b) { return AskFirst(text, id, a, b); }
int CZVQuery::QueryString3(std::string& text, uint16_t id, int32_t a, int32_t b, int32_t c) {
    return AskFirst(text, id, a, b, c);
}

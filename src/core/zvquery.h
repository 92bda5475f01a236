#pragma once
// The blocking request: send one message, then poll the manager for this
// query's own sink id until the answer (message id + 1) arrives, another
// message for the id arrives (a refusal: failure at once), the time-out
// passes or a status sink cancels. Messages for other sinks that arrive
// meanwhile are held back by the manager and delivered by its next PollAll.
//
//   CZVQuery query(server);
//   int32_t version = 0;
//   if (query.QueryInt(version, ZVM_SOMETHINGQ)) ...
//
// The tablet can answer repeated, byte-identical requests from a cache of
// recent answers (QACacheInit); a query uses it when built with useCache.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "core/zvserver.h"

// One cached request and its answer.
class CQACache {
public:
    CQACache(std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer);
    virtual ~CQACache() = default;

    const CZVMSG& GetRequest() const { return *m_request; }
    const CZVMSG& GetAnswer() const { return *m_answer; }
    uint32_t GetStamp() const { return m_stamp; }

private:
    std::unique_ptr<CZVMSG> m_request;
    std::unique_ptr<CZVMSG> m_answer;
    uint32_t m_stamp;
};

// The cache's entries, oldest first.
class CQACacheList {
public:
    static constexpr uint32_t kLifetime = 3600000;  // ms
    // Trimmed to this many before each insertion, so one more is held after it.
    static constexpr int kTrimTo = 100;

    void Clear() { m_entries.clear(); }
    // The entry answering an equal request (sender ids aside), or null. The
    // first equal entry decides: one older than the lifetime is dropped.
    const CQACache* Lookup(const CZVMSG& request);
    void Insert(std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer);
    int GetCount() const { return static_cast<int>(m_entries.size()); }

private:
    std::deque<std::unique_ptr<CQACache>> m_entries;
};

// The cache of a manager: created by QACacheInit, gone after QACacheShutdown.
// Init returns 0 when the manager already has one.
int QACacheInit(CZVServer& server);
void QACacheClear(CZVServer& server);
void QACacheShutdown(CZVServer& server);
const CQACache* QACacheLookup(CZVServer& server, const CZVMSG& request);
// The cache takes both messages; nothing is kept without a cache.
void QACacheInsert(CZVServer& server, std::unique_ptr<CZVMSG> request, std::unique_ptr<CZVMSG> answer);

class CZVQuery : public CSocketSink {
public:
    static constexpr uint32_t kDefaultTimeout = 5000;

    // useCache counts only while the manager has an answer cache.
    explicit CZVQuery(CZVServer& server, int useCache = 0);
    ~CZVQuery() override;

    void SetTimeout(uint32_t milliseconds) { m_timeout = milliseconds; }
    // Sends the request stamped with this query's sink id (or finds its answer
    // in the cache). Drops the answer of an earlier request. 1 or 0.
    int Send(CZVMSG* request);
    // Waits for the answer to what Send sent. The answer handed out stays
    // owned by the query: valid until its next Send or its destruction.
    int Wait(CZVMSG** answer, CStatusSink* status = nullptr);
    // Send, then Wait without a status sink.
    int Query(CZVMSG** answer, CZVMSG* request);
    void OnMessage(CZVMSG* message) override;

    // Typed requests: the message id and the values in order (sender 0).
    int Command0(uint16_t id);
    int Command1(uint16_t id, int32_t a);
    int Command2(uint16_t id, int32_t a, int32_t b);
    int CommandString(uint16_t id, std::string_view s);
    int QueryAnswer1(CZVMSG** answer, uint16_t id, int32_t a);
    int QueryAnswer2(CZVMSG** answer, uint16_t id, int32_t a, int32_t b);
    int QueryAnswerString(CZVMSG** answer, uint16_t id, int32_t a, int32_t b, std::string_view s);
    // These give the answer's first value; 1 only when it could be read, and
    // the output is untouched otherwise.
    int QueryInt(int32_t& value, uint16_t id);
    int QueryInt1(int32_t& value, uint16_t id, int32_t a);
    int QueryInt2(int32_t& value, uint16_t id, int32_t a, int32_t b);
    int QueryInt3(int32_t& value, uint16_t id, int32_t a, int32_t b, int32_t c);
    int QueryInt4(int32_t& value, uint16_t id, int32_t a, int32_t b, int32_t c, int32_t d);
    int QueryIntString(int32_t& value, uint16_t id, std::string_view s);
    int QueryIntString1(int32_t& value, uint16_t id, int32_t a, std::string_view s);
    int QueryIntString2(int32_t& value, uint16_t id, int32_t a, int32_t b, std::string_view s);
    int QueryString(std::string& text, uint16_t id);
    int QueryString1(std::string& text, uint16_t id, int32_t a);
    int QueryString2(std::string& text, uint16_t id, int32_t a, int32_t b);
    int QueryString3(std::string& text, uint16_t id, int32_t a, int32_t b, int32_t c);

private:
    template <typename... Values> int Ask(CZVMSG** answer, uint16_t id, const Values&... values);
    template <typename Out, typename... Values> int AskFirst(Out& out, uint16_t id, const Values&... values);
    int Finish(CZVMSG** answer);
    void StopWaiting();

    uint32_t m_timeout = kDefaultTimeout;
    int m_waiting = 0;
    std::unique_ptr<CZVMSG> m_requestCopy;
    std::unique_ptr<CZVMSG> m_answer;
    uint16_t m_expectedId = 0;
    int m_sent = 0;
    int m_useCache;
};

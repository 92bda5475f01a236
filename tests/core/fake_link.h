#pragma once
// A scripted gateway for the pool model and the system records: answers are
// queued per request id, every send and request is kept for inspection.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/gatewaylink.h"
#include "core/zvmsg.h"

// Builds a payload value by value, in wire order.
class MsgBuilder {
public:
    explicit MsgBuilder(uint16_t id, ZVVariant variant = ZVVariant::Config)
        : m_message(std::make_unique<CZVMSG>(0, id, 0, 1, variant)) {}

    MsgBuilder& Int(int32_t value) {
        m_message->WriteInt(value);
        return *this;
    }
    MsgBuilder& Byte(uint8_t value) {
        m_message->WriteByte(value);
        return *this;
    }
    MsgBuilder& Short(uint16_t value) {
        m_message->WriteShort(value);
        return *this;
    }
    MsgBuilder& String(const std::string& text) {
        m_message->WriteString(text);
        return *this;
    }
    MsgBuilder& Color(uint32_t colorref) {
        m_message->WriteColor(colorref);
        return *this;
    }
    MsgBuilder& Bytes(const std::vector<uint8_t>& bytes) {
        for (uint8_t byte : bytes) m_message->WriteByte(byte);
        return *this;
    }
    // The finished message, read position at its start.
    std::unique_ptr<CZVMSG> Take() {
        m_message->ResetPosition();
        return std::move(m_message);
    }

private:
    std::unique_ptr<CZVMSG> m_message;
};

struct AskedRequest {
    std::unique_ptr<CZVMSG> message;
    uint32_t timeout;
};

class FakeLink : public CGatewayLink {
public:
    // Queues the answer to the next request with that id.
    void Answer(uint16_t requestId, std::unique_ptr<CZVMSG> answer) {
        m_answers[requestId].push_back(std::move(answer));
    }
    // Queues an empty answer to the next request with that id.
    void Acknowledge(uint16_t requestId) { Answer(requestId, MsgBuilder(static_cast<uint16_t>(requestId + 1)).Take()); }

    // Answers every request with that id that finds nothing queued by calling
    // reply, which may answer null.
    void Respond(uint16_t requestId, std::function<std::unique_ptr<CZVMSG>(CZVMSG&)> reply) {
        m_responders[requestId] = std::move(reply);
    }

    // Drops what is queued for that request id: it will go unanswered.
    void Forget(uint16_t requestId) { m_answers.erase(requestId); }

    int Send(CZVMSG& message) override {
        sent.push_back(message.Clone());
        return 1;
    }

    std::unique_ptr<CZVMSG> Ask(CZVMSG& request, uint32_t timeoutMs) override {
        asked.push_back({request.Clone(), timeoutMs});
        auto queue = m_answers.find(request.GetId());
        if (queue == m_answers.end() || queue->second.empty()) {
            auto responder = m_responders.find(request.GetId());
            if (responder == m_responders.end()) return nullptr;
            request.ResetPosition();
            return responder->second(request);
        }
        auto answer = std::move(queue->second.front());
        queue->second.pop_front();
        return answer;
    }

    // The ids of every request, in order.
    std::vector<uint16_t> AskedIds() const {
        std::vector<uint16_t> ids;
        for (const auto& request : asked) ids.push_back(request.message->GetId());
        return ids;
    }

    std::vector<std::unique_ptr<CZVMSG>> sent;
    std::vector<AskedRequest> asked;

private:
    std::map<uint16_t, std::deque<std::unique_ptr<CZVMSG>>> m_answers;
    std::map<uint16_t, std::function<std::unique_ptr<CZVMSG>(CZVMSG&)>> m_responders;
};

// Every int of a payload made only of ints, from its start.
inline std::vector<int32_t> IntsOf(CZVMSG& message) {
    message.ResetPosition();
    std::vector<int32_t> values;
    int32_t value = 0;
    while (message.ReadInt(value)) values.push_back(value);
    message.ResetPosition();
    return values;
}

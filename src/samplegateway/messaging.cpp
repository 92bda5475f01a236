#include "samplegateway/messaging.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/slides.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int32_t kEmailBox = 3;
constexpr int32_t kFamilyBox = 4;
constexpr int32_t kIntercomPanel = 6;
constexpr int32_t kPanelKind = 64;
constexpr int32_t kBoxKind = 3;
constexpr int32_t kTextPart = 1;
constexpr int32_t kJpegPart = 3;
constexpr int32_t kAttachmentPart = 4;
constexpr char kNewMessageIcon[] = "MAIN\\INTERNET";

struct Message {
    int32_t state;  // 0 unread, 1 read
    CZVTime received;
    std::string from;
    std::string subject;
    std::vector<std::string> lines;
    bool picture = false;
};

struct Box {
    std::string title;
    std::vector<Message> messages;  // oldest first, as the answer sends them
};

struct Messaging {
    std::mutex mutex;
    std::map<int32_t, Box> boxes;
    std::vector<uint16_t> subscribers;
    int checks = 0;
};

CZVTime At(int day, int hour, int minute) {
    CZVTime time;
    time.Set(2026, 3, 0, day, hour, minute, 0, 0);
    return time;
}

std::map<int32_t, Box> SampleBoxes() {
    Box email{"Household Email", {}};
    const char* const senders[] = {"Pool Service", "Garden Centre", "Ann Lee",       "Energy Company",
                                   "School",       "Bob Marsh",     "Holiday Homes", "Ann Lee"};
    const char* const subjects[] = {"Chlorine delivery", "Spring bulbs are in", "Dinner on Friday",
                                    "Your monthly bill", "Term dates",          "Borrowed ladder",
                                    "Your booking",      "Photos from the lake"};
    for (int i = 0; i < 8; ++i) {
        Message m{i < 5 ? 1 : 0, At(1 + i, 8 + i, 5 * i), senders[i], subjects[i], {}, false};
        m.lines = {std::string("Hello,"), std::string("This is about: ") + subjects[i] + ".",
                   "Kind regards, " + m.from};
        m.picture = i == 6 || i == 7;
        email.messages.push_back(m);
    }
    Box family{"Family board", {}};
    family.messages.push_back({1, At(9, 18, 0), "Mum", "Dinner", {"Dinner is at seven.", "Bring the salad."}, false});
    family.messages.push_back({0, At(10, 7, 45), "Sam", "Lift", {"Can someone take me to practice at 4?"}, false});
    return {{kEmailBox, email}, {kFamilyBox, family}};
}

Bytes ListAnswer(const Box& box) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(box.messages.size()));
    for (const Message& m : box.messages) {
        out.Int(m.state);
        WriteTime(out, m.received);
        out.String(m.from).String(m.subject);
    }
    return out;
}

Bytes Body(const Message& m) {
    PayloadWriter out;
    out.Int(m.picture ? 3 : 1);
    out.Int(kTextPart).Int(static_cast<int32_t>(m.lines.size()));
    for (const std::string& line : m.lines) out.String(line);
    if (m.picture) {
        const Bytes jpeg = SlidePicture(2, 160, 100);
        out.Int(kJpegPart).Int(static_cast<int32_t>(jpeg.size())).Raw(jpeg.data(), jpeg.size());
        const Bytes attachment(64, 0x2A);
        out.Int(kAttachmentPart).Int(static_cast<int32_t>(attachment.size())).Raw(attachment.data(), attachment.size());
    }
    return out;
}

// The message shown at row (0 at the top, the newest); null for none.
Message* AtRow(Box& box, int32_t row) {
    const auto n = static_cast<int32_t>(box.messages.size());
    if (row < 0 || row >= n) return nullptr;
    return &box.messages[static_cast<size_t>(n - 1 - row)];
}

Frame ListChanged(int32_t box) { return {kEverySink, ZVM_UI_LISTCHANGED, PayloadWriter().Int(box)}; }

}  // namespace

void ServeMessaging(Gateway& gateway) {
    auto state = std::make_shared<Messaging>();
    state->boxes = SampleBoxes();
    gateway.On(ZVM_MESSAGES_GETSUMMARYQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadWriter out;
        out.Int(4);
        out.Int(0).Int(0).String("Voice Mail");
        out.Int(kEmailBox).Int(kBoxKind).String("Email");
        out.Int(kFamilyBox).Int(kBoxKind).String("Family");
        out.Int(kIntercomPanel).Int(kPanelKind).String("Intercom");
        return {{request.sender, ZVM_MESSAGES_GETSUMMARYA, out}};
    });
    gateway.On(ZVM_MESSAGES_SUBSCRIBEQ, [state](const Frame& request) -> std::vector<Frame> {
        std::lock_guard lock(state->mutex);
        state->subscribers.push_back(request.sender);
        return {};
    });
    gateway.On(ZVM_MESSAGES_GETLISTQ, [state](const Frame& request) -> std::vector<Frame> {
        int32_t id = 0;
        PayloadReader(request.payload).Int(&id);
        std::lock_guard lock(state->mutex);
        const auto box = state->boxes.find(id);
        return {{request.sender, ZVM_MESSAGES_GETLISTA,
                 box == state->boxes.end() ? Bytes(PayloadWriter().Int(0)) : ListAnswer(box->second)}};
    });
    gateway.On(ZVM_MESSAGES_OPENVIEWERQ, [state](const Frame& request) -> std::vector<Frame> {
        int32_t id = 0;
        PayloadReader(request.payload).Int(&id);
        std::lock_guard lock(state->mutex);
        const auto box = state->boxes.find(id);
        const std::string title = box == state->boxes.end() ? "Messages" : box->second.title;
        return {{request.sender, ZVM_MESSAGES_OPENVIEWERA, PayloadWriter().Int(id).String(title)}};
    });
    gateway.On(ZVM_MESSAGES_GETMESSAGEQ, [state](const Frame& request) -> std::vector<Frame> {
        int32_t id = 0, row = -1;
        PayloadReader in(request.payload);
        in.Int(&id);
        in.Int(&row);
        std::lock_guard lock(state->mutex);
        const auto box = state->boxes.find(id);
        const Message* m = box == state->boxes.end() ? nullptr : AtRow(box->second, row);
        return {{request.sender, ZVM_MESSAGES_GETMESSAGEA, m ? Body(*m) : Bytes(PayloadWriter().Int(0))}};
    });
    gateway.On(ZVM_MESSAGES_SETSTATE, [state](const Frame& request) -> std::vector<Frame> {
        int32_t id = 0, row = -1, wanted = 0;
        PayloadReader in(request.payload);
        if (!in.Int(&id) || !in.Int(&row) || !in.Int(&wanted)) return {};
        std::lock_guard lock(state->mutex);
        const auto box = state->boxes.find(id);
        Message* m = box == state->boxes.end() ? nullptr : AtRow(box->second, row);
        if (!m) return {};
        if (wanted == 2)
            box->second.messages.erase(box->second.messages.begin() + (m - box->second.messages.data()));
        else
            m->state = wanted == 1 ? 1 : 0;
        return {ListChanged(id)};
    });
    gateway.On(ZVM_MESSAGES_CHECKNOW, [state](const Frame& request) -> std::vector<Frame> {
        int32_t id = 0;
        PayloadReader(request.payload).Int(&id);
        std::lock_guard lock(state->mutex);
        const auto box = state->boxes.find(id);
        if (box == state->boxes.end()) return {};
        const int n = ++state->checks;
        box->second.messages.push_back({0,
                                        At(20, 9, n % 60),
                                        "Sample Gateway",
                                        "New message " + std::to_string(n),
                                        {"A new message arrived when you checked."},
                                        false});
        std::vector<Frame> frames = {ListChanged(id)};
        for (uint16_t sink : state->subscribers)
            frames.push_back({sink, ZVM_MESSAGES_SUBSCRIBEA, PayloadWriter().Int(id).Int(1).String(kNewMessageIcon)});
        return frames;
    });
}

}  // namespace samplegateway

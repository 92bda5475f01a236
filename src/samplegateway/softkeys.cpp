#include "samplegateway/softkeys.h"

#include <array>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

// The list the tablet asks for when it has not seen the box's own yet.
constexpr int32_t kFirstListRequest = 5038;

const std::array<std::vector<const char*>, kCableBoxPages> kCaptions = {{
    {"Guide", "Menu", "Info", "Exit", "Last", "Favorites", "DVR", "On Demand", "Record", "Live TV"},
    {"Red", "Green", "Yellow", "Blue", "Help", "Settings", "Search", "Apps", "Music", "Photos"},
    {"Pay Per View", "Parental", "Reset"},
}};

}  // namespace

void ServeSoftKeys(Gateway& gateway) {
    gateway.On(ZVM_AUDIO_GETSOFTKEYSQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, list = 0, page = 0;
        if (!in.Int(&zone) || !in.Int(&list) || !in.Int(&page)) return {};
        // Past the last page the box starts again at the first.
        if (list == kFirstListRequest || page < 0 || page >= kCableBoxPages) page = 0;
        PayloadWriter out;
        out.String("Cable Box").Int(kCableBoxKeyList).Int(page);
        for (const char* caption : kCaptions[static_cast<size_t>(page)]) out.String(caption);
        return {{request.sender, ZVM_AUDIO_GETSOFTKEYSA, out}};
    });
}

}  // namespace samplegateway

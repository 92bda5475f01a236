#include "samplegateway/favorites.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/wire.h"

namespace samplegateway {

namespace {

// A 16 x 16 house, red roof and blue walls.
constexpr uint8_t kHomeIcon[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x10, 0x00, 0x00, 0x00, 0x10, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x91, 0x68, 0x36, 0x00, 0x00, 0x00, 0x46, 0x49,
    0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0x8F, 0x0D, 0x6C, 0xD1, 0xD0, 0x00, 0x22, 0xAC, 0x52, 0x0C, 0xB8, 0x54,
    0xE3, 0xD2, 0xC3, 0x80, 0x47, 0x35, 0x56, 0x3D, 0x0C, 0xF8, 0x55, 0x63, 0xEA, 0x61, 0x20, 0xA8, 0x1A, 0x4D, 0x0F,
    0x03, 0x31, 0xAA, 0x91, 0xF5, 0x30, 0x10, 0xA9, 0x1A, 0xAE, 0x07, 0xE1, 0x24, 0x8D, 0xA8, 0x05, 0x78, 0x10, 0x16,
    0x3F, 0xD0, 0x51, 0x03, 0x72, 0x20, 0x0E, 0x77, 0x0D, 0x44, 0x02, 0x00, 0x41, 0x03, 0x1F, 0x53, 0x0B, 0x56, 0x15,
    0x9C, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

constexpr std::string_view kStartPage =
    "<html><head><title>Brenvik Residence</title></head><body>\n"
    "<h1><img src=\"ICONS/home.png\"> Favorites</h1>\n"
    "<ul><li><a href=\"https://www.openstreetmap.org/\">Map</a></li>\n"
    "<li><a href=\"https://en.wikipedia.org/\">Encyclopedia</a></li></ul>\n"
    "</body></html>\n";
// The start page of small screens, 480 pixels high or less.
constexpr std::string_view kSmallStartPage =
    "<html><body><img src=\"ICONS/home.png\"> <a href=\"https://www.openstreetmap.org/\">Map</a>"
    " | <a href=\"https://en.wikipedia.org/\">Encyclopedia</a></body></html>\n";

Bytes FileNamed(const std::string& name) {
    if (name == "favorites.html") return Bytes(kStartPage.begin(), kStartPage.end());
    if (name == "favorites2.html") return Bytes(kSmallStartPage.begin(), kSmallStartPage.end());
    if (name == "ICONS\\home.png") return Bytes(std::begin(kHomeIcon), std::end(kHomeIcon));
    return {};
}

}  // namespace

void ServeFavorites(Gateway& gateway) {
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ,
                   PayloadWriter().Int(3).String("favorites.html").String("favorites2.html").String("ICONS\\home.png"));
    gateway.On(ZVM_UPDATE_GETFAVORITEFILEQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        std::string name;
        if (!in.String(&name)) return {};
        Bytes file = FileNamed(name);
        if (file.empty()) return {};  // an unknown name is never answered
        return {{request.sender, ZVM_UPDATE_GETFAVORITEFILEA, std::move(file)}};
    });
}

}  // namespace samplegateway

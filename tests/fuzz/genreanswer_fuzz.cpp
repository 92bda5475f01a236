// The genre pop-up's answer of any bytes: a count and the genres behind it,
// read twice so that the second answer replaces the buttons of the first.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/music/genreselectwnd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzzing::kMaxReaderInput) return 0;
    static CZVServer server(ZVVariant::Tablet);
    CGenreSelectWnd popup(nullptr, CZVRect(0, 0, 600, 450), 6, server);
    for (int i = 0; i < 2; ++i) popup.OnMessage(fuzzing::MessageOf(ZVM_AUDIO_GETGENRESA, data, size).get());
    popup.OnCommand(CGenreSelectWnd::kAllOnCommand);
    return 0;
}

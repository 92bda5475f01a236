// A browse tree's answers of any bytes: the level answer (header buttons and
// entries) to the browse window, then the same bytes as the cover answer to
// each of its rows, decoded as the list's idle step does.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/messages/shellmessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "readerfuzz.h"
#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "vistrel/media/music/coverartlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    CAudioLibBrowseWnd browse(nullptr, CZVRect(0, 0, 600, 400), server, 71);
    browse.Show(0, 1);
    browse.OnMessage(fuzzing::MessageOf(ZVM_MESSAGES_GETNEWCOUNTA, data, size).get());
    CCoverArtList* list = browse.GetList();
    for (int i = 0; i < list->GetCount() && i < 50; ++i) {
        CCoverArtItem* row = list->GetCoverItem(i);
        row->OnMessage(fuzzing::MessageOf(ZVM_MESSAGES_GETNEWCOUNTA, data, size).get());
        row->DecodePending();
    }
    browse.OnCommand(CAudioLibBrowseWnd::kUpCommand);
    return 0;
}

#pragma once
// The audio zones page under test: an 800 x 600 main window over a fake
// gateway, the program-wide audio values reset around each test, and zone
// states as the gateway sends them.
#include <memory>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "sample_installation.h"
#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/music/musicsourcepage.h"
#include "vistrel/shell_fixture.h"

namespace audiotest {

struct PathEntry {
    int32_t id;
    int32_t kind;
};

// A zone state: source, kind word, sub id, selector detail and the path list.
inline std::unique_ptr<CZVMSG> ZoneState(int32_t source, int32_t kind, int32_t subId,
                                         const std::vector<PathEntry>& path = {}) {
    auto message = std::make_unique<CZVMSG>(0, ZVM_AUDIO_ZONECHANGED);
    message->WriteInt(source);
    message->WriteInt(kind);
    message->WriteInt(subId);
    message->WriteInt(0);
    message->WriteInt(static_cast<int32_t>(path.size()));
    for (const PathEntry& entry : path) {
        message->WriteInt(entry.id);
        message->WriteString(std::string("entry"));
        message->WriteInt(entry.kind);
    }
    message->ResetPosition();
    return message;
}

class AudioTest : public vistreltest::ShellTest {
protected:
    AudioTest() {
        ResetAudioValues();
        // Music sources show their own page whichever test ran first.
        RegisterMusicSourcePages();
        window.reset();  // first: the new window takes over the toolkit services
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
    }
    ~AudioTest() override {
        page.reset();
        window.reset();
        ResetAudioValues();
    }
    void ConnectToSampleHouse() {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
        ASSERT_TRUE(Settle());
    }
    // The page on the screen, at the page area right of a menu column.
    CAudioZonesPage* OpenPage() {
        page.reset(new CAudioZonesPage(window.get(), CZVRect(120, 0, 680, 600), server));
        window->AddChild(page.get());
        page->Show(1, 0);
        return page.get();
    }
    void State(int32_t source, int32_t kind, int32_t subId, const std::vector<PathEntry>& path = {}) {
        page->OnMessage(ZoneState(source, kind, subId, path).get());
    }

    platform::HeadlessWindow screen{800, 600};
    std::unique_ptr<CAudioZonesPage, void (*)(CAudioZonesPage*)> page{nullptr, [](CAudioZonesPage* p) {
                                                                          if (CZVWindow* parent = p->GetParent())
                                                                              parent->RemoveChild(p);
                                                                          delete p;
                                                                      }};
};

}  // namespace audiotest

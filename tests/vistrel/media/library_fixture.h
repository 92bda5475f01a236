#pragma once
// The music library's pages on an 800 x 600 main window against the sample
// house: an audio zones page that decides the library tabs, a source page
// of that zones page that the browse pages send their play commands
// through, and the messages the gateway received, read as integers.
#include <memory>
#include <vector>

#include "audio_fixture.h"
#include "samplegateway/wire.h"
#include "vistrel/media/music/audiolist.h"

namespace librarytest {

// The owner of a source page on its own: no sink of its own, the source chosen fixed.
class FixedOwner : public CAudioSourceOwner {
public:
    int GetSourceSinkId() override { return 0; }
    int GetSelectedSourceId() override { return GetSelectedAudioItem(); }
};

class LibraryTest : public audiotest::AudioTest {
protected:
    static constexpr int32_t kSourceId = 71;
    static constexpr int kSourceKind = 3000;

    void SetUp() override {
        ConnectToSampleHouse();
        SetSelectedAudioItem(kSourceId);
        SetSourceKindWord(kSourceKind);
        PlaceSource(&owner);
    }
    void TearDown() override {
        DropSource();
        zones.reset();
    }
    // The source page of an audio zones page, which decides the library's tabs.
    void UseZonesPage() {
        DropSource();
        zones = std::make_unique<CAudioZonesPage>(window.get(), CZVRect(0, 0, 800, 600), server);
        PlaceSource(zones.get());
    }

    // The source's capability word, as the gateway's page subscription gives it.
    void SetLibraryBits(int32_t bits) {
        CZVMSG message(0, ZVM_AUDIO_SUBSCRIBEPAGEA);
        for (int32_t value : {0, 0, 0, bits, 0, 0}) message.WriteInt(value);
        message.ResetPosition();
        zones->OnMessage(&message);
    }
    template <class Page, class... Extra>
    Page* Open(Extra... extra) {
        return OpenIn<Page>(CZVRect(0, 0, kAreaWidth, 600), extra...);
    }
    template <class Page, class... Extra>
    Page* OpenIn(CZVRect rect, Extra... extra) {
        auto* page = new Page(source, source, rect, server, extra...);
        source->AddChild(page);
        page->Show(1, 0);
        return page;
    }
    void Close(CZVWindow* page) {
        source->RemoveChild(page);
        delete page;
    }

    // The integers of every message of the id the gateway received, in order.
    std::vector<std::vector<int32_t>> Sent(uint16_t id) {
        // What went out reaches the gateway first.
        EXPECT_TRUE(Settle());
        std::vector<std::vector<int32_t>> all;
        for (const testsupport::Frame& frame : gateway.RequestsOf(id)) all.push_back(testsupport::IntsOf(frame));
        return all;
    }
    size_t CountSent(uint16_t id) { return Sent(id).size(); }
    // The browses of a list kind sent so far.
    size_t Browses(int kind) {
        size_t n = 0;
        for (const std::vector<int32_t>& values : Sent(ZVM_AUDIO_BROWSEQ)) n += !values.empty() && values[0] == kind;
        return n;
    }
    static CLBAudioItem* Current(CAudioLibListBase* list) { return static_cast<CLBAudioItem*>(list->GetSelected()); }
    static bool RowLoaded(CAudioLibListBase* list, int index) {
        auto* row = static_cast<CLBAudioItem*>(list->GetItemAt(index));
        return row && row->IsLoaded();
    }

    static constexpr int kStyleClass = 6;
    // The page area right of the main menu.
    static constexpr int kAreaLeft = 120;
    static constexpr int kAreaWidth = 680;
    static CZVRect PictureRect() { return CZVRect(0, 40, kAreaWidth, 520); }
    FixedOwner owner;
    std::unique_ptr<CAudioZonesPage> zones;
    CAudioSourcePage* source = nullptr;

private:
    void PlaceSource(CAudioSourceOwner* sourceOwner) {
        source = new CAudioSourcePage(window.get(), sourceOwner, CZVRect(kAreaLeft, 0, kAreaWidth, 600), kStyleClass);
        window->AddChild(source);
        source->Show(1, 0);
    }
    void DropSource() {
        window->RemoveChild(source);
        delete source;
        source = nullptr;
    }
};

}  // namespace librarytest

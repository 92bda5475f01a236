#pragma once
// The tuner pages under test: an 800 x 600 main window over a fake gateway,
// pages made on their own (no zones page), statuses handed to them as the
// zones page hands them, and the source commands the gateway received.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio_fixture.h"
#include "core/messages/mediamessages.h"
#include "vistrel/media/tuner/stationbrowse.h"
#include "vistrel/media/tuner/stationfavorites.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "vistrel/media/tuner/tunerpage.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace tunertest {

using testsupport::PayloadWriter;

struct Favorite {
    int32_t id;
    std::string name;
};

inline std::unique_ptr<CZVMSG> Message(uint16_t id, const testsupport::Bytes& payload, uint16_t sender = 0) {
    auto message = std::make_unique<CZVMSG>(sender, id);
    message->WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
    message->ResetPosition();
    return message;
}

inline testsupport::Bytes FavoriteList(const std::vector<Favorite>& favorites) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(favorites.size()));
    for (const Favorite& favorite : favorites) out.Int(favorite.id).String(favorite.name).Int(0).Int(0);
    return out;
}

inline std::string TextOf(CZVWindow* w) { return w ? w->GetText().GetAnsi() : "<none>"; }

class TunerTest : public audiotest::AudioTest {
protected:
    template <class Page>
    Page* Show(Page* made) {
        window->AddChild(made);
        made->Show(1, 0);
        m_pages.emplace_back(made, [this](CZVWindow* p) {
            window->RemoveChild(p);
            delete p;
        });
        return made;
    }
    CTunerPage* OpenTuner(int kindWord) {
        return Show(new CTunerPage(window.get(), nullptr, CZVRect(120, 0, 680, 600), 0, server, kindWord));
    }
    CStationBrowsePage* OpenBrowse(int kindWord) {
        return Show(new CStationBrowsePage(window.get(), nullptr, CZVRect(120, 0, 680, 600), 0, server, kindWord));
    }
    CStationFavoritesPage* OpenFavorites(int kindWord, CZVRect rect = CZVRect(120, 0, 300, 400)) {
        return Show(new CStationFavoritesPage(window.get(), rect, server, CStationFavoritesPage::kTunerList, 16, 34, 60,
                                              kindWord));
    }
    // The i32 values of every request with the id, in order.
    std::vector<std::vector<int32_t>> Sent(uint16_t id) {
        EXPECT_TRUE(Settle());
        std::vector<std::vector<int32_t>> sent;
        for (const testsupport::Frame& frame : gateway.Requests()) {
            if (frame.id != id) continue;
            samplegateway::PayloadReader in(frame.payload);
            std::vector<int32_t> values;
            for (int32_t value = 0; in.Left() >= 4 && in.Int(&value);) values.push_back(value);
            sent.push_back(values);
        }
        return sent;
    }
    // The arguments of the tune commands (5013) sent so far.
    std::vector<int32_t> Tuned() {
        std::vector<int32_t> tuned;
        for (const std::vector<int32_t>& values : Sent(ZVM_AUDIO_SOURCECOMMAND))
            if (values.size() >= 3 && values[1] == 5013) tuned.push_back(values[2]);
        return tuned;
    }

    std::vector<std::unique_ptr<CZVWindow, std::function<void(CZVWindow*)>>> m_pages;
};

}  // namespace tunertest

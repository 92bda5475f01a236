#pragma once
// The phone pages against the sample house's answering machine, on a tablet
// window with the gateway's audio player on the null sound system. The
// house's streams are sent when the test paces them.
#include <memory>
#include <vector>

#include "av/audioplayer.h"
#include "samplegateway/house.h"
#include "samplegateway/pacer.h"
#include "support/null_wave.h"
#include "vistrel/shell_fixture.h"

namespace phonetest {

class PhonePageTest : public vistreltest::ShellTest {
protected:
    PhonePageTest() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
        backend.SetInstant(true);
    }
    ~PhonePageTest() override {
        Close();
        window.reset();
    }
    void SetUp() override {
        pacer = samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
    }
    template <class Page>
    Page* Open(int32_t mailbox) {
        EXPECT_TRUE(Settle());
        CZVRect area = window->GetPageArea();
        area.Deflate(10, 10);
        auto* made = new Page(window.get(), area, 6, mailbox, server);
        page = made;
        window->AddChild(page);
        page->OnTimer();  // the first tick loads
        return made;
    }
    void Close() {
        if (!page) return;
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
    // Sends every chunk of the stream the house plays now, and its end.
    void PaceAll() {
        m_paced += 60000;
        pacer->Run(m_paced);
        m_paced += 60000;
        pacer->Run(m_paced);
    }
    // Sends the chunks due within the next stretch of the stream.
    void Pace(uint32_t ms) {
        if (m_paced == 0) pacer->Run(m_paced = 1);
        pacer->Run(m_paced += ms);
    }
    // Handles what the gateway sent until the player has nothing left to play.
    bool Drain() {
        return PollUntil([&] {
            player.Poll();
            return !player.IsPlaying() && player.GetPendingPlaySeconds() < 0.01;
        });
    }
    // Lets the microphone fill the player's input until the target holds
    // the time: the first step fills every input buffer queued at the start.
    void Record(CAStream* target, uint32_t ms) {
        while (target->GetTotalSeconds() * 1000 < ms) {
            clock.Advance(kRecordStep);
            backend.FillAll();
            player.Poll();
        }
    }
    // The requests of the id the gateway received so far, in order.
    std::vector<testsupport::Frame> Sent(uint16_t id) {
        EXPECT_TRUE(Settle());
        return gateway.RequestsOf(id);
    }
    static int32_t IntAt(const testsupport::Frame& frame, int index) {
        testsupport::PayloadReader in(frame.payload);
        int32_t value = -1;
        for (int i = 0; i <= index; ++i)
            if (!in.Int(&value)) return -1;
        return value;
    }

    static constexpr uint32_t kRecordStep = 40;  // ms, one input buffer

    platform::HeadlessWindow screen{800, 600};
    testsupport::NullWaveBackend backend;
    CGatewayAudioPlayer player{server};
    std::shared_ptr<samplegateway::Pacer> pacer;
    CZVWindow* page = nullptr;

private:
    uint32_t m_paced = 0;
};

}  // namespace phonetest

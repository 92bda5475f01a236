#pragma once
// What the tests of gateway pictures share: a window that stands alone, the
// image host in place for a test's lifetime, and a gateway session that sends
// a picture's answer and polls until the picture has taken it.
#include <cstdint>

#include "gfx/zvdc.h"
#include "gfx/zvimage.h"
#include "picture_files.h"
#include "support/gateway_session.h"

namespace zvtest {

// A top-level window without a clip, drawn at its own coordinates.
class StubWindow : public CPaintWindow {
public:
    int ToRootX(int x) override { return x; }
    int ToRootY(int y) override { return y; }
    bool HasParent() override { return false; }
    CZVDC* GetEnclosingDC() override { return nullptr; }
    void ReleaseEnclosingDC(CZVDC*) override {}
    bool GetClipRect(CZVRect*) override { return false; }
};

class ScopedImageHost {
public:
    explicit ScopedImageHost(CZVImageHost* host) : m_previous(InstallImageHost(host)) {}
    ~ScopedImageHost() { InstallImageHost(m_previous); }
    ScopedImageHost(const ScopedImageHost&) = delete;
    ScopedImageHost& operator=(const ScopedImageHost&) = delete;

private:
    CZVImageHost* m_previous;
};

class PictureGateway : public testsupport::GatewaySession {
protected:
    // Sends the answer to sender and polls until settled() holds.
    template <class Settled>
    void AnswerUntil(uint16_t sender, uint16_t id, const pictures::Bytes& payload, Settled settled) {
        ASSERT_TRUE(gateway.Push(id, payload, sender));
        ASSERT_TRUE(testsupport::PollAllUntil(server, settled));
    }
};

}  // namespace zvtest

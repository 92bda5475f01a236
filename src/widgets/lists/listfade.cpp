#include "widgets/lists/listfade.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kFadeMs = 500;
constexpr int kStyleGradualFade = 0x100000;

}  // namespace

CListFade::CListFade() : m_tick(platform::GetTickCount()) {}

CListFade::~CListFade() = default;

void CListFade::Start(int fadeIn) {
    m_startLevel = m_level;
    m_direction = fadeIn ? 1 : -1;
    m_tick = platform::GetTickCount();
}

int CListFade::Step() {
    if (m_direction == 0) return 0;
    const int64_t steps = static_cast<int64_t>(TicksSince(&m_tick)) * kLevels / kFadeMs;
    int64_t level = m_startLevel + m_direction * steps;
    if (level > kLevels - 1) level = kLevels;
    if ((CSetServer::CurrentFlags() & kStyleGradualFade) || m_direction <= 0)
        m_level = static_cast<int>(std::max<int64_t>(level, 0));
    else
        m_level = kLevels;
    if ((m_direction > 0 && m_level > kLevels - 1) || (m_direction < 0 && m_level <= 0)) m_direction = 0;
    return m_level != m_drawnLevel;
}

CDibDC* CListFade::Background(int width, int height, int rootX, int rootY,
                              const std::function<void(CDibDC*)>& draw) {
    std::unique_ptr<CDibDC>& image = m_backgrounds[static_cast<size_t>(std::clamp(m_level, 0, kLevels - 1))];
    if (image && image->GetRequestedWidth() != width) image.reset();
    if (!image) {
        image = std::make_unique<CDibDC>(width, height, rootX, rootY, 0);
        image->SetOrigin(rootX, rootY);
        draw(image.get());
    }
    return image.get();
}

void CListFade::DropBackgrounds() {
    for (auto& image : m_backgrounds) image.reset();
}

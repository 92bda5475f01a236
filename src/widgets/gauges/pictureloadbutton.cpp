#include "widgets/gauges/pictureloadbutton.h"

namespace {

constexpr int kLookFlags = 1;
constexpr COLORREF kLoadingFill = MakeColor(0x32, 0xFF, 0x32);
constexpr const char* kLoadingText = "Loading...";

}  // namespace

CPictureLoadButton::CPictureLoadButton(CZVWindow* parent, CZVRect rect) : CZVLevelBar(parent, rect, kLookFlags, 0) {}

int CPictureLoadButton::OnProgress(int done, int total) {
    if (total <= 0) return 1;
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total);
    if (percent == m_shownPercent) return 1;
    SetFillColor(kLoadingFill);
    SetText(kLoadingText, nullptr, 0);
    SetLevel(percent, 0);
    m_shownPercent = percent;
    RedrawBuffered();
    return 1;
}

#include "vistrel/home/pool/poolstagselwnd.h"

#include <algorithm>

#include "core/basinsetup.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

constexpr int kTop = 5;
constexpr int kBottomInset = 9;
constexpr int kArrowWidth = 40;
constexpr int kArrowClass = 17;
constexpr int kArrowBevel = 3;
constexpr int kStripLeft = 43;
constexpr int kStripInset = 3;
constexpr int kFrameRadius = 3;
constexpr int kTextFontSize = 22;
constexpr int kDelayStep = 2;
constexpr COLORREF kTextColour = 0xFFFFFF;
constexpr COLORREF kFrameColour = 0x202020;
constexpr int kIconOnly = -1;

}  // namespace

CPoolStagSelWnd::CPoolStagSelWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit, int rowId)
    : CSubPanel(parent, rect, 0, model), m_circuit(circuit), m_rowId(rowId) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int h = rect.h - kBottomInset;
    m_left = AddIconButton(CZVRect(0, kTop, kArrowWidth, h), kLeftId, kArrowClass, "TRANSPORT\\ICON32LEFT", kIconOnly);
    m_right = AddIconButton(CZVRect(rect.w - kArrowWidth, kTop, kArrowWidth, h), kRightId, kArrowClass,
                            "TRANSPORT\\ICON32RIGHT", kIconOnly);
    for (CZV3DButton* arrow : {m_left, m_right}) {
        arrow->SetBevel(kArrowBevel);
        arrow->SetMargin(0);
        arrow->SetAutoRepeat(1);
        arrow->SetPressIds(arrow->GetCommandId(), kReleaseId);
        arrow->SetRepeatTiming(100, 20, 500, 2500);
    }
    m_stripRect = CZVRect(kStripLeft, kTop, rect.w - 2 * kStripLeft, h);
    const int w = m_stripRect.w - 2 * kStripInset;
    const int stripHeight = m_stripRect.h - 2 * kStripInset;
    if (w > 0 && stripHeight > 0) {
        m_strip = std::make_unique<CDibDC>(w, stripHeight, 0, 0, 0);
        m_work = std::make_unique<CDibDC>(w, stripHeight, 0, 0, 0);
        FillStrip();
    }
}

CPoolStagSelWnd::~CPoolStagSelWnd() = default;

COLORREF CPoolStagSelWnd::GradientColor(int x, int w, const std::vector<COLORREF>& colors) {
    const int n = static_cast<int>(colors.size());
    if (n == 0 || w <= 0) return 0;
    x = std::clamp(x, 0, w - 1);
    const int c = static_cast<int>(static_cast<int64_t>(x) * n / w);
    // A strip narrower than the colours has no room to blend: each column
    // takes its colour as it is.
    if (w < n) return colors[static_cast<size_t>(c)];
    const int segment = w / n;
    const double fraction = static_cast<double>(std::min(x - c * segment, segment)) / segment;
    return MixColors(colors[static_cast<size_t>(c)], colors[static_cast<size_t>((c + 1) % n)], fraction);
}

int CPoolStagSelWnd::StepDelay(int delay, int steps) {
    delay += kDelayStep * steps;
    while (delay < 0) delay += kMaxDelay;
    while (delay > kMaxDelay) delay -= kMaxDelay;
    return delay;
}

void CPoolStagSelWnd::FillStrip() {
    std::vector<COLORREF> colors;
    for (int i = 0; i < m_model->GetColorCount(); ++i) colors.push_back(m_model->GetColor(i)->color);
    m_strip->FillRect(GetFaceColor(), 0, 0, m_strip->GetRequestedWidth(), m_strip->GetHeight(), 0);
    if (colors.empty()) return;
    const int w = m_strip->GetRequestedWidth();
    for (int x = 0; x < w; ++x) m_strip->FillRect(GradientColor(x, w, colors), x, 0, 1, m_strip->GetHeight(), 0);
}

CZVString CPoolStagSelWnd::GetDelayText() const {
    CZVString text;
    text.Format("Delay %d Seconds", m_circuit->colorStagger / 2);
    return text;
}

void CPoolStagSelWnd::PaintStrip(CZVDC* dc) {
    dc->RoundRect(kFrameColour, m_stripRect.x, m_stripRect.y, m_stripRect.w - 1, m_stripRect.h - 1, kFrameRadius);
    if (!m_strip) return;
    const int w = m_strip->GetRequestedWidth();
    const int h = m_strip->GetHeight();
    int a = kMaxDelay - m_circuit->colorStagger - m_start;
    if (a > kMaxDelay) a = (a - kMaxDelay - 1) % kMaxDelay + 1;
    if (a < 0) a = kMaxDelay - 1 - (-a - 1) % kMaxDelay;
    const int shift = std::min(a * w / kMaxDelay, w - 1);
    m_work->BitBlt(0, 0, m_strip.get(), shift, 0, w - shift, h);
    if (shift > 0) m_work->BitBlt(w - shift, 0, m_strip.get(), 0, 0, shift, h);
    m_work->SetFont(kTextFontSize, 0, 1);
    m_work->SetColor(kTextColour);
    m_work->DrawText(GetDelayText(), CZVRect(0, 0, w, h), kTextCentre | kTextVCentre);
    dc->BitBlt(m_stripRect.x + kStripInset, m_stripRect.y + kStripInset, m_work.get(), 0, 0, w, h);
}

void CPoolStagSelWnd::OnPaint(CZVDC* dc) {
    CSubPanel::OnPaint(dc);
    PaintStrip(dc);
}

void CPoolStagSelWnd::RepaintStrip() {
    if (!IsShown()) return;
    CZVDC dc(this);
    PaintStrip(&dc);
}

int CPoolStagSelWnd::OnChildCommand(int id, int count) {
    if (id == kLeftId || id == kRightId) {
        m_circuit->colorStagger =
            static_cast<uint8_t>(StepDelay(m_circuit->colorStagger, id == kLeftId ? -count : count));
        RepaintStrip();
        if (m_parent) m_parent->OnCommand(m_rowId);
    } else if (id == kReleaseId) {
        m_model->SetLightParams(m_circuit);
    }
    return 1;
}

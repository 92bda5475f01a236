#include "widgets/text/datetimelabel.h"
#include "core/zvtime.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

// Captions of the same style class share the fitted font size.
constexpr int kLabelStyleClass = 5;

}  // namespace

CDateTimeLabel::CDateTimeLabel(CZVWindow* parent, CZVRect rect, int kind)
    : CZVLabel(parent, rect, "", kLabelStyleClass), m_kind(kind) {
    SetTimer(kind == kTimeLabel ? 1000 : 60000);
    Update(0);
    m_faceColor = parent ? parent->GetFaceColor() : 0;
}

CZVString CDateTimeLabel::FormatNow() const {
    const CZVTime now;
    CZVString text;
    switch (m_kind) {
    case kDateLabel:
        text.Format("%s, %s %d, %d", now.GetDayName().c_str(), now.GetMonthName().c_str(), now.GetDay(), now.GetYear());
        break;
    case kTimeLabel:
        text.Format("%d:%02d:%02d %s", now.GetHour12(), now.GetMinute(), now.GetSecond(), now.GetAmPm().c_str());
        break;
    default:
        text.Format("%s, %s %d, %d  %d:%02d %s", now.GetDayName().c_str(), now.GetMonthName().c_str(), now.GetDay(),
                    now.GetYear(), now.GetHour12(), now.GetMinute(), now.GetAmPm().c_str());
        break;
    }
    return text;
}

void CDateTimeLabel::Update(int redraw) {
    const CZVString text = FormatNow();
    if (text.Compare(m_text) == 0) return;
    m_text = text;
    m_textChanged = 1;
    // A new text is fitted afresh from the size the first fit started from,
    // so a longer date is never cut and the size does not depend on the
    // texts shown before.
    if (m_fitStartSize) {
        SetFontSize(m_fitStartSize);
        m_fontPending = 1;
    }
    if (redraw) RedrawBuffered();
}

void CDateTimeLabel::OnTimer() {
    CMainWndBase* main = GetMainWnd();
    if (!IsGatewayConnected() || (main && main->GetModal())) return;
    Update(main ? !main->IsInputBlocked(nullptr) : 1);
}

void CDateTimeLabel::OnPaint(CZVDC* dc) {
    if (m_fontPending) {
        if (!m_fitStartSize) m_fitStartSize = GetFontSize();
        CCaptionFitter fitter(this);
        fitter.AddChildren(this, kLabelStyleClass, -1);
        m_fontPending = 0;
    }
    CZVLabel::OnPaint(dc);
}

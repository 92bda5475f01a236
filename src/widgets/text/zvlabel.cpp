#include "widgets/text/zvlabel.h"

#include <string>
#include <vector>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "widgets/style/setserver.h"

int g_bSmoothLabels = 0;

namespace {

bool SkinsOn() {
    CSetServer* style = CSetServer::Get();
    return style && (style->GetFlags() & kStyleSkins);
}

// The lines of the text: every break ("\r\n", "\n" or "\r") starts a new
// one, so an empty line between two breaks counts too.
std::vector<std::string> SplitLines(const std::string& s) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\r' && s[i] != '\n') {
            lines.back() += s[i];
            continue;
        }
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    return lines;
}

}  // namespace

CZVLabel::CZVLabel(CZVWindow* parent, CZVRect rect, CZVString text, int styleClass)
    : CZVWindow(parent, rect, styleClass), m_smooth(g_bSmoothLabels) {
    SetText(text, nullptr, 0);
    m_faceColor = parent ? parent->GetFaceColor() : 0;
    m_margin = 0;
    m_bevel = 0;
}

int CZVLabel::TextInset() const { return CSetServer::GetBevelInset(m_bevelType) + 2; }

CZVString CZVLabel::Wrap(CZVString text) {
    CZVDC dc(this);
    dc.SetFont(m_fontSize, m_flags & kLabelBold, m_smooth);
    return dc.WrapText(text, m_width - 2 * TextInset(), 12, nullptr);
}

void CZVLabel::SetText(CZVString text, CZVDC* dc, int redraw) {
    if (text.Compare(m_text) == 0) return;
    if (HasFlag(kLabelMultiLine)) {
        text = Wrap(text);
        if (text.Compare(m_text) == 0) return;
    }
    if (HasFlag(kLabelFramed) && m_bevelType != 0 && redraw) {
        // The frame is drawn off screen and copied at once, so that the
        // background never shows through.
        CZVWindow::SetText(text, nullptr, 0);
        if (m_width <= 0 || m_height <= 0) return;
        CDibDC dib(m_width, m_height, ToRootX(0), ToRootY(0), 1);
        dib.SetOrigin(ToRootX(0), ToRootY(0));
        OnPaint(&dib);
        CZVDC own(this);
        CZVDC* target = dc ? dc : &own;
        target->BitBlt(0, 0, &dib, 0, 0, m_width, m_height);
        return;
    }
    CZVWindow::SetText(text, dc, redraw);
}

void CZVLabel::SetFlag(int mask, int on) {
    CZVWindow::SetFlag(mask, on);
    if (on && (mask & kLabelMultiLine) && !m_text.IsEmpty()) {
        m_text = Wrap(m_text);
        m_textChanged = 1;
    }
}

void CZVLabel::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    const int inset = CSetServer::GetBevelInset(m_bevelType);
    if (HasFlag(kLabelFramed) && inset) {
        const bool raised = !CSetServer::IsSunkenBevel(m_bevelType);
        if (SkinsOn() && IsOnBaseSurface() && m_width > 0 && m_height > 0) {
            CDibDC box(m_width, m_height, 0, 0, 1);
            box.FillBevelBoxStd(m_faceColor, m_backColor, raised, 0, 0, m_width - 1, m_height - 1, inset);
            Skins().DrawWithSkin(dc, &box, ToRootX(0), ToRootY(0), 0, 0, m_width, m_height, 0);
        } else {
            dc->FillBevelBoxStd(m_faceColor, m_backColor, raised, 0, 0, m_width - 1, m_height - 1, inset);
        }
    }
    if (m_text.IsEmpty()) return;
    dc->SetFont(m_fontSize, m_flags & kLabelBold, m_smooth);
    dc->SetColor(m_enabled ? m_textColor : MixColors(m_backColor, m_textColor, 0.25));
    const CZVRect area(0, 0, m_width, m_height);
    if (dc->IsPixelSurface()) {
        dc->DrawText(m_text, area, m_textFormat);
        return;
    }
    CZVRect clip = area;
    if (std::optional<CZVRect> current = dc->GetClipRect()) {
        const int left = std::max(clip.x, current->x);
        const int top = std::max(clip.y, current->y);
        const int right = std::min(clip.x + clip.w, current->x + current->w);
        const int bottom = std::min(clip.y + clip.h, current->y + current->h);
        clip = CZVRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    }
    dc->PushClip(&clip);
    dc->DrawText(m_text, area, m_textFormat);
    dc->PopClip();
}

void CZVLabel::FitTextToWidth() {
    CZVDC dc(this);
    dc.SetFont(m_fontSize, m_flags & kLabelBold, 0);
    m_text = dc.EllipsizeText(m_text, m_width - 2 * TextInset());
}

// ---- text helpers

int CountLines(CZVString text) { return static_cast<int>(SplitLines(text.GetAnsi()).size()); }

void GetTextLine(CZVString* out, int index, CZVString text) {
    const std::vector<std::string> lines = SplitLines(text.GetAnsi());
    *out = index >= 0 && index < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(index)].c_str() : "";
}

int RoundUpEven(int v) { return v % 2 != 0 ? v + 1 : v; }

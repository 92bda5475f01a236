#include "vistrel/home/pool/poollightsetup.h"

#include <algorithm>

#include "core/basinsetup.h"
#include "vistrel/home/pool/poolstagselwnd.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kSwatchClass = 16;
constexpr int kSwatchGap = 2;
constexpr int kSwatchFontSize = 40;
constexpr int kSwatchFormat = 18;
constexpr COLORREF kSwatchGrey = 0x808080;
constexpr double kSwatchTint = 0.1;
constexpr COLORREF kSwatchText = 0xFFFFFF;
constexpr int kNameFontSize = 24;
constexpr int kNameFormat = 17;
constexpr int kRightGap = 19;
constexpr int kButtonBand = 30;
constexpr int kScrollBottomGap = 35;
constexpr int kScrollSideGap = 5;
constexpr int kDefaultsClass = 16;
constexpr int kDefaultsGap = 2;
constexpr int kColorGroup = 3;

// A colour's name with each word on a line of its own.
CZVString SwatchCaption(const std::string& name) {
    std::string caption = name;
    std::replace(caption.begin(), caption.end(), ' ', '\n');
    return CZVString(caption.c_str());
}

}  // namespace

// ---- CPoolColorSwatches

CPoolColorSwatches::CPoolColorSwatches(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit)
    : CSubPanel(parent, rect, 0, model), m_circuit(circuit) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int n = std::min(model->GetColorCount(), kLastId - kFirstId + 1);
    if (n == 0) return;
    const int width = (rect.w + kSwatchGap) / n;
    for (int i = 0; i < n; ++i) {
        const CPoolColor* colour = model->GetColor(i);
        CZVCheckButton* button =
            AddCheckButton(CZVRect(i * width, 0, width - kSwatchGap, rect.h), kFirstId + i, kSwatchClass, "");
        button->SetCheckedColor(colour->color);
        button->SetFaceColor(MixColors(kSwatchGrey, colour->color, kSwatchTint));
        button->SetTextColor(kSwatchText);
        button->SetTextFormat(kSwatchFormat);
        button->SetFontSize(kSwatchFontSize);
        button->SetText(SwatchCaption(colour->name), nullptr, 0);
        m_buttons.AddTail(button);
    }
    CCaptionFitter fitter(this);
    fitter.AddChildren(this, kSwatchClass, -1);
    UpdateChecks();
}

CPoolColorSwatches::~CPoolColorSwatches() = default;

void CPoolColorSwatches::UpdateChecks() {
    int i = 0;
    for (ZVPOSITION pos = m_buttons.GetHeadPosition(); pos; ++i) {
        auto* button = static_cast<CZVCheckButton*>(m_buttons.GetNext(pos));
        button->SetCheck(i == m_circuit->colorSet, 0, button->IsShown());
    }
}

int CPoolColorSwatches::OnCommand(int id) {
    if (id < kFirstId || id > kLastId) return CSubPanel::OnCommand(id);
    if (id - kFirstId < m_buttons.GetCount()) m_model->SetColorSet(m_circuit, static_cast<uint8_t>(id - kFirstId));
    UpdateChecks();
    return 1;
}

// ---- CPoolLightRow

CPoolLightRow::CPoolLightRow(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit,
                             int colorSetMode, int rowId)
    : CSubPanel(parent, rect, 0, model), m_circuit(circuit) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetBackColor());
    }
    CZVLabel* name = AddLabel(CZVRect(0, 0, kNameWidth, rect.h), circuit->name.c_str(), kNameFontSize);
    name->SetTextFormat(kNameFormat);
    name->SetFlag(kLabelMultiLine, 1);
    const CZVRect rest(kNameWidth, 0, rect.w - kNameWidth - kRightGap, rect.h);
    if (colorSetMode) {
        m_swatches = new CPoolColorSwatches(this, rest, model, circuit);
        AddChild(m_swatches);
    } else {
        m_selector = new CPoolStagSelWnd(this, rest, model, circuit, rowId);
        AddChild(m_selector);
    }
}

void CPoolLightRow::SetStart(int start, int redraw) {
    if (!m_selector) return;
    m_selector->SetStart(start);
    if (redraw && m_selector->IsShown()) {
        CZVDC dc(m_selector);
        m_selector->PaintStrip(&dc);
    }
}

void CPoolLightRow::OnStatusUpdate() {
    if (m_swatches) m_swatches->UpdateChecks();
    if (m_selector && m_selector->IsShown()) {
        CZVDC dc(m_selector);
        m_selector->PaintStrip(&dc);
    }
}

// ---- CPoolLightList

CPoolLightList::CPoolLightList(CZVWindow* parent, CZVRect rect, CBasinSetup* model, int colorSetMode)
    : CSubPanel(parent, rect, 0, model), m_colorSetMode(colorSetMode) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetBackColor());
    }
    BuildRows();
    UpdateStarts();
    if (colorSetMode) return;
    m_loadDefaults = Add3DButtonDefault(CZVRect(rect.w / 2, rect.h - kButtonBand + kDefaultsGap,
                                                rect.w / 2 - kDefaultsGap, kButtonBand - 2 * kDefaultsGap),
                                        kLoadDefaultsId, kDefaultsClass, "Load Defaults");
}

CPoolLightList::~CPoolLightList() = default;

void CPoolLightList::BuildRows() {
    CZVObList lights;
    m_model->GetCircuitsByInterface(lights, kColorGroup);
    CBasinSetup::SortCircuits(lights);
    const int count = lights.GetCount();
    if (count == 0) return;
    CZVWindow* holder = this;
    int left = 0;
    int width = m_width;
    if ((m_height - kButtonBand) / count <= kScrollingPitch) {
        m_scrollPanel = new CScrollPanel(this, CZVRect(0, 0, m_width, m_height - kScrollBottomGap));
        AddChild(m_scrollPanel);
        CZVRect client;
        m_scrollPanel->GetClientRect(&client);
        holder = m_scrollPanel;
        left = client.x + kScrollSideGap;
        width = client.w - 2 * kScrollSideGap - m_scrollPanel->GetScrollBarWidth();
    }
    int i = 0;
    for (ZVPOSITION pos = lights.GetHeadPosition(); pos; ++i) {
        auto* circuit = static_cast<CPoolCircuit*>(lights.GetNext(pos));
        auto* row = new CPoolLightRow(holder, CZVRect(left, i * kRowPitch, width, kRowHeight), m_model, circuit,
                                      m_colorSetMode, kFirstRowId + i);
        holder->AddChild(row);
        m_rows.AddTail(row);
    }
}

CPoolLightRow* CPoolLightList::GetRow(int index) const {
    ZVPOSITION pos = m_rows.FindIndex(index);
    return pos ? static_cast<CPoolLightRow*>(m_rows.GetAt(pos)) : nullptr;
}

void CPoolLightList::SetStarts(int changed) {
    int start = 0;
    int i = 0;
    for (ZVPOSITION pos = m_rows.GetHeadPosition(); pos; ++i) {
        auto* row = static_cast<CPoolLightRow*>(m_rows.GetNext(pos));
        row->SetStart(start, changed >= 0 && i > changed);
        start += row->GetCircuit()->colorStagger;
    }
}

void CPoolLightList::UpdateStarts() { SetStarts(-1); }

void CPoolLightList::LoadDefaults() {
    int start = 0;
    int i = 0;
    for (ZVPOSITION pos = m_rows.GetHeadPosition(); pos; ++i) {
        auto* row = static_cast<CPoolLightRow*>(m_rows.GetNext(pos));
        CPoolCircuit* circuit = row->GetCircuit();
        circuit->colorStagger = i == 0 ? 0 : kDefaultDelay;
        m_model->SetLightParams(circuit);
        row->SetStart(start, 1);
        start += circuit->colorStagger;
    }
}

int CPoolLightList::OnCommand(int id) {
    if (id >= kFirstRowId && id <= kLastRowId) {
        SetStarts(id - kFirstRowId);
        return 1;
    }
    if (id == kLoadDefaultsId) {
        LoadDefaults();
        return 1;
    }
    return CSubPanel::OnCommand(id);
}

void CPoolLightList::OnStatusUpdate() {
    UpdateStarts();
    for (ZVPOSITION pos = m_rows.GetHeadPosition(); pos;)
        static_cast<CPoolLightRow*>(m_rows.GetNext(pos))->OnStatusUpdate();
}

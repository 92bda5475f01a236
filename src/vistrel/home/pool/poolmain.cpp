#include "vistrel/home/pool/poolmain.h"

#include <algorithm>

#include "core/basinsetup.h"
#include "vistrel/home/pool/poolheat.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kPanelShape = 10;
constexpr int kArrowWidth = 60;
constexpr int kArrowHeight = 30;
constexpr int kArrowBevel = 2;
constexpr int kRightArrowIcon = 4;
constexpr int kLeftArrowIcon = 5;
constexpr int kNameWidth = 250;
constexpr int kNameHeight = 30;
constexpr int kNameFontSize = 24;
constexpr int kPerRow = 5;
constexpr int kPanelGap = 5;

enum : int { kPoolFunction = 2, kSpaFunction = 1 };
enum : int { kPoolGroup = 0, kSpaGroup = 1, kFeatureGroup = 2 };

void CopyList(const CZVObList& from, CZVObList* to) {
    for (ZVPOSITION pos = from.GetHeadPosition(); pos;) to->AddTail(from.GetNext(pos));
}

}  // namespace

// ---- CPoolCircuitPage

CPoolCircuitPage::CPoolCircuitPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, const CZVObList& circuits)
    : CRRegion(parent, rect, kStyleClass), m_model(model) {
    SetCornerRadius(kPanelShape);
    SetSpacing(kPanelShape);
    SetBevel(kPanelShape);
    CopyList(circuits, &m_all);
    CZVRect c;
    GetContentRect(&c);
    CZVLabel* name =
        AddLabel(CZVRect(c.x, c.y, kNameWidth, kNameHeight), model->GetControllerName().c_str(), kNameFontSize);
    name->SetTextColor(ScaleColor(0.25, GetFaceColor()));
    const int right = c.x + c.w;
    m_previous = AddImageButton(CZVRect(right - 2 * kArrowWidth, c.y, kArrowWidth, kArrowHeight), kPreviousId,
                                kButtonClass, kLeftArrowIcon, ScaleColor(0.75, GetFaceColor()));
    m_next = AddImageButton(CZVRect(right - kArrowWidth, c.y, kArrowWidth, kArrowHeight), kNextId, kButtonClass,
                            kRightArrowIcon, ScaleColor(0.75, GetFaceColor()));
    for (CZV3DButton* arrow : {m_previous, m_next}) arrow->SetBevel(kArrowBevel);
    LayoutButtons(0, 0);
    SetTimer(CCircuitButtons::kBlinkInterval);
}

void CPoolCircuitPage::LayoutButtons(int first, int redraw) {
    for (int i = 0; i < m_shown.GetCount(); ++i) {
        CZVCheckButton* button = m_shown.GetButton(i);
        if (redraw) EraseChildArea(button);
        RemoveChild(button);
        delete button;
    }
    m_shown.Clear();
    m_first = first;
    const int total = m_all.GetCount();
    CZVRect c;
    GetContentRect(&c);
    const CZVRect area(c.x, c.y + kHeaderHeight, c.w, c.h - kHeaderHeight);
    const int count = std::clamp(total - first, 0, kPerPage);
    m_previous->Show(first > 0, 1);
    m_next->Show(first + count < total, 1);
    m_previous->SetKeepHidden(1);
    m_next->SetKeepHidden(1);
    if (count == 0) return;
    int columns = kPerRow;
    int rows = kPerPage / kPerRow;
    if (total <= kPerPage) {
        columns = std::min(count, kPerRow);
        rows = (count + kPerRow - 1) / kPerRow;
    }
    int cellWidth = (area.w + 2) / columns;
    if (columns < kPerRow) cellWidth = std::min(cellWidth, kMaxCellWidth);
    const int cellHeight = (area.h + 2) / rows;
    ZVPOSITION pos = m_all.FindIndex(first);
    for (int i = 0; i < count && pos; ++i) {
        auto* circuit = static_cast<CPoolCircuit*>(m_all.GetNext(pos));
        const CZVRect cell(area.x + (i % columns) * cellWidth, area.y + (i / columns) * cellHeight, cellWidth - 2,
                           cellHeight - 2);
        CZVCheckButton* button =
            AddCheckButton(cell, CCircuitButtons::kFirstId + i, kButtonClass, circuit->name.c_str());
        button->Show(IsShown(), 1);
        m_shown.Add(circuit, button);
    }
}

void CPoolCircuitPage::Turn(int delta) {
    LayoutButtons(std::max(0, m_first + delta), 1);
    UpdateButtons(0);
    if (IsShown()) Redraw(1);
}

int CPoolCircuitPage::OnCommand(int id) {
    if (id == kNextId || id == kPreviousId) {
        Turn(id == kNextId ? kPerPage : -kPerPage);
        return 1;
    }
    if (CPoolCircuit* circuit = m_shown.FindByCommand(id)) {
        m_model->SetCircuitState(circuit, m_shown.FindButton(circuit)->GetCheck());
        return 1;
    }
    return CRRegion::OnCommand(id);
}

// ---- CPoolMainPage

CPoolMainPage::CPoolMainPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model)
    : CSubPanel(parent, rect, kStyleClass, model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVObList pool, spa, features;
    model->GetCircuitsByInterface(pool, kPoolGroup);
    CBasinSetup::RemoveByFunction(pool, kPoolFunction);
    model->GetCircuitsByInterface(spa, kSpaGroup);
    CBasinSetup::RemoveByFunction(spa, kSpaFunction);
    model->GetCircuitsByInterface(features, kFeatureGroup);

    const int w = GetWidth();
    const int h = GetHeight();
    const int sides = (pool.IsEmpty() ? 0 : 1) + (spa.IsEmpty() ? 0 : 1);
    int featureHeight = 0;
    if (!features.IsEmpty())
        featureHeight =
            features.GetCount() <= 4 ? PickByScreenHeight(600, 120, 150) : PickByScreenHeight(600, 150, 200);
    const int pitch = sides ? std::min((h - featureHeight) / sides, PickByScreenHeight(600, 150, 200)) : 0;
    const int larger = std::max(pool.GetCount(), spa.GetCount());
    int top = 0;
    if (!pool.IsEmpty()) {
        m_heat[0] =
            new CPoolHeatPage(this, CZVRect(0, 0, w, pitch - kPanelGap), model, 0, model->GetBody0Name(), pool, larger);
        AddChild(m_heat[0]);
        top = pitch;
    }
    if (!spa.IsEmpty()) {
        m_heat[1] = new CPoolHeatPage(this, CZVRect(0, top, w, pitch - kPanelGap), model, 1, model->GetBody1Name(), spa,
                                      larger);
        AddChild(m_heat[1]);
    }
    if (!features.IsEmpty()) {
        m_features =
            new CPoolCircuitPage(this, CZVRect(0, h - featureHeight, w + 1, featureHeight + 1), model, features);
        AddChild(m_features);
    }
    CCaptionFitter fitter(this);
    fitter.AddChildren(this, kButtonClass, -1);
}

void CPoolMainPage::OnStatusUpdate() {
    const int redraw = IsPaintedOnce();
    for (int body = 0; body < 2; ++body) {
        CPoolHeatPage* panel = m_heat[body];
        const CPoolBody* values = m_model->GetBody(body);
        if (!panel || !values) continue;
        panel->UpdateFromStatus(values->temperature & 0xFF, values->heatStatus & 0xFF, values->setPoint & 0xFF,
                                values->heatMode & 0xFF);
        panel->UpdateCircuitButtons(redraw);
    }
    if (m_features) m_features->UpdateButtons(redraw);
}

#include "vistrel/home/pool/poolcontrols.h"

#include <algorithm>

#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kCircuitGroups = 5;   // interface groups 0..4 hold shown circuits
constexpr int kMaxCellRatio = 100;  // width x 10 / height
constexpr int kCentred = 18;

enum : int { kPoolFunction = 2, kSpaFunction = 1, kCleanerFunction = 5 };

// The status table's rows: key, caption (with %s the body's name), and
// whether the row belongs to the spa.
struct RowEntry {
    int key;
    int body;  // -1: no body name
    const char* caption;
    bool spaOnly;
};

constexpr RowEntry kRows[] = {
    {8, -1, "Air Temperature", false},  {0, 0, "Temperature", false},   {4, 1, "Temperature", true},
    {1, 0, "Set Point", false},         {5, 1, "Set Point", true},      {2, 0, "Heat Mode", false},
    {3, 0, "Heat Status", false},       {6, 1, "Heat Mode", true},      {7, 1, "Heat Status", true},
    {9, -1, "Spa-Side Remotes", false}, {10, -1, "Freeze Mode", false},
};

CZVServer* GatewayOf() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

}  // namespace

// ---- CPoolStatusControl

CPoolStatusControl::CPoolStatusControl(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour,
                                       int bevelType)
    : CZVWindow(parent, rect, kStyleClass), CSocketSink(server), m_bevelType(bevelType), m_link(server) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetTextColor(textColour);
    m_model = std::make_unique<CBasinSetup>(m_link, ZVVariant::Tablet, 0);
    server.RegisterSink(this);
}

CPoolStatusControl::~CPoolStatusControl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CPoolStatusControl::Start() {
    RequestStatus();
    SetTimer(kPollInterval);
}

void CPoolStatusControl::RequestStatus() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_POOL_GETSTATUSQ);
    message.WriteInt(m_model->GetControllerIndex());
    server->Send(&message);
}

void CPoolStatusControl::OnMessage(CZVMSG* message) {
    if (!message) return;
    if (message->GetId() != ZVM_POOL_GETSTATUSA && message->GetId() != ZVM_POOL_STATUSCHANGED) return;
    message->ResetPosition();
    m_model->ReadStatus(*message);
    // While input is blocked only the model follows; the next status shows it.
    if (CMainWndBase::InputBlockedFor(this)) return;
    ShowStatus();
}

// ---- CPoolCircuitGrid

CPoolCircuitGrid::Grid CPoolCircuitGrid::PlanGrid(int count, int width, int height) {
    if (count <= 0 || width <= 0 || height <= 0) return {};
    Grid grid{1, count, width, std::max(1, height / count)};
    while (grid.cellWidth * 10 / grid.cellHeight > kMaxCellRatio) {
        ++grid.columns;
        grid.rows = grid.columns >= count ? 1 : (count + grid.columns - 1) / grid.columns;
        grid.cellWidth = std::max(1, width / grid.columns);
        grid.cellHeight = std::max(1, height / grid.rows);
    }
    // A cell of less than a pixel cannot show a name.
    if (height / grid.rows < 1 || width / grid.columns < 1) return {};
    return grid;
}

CPoolCircuitGrid::CPoolCircuitGrid(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour,
                                   int maxFontSize, int bevelType)
    : CPoolStatusControl(parent, rect, server, textColour, bevelType) {
    CBasinSetup& model = GetModel();
    CZVObList circuits;
    for (int group = 0; group < kCircuitGroups; ++group) model.GetCircuitsByInterface(circuits, group);
    const Grid grid = PlanGrid(circuits.GetCount(), GetWidth(), GetHeight());
    if (grid.columns > 0) {
        const int fontSize = std::min(maxFontSize, GetHeight() * 9 / grid.rows / 10);
        for (int function : {kCleanerFunction, kPoolFunction, kSpaFunction})
            CBasinSetup::RemoveByFunction(circuits, function);
        int index = 0;
        for (ZVPOSITION pos = circuits.GetHeadPosition(); pos; ++index) {
            auto* circuit = static_cast<CPoolCircuit*>(circuits.GetNext(pos));
            const CZVRect cell((index / grid.rows) * grid.cellWidth, (index % grid.rows) * grid.cellHeight,
                               grid.cellWidth, grid.cellHeight);
            CZVLabel* label = AddLabel(cell, circuit->name.c_str(), fontSize);
            label->SetBevelType(1);
            label->SetFlag(kLabelFramed, 1);
            label->SetTextFormat(kCentred);
            label->SetTextColor(textColour);
            CCaptionFitter fitter(label);
            fitter.AddWindow(label);
            fitter.Apply(fontSize);
            m_labels.emplace_back(circuit->circuitId, label);
        }
    }
    Start();
}

void CPoolCircuitGrid::ShowStatus() {
    const COLORREF highlight = CSetServer::Get() ? CSetServer::Get()->GetSelectionColor() : kHighlightColor;
    for (const auto& [id, label] : m_labels) {
        const CPoolCircuit* circuit = GetModel().FindCircuitById(id);
        const bool on = circuit && circuit->state != 0;
        label->SetFaceColor(on ? highlight : GetFaceColor());
        label->SetTextColor(on ? 0 : GetTextColor());
        if (label->IsShown()) label->RedrawBuffered();
    }
}

// ---- CPoolStatusPage

CPoolStatusPage::CPoolStatusPage(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour, int fontSize,
                                 int bevelType)
    : CPoolStatusControl(parent, rect, server, textColour, bevelType) {
    CBasinSetup& model = GetModel();
    const bool spa = model.FindCircuitByFunction(kSpaFunction) != nullptr;
    const std::string bodies[] = {model.GetBody0Name(), model.GetBody1Name()};
    std::vector<const RowEntry*> shown;
    for (const RowEntry& row : kRows)
        if (spa || !row.spaOnly) shown.push_back(&row);
    const int rowHeight = GetHeight() / static_cast<int>(shown.size());
    const int captionWidth = GetWidth() * 5 / 9;
    CCaptionFitter captions(this);
    int top = 0;
    for (const RowEntry* row : shown) {
        const std::string caption = row->body < 0 ? row->caption : bodies[row->body] + " " + row->caption;
        CZVLabel* name = AddLabel(CZVRect(0, top, captionWidth, rowHeight), caption.c_str(), fontSize);
        CZVLabel* value = AddLabel(CZVRect(captionWidth, top, GetWidth() - captionWidth, rowHeight), "", fontSize);
        for (CZVLabel* label : {name, value}) {
            label->SetTextColor(textColour);
            label->SetBevelType(bevelType);
        }
        captions.AddWindow(name);
        m_rows.push_back({row->key, name, value});
        top += rowHeight;
    }
    captions.Apply(fontSize);
    // At the smallest size a long caption can still be wider than its cell: it is shortened
    // with an ellipsis like the values, never cut at both ends.
    for (const Row& row : m_rows) row.caption->FitTextToWidth();
    Start();
}

void CPoolStatusPage::SetRowValue(int key, const std::string& text) {
    auto row = std::find_if(m_rows.begin(), m_rows.end(), [key](const Row& r) { return r.key == key; });
    if (row == m_rows.end()) return;
    row->value->SetText(text.c_str(), nullptr, 0);
    row->value->FitTextToWidth();
    if (row->value->IsShown()) row->value->RedrawBuffered();
}

void CPoolStatusPage::ShowStatus() {
    CBasinSetup& model = GetModel();
    const CPoolBody* pool = model.GetBody(0);
    const CPoolBody* spa = model.GetBody(1);
    auto temp = [&model](int32_t value) { return model.GetTempText(value & 0xFF); };
    SetRowValue(8, model.GetTempText(model.GetAirTemp() & 0xFF));
    SetRowValue(0, temp(pool->temperature));
    SetRowValue(1, temp(pool->setPoint));
    SetRowValue(2, model.GetHeatModeText(pool->heatMode));
    SetRowValue(3, model.GetHeatStatusText(pool->heatStatus));
    SetRowValue(4, temp(spa->temperature));
    SetRowValue(5, temp(spa->setPoint));
    SetRowValue(6, model.GetHeatModeText(spa->heatMode));
    SetRowValue(7, model.GetHeatStatusText(spa->heatStatus));
    SetRowValue(9, GetEnabledText(model.GetRemotesEnabled()));
    SetRowValue(10, model.GetFreezeText());
}

// ---- the factory's makers

CZVWindow* MakePoolStatusTable(CPageControlArgs& args) {
    CZVServer* server = GatewayOf();
    if (!server) return nullptr;
    return new CPoolStatusPage(args.parent, args.rect, *server, args.textColor, args.fontSize, args.bevelType);
}

CZVWindow* MakePoolCircuitGrid(CPageControlArgs& args) {
    CZVServer* server = GatewayOf();
    if (!server) return nullptr;
    return new CPoolCircuitGrid(args.parent, args.rect, *server, args.textColor, args.fontSize, args.bevelType);
}

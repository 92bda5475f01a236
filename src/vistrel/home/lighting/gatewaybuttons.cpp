#include "vistrel/home/lighting/gatewaybuttons.h"

#include <algorithm>

#include "core/messages/lightingmessages.h"
#include "core/messages/shellmessages.h"
#include "core/messages/toolkitmessages.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

// ---- gateway button

CGatewayButton::CGatewayButton(CZVWindow* parent, CZVRect rect, int commandId, int type, CZVString text, int fontSize,
                               COLORREF textColour, COLORREF faceColour, int parameter, CZVString iconName)
    : CZV3DButton(parent, rect, commandId, kStyleClass), m_commandId(commandId), m_type(type) {
    if (faceColour) SetFaceColor(faceColour);
    if (fontSize) SetFontSize(fontSize);
    SetTextColor(textColour);
    CZVWindow::SetText(text, nullptr, 0);
    if (parameter) {
        CZVIconSpec icon;
        icon.kind = parameter;
        if (parameter == kNamedIconKind) icon.name = iconName;
        SetIcon(icon);
    }
}

int CGatewayButton::OnCommand(int id) {
    if (id != m_commandId) return CZV3DButton::OnCommand(id);
    SendToGateway(ZVM_UI_BUTTONPRESS, {0, m_commandId});
    return 1;
}

// ---- on/off button

COnOffButton::COnOffButton(CZVWindow* parent, CZVRect rect, int commandId, int type, CZVString text, int fontSize,
                           COLORREF textColour, COLORREF faceColour, int parameter, CZVString iconName)
    : CGatewayButton(parent, rect, commandId, type, text, fontSize, textColour, faceColour, parameter, iconName) {
    m_clickId = kNoCommand;
    SetPressIds(kPressId, kReleaseId);
}

int COnOffButton::OnCommand(int id) {
    if (id != kPressId && id != kReleaseId) return 1;
    const int32_t on = id == kPressId ? 1 : 0;
    if (m_type == kUiType)
        SendToGateway(ZVM_UI_SETONOFF, {0, m_commandId, on});
    else if (m_type == kDeviceType)
        SendToGateway(ZVM_DEVICE_SETSTATE, {m_commandId, on});
    return 1;
}

// ---- button grid

CButtonGridShape ButtonGridShape(int count, int width, int height, int controlHeight) {
    CButtonGridShape shape;
    if (count < 1) return shape;
    const int64_t n = count;
    // One column of rows of at most 50 pixels; so too for a control too
    // small for the grid search to ever find a cell.
    if (CButtonGridCtl::kRowHeight * n < controlHeight || width < 3 || height < 1) {
        shape.rows = count;
        shape.usedHeight = static_cast<int>(std::min<int64_t>(height, CButtonGridCtl::kRowHeight * n));
        return shape;
    }
    const int64_t across = int64_t{width} * 100 / CButtonGridCtl::kCellWidth;
    const int64_t down = int64_t{height} * 100 / CButtonGridCtl::kRowHeight;
    int64_t c = 0, r = 0;
    for (int64_t k = 1; c * r < n; ++k) {
        c = k * across / 10000;
        r = k * down / 10000;
    }
    while ((r - 1) * c >= n) --r;
    shape.columns = static_cast<int>(c);
    shape.rows = static_cast<int>(r);
    shape.usedHeight = height;
    return shape;
}

CButtonGridCtl::CButtonGridCtl(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int parameter,
                               int fontSize)
    : CZVWindow(parent, rect, styleClass), CSocketSink(server) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    SetFontSize(fontSize);
    server.RegisterSink(this);
    CZVMSG ask(GetId(), ZVM_LIGHTS_GETBUTTONGRIDQ);
    ask.WriteInt(parameter);
    server.Send(&ask);
}

CButtonGridCtl::~CButtonGridCtl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CButtonGridCtl::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_LIGHTS_GETBUTTONGRIDA) return;
    message->ResetPosition();
    Build(*message);
}

void CButtonGridCtl::Build(CZVMSG& answer) {
    std::vector<CGridEntryRecord> entries;
    ReadGridEntries(answer, &entries);
    if (entries.empty()) return;
    CZVRect client;
    GetClientRect(&client);
    const int n = static_cast<int>(entries.size());
    const CButtonGridShape shape = ButtonGridShape(n, client.w, client.h, m_height);
    const CZVRect used(client.x, client.y, client.w, shape.usedHeight);
    const int columnGap = client.w / shape.columns / 20;
    const int rowGap = shape.usedHeight / shape.rows / 20;
    const int redraw = IsShown() && !CMainWndBase::InputBlockedFor(this);
    for (int k = 0; k < n; ++k) {
        const CGridEntryRecord& entry = entries[static_cast<size_t>(k)];
        const CZVRect cell =
            used.Column(k / shape.rows, shape.columns, columnGap).Row(k % shape.rows, shape.rows, rowGap);
        CPageControlDesc desc;
        desc.type = entry.type;
        desc.id = entry.id;
        desc.text = CZVString(entry.text.c_str());
        desc.width = cell.w;
        desc.height = cell.h;
        CZVWindow* control = CreatePageControl(this, this, cell, desc, nullptr, GetFontSize());
        if (!control) continue;
        AddChild(control);
        if (redraw) control->Redraw(1);
    }
}

#include "vistrel/home/lighting/sceneconfig.h"

#include <algorithm>

#include "core/messages/lightingmessages.h"
#include "core/messages/schedulemessages.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/home/lighting/lightswitch.h"
#include "vistrel/home/schedule/schedulereaders.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/gauges/slider.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/lists/textlist.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kLabelFormat = 5;
constexpr int kNameFormat = 11;
constexpr int kLabelGap = 10;  // above the lower part, and left of a row's remove button
constexpr int kButtonClass = 17;
constexpr int kAddIcon = 19;
constexpr int kAddIconLayout = 3;
constexpr int32_t kSwitchDevices = 1;
constexpr int kRowInset = 2;

int Style(int styleClass, int index) { return CSetServer::CurrentStyle(styleClass, index); }

}  // namespace

// ---- the popup

CSceneConfigPage::CSceneConfigPage(CZVWindow* owner, CZVRect rect, CZVServer& server, int32_t sceneId)
    : CPopupWnd(owner, rect, kStyleClass), CSocketSink(server), m_sceneId(sceneId) {
    const int f = Style(kStyleClass, 7);
    SetFontSize(f);
    AddTitleBar("Configure Custom Scene", rect.w / 3);
    CZVRect upper;
    CPopupWnd::GetClientRect(&upper);
    CZVRect lower = upper.CutBottom(upper.h / 2, 0);
    lower.CutTop(kLabelGap, 0);
    const struct {
        CZVRect* part;
        const char* title;
    } parts[] = {{&upper, "Devices in Scene"}, {&lower, "All Devices"}};
    for (const auto& [part, title] : parts) {
        // The title's whole band: a font of f pixels needs them.
        CZVLabel* label = AddLabel(part->CutTop(f, 0), title, f);
        label->SetTextFormat(kLabelFormat);
        label->SetTextColor(m_textColor);
    }
    m_rows = new CScrollPanel(this, upper);
    AddChild(m_rows);
    m_devices = new CTextList(this, lower, kNoCommand);
    m_devices->SetSelectedRowHeight(2 * m_devices->GetFontSize());
    m_devices->AddRowButtonIcon(kAddIcon, kAddIconLayout, "Add Device to Scene", kAddDeviceId, 0, nullptr, 0, 1);
    AddChild(m_devices);
    server.RegisterSink(this);
    CZVMSG ask(GetId(), ZVM_LIGHTS_GETDEVICESQ);
    ask.WriteInt(kSwitchDevices);
    server.Send(&ask);
    RequestDevices();
}

CSceneConfigPage::~CSceneConfigPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CSceneConfigPage::RequestDevices() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_SCENES_GETDEVICESQ);
    ask.WriteInt(m_sceneId);
    server->Send(&ask);
}

int CSceneConfigPage::OnCommand(int id) {
    if (id == kAddDeviceId && m_devices->GetSelected()) {
        const auto device = static_cast<int32_t>(reinterpret_cast<intptr_t>(m_devices->GetSelectedData()));
        SendToGateway(ZVM_SCENES_ADDDEVICE, {m_sceneId, device, 0}, GetId());
        RequestDevices();
    } else if (id == kReloadId) {
        RequestDevices();
    }
    return CPopupWnd::OnCommand(id);
}

void CSceneConfigPage::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    if (message->GetId() == ZVM_LIGHTS_GETDEVICESA)
        TakeAllDevices(*message);
    else if (message->GetId() == ZVM_SCENES_GETDEVICESA)
        TakeSceneDevices(*message);
}

void CSceneConfigPage::TakeAllDevices(CZVMSG& message) {
    std::vector<CLightItemRecord> items;
    ReadLightItems(message, &items);
    for (const CLightItemRecord& item : items)
        m_devices->AddString(item.name.c_str(), reinterpret_cast<void*>(static_cast<intptr_t>(item.id)));
    if (IsShown() && IsPaintedOnce()) m_devices->RedrawBuffered();
}

void CSceneConfigPage::TakeSceneDevices(CZVMSG& message) {
    std::vector<CSceneDeviceRecord> devices;
    ReadSceneDevices(message, &devices);
    m_rows->ResetScroll();
    CZVRect row;
    m_rows->GetClientRect(&row);
    row.Deflate(kRowInset, 0);
    const int rowHeight = m_devices->GetRowHeight();
    if (static_cast<int64_t>(devices.size()) * rowHeight >= row.h) row.w -= m_rows->GetScrollBarWidth();
    row.h = rowHeight;
    for (size_t i = 0; i < devices.size(); ++i) {
        const CSceneDeviceRecord& device = devices[i];
        m_rows->AddChild(new CSceneDeviceRow(m_rows, row, device.name.c_str(), m_sceneId, static_cast<int32_t>(i),
                                             device.value, device.flags));
        row.y += rowHeight;
    }
    if (IsShown() && IsPaintedOnce()) m_rows->RedrawBuffered();
}

// ---- a device row

CSceneDeviceRow::CSceneDeviceRow(CZVWindow* parent, CZVRect rect, CZVString name, int32_t sceneId, int32_t row,
                                 int32_t value, int32_t flags)
    : CZVWindow(parent, rect, kStyleClass), m_sceneId(sceneId), m_row(row) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    CZVRect rest(0, 0, rect.w, rect.h);
    AddIconButton(rest.CutRight(rect.h, kLabelGap), kRemoveId, kButtonClass, "TRANSPORT\\ICON32DELETEALL", -1);
    CZVLabel* label = AddLabel(rest.CutLeft(rest.w / 2, 0), name, GetFontSize());
    label->SetTextFormat(kNameFormat);
    if (flags & kDims) {
        m_slider = new CZVSlider(this, rest, kLevelId, 0, 100, Style(kButtonClass, 3),
                                 std::max(Style(kButtonClass, 5), Style(kButtonClass, 6)), 0);
        m_slider->SetFontSize(Style(kStyleClass, 7));
        if (CSetServer* style = CSetServer::Get()) m_slider->SetTextColor(style->GetStyleColor(kButtonClass, 1));
        const bool level = value >= kSwitchLevelBase && value <= kSwitchLevelTop;
        m_slider->SetPosition(level ? value - kSwitchLevelBase : 0, 0);
        UpdateLevelCaption();
        AddChild(m_slider);
    } else {
        m_radio = new CZVRadio(this, rest, kOnOffId, 2, 1, 0, kButtonClass, 0, 0, 0);
        m_radio->SetOptionText(0, "Off");
        m_radio->SetOptionText(1, "On");
        m_radio->Select(value == kSwitchOff ? 0 : 1, 0);
        AddChild(m_radio);
    }
}

void CSceneDeviceRow::SendValue(int32_t value) { SendToGateway(ZVM_SCENES_SETDEVICELEVEL, {m_sceneId, m_row, value}); }

void CSceneDeviceRow::UpdateLevelCaption() {
    if (!m_slider) return;
    const int position = m_slider->GetLevel();
    CZVString caption("Off");
    if (position > 0) caption.Format("%d %%", position);
    m_slider->SetText(caption, nullptr, 0);
}

int CSceneDeviceRow::OnCommand(int id) {
    if (id == kRemoveId) {
        SendToGateway(ZVM_SCENES_CLEAR, {m_sceneId, m_row});
        return CZVWindow::OnCommand(CSceneConfigPage::kReloadId);
    }
    if (id == kLevelId && m_slider) {
        const int level = m_slider->GetLevel();
        UpdateLevelCaption();
        SendValue(level > 0 ? level + kSwitchLevelBase : kSwitchOff);
    } else if (id == kOnOffId && m_radio) {
        SendValue(m_radio->GetSelection() == 0 ? kSwitchOff : kSwitchOn);
    }
    return 1;
}

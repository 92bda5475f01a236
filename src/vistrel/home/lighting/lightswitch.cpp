#include "vistrel/home/lighting/lightswitch.h"

#include <algorithm>

#include "core/messages/lightingmessages.h"
#include "platform/clock.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "widgets/buttons/arrowbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/slider.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kSegmentGap = 2;
constexpr int kMaxArrowSize = 60;
constexpr int kUprightParameter = 2;
constexpr int kNoPresetsParameter = 255;
constexpr int kSkinsFlag = 0x40000;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr int kRaiseIcon = 19;  // the toolkit's plus
constexpr int kLowerIcon = 20;  // the toolkit's minus
constexpr int kLevelRepeatInterval = 50;
constexpr double kTintShare = 0.15;
constexpr COLORREF kRaiseTint = 0x0000FF;  // red
constexpr COLORREF kLowerTint = 0xFF0000;  // blue
// Arrow directions: the rounded end at the top, bottom, left or right.
enum : int { kEndTop = 0, kEndBottom = 1, kEndLeft = 2, kEndRight = 3 };

int IsPresetType(int type) { return type == 142 || type == 177; }

}  // namespace

int SwitchLevel(int32_t value) {
    if (value == kSwitchOn || (value >= kSwitchFirstPreset && value <= kSwitchLastPreset)) return 100;
    if (value >= kSwitchLevelBase && value <= kSwitchLevelTop) return value - kSwitchLevelBase;
    return 0;
}

std::vector<int> SwitchSegments(int32_t value, int count) {
    std::vector<int> set(static_cast<size_t>(std::max(count, 0)), 0);
    if (count <= 0) return set;
    const size_t last = set.size() - 1;
    if (value == kSwitchOff) {
        set[0] = 1;
    } else if (value == kSwitchOn || (value >= kSwitchLevelBase && value <= kSwitchLevelTop)) {
        set[last] = 1;
    } else if (value >= kSwitchFirstPreset && value <= kSwitchLastPreset) {
        const size_t preset = static_cast<size_t>(value - kSwitchFirstPreset + 1);
        if (preset < last) set[preset] = 1;
        set[last] = 1;
    }
    return set;
}

int SwitchSegmentCount(int type, int parameter) {
    if (!IsPresetType(type)) return 2;
    const int presets = parameter == kNoPresetsParameter ? 0 : std::clamp(parameter, 0, CLightSwitchCtl::kMaxPresets);
    return presets + 2;
}

CLightSwitchCtl::CLightSwitchCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int type, int switchId,
                                 int parameter, CZVString text, int surfaceFlag)
    : CZVWindow(parent, rect, kButtonClass),
      CSocketSink(server),
      m_type(type),
      m_switchId(switchId),
      m_parameter(parameter),
      m_surfaceFlag(surfaceFlag),
      m_lastChange(platform::GetTickCount()) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    CZVWindow::SetText(text, nullptr, 0);
    m_dimColour = GetDimColour(GetFaceColor());
    server.RegisterSink(this);
    Register();
    CZVMSG ask(GetId(), ZVM_LIGHTS_GETSWITCHQ);
    ask.WriteInt(m_switchId);
    server.Send(&ask);
    BuildFace();
    ShowValue();
}

CLightSwitchCtl::~CLightSwitchCtl() {
    if (CZVServer* server = GetServer()) {
        CZVMSG bye(GetId(), ZVM_LIGHTS_UNREGISTERSWITCH);
        bye.WriteInt(GetId());
        server->Send(&bye);
        server->UnregisterSink(this);
    }
}

void CLightSwitchCtl::Register() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG hello(GetId(), ZVM_LIGHTS_REGISTERSWITCH);
    hello.WriteInt(m_switchId);
    hello.WriteInt(GetId());
    server->Send(&hello);
}

void CLightSwitchCtl::SendValue(int32_t value) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG set(GetId(), ZVM_LIGHTS_SETSWITCH);
    set.WriteInt(m_switchId);
    set.WriteInt(value);
    server->Send(&set);
}

// ---- face

CZV3DButton* CLightSwitchCtl::Dress(CZV3DButton* button) {
    button->SetFaceColor(m_dimColour);
    if ((CSetServer::CurrentFlags() & kSkinsFlag) && (m_surfaceFlag & 1)) button->SetStyleBit(k3DBaseSurface, 1);
    AddChild(button);
    return button;
}

void CLightSwitchCtl::BuildSegments(CZVRect area, int count) {
    for (int i = 0; i < count; ++i) {
        const CZVRect cell = area.Column(i, count, kSegmentGap);
        int command = kSwitchFirstPreset + i - 1;
        if (i == 0) command = kOffId;
        if (i == count - 1) command = kOnId;
        auto* segment = new CZVCheckButton(this, cell, command, kButtonClass);
        Dress(segment);
        if (i == 0) {
            if (m_type == 177)
                segment->SetIconKind(kDownIcon, nullptr);
            else
                segment->SetIconName("MAIN\\LIGHT_OFF", -1);
        } else if (i == count - 1) {
            segment->SetDoubleClickId(kOnDoubleTapId);
            if (m_type == 177)
                segment->SetIconKind(kUpIcon, nullptr);
            else
                segment->SetIconName("MAIN\\LIGHT_ON", -1);
        } else if (count == 3) {
            segment->CZVWindow::SetText(GetText(), nullptr, 0);
        } else {
            CZVString letter;
            letter.Format("%c", 64 + i);
            segment->CZVWindow::SetText(letter, nullptr, 0);
        }
        m_segments.push_back(segment);
    }
}

void CLightSwitchCtl::BuildArrows(CZVRect* rest, int repeat, int raiseIcon, int lowerIcon) {
    const int upright = m_parameter == kUprightParameter;
    const int s = upright ? std::min({2 * rest->w, kMaxArrowSize, rest->h / 3})
                          : std::min({2 * rest->h, kMaxArrowSize, rest->w / 3});
    CZVRect lower, raise;
    if (upright) {
        raise = CZVRect(rest->x, rest->y, rest->w, s);
        lower = CZVRect(rest->x, rest->y + rest->h - s, rest->w, s);
        *rest = CZVRect(rest->x, rest->y + s + kSegmentGap, rest->w, rest->h - 2 * (s + kSegmentGap));
    } else {
        lower = CZVRect(rest->x, rest->y, s, rest->h);
        raise = CZVRect(rest->x + rest->w - s, rest->y, s, rest->h);
        *rest = CZVRect(rest->x + s + kSegmentGap, rest->y, rest->w - 2 * (s + kSegmentGap), rest->h);
    }
    const struct {
        CZVRect rect;
        int end, icon, repeatId, pressId;
    } arrows[] = {
        {raise, upright ? kEndTop : kEndRight, raiseIcon, kRaiseRepeatId, kRaiseId},
        {lower, upright ? kEndBottom : kEndLeft, lowerIcon, kLowerRepeatId, kLowerId},
    };
    for (const auto& a : arrows) {
        auto* arrow = new CArrowButton(this, a.rect, a.end, repeat ? a.repeatId : kNoCommand, kButtonClass);
        Dress(arrow);
        arrow->SetIconKind(a.icon, nullptr);
        if (repeat) {
            arrow->SetAutoRepeat(1);
            arrow->SetRepeatTiming(50, 20, 200, 500);
            arrow->SetPressIds(kNoCommand, kArrowDoneId);
        } else {
            arrow->SetPressIds(a.pressId, kArrowReleaseId);
        }
    }
}

void CLightSwitchCtl::BuildFace() {
    CZVRect area;
    GetClientRect(&area);
    auto addLevelBar = [this](CZVRect rect) {
        m_level = new CZVLevelBar(this, rect, 0, 0);
        m_level->SetFillColor(m_dimColour);
        AddChild(m_level);
    };
    auto addToggle = [this](CZV3DButton* button) {
        Dress(button);
        button->CZVWindow::SetText(GetText(), nullptr, 0);
        return button;
    };
    switch (m_type) {
    case 140:
    case 142:
    case 177: BuildSegments(area, SwitchSegmentCount(m_type, m_parameter)); break;
    case 141: {
        const int upright = m_parameter == kUprightParameter;
        const int s = upright ? std::min({2 * area.w, kMaxArrowSize, area.h / 3})
                              : std::min({2 * area.h, kMaxArrowSize, area.w / 3});
        CZVRect middle = upright ? CZVRect(area.x, area.y + s + kSegmentGap, area.w, area.h - 2 * (s + kSegmentGap))
                                 : CZVRect(area.x + s + kSegmentGap, area.y, area.w - 2 * (s + kSegmentGap), area.h);
        BuildSegments(area, 2);
        // The two segments stand at the ends; the level control between them.
        if (upright) {
            m_segments[0]->SetRect(CZVRect(area.x, area.y + area.h - s, area.w, s));
            m_segments[1]->SetRect(CZVRect(area.x, area.y, area.w, s));
        } else {
            m_segments[0]->SetRect(CZVRect(area.x, area.y, s, area.h));
            m_segments[1]->SetRect(CZVRect(area.x + area.w - s, area.y, s, area.h));
        }
        if (m_parameter == 0) {
            addLevelBar(middle);
            m_level->SetCommandIds(kRaiseRepeatId, kLowerRepeatId, kArrowDoneId, kLevelRepeatInterval);
        } else {
            m_level = new CZVSlider(this, middle, kSliderId, 0, 100, -1, -1, upright ? CZVSlider::kVertical : 0);
            AddChild(m_level);
        }
        break;
    }
    case 143:
    case 144: {
        CZVRect rest = area;
        BuildArrows(&rest, m_type == 143, kRaiseIcon, kLowerIcon);
        const int half = rest.h / 2;
        m_toggle = static_cast<CZVCheckButton*>(addToggle(
            new CZVCheckButton(this, CZVRect(rest.x, rest.y, rest.w, half - kSegmentGap), kToggleId, kButtonClass)));
        addLevelBar(CZVRect(rest.x, rest.y + half, rest.w, rest.h - half));
        break;
    }
    case 145:
        m_toggle = static_cast<CZVCheckButton*>(addToggle(new CZVCheckButton(this, area, kToggleId, kButtonClass)));
        break;
    case 178: {
        CZVRect rest = area;
        BuildArrows(&rest, 0, kUpIcon, kDownIcon);
        addToggle(new CZV3DButton(this, rest, kToggleId, kButtonClass));
        break;
    }
    default: break;
    }
}

void CLightSwitchCtl::ShowValue() {
    const int repaint = IsShown() && !CMainWndBase::InputBlockedFor(this);
    const std::vector<int> set = SwitchSegments(m_value, GetSegmentCount());
    for (size_t i = 0; i < m_segments.size(); ++i)
        if (m_segments[i]->GetCheck() != set[i]) m_segments[i]->SetCheck(set[i], 0, repaint);
    if (m_level) m_level->SetLevel(SwitchLevel(m_value), repaint);
    if (m_toggle) m_toggle->SetCheck(m_value != kSwitchOff, 0, repaint);
}

void CLightSwitchCtl::TintLevel(COLORREF tint) {
    if (!m_level) return;
    m_level->SetFillColor(tint ? MixColors(m_dimColour, tint, kTintShare) : m_dimColour);
    if (IsShown() && !CMainWndBase::InputBlockedFor(this)) m_level->Redraw(1);
}

// ---- commands

int CLightSwitchCtl::OnChildCommand(int id, int count) { return HandleCommand(id, count); }

int CLightSwitchCtl::OnCommand(int id) { return HandleCommand(id, 1) ? 1 : CZVWindow::OnCommand(id); }

int CLightSwitchCtl::HandleCommand(int id, int count) {
    const int level = m_level ? m_level->GetLevel() : SwitchLevel(m_value);
    switch (id) {
    case kOffId: SendValue(kSwitchOff); return 1;
    case kOnId: SendValue(m_value == kSwitchOff ? kSwitchOn : kSwitchLevelTop); return 1;
    case kOnDoubleTapId: SendValue(kSwitchLevelTop); return 1;
    case kLowerRepeatId:
    case kRaiseRepeatId: {
        const int moved = std::min(100, id == kRaiseRepeatId ? level + count : level - count);
        m_value = moved < 0 ? kSwitchLevelBase : moved + kSwitchLevelBase;
        ShowValue();
        return 1;
    }
    case kArrowDoneId: SendValue(level + kSwitchLevelBase); return 1;
    case kRaiseId:
    case kLowerId:
        SendValue(id == kRaiseId ? kSwitchRaise : kSwitchLower);
        TintLevel(id == kRaiseId ? kRaiseTint : kLowerTint);
        return 1;
    case kArrowReleaseId:
        if (m_type != 178) SendValue(kSwitchStop);
        TintLevel(0);
        ShowValue();
        return 1;
    case kToggleId:
        if (m_type == 178)
            SendValue(kSwitchStop);
        else if (m_toggle)
            SendValue(m_toggle->GetCheck() ? kSwitchOn : kSwitchOff);
        else
            SendValue(m_value == kSwitchOff ? kSwitchOn : kSwitchOff);
        return 1;
    case kSliderId:
        if (m_options & kSendAtOnce) {
            SendValue(level + kSwitchLevelNowBase);
        } else {
            m_dirty = 1;
            m_lastChange = platform::GetTickCount();
        }
        return 1;
    default:
        if (id >= kSwitchFirstPreset && id <= kSwitchLastPreset) {
            SendValue(id);
            return 1;
        }
        return 0;
    }
}

int CLightSwitchCtl::OnIdle(int busy) {
    if (m_dirty && m_level && platform::GetTickCount() - m_lastChange > kSliderDelay) {
        m_dirty = 0;
        SendValue(m_level->GetLevel() + kSwitchLevelBase);
    }
    return CZVWindow::OnIdle(busy);
}

// ---- gateway

void CLightSwitchCtl::OnMessage(CZVMSG* message) {
    if (!message) return;
    int32_t first = 0, second = 0;
    switch (message->GetId()) {
    case ZVM_LIGHTS_GETSWITCHA:
    case ZVM_LIGHTS_SWITCHCHANGED:
        if (ReadTwoValues(*message, &first, &second) && first == m_switchId) {
            m_value = second;
            ShowValue();
        }
        break;
    case ZVM_LIGHTS_SWITCHVALUE:
        message->ResetPosition();
        if (message->ReadInt(first)) m_options = first;
        break;
    default: break;
    }
}

void CLightSwitchCtl::OnConnect(int connected) {
    if (connected) Register();
}

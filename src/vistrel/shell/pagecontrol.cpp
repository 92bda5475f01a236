#include "vistrel/shell/pagecontrol.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/alogobutton.h"
#include "widgets/buttons/iconbutton.h"
#include "widgets/buttons/togglebutton.h"
#include "widgets/buttons/zonecommand.h"
#include "widgets/gauges/analogclock.h"
#include "widgets/pads/keypads.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/text/datetimelabel.h"
#include "widgets/text/valuelabel.h"
#include "widgets/window/gateway.h"

namespace {

// The steps the factory runs around a creator.
constexpr int kLabelClass = 5;
constexpr int kButtonClass = 17;
constexpr int kGroupPanelClass = 8;
constexpr int kRaisedPanelClass = 6;
constexpr int kTextureFlag = 0x2000;
constexpr int kVerticalCentre = 0x10;

// Icon layouts from which a zone command button lays out its caption again.
constexpr int kFirstCaptionLayout = 2;

CControlFields FieldsOf(const CPageControlArgs& args, int styleClass) {
    CControlFields fields;
    fields.rect = args.rect;
    fields.kind = args.desc.type;
    fields.commandId = args.desc.id;
    fields.styleClass = styleClass;
    return fields;
}

CZVWindow* MakeLabel(CPageControlArgs& a) { return new CZVLabel(a.parent, a.rect, a.desc.text, kLabelClass); }

CZVWindow* MakeDateTimeLabel(CPageControlArgs& a) { return new CDateTimeLabel(a.parent, a.rect, a.desc.type); }

CZVWindow* MakeImage(CPageControlArgs& a) { return new CImageWnd(a.parent, FieldsOf(a, 0), a.desc.text); }

CZVWindow* MakeGroupPanel(CPageControlArgs& a) { return new CRRegion(a.parent, a.rect, kGroupPanelClass); }

CZVWindow* MakeRaisedPanel(CPageControlArgs& a) { return new CRRegion(a.parent, a.rect, kRaisedPanelClass); }

CZVWindow* MakeLogoButton(CPageControlArgs& a) {
    CControlFields fields = FieldsOf(a, kButtonClass);
    fields.colour = a.desc.faceColor;
    return new CALogoButton(a.parent, fields, a.desc.text);
}

CZVWindow* MakeIconButton(CPageControlArgs& a) {
    CControlFields fields = FieldsOf(a, kButtonClass);
    fields.bevel = a.desc.Attribute(kAttrBevel);
    fields.radius = a.desc.Attribute(kAttrCornerRadius);
    return new CIconButton(a.parent, fields, a.desc.text);
}

CZVWindow* MakeGatewayCheckButton(CPageControlArgs& a) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (!server) return nullptr;
    return new CGatewayCheckButton(a.parent, a.rect, *server, a.desc.text, a.fontSize, a.textColor, a.faceColor,
                                   a.desc.id, a.parameter, a.desc.type);
}

CZVWindow* MakeZoneCommandButton(CPageControlArgs& a) {
    const CPageControlDesc& d = a.desc;
    const std::optional<CZoneCorner> corner = PlanZoneCorner(a);
    CZVButton* button = nullptr;
    if (corner) {
        button = new CZoneCommandCornerButton(a.parent, a.rect, kButtonClass, a.parameter, d.text, a.fontSize,
                                              a.textColor, a.faceColor, d.text2, d.id, corner->code, corner->radius,
                                              corner->dx, corner->dy);
        if (d.type == 124) button->SetMargin(0);
        // A corner piece keeps its own look: it is no 3D button to share one.
        a.steps &= ~k3DButton;
    } else {
        button = new CZoneCommandButton(a.parent, a.rect, kButtonClass, a.parameter, d.text, a.fontSize, a.textColor,
                                        a.faceColor, d.text2, d.id);
    }
    if (corner || a.textFormat >= kFirstCaptionLayout) {
        button->SetText(d.text, nullptr, 0);
        button->SetIconLayout(a.textFormat);
    }
    return button;
}

// Controls bound to the gateway are made only while there is one.
CZVWindow* MakeToggleButton(CPageControlArgs& a) {
    if (!GetGatewayServer()) return nullptr;
    return new CToggleButton(a.parent, a.rect, a.parameter, a.desc.text, a.fontSize, a.textColor, a.faceColor,
                             a.desc.id);
}

CZVWindow* MakeNumericKeypad(CPageControlArgs& a) {
    return new CNumericKeypadWnd(a.parent, a.rect, a.desc.id, a.parameter, a.textColor, a.faceColor,
                                 a.desc.Attribute(kAttrBevel), a.desc.Attribute(kAttrCornerRadius), a.fontSize);
}

CZVWindow* MakeValueLabel(CPageControlArgs& a) {
    if (!GetGatewayServer()) return nullptr;
    return new CValueLabel(a.parent, a.rect, a.desc.id);
}

CZVWindow* MakeRemoteKeypad(CPageControlArgs& a) {
    return new CRemoteKeypadWnd(a.parent, a.rect, a.desc.id, a.textColor, a.faceColor, a.desc.Attribute(kAttrBevel),
                                a.desc.Attribute(kAttrCornerRadius), a.fontSize, a.desc.text, a.parameter, a.desc.type);
}

CZVWindow* MakeZoneSwitch(CPageControlArgs& a) {
    return new CZoneSwitchCtl(a.parent, a.rect, a.desc.type, a.desc.id, a.desc.text, a.fontSize, a.parameter,
                              a.textColor);
}

CZVWindow* MakeAnalogClock(CPageControlArgs& a) { return new CAnalogClock(a.parent, a.rect); }

// One registration per type; a type without a row creates nothing until
// its class exists.
constexpr CControlMakerRow kCreators[] = {
    {100, MakeLabel, kSmoothText},
    {107, MakeDateTimeLabel, kSmoothText},
    {108, MakeDateTimeLabel, kSmoothText},
    {109, MakeDateTimeLabel, kSmoothText},
    {111, MakeLabel, kSmoothText},
    {113, MakeImage, 0},
    {114, MakeImage, 0},
    {123, MakeGatewayCheckButton, k3DButton | kFormat18},
    {124, MakeZoneCommandButton, k3DButton | kFormat18 | kKeepTextColor},
    {125, MakeToggleButton, k3DButton | kFormat18},
    {126, MakeGroupPanel, kPanel | kSkipCommon},
    {127, MakeRaisedPanel, kPanel | kSkipCommon},
    {147, MakeNumericKeypad, kKeepFaceColor},
    {149, MakeValueLabel, 0},
    {153, MakeRemoteKeypad, 0},
    {156, MakeRemoteKeypad, 0},
    {157, MakeRemoteKeypad, 0},
    {158, MakeRemoteKeypad, 0},
    {159, MakeZoneCommandButton, k3DButton | kFormat18 | kKeepTextColor},
    {160, MakeLogoButton, kFormat18},
    {169, MakeZoneSwitch, kFormat18},
    {171, MakeIconButton, k3DButton | kFormat18},
    {172, MakeIconButton, k3DButton | kFormat18},
    {173, MakeGatewayCheckButton, k3DButton | kFormat18},
    {175, MakeGatewayCheckButton, k3DButton | kFormat18},
    {181, MakeAnalogClock, 0},
    {185, MakeZoneSwitch, kFormat18},
};

void ApplyPanelSteps(CZVWindow* panel, const CPageControlDesc& desc) {
    if ((CSetServer::CurrentFlags() & kTextureFlag) && desc.type != 126) panel->SetTexture(1);
    if (!IsBlack565(desc.faceColor)) panel->SetFaceColor(desc.faceColor);
    const int bevel = desc.Attribute(kAttrBevel);
    const int m = bevel ? bevel : std::max(panel->GetBevel(), panel->GetMargin());
    if (desc.type == 126) {
        panel->SetMargin(m);
        panel->SetBevel(0);
    } else {
        panel->SetMargin(0);
        panel->SetBevel(m);
    }
    if (const int radius = desc.Attribute(kAttrCornerRadius)) panel->SetCornerRadius(radius);
}

void ApplyCommonSteps(CZVWindow* w, const CPageControlArgs& a) {
    const int steps = a.steps;
    if (a.cornerRadius) w->SetCornerRadius(a.cornerRadius);
    if (a.bevel) {
        w->SetBevel(a.bevel);
        if (a.desc.type == 159) {
            // A flat corner button: the bevel becomes its margin.
            w->SetBevel(0);
            w->SetMargin(a.bevel);
        }
    }
    if (a.margin) w->SetMargin(a.margin);
    if (a.fontSize) w->SetFontSize(a.fontSize);
    if (a.textColor && !(steps & kKeepTextColor)) w->SetTextColor(a.textColor);
    if (a.faceColor && !(steps & kKeepFaceColor)) w->SetFaceColor(a.faceColor);
    w->SetTextFormat(((steps & kFormat18) ? 18 : a.textFormat) | kVerticalCentre);
    w->SetBevelType(a.bevelType);
}

void Apply3DButtonSteps(CZV3DButton* button, const CPageControlArgs& a) {
    if (a.desc.value & 1) button->SetStyleBit(k3DBaseSurface, 1);
    if (auto* same = dynamic_cast<CZV3DButton*>(a.page->FindSameLook(button))) button->SetLookSource(same);
}

CZVRect ToPixels(const CPageControlDesc& d, PageScaling scaling, int width, int height) {
    if (scaling == PageScaling::kEachValue)
        return CZVRect(ScalePageUnits(d.x, width), ScalePageUnits(d.y, height), ScalePageUnits(d.width, width),
                       ScalePageUnits(d.height, height));
    const int left = ScalePageUnits(d.x, width);
    const int top = ScalePageUnits(d.y, height);
    return CZVRect(left, top, ScalePageUnits(int64_t{d.x} + d.width, width) - left,
                   ScalePageUnits(int64_t{d.y} + d.height, height) - top);
}

}  // namespace

const CControlMakerRow* FindPageControlMaker(int type) {
    for (const CControlMakerRow& entry : kCreators)
        if (entry.type == type) return &entry;
    return FindControlMaker(type);
}

int CPageControlDesc::Read(CZVMSG* message) {
    if (!message) return 0;
    int32_t newType = 0, newId = 0, newX = 0, newY = 0, newWidth = 0, newHeight = 0, newValue = 0;
    std::string newText, newText2;
    uint32_t newTextColor = 0, newFaceColor = 0;
    int8_t bytes[kAttrCount + kReservedBytes] = {};
    if (!message->ReadInt(newType) || !message->ReadInt(newId) || !message->ReadString(newText) ||
        !message->ReadInt(newX) || !message->ReadInt(newY) || !message->ReadInt(newWidth) ||
        !message->ReadInt(newHeight) || !message->ReadColor(newTextColor) || !message->ReadColor(newFaceColor) ||
        !message->ReadBytes(bytes, sizeof bytes) || !message->ReadString(newText2) || !message->ReadInt(newValue))
        return 0;
    type = newType;
    id = newId;
    text = CZVString(newText.c_str());
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    textColor = newTextColor;
    faceColor = newFaceColor;
    std::copy(bytes, bytes + kAttrCount, m_attributes);
    text2 = CZVString(newText2.c_str());
    value = newValue;
    Clamp();
    return 1;
}

void CPageControlDesc::Clamp() {
    constexpr int kLast = kPageUnits - 1;
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (width >= kPageUnits) width = kPageUnits;
    if (height >= kPageUnits) height = kPageUnits;
    x = static_cast<int>(std::min<int64_t>(x, kLast - int64_t{width}));
    y = static_cast<int>(std::min<int64_t>(y, kLast - int64_t{height}));
}

int CPageControlDesc::Overlaps(const CPageControlDesc& other) const {
    // 64-bit sums: a gateway's far-out sizes do not wrap.
    const int64_t right = int64_t{x} + width, bottom = int64_t{y} + height;
    const int64_t otherRight = int64_t{other.x} + other.width, otherBottom = int64_t{other.y} + other.height;
    if (x > otherRight || width < 0 || other.x > right) return 0;
    if (y > otherBottom || height < 0) return 0;
    return other.y <= bottom;
}

int ReadControlCount(CZVMSG* message, int* count) {
    int32_t sent = 0;
    if (!message || !message->ReadInt(sent)) return 0;
    *count = std::clamp(sent, 0, std::max(message->GetRemaining(), 0) / CPageControlDesc::kMinWireSize);
    return 1;
}

const CPageControlDesc* FindOverlappingKeypad(const CZVObList* siblings, const CPageControlDesc& desc) {
    if (!siblings) return nullptr;
    for (ZVPOSITION pos = siblings->GetHeadPosition(); pos;) {
        const auto* other = static_cast<const CPageControlDesc*>(siblings->GetNext(pos));
        if (other != &desc && (other->type == 153 || other->type == 158) && desc.Overlaps(*other)) return other;
    }
    return nullptr;
}

std::optional<CZoneCorner> PlanZoneCorner(CPageControlArgs& args) {
    CPageControlDesc& d = args.desc;
    const CPageControlDesc* keypad = FindOverlappingKeypad(args.siblings, d);
    if (!keypad) return std::nullopt;
    int bevel = d.Attribute(kAttrBevel);
    if (!bevel) {
        bevel = CSetServer::CurrentStyle(kButtonClass, 5);
        if (bevel <= 0) {
            d.type = 159;
            bevel = CSetServer::CurrentStyle(kButtonClass, 6);
        }
    }
    args.bevel = bevel;
    const int cx = keypad->x + keypad->width / 2;
    const int cy = keypad->y + keypad->height / 2;
    CZoneCorner corner;
    corner.radius = std::min(keypad->width, keypad->height) / 2 + (d.type == 159 ? bevel : 2 * bevel);
    if (d.y > cy)
        corner.code = d.x <= cx ? 4 : 7;
    else
        corner.code = d.x > cx ? 6 : 5;
    corner.dx = std::max(std::abs(cx - d.x), std::abs(cx - (d.x + d.width - 1)));
    corner.dy = std::max(std::abs(cy - d.y), std::abs(cy - (d.y + d.height - 1)));
    corner.radius += keypad->Attribute(kAttrCornerRadius) * 7 / 10;
    return corner;
}

CZVWindow* CreatePageControl(CZVWindow* page, CZVWindow* parent, CZVRect rect, CPageControlDesc& desc,
                             const CZVObList* siblings, int fontOverride) {
    if (desc.type < CPageControlDesc::kFirstType || desc.type > CPageControlDesc::kLastType) return nullptr;
    const CControlMakerRow* entry = FindPageControlMaker(desc.type);
    if (!entry) return nullptr;
    CPageControlArgs args{page,
                          parent,
                          rect,
                          desc,
                          siblings,
                          fontOverride ? fontOverride : desc.Attribute(kAttrFontSize),
                          desc.textColor,
                          desc.faceColor,
                          desc.Attribute(kAttrTextFormat),
                          desc.Attribute(kAttrSmoothText) != 0,
                          desc.Attribute(kAttrBevelType),
                          desc.Attribute(kAttrCornerRadius),
                          desc.Attribute(kAttrBevel),
                          desc.Attribute(kAttrMargin),
                          desc.Attribute(kAttrParameter),
                          entry->steps};
    CZVWindow* control = entry->make(args);
    if (!control) return nullptr;
    if (args.steps & kSmoothText)
        if (auto* label = dynamic_cast<CZVLabel*>(control)) label->SetSmooth(args.smoothText);
    if (args.steps & kPanel) ApplyPanelSteps(control, desc);
    if (!(args.steps & kSkipCommon)) ApplyCommonSteps(control, args);
    if (args.steps & k3DButton)
        if (auto* button = dynamic_cast<CZV3DButton*>(control)) Apply3DButtonSteps(button, args);
    return control;
}

void BuildPageControls(CZVMSG* message, CZVWindow* owner, CZVObList* built, PageScaling scaling, int fontOverride) {
    int count = 0;
    if (!ReadControlCount(message, &count)) return;
    const int width = owner->GetWidth();
    const int height = owner->GetHeight();
    for (int i = 0; i < count; ++i) {
        CPageControlDesc desc;
        if (!desc.Read(message)) return;
        CZVRect rect = ToPixels(desc, scaling, width, height);
        CZVWindow* parent = CZVWindow::FindContainer(owner, &rect, built);
        CZVWindow* control = CreatePageControl(owner, parent, rect, desc, nullptr, fontOverride);
        if (!control) continue;
        parent->AddChild(control);
        built->AddTail(control);
    }
}

#include "vistrel/media/phone/phonestatus.h"

#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kInfoPanelClass = 8;
constexpr int kButtonClass = 17;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr COLORREF kArrowColour = 0x960000;  // RGB(0, 0, 150)
constexpr int kArrowLayout = 1;

}  // namespace

void SetLabelText(CZVLabel* label, const std::string& text, int redraw) {
    if (label->GetText().Compare(text.c_str()) != 0) label->SetText(CZVString(text.c_str()), nullptr, redraw);
}

bool ReadWaveFormat(CZVMSG& message, platform::WaveFormat* format) {
    uint8_t bytes[platform::WaveFormat::kWireSize];
    if (!message.ReadBytes(bytes, sizeof bytes)) return false;
    *format = platform::WaveFormat::FromBytes(bytes);
    return true;
}

void WriteWaveFormat(CZVMSG& message, const platform::WaveFormat& format) {
    uint8_t bytes[platform::WaveFormat::kWireSize];
    format.ToBytes(bytes);
    message.WriteBytes(bytes, sizeof bytes);
}

void AddArrowButtons(CZVWindow* page, CZVRect column, int upId, int downId, CZV3DButton** up, CZV3DButton** down) {
    const CZVRect upper = column.CutTop(column.h / 2, 0);
    *up = page->AddImageButton(upper, upId, kButtonClass, kUpIcon, kArrowColour);
    *down = page->AddImageButton(column, downId, kButtonClass, kDownIcon, kArrowColour);
    for (CZV3DButton* button : {*up, *down}) button->SetIconLayout(kArrowLayout);
}

CZV3DButton* AddCaptionedButton(CZVWindow* parent, CZVRect rect, int id, const char* caption, int iconKind,
                                COLORREF colour, int layout) {
    CZV3DButton* button = parent->AddImageButton(rect, id, kButtonClass, iconKind, colour);
    button->SetText(caption, nullptr, 0);
    button->SetIconLayout(layout);
    return button;
}

void AddInfoPanel(CZVWindow* page, CZVRect area, CZVLabel** line1, CZVLabel** line2) {
    auto* info = new CRRegion(page, area, kInfoPanelClass);
    page->AddChild(info);
    CZVRect lines;
    info->GetContentRect(&lines);
    const CZVRect top = lines.CutTop(lines.h / 2, 0);
    *line1 = new CZVLabel(info, top, "", kInfoPanelClass);
    *line2 = new CZVLabel(info, lines, "", kInfoPanelClass);
    info->AddChild(*line1);
    info->AddChild(*line2);
}

bool InputBlocked(CZVWindow* window) { return CMainWndBase::InputBlockedFor(window); }

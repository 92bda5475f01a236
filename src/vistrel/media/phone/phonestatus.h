#pragma once
// What the phone pages share beyond the panel's layout: the labels that
// change only when their text does, the greeting and message formats on the
// wire, and the arrow buttons beside the lists.
#include <cstdint>
#include <string>

#include "core/zvserver.h"
#include "platform/wave.h"
#include "widgets/window/zvwindow.h"

class CZV3DButton;
class CZVLabel;

// Sets the label's text only when it differs from the shown one.
void SetLabelText(CZVLabel* label, const std::string& text, int redraw);
// The 18-byte format and its 2 padding bytes; false when short.
bool ReadWaveFormat(CZVMSG& message, platform::WaveFormat* format);
void WriteWaveFormat(CZVMSG& message, const platform::WaveFormat& format);
// The up (top half) and down (bottom half) arrow buttons in the column.
void AddArrowButtons(CZVWindow* page, CZVRect column, int upId, int downId, CZV3DButton** up, CZV3DButton** down);
// A button of the phone pages' class with its caption and built-in icon.
CZV3DButton* AddCaptionedButton(CZVWindow* parent, CZVRect rect, int id, const char* caption, int iconKind,
                                COLORREF colour, int layout);
// The rounded info panel with its two status lines, top and bottom half.
void AddInfoPanel(CZVWindow* page, CZVRect area, CZVLabel** line1, CZVLabel** line2);
// Whether the tablet's main window holds input back from the window.
bool InputBlocked(CZVWindow* window);

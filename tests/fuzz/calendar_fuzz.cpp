// Calendar answers of any bytes: the first byte chooses the month answer (to a calendar) or the
// day answer (to a day view), the rest is the payload. The view then paints the strokes it took.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "vistrel/media/calendar/dayview.h"
#include "vistrel/media/calendar/monthcalendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 100000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const bool day = data[0] & 1;
    CZVMSG message(0, day ? ZVM_CALENDAR_GETDAYA : ZVM_CALENDAR_GETMONTHA);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    message.ResetPosition();
    if (day) {
        CDayView view(nullptr, CZVRect(0, 0, 120, 120), server, CZVTime());
        view.Show(0, 1);
        view.OnMessage(&message);
        CDibDC surface(120, 120, 0, 0, 0);
        view.OnPaint(&surface);
    } else {
        CMonthCalendarCtl calendar(nullptr, CZVRect(0, 0, 140, 120), server, data[0] & 2);
        calendar.Show(0, 1);
        calendar.OnMessage(&message);
    }
    return 0;
}

// Weather answers of any bytes: the first byte chooses the forecast record (to the conditions
// table or the forecast view), a day's picture (to a day tile) or the weather text, the rest is
// the payload.
#include <cstddef>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "vistrel/media/weather/forecastview.h"
#include "vistrel/media/weather/weatherdata.h"
#include "vistrel/media/weather/weatherlabel.h"
#include "vistrel/media/weather/weathernow.h"

namespace {

void Feed(CZVWindow& window, CSocketSink& sink, CZVMSG& message) {
    window.Show(0, 1);
    message.ResetPosition();
    sink.OnMessage(&message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    static CZVServer server(ZVVariant::Tablet);
    const int choice = data[0] % 4;
    const uint16_t id = choice == 2   ? ZVM_WEATHER_GETICONA
                        : choice == 3 ? ZVM_WEATHER_GETTEXTA
                                      : ZVM_WEATHER_GETFORECASTA;
    CZVMSG message(0, id);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.SetLength(static_cast<int32_t>(size - 1));
    switch (choice) {
    case 0: {
        CWeatherNowWnd now(nullptr, CZVRect(0, 0, 300, 150), server, 0);
        Feed(now, now, message);
        break;
    }
    case 1: {
        CForecastView view(nullptr, CZVRect(0, 0, 300, 100), server, data[0] >> 4);
        Feed(view, view, message);
        break;
    }
    case 2: {
        CForecastDayView tile(nullptr, CZVRect(0, 0, 60, 100), server, CForecastDay(), 0, 0xFFFFFF, data[0] & 4);
        Feed(tile, tile, message);
        break;
    }
    default: {
        CWeatherLabel label(nullptr, CZVRect(0, 0, 200, 30), server);
        Feed(label, label, message);
        break;
    }
    }
    return 0;
}

#include "vistrel/media/mediapages.h"

#include "vistrel/media/calendar/monthcalendar.h"
#include "vistrel/media/pictures/picturespage.h"
#include "vistrel/media/pictures/picview.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "vistrel/media/video/videocontrols.h"
#include "vistrel/media/weather/weatherlabel.h"

void RegisterMediaPages() {
    RegisterVideoControls();
    InstallThumbButtons();
    RegisterPicturePages();
    RegisterPicViewControls();
    RegisterCalendarControls();
    RegisterWeatherControls();
}

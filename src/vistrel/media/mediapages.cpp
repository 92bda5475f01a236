#include "vistrel/media/mediapages.h"

#include "vistrel/media/audio/audiocontrols.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/avcontrols/avcontrolmakers.h"
#include "vistrel/media/calendar/monthcalendar.h"
#include "vistrel/media/devices/devicecontrolmakers.h"
#include "vistrel/media/dvr/dvrsources.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/messaging/messagingsummary.h"
#include "vistrel/media/pictures/picturespage.h"
#include "vistrel/media/pictures/picview.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "vistrel/media/video/fullscreen.h"
#include "vistrel/media/video/videocontrols.h"
#include "vistrel/media/video/videosources.h"
#include "vistrel/media/weather/weatherlabel.h"
// The soft keys, the internet radio and the titles browser.
#include "vistrel/media/softkeys/softkeypage.h"

void RegisterMediaPages() {
    RegisterVideoControls();
    InstallThumbButtons();
    RegisterPicturePages();
    RegisterPicViewControls();
    RegisterAvControls();
    RegisterDeviceControls();
    RegisterVideoSourcesPage();
    RegisterFullScreenButton();
    RegisterDvrPages();
    RegisterAudioControls();
    RegisterCalendarControls();
    RegisterWeatherControls();
    RegisterAudioPages();
    RegisterMessageControls();
    RegisterMessagingPages();
    // The soft keys, the internet radio and the titles browser.
    RegisterSoftKeyPage();
}

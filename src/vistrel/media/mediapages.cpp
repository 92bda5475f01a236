#include "vistrel/media/mediapages.h"

#include "vistrel/media/audio/audiocontrols.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/avcontrols/avcontrolmakers.h"
#include "vistrel/media/calendar/monthcalendar.h"
#include "vistrel/media/devices/devicecontrolmakers.h"
#include "vistrel/media/dvr/dvrsources.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/messaging/messagingsummary.h"
// The music source page: Now Playing and the sub-source browsers.
#include "vistrel/media/music/musicsourcepage.h"
#include "vistrel/media/pictures/picturespage.h"
#include "vistrel/media/pictures/picview.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "vistrel/media/tuner/tunerpages.h"
#include "vistrel/media/video/fullscreen.h"
#include "vistrel/media/video/videocontrols.h"
#include "vistrel/media/video/videosources.h"
#include "vistrel/media/weather/weatherlabel.h"
// The TV channel controls and the intercom.
#include "vistrel/media/intercom/intercomlist.h"
#include "vistrel/media/tv/tvcontrolmakers.h"
// The soft keys, the internet radio and the titles browser.
#include "vistrel/media/softkeys/softkeypage.h"
#include "vistrel/media/titles/titleswnd.h"

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
    // The TV channel controls and the intercom.
    RegisterTvControls();
    RegisterIntercomControls();
    // The music source page for the music server and internet radio.
    RegisterMusicSourcePages();
    // The soft keys, the internet radio and the titles browser.
    RegisterSoftKeyPage();
    RegisterTitlesControls();
    // The radio tuners' source pages.
    RegisterTunerPages();
}

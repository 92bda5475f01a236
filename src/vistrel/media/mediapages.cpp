#include "vistrel/media/mediapages.h"

#include "vistrel/media/audio/audiocontrols.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/messaging/messagingsummary.h"
#include "vistrel/media/pictures/picturespage.h"
#include "vistrel/media/pictures/picview.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "vistrel/media/video/videocontrols.h"

void RegisterMediaPages() {
    RegisterVideoControls();
    InstallThumbButtons();
    RegisterPicturePages();
    RegisterPicViewControls();
    RegisterAudioControls();
    RegisterMessageControls();
    RegisterMessagingPages();
}

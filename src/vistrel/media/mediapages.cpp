#include "vistrel/media/mediapages.h"

#include "vistrel/media/video/videocontrols.h"

void RegisterMediaPages() { RegisterVideoControls(); }

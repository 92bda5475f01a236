#pragma once
// The requests of the titles of a media object (a disc changer's discs and
// their tracks). Each goes out at once, with the caller's sink id in the
// header; the answers come back to that sink. 0 when nothing could be sent.
#include "core/zvserver.h"

int SendGetTitles(CSocketSink& sink, int object, int group);
// Plays a title of a group.
int SendTitlesCommand(CSocketSink& sink, int object, int group, int title);
int SendSubscribeTitles(CSocketSink& sink, int object);
int SendUnsubscribeTitles(CSocketSink& sink, int object);
int SendGetTitleState(CSocketSink& sink, int object);
int SendGetTitleList(CSocketSink& sink, int object);

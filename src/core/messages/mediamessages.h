#pragma once
// The gateway messages of the tablet's sound and video: clips, streamed
// audio, the intercom's audio and the cameras.
#include <cstdint>

constexpr uint16_t ZVM_AUDIO_STREAMDATA = 0x1395;
constexpr uint16_t ZVM_AUDIO_STREAMEND = 0x1396;
constexpr uint16_t ZVM_AUDIO_STOPSTREAM = 0x13CE;
constexpr uint16_t ZVM_INTERCOM_AUDIOSTART = 0x1408;
constexpr uint16_t ZVM_INTERCOM_AUDIOSTOP = 0x1409;
constexpr uint16_t ZVM_INTERCOM_INCOMINGCALL = 0x1416;
constexpr uint16_t ZVM_INTERCOM_ENDCALL = 0x1418;
constexpr uint16_t ZVM_AUDIO_PLAYSOURCE = 0x157C;
constexpr uint16_t ZVM_AUDIO_OPENSTREAMQ = 0x1586;
constexpr uint16_t ZVM_AUDIO_OPENSTREAMA = 0x1587;
constexpr uint16_t ZVM_AUDIO_STREAMPCM = 0x1774;
constexpr uint16_t ZVM_AUDIO_STREAMULAW = 0x1776;
constexpr uint16_t ZVM_SOUND_GETCLIPQ = 0x23F0;
constexpr uint16_t ZVM_SOUND_GETCLIPA = 0x23F1;

// The video window's stream, pictures and camera.
constexpr uint16_t ZVM_VIDEO_TILE = 0x1770;
constexpr uint16_t ZVM_VIDEO_FRAMEACK = 0x1771;
constexpr uint16_t ZVM_VIDEO_KEYA = 0x1772;
constexpr uint16_t ZVM_VIDEO_KEYB = 0x1773;
constexpr uint16_t ZVM_VIDEO_MPEGDATA = 0x1777;
constexpr uint16_t ZVM_VIDEO_STARTSTREAMQ = 0x1782;
constexpr uint16_t ZVM_VIDEO_STARTSTREAMA = 0x1783;
constexpr uint16_t ZVM_VIDEO_STOPSTREAMQ = 0x1786;
constexpr uint16_t ZVM_VIDEO_STOPSTREAMA = 0x1787;
constexpr uint16_t ZVM_VIDEO_KEYT = 0x1788;
constexpr uint16_t ZVM_VIDEO_KEYU = 0x178A;
constexpr uint16_t ZVM_VIDEO_SETQUALITY = 0x178F;
constexpr uint16_t ZVM_VIDEO_STATUS = 0x1792;
constexpr uint16_t ZVM_VIDEO_SELECTSOURCEQ = 0x1797;
constexpr uint16_t ZVM_VIDEO_SELECTSOURCEA = 0x1798;
constexpr uint16_t ZVM_VIDEO_AUDIOFORMAT = 0x179A;
constexpr uint16_t ZVM_VIDEO_STARTAUDIOQ = 0x179D;
constexpr uint16_t ZVM_VIDEO_STARTAUDIOA = 0x179E;
constexpr uint16_t ZVM_VIDEO_STOPAUDIO = 0x179F;
constexpr uint16_t ZVM_VIDEO_CAMERALEFTQ = 0x17A1;
constexpr uint16_t ZVM_VIDEO_CAMERALEFTA = 0x17A2;
constexpr uint16_t ZVM_VIDEO_CAMERARIGHTQ = 0x17A3;
constexpr uint16_t ZVM_VIDEO_CAMERARIGHTA = 0x17A4;
constexpr uint16_t ZVM_VIDEO_CAMERAUPQ = 0x17A5;
constexpr uint16_t ZVM_VIDEO_CAMERAUPA = 0x17A6;
constexpr uint16_t ZVM_VIDEO_CAMERADOWNQ = 0x17A7;
constexpr uint16_t ZVM_VIDEO_CAMERADOWNA = 0x17A8;
constexpr uint16_t ZVM_VIDEO_IMAGE = 0x178D;
constexpr uint16_t ZVM_VIDEO_ZOOM = 0x17AD;
constexpr uint16_t ZVM_VIDEO_GETSNAPSHOTQ = 0x17AF;
constexpr uint16_t ZVM_VIDEO_GETSNAPSHOTA = 0x17B0;
constexpr uint16_t ZVM_VIDEO_GETCAPSQ = 0x17B9;
constexpr uint16_t ZVM_VIDEO_GETCAPSA = 0x17BA;
constexpr uint16_t ZVM_VIDEO_BUFFERLEVEL = 0x17BB;
constexpr uint16_t ZVM_VIDEO_STATUSTEXT = 0x17BC;
constexpr uint16_t ZVM_VIDEO_FRAMEFLIPPED = 0x17BD;
constexpr uint16_t ZVM_VIDEO_MPEGDATAEX = 0x17BE;
constexpr uint16_t ZVM_VIDEO_FRAME = 0x17C0;
constexpr uint16_t ZVM_VIDEO_EVENT = 0x1965;

// The recorder: a stream of its recordings, shown by a video window.
constexpr uint16_t ZVM_DVR_OPENSTREAMQ = 0x1972;
constexpr uint16_t ZVM_DVR_OPENSTREAMA = 0x1973;
constexpr uint16_t ZVM_VIDEO_CAMERAARROWDONE = 0xFFFF;

// The household's picture albums; pictures arrive as ZVM_PICTURES_PICTURE.
constexpr uint16_t ZVM_PICTURES_GETSUMMARYQ = 0x2B08;
constexpr uint16_t ZVM_PICTURES_GETSUMMARYA = 0x2B09;
constexpr uint16_t ZVM_PICTURES_GETTHUMBNAILQ = 0x2B2E;

// The picture controls of gateway pages: a named picture, an album's or a
// photo frame's current picture (the gateway pushes the next one), the
// weather image.
constexpr uint16_t ZVM_WEATHER_GETIMAGEQ = 0x2655;
constexpr uint16_t ZVM_WEATHER_GETIMAGEA = 0x2656;
constexpr uint16_t ZVM_PICTURES_SUBSCRIBEFRAMEQ = 0x26C0;
constexpr uint16_t ZVM_PICTURES_SUBSCRIBEFRAMEA = 0x26C1;
constexpr uint16_t ZVM_PICTURES_NEXTPICTURE = 0x2AFA;
constexpr uint16_t ZVM_PICTURES_GETPICTUREQ = 0x2B12;
constexpr uint16_t ZVM_PICTURES_GETALBUMPICTUREQ = 0x2B2A;
constexpr uint16_t ZVM_PICTURES_GETFRAMEPICTUREQ = 0x2B30;

// The Video and DVR pages: the gateway's video sources and the recorder's
// sources, playback and clips (the camera controls' steps and positions are
// the device controls' below).
constexpr uint16_t ZVM_VIDEO_GETSOURCESQ = 0x1778;
constexpr uint16_t ZVM_VIDEO_GETSOURCESA = 0x1779;
constexpr uint16_t ZVM_DVR_STREAMCHANGED = 0x1964;
constexpr uint16_t ZVM_DVR_GETSOURCESQ = 0x1970;
constexpr uint16_t ZVM_DVR_GETSOURCESA = 0x1971;
constexpr uint16_t ZVM_DVR_STOPSTREAM = 0x1974;
constexpr uint16_t ZVM_DVR_PLAYQ = 0x1976;
constexpr uint16_t ZVM_DVR_PLAYA = 0x1977;
constexpr uint16_t ZVM_DVR_GETCLIPSQ = 0x1978;
constexpr uint16_t ZVM_DVR_GETCLIPSA = 0x1979;

// The answering machine: calls, voice mail and the greeting.
constexpr uint16_t ZVM_PHONE_STATECHANGED = 0x1388;
constexpr uint16_t ZVM_PHONE_INCOMINGCALL = 0x1389;
constexpr uint16_t ZVM_PHONE_CALLERID = 0x1392;
constexpr uint16_t ZVM_PHONE_CALLENDED = 0x1393;
constexpr uint16_t ZVM_PHONE_VOICEMAILCHANGED = 0x1394;
constexpr uint16_t ZVM_PHONE_ANSWERINGCHANGED = 0x1397;
constexpr uint16_t ZVM_PHONE_GREETINGCHANGED = 0x1398;
constexpr uint16_t ZVM_PHONE_SCREENINGCHANGED = 0x1399;
constexpr uint16_t ZVM_PHONE_CALLAUDIO = 0x139A;
constexpr uint16_t ZVM_PHONE_GETCALLERNUMBERQ = 0x13A8;
constexpr uint16_t ZVM_PHONE_GETCALLERNUMBERA = 0x13A9;
constexpr uint16_t ZVM_PHONE_GETCALLERNAMEQ = 0x13AA;
constexpr uint16_t ZVM_PHONE_GETCALLERNAMEA = 0x13AB;
constexpr uint16_t ZVM_PHONE_GETVOICEMAILSQ = 0x13C8;
constexpr uint16_t ZVM_PHONE_GETVOICEMAILSA = 0x13C9;
constexpr uint16_t ZVM_PHONE_PLAYVOICEMAILQ = 0x13CA;
constexpr uint16_t ZVM_PHONE_PLAYVOICEMAILA = 0x13CB;
constexpr uint16_t ZVM_PHONE_DELETEVOICEMAILQ = 0x13D0;
constexpr uint16_t ZVM_PHONE_LISTENLIVEQ = 0x13D2;
constexpr uint16_t ZVM_PHONE_LISTENLIVEA = 0x13D3;
constexpr uint16_t ZVM_PHONE_STOPPLAYQ = 0x13D4;
constexpr uint16_t ZVM_PHONE_MARKNEWQ = 0x13D6;
constexpr uint16_t ZVM_PHONE_RECORDBEGINQ = 0x13D8;
constexpr uint16_t ZVM_PHONE_RECORDDATAQ = 0x13DA;
constexpr uint16_t ZVM_PHONE_RECORDENDQ = 0x13DC;
constexpr uint16_t ZVM_PHONE_GETCALLERIDSQ = 0x13E6;
constexpr uint16_t ZVM_PHONE_GETCALLERIDSA = 0x13E7;
constexpr uint16_t ZVM_PHONE_GETGREETINGQ = 0x13EC;
constexpr uint16_t ZVM_PHONE_GETGREETINGA = 0x13ED;
constexpr uint16_t ZVM_PHONE_PLAYGREETINGQ = 0x13EE;
constexpr uint16_t ZVM_PHONE_PLAYGREETINGA = 0x13EF;
constexpr uint16_t ZVM_PHONE_PLAYQ = 0x13F2;
constexpr uint16_t ZVM_PHONE_PLAYA = 0x13F3;
constexpr uint16_t ZVM_PHONE_GREETINGBEGINQ = 0x13F4;
constexpr uint16_t ZVM_PHONE_GREETINGDATAQ = 0x13F6;
constexpr uint16_t ZVM_PHONE_GREETINGENDQ = 0x13F8;
constexpr uint16_t ZVM_PHONE_USEDEFAULTGREETINGQ = 0x13FA;
constexpr uint16_t ZVM_PHONE_GETRINGSQ = 0x13FC;
constexpr uint16_t ZVM_PHONE_GETRINGSA = 0x13FD;
constexpr uint16_t ZVM_PHONE_SETRINGSQ = 0x13FE;
constexpr uint16_t ZVM_PHONE_GETSCREENCALLSQ = 0x1400;
constexpr uint16_t ZVM_PHONE_GETSCREENCALLSA = 0x1401;
constexpr uint16_t ZVM_PHONE_SETSCREENCALLSQ = 0x1402;

// The messaging sources and the message boxes.
constexpr uint16_t ZVM_UI_LISTCHANGED = 0x007E;
constexpr uint16_t ZVM_MESSAGES_GETSUMMARYQ = 0x13B0;
constexpr uint16_t ZVM_MESSAGES_GETSUMMARYA = 0x13B1;
constexpr uint16_t ZVM_MESSAGES_SUBSCRIBEQ = 0x13BA;
constexpr uint16_t ZVM_MESSAGES_SUBSCRIBEA = 0x13BB;
constexpr uint16_t ZVM_MESSAGES_GETLISTQ = 0x26EA;
constexpr uint16_t ZVM_MESSAGES_GETLISTA = 0x26EB;
constexpr uint16_t ZVM_MESSAGES_GETMESSAGEQ = 0x26EC;
constexpr uint16_t ZVM_MESSAGES_GETMESSAGEA = 0x26ED;
constexpr uint16_t ZVM_MESSAGES_SETSTATE = 0x26EE;
constexpr uint16_t ZVM_MESSAGES_OPENVIEWERQ = 0x26F0;
constexpr uint16_t ZVM_MESSAGES_OPENVIEWERA = 0x26F1;
constexpr uint16_t ZVM_MESSAGES_CHECKNOW = 0x26F2;
// The audio zones page: the zone list, each zone's state and icons, the
// choice of a zone's source, and the library commands of source pages.
constexpr uint16_t ZVM_AUDIO_ZONECHANGED = 0x0FA4;
constexpr uint16_t ZVM_AUDIO_ZONESCHANGED = 0x0FA8;
constexpr uint16_t ZVM_AUDIO_STARTUPDATES = 0x0FAA;
constexpr uint16_t ZVM_AUDIO_STOPUPDATES = 0x0FAC;
constexpr uint16_t ZVM_AUDIO_GETSOURCESQ = 0x0FE6;
constexpr uint16_t ZVM_AUDIO_GETSOURCESA = 0x0FE7;
constexpr uint16_t ZVM_AUDIO_GETZONEQ = 0x0FEE;
constexpr uint16_t ZVM_AUDIO_GETZONEA = 0x0FEF;
constexpr uint16_t ZVM_AUDIO_ZONECOMMAND = 0x0FF0;
constexpr uint16_t ZVM_AUDIO_SUBSCRIBEZONE = 0x0FF6;
constexpr uint16_t ZVM_AUDIO_UNSUBSCRIBEZONE = 0x0FF8;
constexpr uint16_t ZVM_AUDIO_GETZONESQ = 0x100B;
constexpr uint16_t ZVM_AUDIO_GETZONESA = 0x100C;
constexpr uint16_t ZVM_AUDIO_LIBRARYCOMMAND = 0x10DC;
constexpr uint16_t ZVM_AUDIO_LIBRARYCOMMANDEX = 0x10DE;
constexpr uint16_t ZVM_AUDIO_SOURCECOMMAND = 0x115D;
constexpr uint16_t ZVM_AUDIO_SUBSCRIBEPAGEQ = 0x116C;
constexpr uint16_t ZVM_AUDIO_SUBSCRIBEPAGEA = 0x116D;

// The titles of a media object (a disc changer's discs and tracks): its groups, the titles of a
// group, the title each group plays and the device's state, a change notice to the subscribers,
// and a title's thumbnail (answered as ZVM_PICTURES_PICTURE).
constexpr uint16_t ZVM_MEDIA_GETTITLESQ = 0x1252;
constexpr uint16_t ZVM_MEDIA_GETTITLESA = 0x1253;
constexpr uint16_t ZVM_MEDIA_GETTITLELISTQ = 0x1254;
constexpr uint16_t ZVM_MEDIA_GETTITLELISTA = 0x1255;
constexpr uint16_t ZVM_MEDIA_TITLESCOMMAND = 0x1256;
constexpr uint16_t ZVM_MEDIA_SUBSCRIBETITLES = 0x1258;
constexpr uint16_t ZVM_MEDIA_UNSUBSCRIBETITLES = 0x125A;
constexpr uint16_t ZVM_MEDIA_GETTITLESTATEQ = 0x125C;
constexpr uint16_t ZVM_MEDIA_GETTITLESTATEA = 0x125D;
constexpr uint16_t ZVM_AUDIO_TITLESCHANGED = 0x0FAF;
constexpr uint16_t ZVM_AUDIO_GETTITLETHUMBQ = 0x1015;

// The audio/video device controls of gateway pages: steps, presets and pad
// positions sent for a source; the zone and device menus, the device's
// information and the list a device keeps.
constexpr uint16_t ZVM_AV_STEP = 0x17B1;
constexpr uint16_t ZVM_AV_SETPRESET = 0x17B3;
constexpr uint16_t ZVM_AV_SETXY = 0x17B5;
constexpr uint16_t ZVM_AV_SETAXIS = 0x17B7;
constexpr uint16_t ZVM_AUDIO_GETMENUQ = 0x115F;
constexpr uint16_t ZVM_AUDIO_GETMENUA = 0x1160;
constexpr uint16_t ZVM_MEDIA_REGISTERSOURCE = 0x1270;
constexpr uint16_t ZVM_MEDIA_UNREGISTERSOURCE = 0x1272;
constexpr uint16_t ZVM_MEDIA_GETSOURCEINFOQ = 0x1274;
constexpr uint16_t ZVM_MEDIA_GETSOURCEINFOA = 0x1275;
constexpr uint16_t ZVM_MEDIA_GETLISTQ = 0x121A;
constexpr uint16_t ZVM_MEDIA_GETLISTA = 0x121B;
constexpr uint16_t ZVM_MEDIA_SETLISTPOSITION = 0x121C;
constexpr uint16_t ZVM_MEDIA_SELECTLISTITEM = 0x121E;
// An audio zone's volume and mute (the settings column of the audio zones
// page; its subscription and rocker commands are the zones page's messages),
// and the levels and modes of the gateway's audio objects.
constexpr uint16_t ZVM_AUDIO_SETTINGSCHANGED = 0x0FA5;
constexpr uint16_t ZVM_AUDIO_CONTROLCHANGED = 0x0FB0;
constexpr uint16_t ZVM_AUDIO_GETSETTINGSQ = 0x0FF2;
constexpr uint16_t ZVM_AUDIO_GETSETTINGSA = 0x0FF3;
constexpr uint16_t ZVM_AUDIO_SETSETTING = 0x0FF4;
constexpr uint16_t ZVM_AUDIO_GETCONTROLQ = 0x1017;
constexpr uint16_t ZVM_AUDIO_GETCONTROLA = 0x1018;
constexpr uint16_t ZVM_AUDIO_SETCONTROL = 0x1019;
constexpr uint16_t ZVM_AUDIO_GETMODESQ = 0x101B;
constexpr uint16_t ZVM_AUDIO_GETMODESA = 0x101C;
// The calendar of handwritten day notes: the days of a month that have a
// note, one day's strokes, and a day's strokes stored when its view closes.
constexpr uint16_t ZVM_CALENDAR_GETMONTHQ = 0x4268;
constexpr uint16_t ZVM_CALENDAR_GETMONTHA = 0x4269;
constexpr uint16_t ZVM_CALENDAR_GETDAYQ = 0x426A;
constexpr uint16_t ZVM_CALENDAR_GETDAYA = 0x426B;
constexpr uint16_t ZVM_CALENDAR_CLOSEDAY = 0x426C;

// The weather controls: the conditions and forecast record, a forecast
// day's picture, the weather text, and the notice that the weather changed.
constexpr uint16_t ZVM_WEATHER_CHANGED = 0x264E;
constexpr uint16_t ZVM_WEATHER_GETFORECASTQ = 0x264F;
constexpr uint16_t ZVM_WEATHER_GETFORECASTA = 0x2650;
constexpr uint16_t ZVM_WEATHER_GETICONQ = 0x2651;
constexpr uint16_t ZVM_WEATHER_GETICONA = 0x2652;
constexpr uint16_t ZVM_WEATHER_GETTEXTQ = 0x2653;
constexpr uint16_t ZVM_WEATHER_GETTEXTA = 0x2654;
// The music library of an audio source: browse counts, each row's text as
// the row is drawn, and the progress the gateway shows while it prepares a
// long answer.
constexpr uint16_t ZVM_AUDIO_BROWSEQ = 0x0FE0;
constexpr uint16_t ZVM_AUDIO_BROWSEA = 0x0FE1;
constexpr uint16_t ZVM_AUDIO_GETITEMTEXTQ = 0x0FE2;
constexpr uint16_t ZVM_AUDIO_GETITEMTEXTA = 0x0FE3;
constexpr uint16_t ZVM_AUDIO_ITEMTEXT = 0x0FE4;

// The music server's play queue and its play state; the gateway pushes both
// when they change.
constexpr uint16_t ZVM_AUDIO_SOURCESTATUSCHANGED = 0x0FA2;
constexpr uint16_t ZVM_AUDIO_PLAYLISTCHANGED = 0x0FA3;
constexpr uint16_t ZVM_AUDIO_GETQUEUEQ = 0x10DA;
constexpr uint16_t ZVM_AUDIO_GETQUEUEA = 0x10DB;
constexpr uint16_t ZVM_AUDIO_GETSOURCESTATUSQ = 0x10E6;
constexpr uint16_t ZVM_AUDIO_GETSOURCESTATUSA = 0x10E7;

// What the gateway's music library browses (0x0FE0, and every row's 0x0FE2).
enum MusicBrowseKind : int {
    kBrowseAllTracks = 0,
    kBrowseArtists = 1,
    kBrowseAllAlbums = 2,
    kBrowseArtistTracks = 3,
    kBrowseArtistAlbums = 4,
    kBrowseArtistAlbumTracks = 5,
    kBrowsePlaylists = 6,
    kBrowsePlaylistTracks = 7,
    kBrowseRadioGenres = 8,
    kBrowseFavouriteRadioGenres = 9,
    kBrowseStations = 10,
    kBrowseFavouriteStations = 11,
    kBrowseAlbumTracks = 12,
    kBrowseMusicGenres = 13,
    kBrowseGenreAlbums = 14,
};

// The internet radio directory's favourites, each {genre row, station row}
// of the directory's lists; the question is answered {i32 is-favourite}.
constexpr uint16_t ZVM_RADIO_GETFAVORITEQ = 0x1162;
constexpr uint16_t ZVM_RADIO_GETFAVORITEA = 0x1163;
constexpr uint16_t ZVM_RADIO_ADDFAVORITE = 0x1164;
constexpr uint16_t ZVM_RADIO_REMOVEFAVORITE = 0x1166;

// The TV channel controls: the channel a TV source is tuned to, a typed
// channel, the source's channel groups and each group's favourite channels.
constexpr uint16_t ZVM_TV_GETCHANNELQ = 0x1214;
constexpr uint16_t ZVM_TV_GETCHANNELA = 0x1215;
constexpr uint16_t ZVM_TV_CHANNELCOMMAND = 0x1216;
constexpr uint16_t ZVM_TV_GETCHANNELGROUPSQ = 0x3E82;
constexpr uint16_t ZVM_TV_GETCHANNELGROUPSA = 0x3E83;
constexpr uint16_t ZVM_TV_FAVORITESCOMMAND = 0x3E92;
constexpr uint16_t ZVM_TV_GETFAVORITESQ = 0x3E94;
constexpr uint16_t ZVM_TV_GETFAVORITESA = 0x3E95;

// The intercom: the station list, the talk stream (its start, mu-law data
// and end), listening to a station, and a station's availability.
constexpr uint16_t ZVM_INTERCOM_STARTTALK = 0x1405;
constexpr uint16_t ZVM_INTERCOM_AUDIODATA = 0x1406;
constexpr uint16_t ZVM_INTERCOM_STOPTALK = 0x1407;
constexpr uint16_t ZVM_INTERCOM_COMMAND = 0x1414;
constexpr uint16_t ZVM_INTERCOM_TALKSTATE = 0x1415;
constexpr uint16_t ZVM_INTERCOM_GETSTATIONQ = 0x141A;
constexpr uint16_t ZVM_INTERCOM_GETSTATIONA = 0x141B;
constexpr uint16_t ZVM_SYSCONFIG_INTERCOMCHANGED = 0x1F45;

// The music server's Now Playing page: queue edits, album art, and the
// browse trees of its sub-sources with their covers (both forms of the
// request share 0x0FD4 and both answers arrive as ZVM_MESSAGES_GETNEWCOUNTA).
constexpr uint16_t ZVM_AUDIO_ALBUMARTCHANGED = 0x0FA6;
constexpr uint16_t ZVM_AUDIO_GETCOVERARTQ = 0x0FD4;
constexpr uint16_t ZVM_AUDIO_GETALBUMARTQ = 0x1003;
constexpr uint16_t ZVM_AUDIO_GETALBUMARTA = 0x1004;
constexpr uint16_t ZVM_AUDIO_DELETEQUEUEITEM = 0x10E2;
constexpr uint16_t ZVM_AUDIO_CLEARQUEUE = 0x10E4;
constexpr uint16_t ZVM_AUDIO_PLAYQUEUEITEM = 0x10EA;

// The captions of a set-top box's soft keys, a page of ten at a time.
constexpr uint16_t ZVM_AUDIO_GETSOFTKEYSQ = 0x1202;
constexpr uint16_t ZVM_AUDIO_GETSOFTKEYSA = 0x1203;

// The music library's changes and its playlists: the notice that the
// library changed, the creation, renaming and deletion of playlists, edits
// of a playlist's tracks and the notice that its tracks changed, music
// added to a playlist, and the library genres a source lists.
constexpr uint16_t ZVM_AUDIO_LIBRARYCHANGED = 0x0FA1;
constexpr uint16_t ZVM_AUDIO_PLAYLISTITEMSCHANGED = 0x0FB1;
constexpr uint16_t ZVM_AUDIO_CREATEPLAYLISTQ = 0x10EE;
constexpr uint16_t ZVM_AUDIO_CREATEPLAYLISTA = 0x10EF;
constexpr uint16_t ZVM_AUDIO_DELETEPLAYLISTQ = 0x10F2;
constexpr uint16_t ZVM_AUDIO_DELETEPLAYLISTA = 0x10F3;
constexpr uint16_t ZVM_AUDIO_RENAMEPLAYLISTQ = 0x10F4;
constexpr uint16_t ZVM_AUDIO_RENAMEPLAYLISTA = 0x10F5;
constexpr uint16_t ZVM_AUDIO_GETGENRESQ = 0x10FE;
constexpr uint16_t ZVM_AUDIO_GETGENRESA = 0x10FF;
constexpr uint16_t ZVM_AUDIO_SETGENRE = 0x1100;
constexpr uint16_t ZVM_AUDIO_PLAYRANDOM = 0x1102;
constexpr uint16_t ZVM_AUDIO_ADDTOPLAYLIST = 0x1104;
constexpr uint16_t ZVM_AUDIO_EDITPLAYLISTITEM = 0x1106;

// How a playlist's track moves (0x1106).
enum PlaylistEdit : int {
    kPlaylistDeleteTrack = 0,
    kPlaylistMoveUp = 1,
    kPlaylistMoveDown = 2,
};

// The radio tuners: the station favourites a tuner source keeps (asked for,
// added, renamed, deleted and tuned), the favourites list the gateway pushes
// when it changes, and the genres and stations of a channel-numbered radio.
constexpr uint16_t ZVM_AUDIO_SOURCEINFOCHANGED = 0x0FA9;
constexpr uint16_t ZVM_TUNER_GETFAVORITESQ = 0x11E4;
constexpr uint16_t ZVM_TUNER_GETFAVORITESA = 0x11E5;
constexpr uint16_t ZVM_TUNER_ADDFAVORITEQ = 0x11E6;
constexpr uint16_t ZVM_TUNER_ADDFAVORITEA = 0x11E7;
constexpr uint16_t ZVM_TUNER_RENAMEFAVORITEQ = 0x11E8;
constexpr uint16_t ZVM_TUNER_RENAMEFAVORITEA = 0x11E9;
constexpr uint16_t ZVM_TUNER_DELETEFAVORITEQ = 0x11EA;
constexpr uint16_t ZVM_TUNER_DELETEFAVORITEA = 0x11EB;
constexpr uint16_t ZVM_TUNER_TUNEFAVORITEQ = 0x11EC;
constexpr uint16_t ZVM_TUNER_TUNEFAVORITEA = 0x11ED;
constexpr uint16_t ZVM_TUNER_GETGENRESQ = 0x11F8;
constexpr uint16_t ZVM_TUNER_GETGENRESA = 0x11F9;
constexpr uint16_t ZVM_TUNER_GETSTATIONSQ = 0x11FA;
constexpr uint16_t ZVM_TUNER_GETSTATIONSA = 0x11FB;
constexpr uint16_t ZVM_TUNER_TUNESTATIONQ = 0x11FC;
constexpr uint16_t ZVM_TUNER_TUNESTATIONA = 0x11FD;
constexpr uint16_t ZVM_TUNER_TUNEFAVORITEEXQ = 0x11FE;
constexpr uint16_t ZVM_TUNER_TUNEFAVORITEEXA = 0x11FF;

#pragma once
// The gateway messages of the tablet's shell: its main window, main menu and pages.
#include <cstdint>

#include "core/messages/coremessages.h"

constexpr uint16_t ZVM_SESSION_CLIENTSTATUS = 0x001A;
constexpr uint16_t ZVM_HOUSE_MODECHANGED = 0x0064;
constexpr uint16_t ZVM_HOUSE_GETMODEQ = 0x006E;
constexpr uint16_t ZVM_HOUSE_GETMODEA = 0x006F;
constexpr uint16_t ZVM_HOUSE_SETMODE = 0x0070;
constexpr uint16_t ZVM_UI_USERACTIVITY = 0x0072;
constexpr uint16_t ZVM_UI_SETCHECKSTATE = 0x0074;
constexpr uint16_t ZVM_UI_SCREENWAKE = 0x0076;
constexpr uint16_t ZVM_TABLET_SETDISPLAYPOWER = 0x0077;
constexpr uint16_t ZVM_TABLET_IDENTIFY = 0x0078;
constexpr uint16_t ZVM_TABLET_REMOTEKEY = 0x0079;
constexpr uint16_t ZVM_TABLET_FLUSHCACHE = 0x007D;
constexpr uint16_t ZVM_TABLET_GATEWAYREADY = 0x007F;
constexpr uint16_t ZVM_UI_PAGESELECTED = 0x0080;
constexpr uint16_t ZVM_SECURITY_PLAYSOUND = 0x03EB;
constexpr uint16_t ZVM_MESSAGES_GETNEWCOUNTQ = 0x13BC;
constexpr uint16_t ZVM_MESSAGES_GETNEWCOUNTA = 0x13BD;
constexpr uint16_t ZVM_UI_SETPAGEVARIABLE = 0x1572;
constexpr uint16_t ZVM_SYSCONFIG_REMOTESCHANGED = 0x1F42;
constexpr uint16_t ZVM_SYSCONFIG_GETREMOTESQ = 0x1F80;
constexpr uint16_t ZVM_SYSCONFIG_GETREMOTESA = 0x1F81;
constexpr uint16_t ZVM_SYSCONFIG_PREPAREUPDATE = 0x1F8E;
constexpr uint16_t ZVM_UPDATE_GETFAVORITESQ = 0x1FCE;
constexpr uint16_t ZVM_UPDATE_GETFAVORITESA = 0x1FCF;
constexpr uint16_t ZVM_UPDATE_GETFAVORITEFILEQ = 0x1FD0;
constexpr uint16_t ZVM_UPDATE_GETFAVORITEFILEA = 0x1FD1;
constexpr uint16_t ZVM_SYSCONFIG_CHECKVERSIONQ = 0x1FC0;
constexpr uint16_t ZVM_SYSCONFIG_CHECKVERSIONA = 0x1FC1;
constexpr uint16_t ZVM_SYSCONFIG_GETMENUQ = 0x1FD2;
constexpr uint16_t ZVM_SYSCONFIG_GETMENUA = 0x1FD3;
constexpr uint16_t ZVM_HOUSE_GETMODENAMESQ = 0x2024;
constexpr uint16_t ZVM_HOUSE_GETMODENAMESA = 0x2025;
constexpr uint16_t ZVM_UI_MENUICONCHANGED = 0x238C;
constexpr uint16_t ZVM_UI_MENUTEXTCHANGED = 0x238D;
constexpr uint16_t ZVM_UI_SUBSCRIBEMENUSTATUS = 0x2396;
constexpr uint16_t ZVM_UI_BUSYSTATE = 0x2529;
constexpr uint16_t ZVM_LAYOUT_GETSECTIONSQ = 0x2591;
constexpr uint16_t ZVM_LAYOUT_GETSECTIONSA = 0x2592;
constexpr uint16_t ZVM_LAYOUT_GETCONTROLSQ = 0x2595;
constexpr uint16_t ZVM_LAYOUT_GETCONTROLSA = 0x2596;
constexpr uint16_t ZVM_UI_GETCHECKSTATEQ = 0x25A1;
constexpr uint16_t ZVM_UI_GETCHECKSTATEA = 0x25A2;
constexpr uint16_t ZVM_LAYOUT_GETPANELQ = 0x25AB;
constexpr uint16_t ZVM_LAYOUT_GETPANELA = 0x25AC;
// The gateway-defined pages of an audio source or settings layout, by page set.
constexpr uint16_t ZVM_LAYOUT_GETCUSTOMPAGESQ = 0x120A;
constexpr uint16_t ZVM_LAYOUT_GETCUSTOMPAGESA = 0x120B;
constexpr uint16_t ZVM_PICTURES_PICTURE = 0x2AF8;
constexpr uint16_t ZVM_PICTURES_PICTUREEND = 0x2AF9;
constexpr uint16_t ZVM_PICTURES_GETSLIDEQ = 0x2B28;
constexpr uint16_t ZVM_DEVICE_STATECHANGED = 0x3A9A;
constexpr uint16_t ZVM_DEVICE_STATECHANGEDEX = 0x3A9B;
constexpr uint16_t ZVM_DEVICE_SETSTATE = 0x3AE2;
constexpr uint16_t ZVM_DEVICE_GETSTATEQ = 0x3AE4;
constexpr uint16_t ZVM_DEVICE_GETSTATEA = 0x3AE5;
constexpr uint16_t ZVM_DEVICE_GETSTATEEXQ = 0x3AE6;
constexpr uint16_t ZVM_DEVICE_GETSTATEEXA = 0x3AE7;
constexpr uint16_t ZVM_TABLET_GETPOWERSETTINGSQ = 0x3C8F;
constexpr uint16_t ZVM_TABLET_GETPOWERSETTINGSA = 0x3C90;
constexpr uint16_t ZVM_TABLET_SHOWFONTPAGE = 0x3CA9;
constexpr uint16_t ZVM_TABLET_IDLE = 0x3CAB;
constexpr uint16_t ZVM_TABLET_SHOWPAGE = 0x3CAC;

#pragma once
// The gateway messages of the core, and those more than one program sends:
// login, session, system information, clock and version, debug reports,
// updates, the pool model, system components and cameras.
#include <cstdint>

constexpr uint16_t ZVM_LOGIN_REJECTED = 0x000D;
constexpr uint16_t ZVM_LOGIN_GETCHALLENGEQ = 0x000E;
constexpr uint16_t ZVM_LOGIN_GETCHALLENGEA = 0x000F;
constexpr uint16_t ZVM_LOGIN_LOGINQ = 0x001B;
constexpr uint16_t ZVM_LOGIN_LOGINA = 0x001C;
constexpr uint16_t ZVM_SESSION_NODATA = 0x001E;
constexpr uint16_t ZVM_SESSION_ERROR = 0x001F;
constexpr uint16_t ZVM_VIDEO_GETCAMERAQ = 0x177E;
constexpr uint16_t ZVM_VIDEO_GETCAMERAA = 0x177F;
constexpr uint16_t ZVM_VIDEO_SETCAMERAQ = 0x1780;
constexpr uint16_t ZVM_SYSCONFIG_GETCOMPONENTQ = 0x1F66;
constexpr uint16_t ZVM_SYSCONFIG_GETCOMPONENTA = 0x1F67;
constexpr uint16_t ZVM_SYSCONFIG_SETCOMPONENTQ = 0x1F68;
constexpr uint16_t ZVM_SYSCONFIG_GETSYSTEMINFOQ = 0x1F7A;
constexpr uint16_t ZVM_SYSCONFIG_GETSYSTEMINFOA = 0x1F7B;
constexpr uint16_t ZVM_SYSCONFIG_GETCLOCKQ = 0x1FAE;
constexpr uint16_t ZVM_SYSCONFIG_GETCLOCKA = 0x1FAF;
constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONQ = 0x1FB8;
constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONA = 0x1FB9;
constexpr uint16_t ZVM_UPDATE_GETTABLETFILEQ = 0x1FC2;
constexpr uint16_t ZVM_UPDATE_FILEDATA = 0x1FC3;
constexpr uint16_t ZVM_UPDATE_GETSIBLINGFILEQ = 0x1FC4;
constexpr uint16_t ZVM_UPDATE_FILEDATA2 = 0x1FD5;
constexpr uint16_t ZVM_UPDATE_FILECHUNK = 0x206D;
constexpr uint16_t ZVM_DEBUG_ASSERT = 0x251D;
constexpr uint16_t ZVM_DEBUG_TRACE = 0x251E;
constexpr uint16_t ZVM_POOL_STATUSCHANGED = 0x30D4;
constexpr uint16_t ZVM_POOL_HISTORYDATA = 0x30D6;     // answer to 0x30F6, to the listener sink
constexpr uint16_t ZVM_POOL_RUNTIMECHANGED = 0x30D7;  // {circuit id, minutes}
constexpr uint16_t ZVM_POOL_SUBPAGEUPDATE = 0x30D8;   // {first, second, third, text}
constexpr uint16_t ZVM_POOL_GETNAMEDITEMSQ = 0x30DE;
constexpr uint16_t ZVM_POOL_SETCIRCUITCONFIGQ = 0x30E8;
constexpr uint16_t ZVM_POOL_SUBSCRIBE = 0x30EA;    // {controller index, sink id}, sender 0
constexpr uint16_t ZVM_POOL_UNSUBSCRIBE = 0x30EC;  // {controller index, sink id}, sender 0
constexpr uint16_t ZVM_POOL_GETSTATUSQ = 0x30EE;
constexpr uint16_t ZVM_POOL_GETSTATUSA = 0x30EF;
constexpr uint16_t ZVM_POOL_SETSETPOINT = 0x30F0;  // {controller index, body, set point}
constexpr uint16_t ZVM_POOL_SETCIRCUIT = 0x30F2;
constexpr uint16_t ZVM_POOL_GETCONFIGQ = 0x30F4;
constexpr uint16_t ZVM_POOL_GETCONFIGA = 0x30F5;
constexpr uint16_t ZVM_POOL_GETHISTORYQ = 0x30F6;  // {controller index, start, end, listener sink}
constexpr uint16_t ZVM_POOL_SETHEATMODE = 0x30FA;  // {controller index, body, mode}
constexpr uint16_t ZVM_POOL_SETRUNTIME = 0x3106;
constexpr uint16_t ZVM_POOL_SETLIGHTCOLOR = 0x310A;  // {controller index, circuit id, set, position, delay}
constexpr uint16_t ZVM_POOL_LIGHTCOMMAND = 0x310C;   // {controller index, command}
constexpr uint16_t ZVM_POOL_GETCUSTOMNAMECOUNTQ = 0x310E;
constexpr uint16_t ZVM_POOL_GETCUSTOMNAMESQ = 0x3111;
constexpr uint16_t ZVM_POOL_GETSTRINGLISTQ = 0x3112;
constexpr uint16_t ZVM_POOL_SETCUSTOMNAMEQ = 0x3114;
constexpr uint16_t ZVM_POOL_GETEXTCONFIGQ = 0x3116;
constexpr uint16_t ZVM_POOL_SETEXTCONFIGQ = 0x3118;
constexpr uint16_t ZVM_POOL_ADJUSTSENSORQ = 0x311A;
constexpr uint16_t ZVM_POOL_GETCHLORINATORQ = 0x311C;
constexpr uint16_t ZVM_POOL_GETCHLORINATORA = 0x311D;
constexpr uint16_t ZVM_POOL_SETCHLORINATOR = 0x3120;  // {controller index, pool %, spa %, super, hours}
constexpr uint16_t ZVM_POOL_SETREMOTESENABLEDQ = 0x3122;
constexpr uint16_t ZVM_POOL_CANCELDELAYSQ = 0x3124;
constexpr uint16_t ZVM_POOL_GETERRORSQ = 0x3126;
constexpr uint16_t ZVM_POOL_GETERRORSA = 0x3127;
constexpr uint16_t ZVM_POOL_GETPUMPQ = 0x3128;  // {controller index, pump}, answered to the sender
constexpr uint16_t ZVM_POOL_GETPUMPA = 0x3129;
constexpr uint16_t ZVM_POOL_SETPUMPSPEED = 0x312A;  // {controller index, pump, slot, value}

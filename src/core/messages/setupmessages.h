#pragma once
// Gateway messages of the configuration program, besides those the pool
// model sends (core/basinsetup.h): the session's keep-alive, the adapter's
// system information, clock, version and password, the tablet's home page,
// the house address, the chlorinator and the e-mail alert settings.
#include <cstdint>

inline constexpr uint16_t ZVM_LOGIN_GETCHALLENGEA = 0x000F;
inline constexpr uint16_t ZVM_SESSION_PINGQ = 0x0010;
inline constexpr uint16_t ZVM_SESSION_PINGA = 0x0011;

inline constexpr uint16_t ZVM_SYSCONFIG_GETSYSTEMINFOQ = 0x1F7A;
inline constexpr uint16_t ZVM_SYSCONFIG_SETSYSTEMINFOQ = 0x1F7C;
inline constexpr uint16_t ZVM_SYSCONFIG_GETCLOCKQ = 0x1FAE;
inline constexpr uint16_t ZVM_SYSCONFIG_SETCLOCKQ = 0x1FB0;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONQ = 0x1FB8;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONA = 0x1FB9;
inline constexpr uint16_t ZVM_SYSCONFIG_SETPASSWORDQ = 0x1FE2;

inline constexpr uint16_t ZVM_LAYOUT_GETHOMEPAGEQ = 0x259B;
inline constexpr uint16_t ZVM_LAYOUT_SETHOMEPAGEQ = 0x259D;

inline constexpr uint16_t ZVM_EMAIL_GETALERTSQ = 0x2684;
inline constexpr uint16_t ZVM_EMAIL_GETALERTSA = 0x2685;
inline constexpr uint16_t ZVM_EMAIL_SETALERTSQ = 0x2686;
inline constexpr uint16_t ZVM_EMAIL_SETALERTSA = 0x2687;

inline constexpr uint16_t ZVM_POOL_GETCHLORINATORQ = 0x311C;
inline constexpr uint16_t ZVM_POOL_SETCHLORINATORENABLEQ = 0x311E;
inline constexpr uint16_t ZVM_POOL_SETHOUSEADDRESSQ = 0x312C;

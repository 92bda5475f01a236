#pragma once
// Gateway messages of the configuration program, besides those of the core
// (coremessages.h): the session's keep-alive, writing the adapter's system
// information, clock and password, the tablet's home page, the house
// address, the chlorinator and the e-mail alert settings.
#include <cstdint>

#include "core/messages/coremessages.h"

inline constexpr uint16_t ZVM_SESSION_PINGQ = 0x0010;
inline constexpr uint16_t ZVM_SESSION_PINGA = 0x0011;

inline constexpr uint16_t ZVM_SYSCONFIG_SETSYSTEMINFOQ = 0x1F7C;
inline constexpr uint16_t ZVM_SYSCONFIG_SETCLOCKQ = 0x1FB0;
inline constexpr uint16_t ZVM_SYSCONFIG_SETPASSWORDQ = 0x1FE2;

inline constexpr uint16_t ZVM_LAYOUT_GETHOMEPAGEQ = 0x259B;
inline constexpr uint16_t ZVM_LAYOUT_SETHOMEPAGEQ = 0x259D;

inline constexpr uint16_t ZVM_EMAIL_GETALERTSQ = 0x2684;
inline constexpr uint16_t ZVM_EMAIL_GETALERTSA = 0x2685;
inline constexpr uint16_t ZVM_EMAIL_SETALERTSQ = 0x2686;
inline constexpr uint16_t ZVM_EMAIL_SETALERTSA = 0x2687;

inline constexpr uint16_t ZVM_POOL_SETCHLORINATORENABLEQ = 0x311E;
inline constexpr uint16_t ZVM_POOL_SETHOUSEADDRESSQ = 0x312C;

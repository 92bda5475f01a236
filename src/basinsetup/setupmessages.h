#pragma once
// Gateway messages the configuration program sends besides the pool model's.
#include <cstdint>

inline constexpr uint16_t ZVM_SESSION_PINGQ = 0x0010;
inline constexpr uint16_t ZVM_SESSION_PINGA = 0x0011;
inline constexpr uint16_t ZVM_LOGIN_GETCHALLENGEA = 0x000F;
inline constexpr uint16_t ZVM_SYSCONFIG_GETSYSTEMINFOQ = 0x1F7A;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONQ = 0x1FB8;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONA = 0x1FB9;
inline constexpr uint16_t ZVM_SYSCONFIG_SETPASSWORDQ = 0x1FE2;
inline constexpr uint16_t ZVM_POOL_SETHOUSEADDRESSQ = 0x312C;

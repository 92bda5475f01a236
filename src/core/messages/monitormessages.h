#pragma once
// The message ids the remote monitor exchanges with a gateway and with the
// discovery service, beyond those the core's own connection uses.
#include <cstdint>

// Logging in.
inline constexpr uint16_t ZVM_LOGIN_REJECTED = 0x000D;
inline constexpr uint16_t ZVM_LOGIN_GETCHALLENGEA = 0x000F;
inline constexpr uint16_t ZVM_LOGIN_LOGINA = 0x001C;

// The gateway's identity and versions.
inline constexpr uint16_t ZVM_SYSCONFIG_GETSYSTEMINFOQ = 0x1F7A;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONQ = 0x1FB8;
inline constexpr uint16_t ZVM_SYSCONFIG_GETVERSIONA = 0x1FB9;

// The pool readings the refresh takes besides configuration and status.
inline constexpr uint16_t ZVM_POOL_GETCHLORINATORQ = 0x311C;
inline constexpr uint16_t ZVM_POOL_GETERRORSQ = 0x3126;
inline constexpr uint16_t ZVM_POOL_GETPUMPQ = 0x3128;

// The discovery service.
inline constexpr uint16_t ZVM_DISCOVERY_ERROR = 0x4650;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPQ = 0x4653;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPA = 0x4654;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPMANYQ = 0x466F;
inline constexpr uint16_t ZVM_DISCOVERY_LOOKUPMANYA = 0x4670;

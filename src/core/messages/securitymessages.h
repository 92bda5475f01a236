#pragma once
// The gateway messages of the security pages: the partitions, their arming
// and status, zone bypass, and the alarm history.
#include <cstdint>

constexpr uint16_t ZVM_SECURITY_STATUSCHANGED = 0x03EA;
constexpr uint16_t ZVM_SECURITY_GETSUMMARYQ = 0x03ED;
constexpr uint16_t ZVM_SECURITY_GETSUMMARYA = 0x03EE;
constexpr uint16_t ZVM_SECURITY_SUBSCRIBE = 0x03F1;    // {sink id, partition id}, sender 0
constexpr uint16_t ZVM_SECURITY_UNSUBSCRIBE = 0x03F3;  // {sink id}, sender 0
constexpr uint16_t ZVM_SECURITY_GETSTATUSQ = 0x03F5;   // {partition id}, with the sink id
constexpr uint16_t ZVM_SECURITY_GETSTATUSA = 0x03F6;
constexpr uint16_t ZVM_SECURITY_GETLISTSQ = 0x03FE;
constexpr uint16_t ZVM_SECURITY_GETLISTSA = 0x03FF;
constexpr uint16_t ZVM_SECURITY_DISARMQ = 0x0424;
constexpr uint16_t ZVM_SECURITY_DISARMA = 0x0425;
constexpr uint16_t ZVM_SECURITY_ARMQ = 0x0426;
constexpr uint16_t ZVM_SECURITY_ARMA = 0x0427;
constexpr uint16_t ZVM_SECURITY_GETHISTORYQ = 0x0434;  // {partition id, from, to}, with the sink id
constexpr uint16_t ZVM_SECURITY_GETHISTORYA = 0x0435;
constexpr uint16_t ZVM_SECURITY_BYPASSZONEQ = 0x0438;
constexpr uint16_t ZVM_SECURITY_BYPASSZONEA = 0x0439;
constexpr uint16_t ZVM_SECURITY_UNBYPASSZONEQ = 0x043A;
constexpr uint16_t ZVM_SECURITY_UNBYPASSZONEA = 0x043B;
constexpr uint16_t ZVM_SECURITY_GETPARTITIONQ = 0x0442;
constexpr uint16_t ZVM_SECURITY_GETPARTITIONA = 0x0443;

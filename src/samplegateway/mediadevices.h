#pragma once
// The sample house's media devices. A device tells its four lines of information and a menu
// of page controls (0x1274: two answers, the information first); a control that registered
// for the device (0x1270) gets a notice with its information every ten seconds, from the
// pacer's first step. The device keeps a list of 40 chapters: 0x121A answers with the six
// rows from its top row, 0x121C moves the top and answers the same way; a choice (0x121E) is
// taken without an answer. The audio zones' menus (0x115F) are the house file's.
#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class House;
class Pacer;

constexpr int32_t kMediaRoomDevice = 4;
constexpr int32_t kDeviceListRows = 40;
constexpr int kDeviceListRowsPerAnswer = 6;
constexpr uint32_t kDeviceNoticeMs = 10000;

void ServeMediaDevices(Gateway& gateway, const House& house, Pacer& pacer);

}  // namespace samplegateway

#pragma once
// The gateway messages of the tablet's toolkit and drawing engine: pictures,
// icons, the style, and the buttons, keypads and values that report to or
// read from the gateway.
#include <cstdint>

constexpr uint16_t ZVM_UI_SETTOGGLESTATE = 0x0075;
constexpr uint16_t ZVM_MEDIA_NEXTIMAGE = 0x10F8;
constexpr uint16_t ZVM_MEDIA_PREVIMAGE = 0x10FA;
constexpr uint16_t ZVM_MEDIA_DELETEIMAGE = 0x10FC;
constexpr uint16_t ZVM_UI_GETTOGGLEQ = 0x1210;
constexpr uint16_t ZVM_UI_GETTOGGLEA = 0x1211;
constexpr uint16_t ZVM_UI_COMMANDBUTTON = 0x1212;
constexpr uint16_t ZVM_UI_KEYPADKEY = 0x1218;
constexpr uint16_t ZVM_MEDIA_SWITCHPRESS = 0x1276;
constexpr uint16_t ZVM_MEDIA_SWITCHPRESSEX = 0x1278;
constexpr uint16_t ZVM_SYSCONFIG_SETTINGSCHANGED = 0x1F40;
constexpr uint16_t ZVM_IMAGE_GETTINTEDQ = 0x238E;
constexpr uint16_t ZVM_IMAGE_GETTINTEDA = 0x238F;
constexpr uint16_t ZVM_IMAGE_GETBLENDEDQ = 0x2390;
constexpr uint16_t ZVM_IMAGE_GETBLENDEDA = 0x2391;
constexpr uint16_t ZVM_IMAGE_IMAGEDATA = 0x2393;
constexpr uint16_t ZVM_IMAGE_GETICONQ = 0x239C;
constexpr uint16_t ZVM_IMAGE_GETICONA = 0x239D;
constexpr uint16_t ZVM_IMAGE_GETPLAINQ = 0x23A4;
constexpr uint16_t ZVM_IMAGE_GETPLAINA = 0x23A5;
constexpr uint16_t ZVM_IMAGE_GETSKINQ = 0x23A6;
constexpr uint16_t ZVM_IMAGE_GETSKINA = 0x23A7;
constexpr uint16_t ZVM_IMAGE_GETSKIN2Q = 0x23A8;
constexpr uint16_t ZVM_IMAGE_GETSKIN2A = 0x23A9;
constexpr uint16_t ZVM_UI_SETTINGSCHANGED = 0x2580;
constexpr uint16_t ZVM_UI_GETSETTINGSQ = 0x258B;
constexpr uint16_t ZVM_UI_GETSETTINGSA = 0x258C;
constexpr uint16_t ZVM_UI_BUTTONPRESS = 0x2727;
constexpr uint16_t ZVM_DEVICE_GETVALUEQ = 0x3AC2;
constexpr uint16_t ZVM_DEVICE_GETVALUEA = 0x3AC3;

namespace iconwire {

// The shape types of a vector icon's records in the icon answer: the gateway
// writes them, the toolkit draws them.
enum Shape : int32_t {
    kRect = 0,
    kTriangleLeft = 1,
    kTriangleRight = 2,
    kTriangleUp = 3,
    kTriangleDown = 4,
    kEllipse = 5,
    kBandDown = 6,
    kBandUp = 7,
    kBandDownAcross = 8,
    kBandUpAcross = 9,
    kInvisible = 10,
    kEllipseMask = 11,
};

}  // namespace iconwire

#include "samplegateway/pictures.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages/coremessages.h"
#include "core/messages/toolkitmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/png.h"

namespace samplegateway {
namespace {

constexpr int32_t kVectorKind = 6;
constexpr int32_t kPngType = 5;
constexpr int kGardenWidth = 128;
constexpr int kGardenHeight = 160;
constexpr int kLogoWidth = 160;
constexpr int kLogoHeight = 80;

using enum iconwire::Shape;

// One filled shape in icon units; a colour of 0, 0, 0 cuts a hole. A band's thickness is its param.
struct IconShape {
    int32_t x, y, w, h;
    int32_t type;
    uint8_t r, g, b;
    int32_t param = 0;
};

constexpr uint8_t W = 255;

const std::vector<IconShape> kHouse = {
    {5, 0, 90, 45, kTriangleUp, W, 230, 170}, {18, 45, 64, 50, kRect, W, W, W}, {42, 62, 16, 33, kRect, 0, 0, 0}};
const std::vector<IconShape> kPool = {{35, 0, 26, 26, kEllipse, W, 230, 120},
                                      {0, 38, 100, 16, kRect, 150, 210, W},
                                      {0, 62, 100, 16, kRect, 150, 210, W},
                                      {0, 86, 100, 14, kRect, 150, 210, W}};
const std::vector<IconShape> kLight = {{20, 0, 60, 60, kEllipse, W, 240, 150},
                                       {36, 60, 28, 16, kRect, W, 240, 150},
                                       {38, 80, 24, 8, kRect, 210, 210, 210},
                                       {42, 92, 16, 8, kRect, 210, 210, 210}};
const std::vector<IconShape> kClimate = {
    {40, 0, 20, 70, kRect, W, W, W}, {28, 58, 44, 42, kEllipse, W, 120, 90}, {46, 8, 8, 52, kRect, W, 120, 90}};
const std::vector<IconShape> kSensors = {{0, 0, 100, 100, kEllipse, W, W, W},
                                         {12, 12, 76, 76, kEllipse, 0, 0, 0},
                                         {46, 18, 8, 36, kRect, W, 200, 90},
                                         {40, 44, 20, 20, kEllipse, W, 200, 90}};
const std::vector<IconShape> kSchedules = {{0, 8, 100, 92, kRect, W, W, W},  {0, 8, 100, 20, kRect, W, 120, 90},
                                           {10, 38, 22, 22, kRect, 0, 0, 0}, {39, 38, 22, 22, kRect, 0, 0, 0},
                                           {68, 38, 22, 22, kRect, 0, 0, 0}, {10, 68, 22, 22, kRect, 0, 0, 0},
                                           {39, 68, 22, 22, kRect, 0, 0, 0}};
const std::vector<IconShape> kPhotos = {{0, 10, 100, 80, kRect, W, W, W},
                                        {8, 18, 84, 64, kRect, 0, 0, 0},
                                        {14, 40, 52, 40, kTriangleUp, 140, 220, 140},
                                        {66, 24, 16, 16, kEllipse, W, 230, 120}};
const std::vector<IconShape> kWeb = {{0, 0, 100, 100, kEllipse, 150, 210, W}, {8, 8, 84, 84, kEllipse, 0, 0, 0},
                                     {46, 0, 8, 100, kRect, 150, 210, W},     {0, 46, 100, 8, kRect, 150, 210, W},
                                     {28, 4, 44, 92, kEllipse, 150, 210, W},  {36, 8, 28, 84, kEllipse, 0, 0, 0},
                                     {46, 8, 8, 84, kRect, 150, 210, W}};
// The calendar's arrows, in steps, dark for the light buttons they sit on.
const std::vector<IconShape> kArrowLeft = {{45, 40, 45, 20, kRect, 60, 60, 90},
                                           {10, 45, 12, 10, kRect, 60, 60, 90},
                                           {22, 35, 12, 30, kRect, 60, 60, 90},
                                           {34, 25, 12, 50, kRect, 60, 60, 90}};
const std::vector<IconShape> kArrowRight = {{10, 40, 45, 20, kRect, 60, 60, 90},
                                            {78, 45, 12, 10, kRect, 60, 60, 90},
                                            {66, 35, 12, 30, kRect, 60, 60, 90},
                                            {54, 25, 12, 50, kRect, 60, 60, 90}};

// The music lists' row buttons: add (a green plus) and play (a green disc with a white point).
const std::vector<IconShape> kPlus = {{40, 5, 20, 90, kRect, 60, 200, 60}, {5, 40, 90, 20, kRect, 60, 200, 60}};
// The level controls' step down, beside their plus; two dots cut at the plus's corners give it the
// plus's extent, so both are drawn at one scale.
const std::vector<IconShape> kMinus = {
    {5, 40, 90, 20, kRect, 60, 200, 60}, {5, 5, 1, 1, kRect, 0, 0, 0}, {94, 94, 1, 1, kRect, 0, 0, 0}};
const std::vector<IconShape> kPlay = {{0, 0, 100, 100, kEllipse, 60, 190, 60}, {28, 25, 44, 50, kTriangleUp, W, W, W}};

// ---- The audio, video and recorder pages' icons.
constexpr uint8_t kGreenR = 60, kGreenG = 200, kGreenB = 60;
constexpr uint8_t kInkR = 60, kInkG = 60, kInkB = 90;
// The green arrows of the level columns, the camera pad and the recorder's clip steps: a head and a shaft.
const std::vector<IconShape> kGreenUp = {{15, 5, 70, 45, kTriangleUp, kGreenR, kGreenG, kGreenB},
                                         {35, 50, 30, 45, kRect, kGreenR, kGreenG, kGreenB}};
const std::vector<IconShape> kGreenDown = {{35, 5, 30, 45, kRect, kGreenR, kGreenG, kGreenB},
                                           {15, 50, 70, 45, kTriangleDown, kGreenR, kGreenG, kGreenB}};
const std::vector<IconShape> kGreenLeft = {{5, 15, 45, 70, kTriangleLeft, kGreenR, kGreenG, kGreenB},
                                           {50, 35, 45, 30, kRect, kGreenR, kGreenG, kGreenB}};
const std::vector<IconShape> kGreenRight = {{5, 35, 45, 30, kRect, kGreenR, kGreenG, kGreenB},
                                            {50, 15, 45, 70, kTriangleRight, kGreenR, kGreenG, kGreenB}};
// Replay: a green ring open at its top right, its head pointing down into the gap.
const std::vector<IconShape> kReplay = {{5, 10, 80, 80, kEllipse, kGreenR, kGreenG, kGreenB},
                                        {21, 26, 48, 48, kEllipse, 0, 0, 0},
                                        {45, 5, 45, 45, kRect, 0, 0, 0},
                                        {56, 20, 40, 30, kTriangleDown, kGreenR, kGreenG, kGreenB}};
// Stop: a white square on a red disc, beside the green play disc.
const std::vector<IconShape> kStop = {{0, 0, 100, 100, kEllipse, 200, 60, 60}, {30, 30, 40, 40, kRect, W, W, W}};
// The speed slider's ends: two heads back and two forward.
const std::vector<IconShape> kRewind = {{5, 15, 45, 70, kTriangleLeft, kInkR, kInkG, kInkB},
                                        {50, 15, 45, 70, kTriangleLeft, kInkR, kInkG, kInkB}};
const std::vector<IconShape> kFastForward = {{5, 15, 45, 70, kTriangleRight, kInkR, kInkG, kInkB},
                                             {50, 15, 45, 70, kTriangleRight, kInkR, kInkG, kInkB}};
// The speaker selector's four positions: a speaker with a red cross (off), then one to three
// sound waves in front of the speaker's mouth, each wave an oval ring whose left part the cut
// takes, the rings spread more across than up so that they stay apart at a button's size. The
// speaker fills the icon's height, all the height the buttons give an icon, and all four share one
// extent, so the speaker stands at one place and size in each.
const IconShape kSpeakerExtent = {0, 0, 140, 100, kInvisible, 0, 0, 0};
std::vector<IconShape> Speaker(int waves) {
    constexpr int kMouthX = 70, kMouthY = 50, kWaveWidth = 11;
    std::vector<IconShape> shapes = {kSpeakerExtent};
    for (int wave = waves; wave >= 1; --wave) {
        const int rx = 10 + 20 * wave, ry = 14 + 12 * wave;
        const int ix = rx - kWaveWidth, iy = ry - kWaveWidth;
        shapes.push_back({kMouthX - rx, kMouthY - ry, 2 * rx, 2 * ry, kEllipse, kInkR, kInkG, kInkB});
        shapes.push_back({kMouthX - ix, kMouthY - iy, 2 * ix, 2 * iy, kEllipse, 0, 0, 0});
    }
    if (waves > 0) shapes.push_back({0, 0, kMouthX + 4, 100, kRect, 0, 0, 0});
    shapes.push_back({14, 30, 26, 40, kRect, kInkR, kInkG, kInkB});
    shapes.push_back({28, 2, 42, 96, kTriangleLeft, kInkR, kInkG, kInkB});
    if (waves == 0) {
        shapes.push_back({84, 26, 48, 48, kBandDown, 210, 50, 50, 14});
        shapes.push_back({84, 26, 48, 48, kBandUp, 210, 50, 50, 14});
    }
    return shapes;
}
const std::vector<IconShape> kSpeakerOff = Speaker(0), kSpeakerLow = Speaker(1), kSpeakerMedium = Speaker(2),
                             kSpeakerHigh = Speaker(3);
// The settings button of a zone's column: a gear of four teeth.
const std::vector<IconShape> kGear = {{42, 0, 16, 100, kRect, 90, 90, 120},
                                      {0, 42, 100, 16, kRect, 90, 90, 120},
                                      {15, 15, 70, 70, kEllipse, 90, 90, 120},
                                      {36, 36, 28, 28, kEllipse, 0, 0, 0}};
// The tuner's steps: one point to tune, two stacked to seek, dark as the calendar's arrows.
const std::vector<IconShape> kTuneUp = {{15, 25, 70, 50, kTriangleUp, kInkR, kInkG, kInkB}};
const std::vector<IconShape> kTuneDown = {{15, 25, 70, 50, kTriangleDown, kInkR, kInkG, kInkB}};
const std::vector<IconShape> kSeekUp = {{15, 5, 70, 45, kTriangleUp, kInkR, kInkG, kInkB},
                                        {15, 50, 70, 45, kTriangleUp, kInkR, kInkG, kInkB}};
const std::vector<IconShape> kSeekDown = {{15, 5, 70, 45, kTriangleDown, kInkR, kInkG, kInkB},
                                          {15, 50, 70, 45, kTriangleDown, kInkR, kInkG, kInkB}};

// The icon of a name: the menu entries', the music, media and level buttons' and the tuner's steps' names in
// both looks; null for another name.
const std::vector<IconShape>* IconNamed(std::string_view name) {
    const struct {
        std::string_view name;
        const std::vector<IconShape>* shapes;
    } kIcons[] = {
        {"I_LOGO", &kHouse},
        {"MAIN\\LOGO", &kHouse},
        {"I_POOL", &kPool},
        {"MAIN\\POOL", &kPool},
        {"MAIN\\LIGHT_OFF", &kLight},
        {"I_HVACOFF", &kClimate},
        {"MAIN\\HVAC_OFF", &kClimate},
        {"I_GHVACSTAT", &kSensors},
        {"I_GHVACSCHED", &kSchedules},
        {"MAIN\\PHOTOS", &kPhotos},
        {"MAIN\\INTERNET", &kWeb},
        {"TRANSPORT\\ICON32LEFT", &kArrowLeft},
        {"TRANSPORT\\ICON32RIGHT", &kArrowRight},
        {"TRANSPORT\\ICON32_PLUS_GREEN", &kPlus},
        {"TRANSPORT\\ICON32_MINUS_GREEN", &kMinus},
        {"TRANSPORT\\ICON32PLAY", &kPlay},
        {"TRANSPORT\\ICON32_UP_ARROW_GREEN", &kGreenUp},
        {"TRANSPORT\\ICON32_DOWN_ARROW_GREEN", &kGreenDown},
        {"TRANSPORT\\ICON32_LEFT_ARROW_GREEN", &kGreenLeft},
        {"TRANSPORT\\ICON32_RIGHT_ARROW_GREEN", &kGreenRight},
        {"TRANSPORT\\ICON32REPEAT", &kReplay},
        {"TRANSPORT\\ICON32STOP", &kStop},
        {"TRANSPORT\\ICON32REW", &kRewind},
        {"TRANSPORT\\ICON32FFW", &kFastForward},
        {"TRANSPORT\\MUSIC_CLOSE_32", &kSpeakerOff},
        {"TRANSPORT\\MUSIC_CONFIG_32", &kGear},
        {"speaker_0", &kSpeakerOff},
        {"speaker_1", &kSpeakerLow},
        {"speaker_2", &kSpeakerMedium},
        {"speaker_3", &kSpeakerHigh},
        {"TRANSPORT\\TUNER_TUNEUP", &kTuneUp},
        {"TRANSPORT\\TUNER_TUNEDOWN", &kTuneDown},
        {"TRANSPORT\\TUNER_SEEKUP", &kSeekUp},
        {"TRANSPORT\\TUNER_SEEKDOWN", &kSeekDown},
    };
    for (const auto& icon : kIcons)
        if (icon.name == name) return icon.shapes;
    return nullptr;
}

// Themed: the kind, then each colour as three ints. Unthemed: four ints the tablet skips, then
// each colour as the four bytes of a COLORREF.
Bytes IconAnswer(const std::vector<IconShape>& shapes, bool themed) {
    PayloadWriter out;
    if (themed)
        out.Int(kVectorKind);
    else
        out.Int(0).Int(0).Int(0).Int(0);
    out.Int(static_cast<int32_t>(shapes.size()));
    for (const IconShape& s : shapes) {
        out.Int(s.x).Int(s.y).Int(s.w).Int(s.h).Int(s.type).Int(s.param);
        if (themed)
            out.Int(s.r).Int(s.g).Int(s.b);
        else
            out.Byte(s.r).Byte(s.g).Byte(s.b).Byte(0);
    }
    return out;
}

std::vector<Frame> NoSuchPicture(const Frame& request) { return {{request.sender, ZVM_SESSION_ERROR, {}}}; }

}  // namespace

Bytes GardenPicture() {
    return MakePng(kGardenWidth, kGardenHeight, [](int x, int y) {
        const auto near = [x, y](int cx, int cy, int r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
        const int lawn = 96 + (x * 7 % 23) / 8;                                     // a gently rolling edge
        if (near(100, 26, 12)) return Rgb{255, 220, 90};                            // the sun
        if (near(40, 70, 26) && y < lawn) return Rgb{40, 120, 50};                  // the tree's crown
        if (x >= 36 && x < 44 && y >= 90 && y < lawn + 6) return Rgb{110, 70, 40};  // its trunk
        if (y < lawn) return Rgb{static_cast<uint8_t>(120 + y / 2), static_cast<uint8_t>(170 + y / 3), 235};
        for (int flower = 0; flower < 5; ++flower)
            if (near(14 + flower * 24, 128 + (flower % 2) * 14, 5))
                return flower % 2 ? Rgb{250, 210, 60} : Rgb{230, 70, 90};
        return Rgb{static_cast<uint8_t>(60 + (y - lawn) / 2), static_cast<uint8_t>(150 - (y - lawn) / 3), 60};
    });
}

namespace {

// The idle screen's logo.
Bytes LogoPicture() {
    // A blue wave in a white ring on black, which the tablet draws as transparent.
    return MakePng(kLogoWidth, kLogoHeight, [](int x, int y) {
        const double nx = (x - kLogoWidth / 2.0) / (kLogoWidth / 2.0),
                     ny = (y - kLogoHeight / 2.0) / (kLogoHeight / 2.0);
        const double r = std::sqrt(nx * nx + ny * ny);
        if (r > 1.0) return Rgb{0, 0, 0};
        if (r > 0.86) return Rgb{255, 255, 255};
        return ny > 0.25 * std::sin(nx * 6.0) ? Rgb{20, 90, 200} : Rgb{230, 240, 250};
    });
}

struct Picture {
    int width;
    int height;
    Bytes file;
};

}  // namespace

void ServePictures(Gateway& gateway, bool themed) {
    gateway.On(ZVM_IMAGE_GETICONQ, [themed](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        std::string name;
        const std::vector<IconShape>* icon = in.String(&name) ? IconNamed(name) : nullptr;
        if (!icon) return NoSuchPicture(request);
        return {{request.sender, ZVM_IMAGE_GETICONA, IconAnswer(*icon, themed)}};
    });
    // By name; a picture the house does not have is refused.
    auto pictures = std::make_shared<const std::map<std::string, Picture>>(std::map<std::string, Picture>{
        {"garden.png", {kGardenWidth, kGardenHeight, GardenPicture()}},
        {"logo.png", {kLogoWidth, kLogoHeight, LogoPicture()}},
    });
    // The house keeps no pictures of the older themed skin kind: every name is refused.
    gateway.On(ZVM_IMAGE_GETSKINQ, [](const Frame& request) { return NoSuchPicture(request); });
    // Unthemed: {width, height, length, file}; themed: the same after the file's type.
    for (const uint16_t request_id : {ZVM_IMAGE_GETTINTEDQ, ZVM_IMAGE_GETSKIN2Q}) {
        gateway.On(request_id, [pictures, request_id](const Frame& request) -> std::vector<Frame> {
            PayloadReader in(request.payload);
            std::string name;
            if (!in.String(&name)) return NoSuchPicture(request);
            const auto picture = pictures->find(name);
            if (picture == pictures->end()) return NoSuchPicture(request);
            const Picture& found = picture->second;
            PayloadWriter out;
            if (request_id == ZVM_IMAGE_GETSKIN2Q) out.Int(kPngType);
            out.Int(found.width).Int(found.height).Int(static_cast<int32_t>(found.file.size()));
            out.Raw(found.file.data(), found.file.size());
            return {{request.sender, static_cast<uint16_t>(request_id + 1), out}};
        });
    }
}

}  // namespace samplegateway

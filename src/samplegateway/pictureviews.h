#pragma once
// The sample house's answers to the picture controls of gateway pages: the
// named picture "logo.jpg" (any other name has no picture), an album's and a
// photo frame's current picture, the frame's web link, the weather image and
// a camera's snapshot, each made at the size asked for. An album view is told every ten
// seconds that the album's next picture is there.
namespace samplegateway {

class Gateway;
class Pacer;

// The one picture the house has by name.
inline constexpr char kNamedPicture[] = "logo.jpg";
inline constexpr char kFrameLink[] = "about:blank";

void ServePictureViews(Gateway& gateway, Pacer& pacer);

}  // namespace samplegateway

#pragma once
// The Showcase's disc changer (media object 90): three discs of titles whose ids run on from
// 101 across the discs. It answers its groups (0x125C), a disc's titles (0x1252), the state and
// the title each disc plays (0x1254) and each title's thumbnail (0x1015, a picture at the size
// asked); a play command (0x1256) changes the disc's title and the new state goes to every
// subscriber (0x1258, 0x125A), with the change notice 0x0FAF.
#include <cstdint>

namespace samplegateway {

class Gateway;

constexpr int32_t kTitlesObject = 90;
constexpr int32_t kFirstTitleId = 101;

void ServeTitles(Gateway& gateway);

}  // namespace samplegateway

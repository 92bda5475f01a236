// The control factory knows every control type whose class is built, once
// the program's page libraries have registered theirs; types outside the
// gateway's range have no maker.
#include <gtest/gtest.h>

#include "vistrel/home/homepages.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"

namespace {

TEST(PageControlTypes, EveryTypeWhoseClassIsBuiltHasItsMaker) {
    RegisterHomePages();
    RegisterMediaPages();
    // Labels and pictures, house mode, pool, climate, security, gateway check
    // buttons, panels, keypads, lighting, icon and logo buttons, the clock and
    // the video window.
    const int built[] = {100, 101, 102, 103, 104, 107, 108, 109, 111, 113, 114, 117, 118, 119, 120, 121,
                         122, 123, 124, 125, 126, 127, 128, 129, 133, 134, 135, 136, 137, 138, 139, 140,
                         141, 142, 143, 144, 145, 147, 149, 150, 153, 154, 156, 157, 158, 159, 160, 169,
                         170, 171, 172, 173, 174, 175, 177, 178, 179, 181, 185, 187, 188, 189};
    for (int type : built) EXPECT_NE(FindPageControlMaker(type), nullptr) << "type " << type;
    for (int type : {0, 99, 191, 0x7FFF}) EXPECT_EQ(FindPageControlMaker(type), nullptr) << "type " << type;
}

}  // namespace

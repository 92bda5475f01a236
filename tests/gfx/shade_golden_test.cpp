#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "effects_fixture.h"
#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/shadecorner.h"
#include "gfx/shaderect.h"
#include "support/golden.h"

namespace {

constexpr COLORREF kBackground = MakeColor(120, 120, 128);

// A bevelled panel of four corners, four edges and a face, as the shaded
// windows assemble them; a sunken panel has its shapes toggled, so that its
// rim takes the colour around it.
void Panel(CDibDC* target, CZVRect area, int size, int rim, int raised, bool sunken, COLORREF face) {
    const int x = area.x, y = area.y, w = area.w, h = area.h;
    // The face leaves the corners' squares to them.
    CShadeRect inside(x + rim, y + rim, x + w - rim - 1, y + h - rim - 1);
    inside.Render(face, kBackground, rim, raised, nullptr);
    const std::vector<CZVRect> corners{{x, y, size, size},
                                       {x + w - size, y, size, size},
                                       {x, y + h - size, size, size},
                                       {x + w - size, y + h - size, size, size}};
    inside.Draw(target, kShadePlain, &corners, nullptr);
    std::vector<std::unique_ptr<CShadeShape>> shapes;
    shapes.push_back(std::make_unique<CShadeCorner>(1, size, x, y, 0));
    shapes.push_back(std::make_unique<CShadeCorner>(2, size, x + w - size, y, 0));
    shapes.push_back(std::make_unique<CShadeCorner>(0, size, x, y + h - size, 0));
    shapes.push_back(std::make_unique<CShadeCorner>(3, size, x + w - size, y + h - size, 0));
    shapes.push_back(std::make_unique<CShadeEdge>(0, x + size, y, w - 2 * size, rim));
    shapes.push_back(std::make_unique<CShadeEdge>(2, x + size, y + h - rim, w - 2 * size, rim));
    shapes.push_back(std::make_unique<CShadeEdge>(1, x, y + size, rim, h - 2 * size));
    shapes.push_back(std::make_unique<CShadeEdge>(3, x + w - rim, y + size, rim, h - 2 * size));
    for (auto& shape : shapes) {
        if (sunken) shape->Toggle(true);
        if (!raised) shape->innerOutline = shape->outerOutline = 1;
        shape->Render(face, kBackground, rim, raised, target);
    }
}

class ShadeGolden : public fxtest::EffectsTest {};

TEST_F(ShadeGolden, LitCornersAndEdgesInEveryVariant) {
    CBitmapCache cache;
    m_style.flags = kStyleOutlines;
    SetShadeDepth(75);
    SetShadeCurve(10000);
    CDibDC scene(240, 164, 0, 0, 0);
    scene.FillRect(kBackground, 0, 0, 240, 164, 0);
    const COLORREF face = MakeColor(70, 110, 170);
    Panel(&scene, {8, 8, 108, 64}, 16, 5, 1, false, face);    // raised
    Panel(&scene, {124, 8, 108, 64}, 16, 5, 1, true, face);   // sunken
    Panel(&scene, {8, 80, 108, 64}, 16, 5, 0, true, face);    // pressed, with outlines
    Panel(&scene, {124, 80, 52, 36}, 10, 1, 1, false, face);  // rim 1
    Panel(&scene, {180, 80, 52, 36}, 10, 0, 1, false, face);  // no rim
    Panel(&scene, {124, 120, 108, 40}, 12, 3, 1, false, MakeColor(200, 200, 200));

    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(scene), "shade_panels"));
}

}  // namespace

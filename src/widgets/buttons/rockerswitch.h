#pragma once
// CRockerSwitch: a pill-shaped rocker cut into segments, each a bevelled
// button with its own command. Every segment's face is cut from one
// rendering of the whole switch, with a groove between neighbours.
#include <vector>

#include "widgets/buttons/zv3dbutton.h"

class CRockerSwitch;

class CRockerSwitchButton : public CZV3DButton {
public:
    CRockerSwitchButton(CRockerSwitch* rocker, CZVRect rect, int command, int styleClass);

    int HitTest(int x, int y) override;
    void CaptureSnapshot(CZVDC* dc) override;
    void RenderFace(int pressed) override;

private:
    CRockerSwitch* m_rocker;
};

class CRockerSwitch : public CZVWindow {
public:
    // vertical: segments stacked with the first at the bottom; else side by
    // side with the first at the left. Segments between the first and the
    // last send no command.
    CRockerSwitch(CZVWindow* parent, CZVRect rect, int styleClass, int firstCommand, int lastCommand, int vertical,
                  int segmentCount);
    ~CRockerSwitch() override;

    CRockerSwitchButton* GetSegment(int index);
    int GetSegmentCount() const { return static_cast<int>(m_segments.size()); }
    // Sides of the segment that meet a neighbour: 0x4 top, 0x8 bottom,
    // 0x2 right, 0x1 left.
    virtual int GetSegmentEdges(int index);
    CZV3DButton* CreateWholeButton();
    void RenderSegment(CRockerSwitchButton* segment, CDibDC* surface, int pressed);

    // A rectangle (switch coordinates) punched transparent into the faces.
    void SetCutOut(CZVRect rect, int radius) {
        m_cutOut = rect;
        m_cutOutRadius = radius;
    }
    void SetBaseSurfaceLook(int on) { m_baseSurfaceLook = on; }

protected:
    // Draws over a segment's freshly rendered face (segment coordinates);
    // the switch adds nothing.
    virtual void DecorateSegment(CRockerSwitchButton*, CDibDC*, int) {}

private:
    // Glosses the two halves of the whole face apart, once per face.
    void GlossHalves(CDibDC* face, int pressed);
    void AddGrooves(CRockerSwitchButton* segment, int edges, CDibDC* surface);

    std::vector<CRockerSwitchButton*> m_segments;
    CZV3DButton* m_whole = nullptr;
    int m_glossed[2] = {0, 0};
    CZVRect m_cutOut;
    int m_cutOutRadius = 0;
    int m_vertical;
    int m_baseSurfaceLook = 0;
};

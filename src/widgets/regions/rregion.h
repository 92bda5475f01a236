#pragma once
// CRRegion: the raised, rounded panel. Its face is a shaded, bevelled
// rounded rectangle drawn by a frame window that is never in the tree; the
// panel itself knows where its children may go (inside the rounded border)
// and which part of it is opaque.
#include "widgets/regions/shadewnd.h"

class CRRegion : public CZVWindow {
public:
    CRRegion(CZVWindow* parent, CZVRect rect, int styleClass);
    CRRegion(CZVWindow* parent, CZVRect rect, int leftInset, int rightInset, int topInset, int bottomInset,
             int styleClass);
    ~CRRegion() override;

    void GetContentRect(CZVRect* out) override;
    void OnFaceColorChanged(COLORREF colour) override;
    int GetTexture() override;
    void OnPaint(CZVDC* dc) override;
    std::optional<CZVRect> GetOpaqueRect() override;

    // Layout area of a panel not wider than high.
    virtual void GetContentRectTall(CZVRect* out);
    // Layout area of a panel wider than high (the corners along the long side).
    virtual void GetContentRectWide(CZVRect* out);
    // Layout area inset evenly on all sides.
    virtual void GetInsetRect(CZVRect* out);
    // Builds the frame window once.
    virtual void CreateFrame();

    int GetEdgeInset() const;
    int GetCornerInset() const;
    int GetRaisedLevel() const { return m_raisedLevel; }
    CShadeWnd* GetFrame() const { return m_frame; }
    void SetFrameFlags(int flags) { m_frameFlags = flags; }

protected:
    // The frame's shapes into dc, with the panel's back colour as its face.
    void PaintFrame(CZVDC* dc);
    // The frame's raised level; 0 makes it count as the base surface.
    void SetFrameRaisedLevel(int level);
    int ParentTexture() { return m_parent ? m_parent->GetTexture() : 0; }

    CShadeWnd* m_frame = nullptr;
    int m_leftInset = 0;
    int m_rightInset = 0;
    int m_topInset = 0;
    int m_bottomInset = 0;
    int m_frameFlags = 0;
};

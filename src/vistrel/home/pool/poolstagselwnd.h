#pragma once
// CPoolStagSelWnd: a colour light's delay in the swim, set with two arrows
// that repeat while held. Between them a strip of the controller's colours
// shows where in the colour cycle the light stands after its own delay and
// the delays of the lights before it. The delay goes to the gateway when
// an arrow is let go.
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "vistrel/shell/pbase.h"

class CPoolCircuit;
class CZV3DButton;

class CPoolStagSelWnd : public CSubPanel {
public:
    static constexpr int kRightId = 1002;
    static constexpr int kLeftId = 1003;
    static constexpr int kReleaseId = 1004;
    static constexpr int kMaxDelay = 120;  // half seconds: the 60-second cycle

    CPoolStagSelWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolCircuit* circuit, int rowId);
    ~CPoolStagSelWnd() override;

    void OnPaint(CZVDC* dc) override;
    int OnChildCommand(int id, int count) override;

    void PaintStrip(CZVDC* dc);
    void SetStart(int start) { m_start = start; }
    int GetStart() const { return m_start; }
    CZVRect GetStripRect() const { return m_stripRect; }
    CZV3DButton* GetArrow(int id) const { return id == kLeftId ? m_left : m_right; }
    // The text the strip shows.
    CZVString GetDelayText() const;

    // The colour of column x of a strip w wide that runs through the colours
    // and back to the first.
    static COLORREF GradientColor(int x, int w, const std::vector<COLORREF>& colors);
    // The delay after `steps` steps of 2 (negative: left), wrapping within 0..120.
    static int StepDelay(int delay, int steps);

private:
    void FillStrip();
    void RepaintStrip();

    CPoolCircuit* m_circuit;
    int m_rowId;
    int m_start = 0;
    CZVRect m_stripRect;
    std::unique_ptr<CDibDC> m_strip;
    std::unique_ptr<CDibDC> m_work;
    CZV3DButton* m_left = nullptr;
    CZV3DButton* m_right = nullptr;
};

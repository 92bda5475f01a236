#pragma once
// CVolumeCtl: one level (0..100) of a gateway audio object, made by the
// control factory: a minus button, a slider and a plus button. While a
// button is held the level goes out at most once every 100 ms; the last
// level always follows 250 ms after the last change, so the gateway ends on
// what the control shows.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CZV3DButton;
class CZVSlider;

class CVolumeCtl : public CZVWindow, public CSocketSink {
public:
    enum : int { kSliderId = 1000, kMinusId = 1001, kPlusId = 1002 };
    static constexpr uint32_t kSendGapMs = 100;
    static constexpr uint32_t kSettleMs = 250;
    static constexpr int kMaxButtonSize = 80;

    CVolumeCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int levelIndex, CZVString text, int fontSize,
               COLORREF textColour, COLORREF faceColour, int objectId);
    ~CVolumeCtl() override;

    int OnChildCommand(int id, int count) override;
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;

    CZVSlider* GetSlider() const { return m_slider; }
    CZV3DButton* GetMinus() const { return m_minus; }
    CZV3DButton* GetPlus() const { return m_plus; }
    int IsDirty() const { return m_dirty; }

private:
    CZV3DButton* AddStepButton(CZVRect rect, int id, const char* icon);
    void Send(int level);

    int32_t m_objectId;
    int m_levelIndex;
    CZVSlider* m_slider = nullptr;
    CZV3DButton* m_minus = nullptr;
    CZV3DButton* m_plus = nullptr;
    uint32_t m_lastSend;
    uint32_t m_lastChange;
    int m_dirty = 0;
};

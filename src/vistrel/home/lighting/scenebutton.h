#pragma once
// CSceneButton: a lighting scene on a gateway page (type 188), lit while the
// scene is active, activating it when touched and opening the scene's
// configuration when held; or a keypad button item (type 189), one button of
// a keypad shown on its own, lit by that button's LED and pressing it.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/buttons/zvchkbutton.h"

class CSceneButton : public CZVCheckButton, public CSocketSink {
public:
    enum : int { kClickId = 1000 };
    static constexpr int kSceneType = 188;
    static constexpr int kKeypadItemType = 189;
    static constexpr int kUnbound = 0x7FFF;
    static constexpr uint32_t kFlashAfter = 1000;   // ms held before the flashing
    static constexpr uint32_t kFlashInterval = 24;  // ms between flashes, exclusive
    static constexpr uint32_t kConfigAfter = 1500;  // ms held, exclusive, before the configuration opens

    CSceneButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int fontSize, COLORREF textColour,
                 COLORREF faceColour, int type, int objectId);
    ~CSceneButton() override;

    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    int OnLButtonDown(int x, int y, int keys) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // Asks the gateway which keypad button the item stands for.
    void RequestBinding();
    int GetKeypadId() const { return m_keypadId; }
    int GetButtonIndex() const { return m_buttonIndex; }
    // The look the last flash of a long press showed.
    int GetFlashState() const { return m_flashState; }

private:
    void Flash();
    void OpenConfiguration();

    int m_type;
    int32_t m_objectId;
    int32_t m_keypadId = kUnbound;
    int32_t m_buttonIndex = 0;
    int m_flashState = 0;
    uint32_t m_lastFlash;
    uint32_t m_pressTime;
};

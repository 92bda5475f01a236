#pragma once
// CSceneConfigPage: the popup "Configure Custom Scene": the scene's devices,
// one CSceneDeviceRow each with its level or on/off choice, and every
// device of the home, any of which can be added to the scene.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/window/overlay.h"

class CScrollPanel;
class CTextList;
class CZVRadio;
class CZVSlider;

class CSceneConfigPage : public CPopupWnd, public CSocketSink {
public:
    enum : int { kAddDeviceId = 1002, kReloadId = 1003 };
    static constexpr int kStyleClass = 5;

    CSceneConfigPage(CZVWindow* owner, CZVRect rect, CZVServer& server, int32_t sceneId);
    ~CSceneConfigPage() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    // Asks for the scene's devices; the answer replaces the rows.
    void RequestDevices();
    CScrollPanel* GetRows() const { return m_rows; }
    CTextList* GetAllDevices() const { return m_devices; }

private:
    void TakeAllDevices(CZVMSG& message);
    void TakeSceneDevices(CZVMSG& message);

    int32_t m_sceneId;
    CScrollPanel* m_rows = nullptr;
    CTextList* m_devices = nullptr;
};

class CSceneDeviceRow : public CZVWindow {
public:
    enum : int { kRemoveId = 1004, kLevelId = 1005, kOnOffId = 1006 };
    static constexpr int kStyleClass = 11;
    static constexpr int kDims = 0x1;

    CSceneDeviceRow(CZVWindow* parent, CZVRect rect, CZVString name, int32_t sceneId, int32_t row, int32_t value,
                    int32_t flags);

    int OnCommand(int id) override;

    // ZVM_SCENES_SETDEVICELEVEL {scene, row, value}.
    void SendValue(int32_t value);
    void UpdateLevelCaption();
    CZVSlider* GetSlider() const { return m_slider; }
    CZVRadio* GetRadio() const { return m_radio; }

private:
    int32_t m_sceneId;
    int32_t m_row;
    CZVSlider* m_slider = nullptr;
    CZVRadio* m_radio = nullptr;
};

#pragma once
// The top of a zone's main page: the heating and cooling set-point panels,
// each stepping its set point with auto-repeating buttons and sending it
// when the button is let go, and the "Room" column with the room value and
// a scale that marks the room value and both set points. The two set points
// keep at least 2 degrees apart on screen.
#include "vistrel/home/climate/climatemodel.h"
#include "widgets/regions/rregion.h"

class CCaptionFitter;
class CRockerSwitch;
class CZVLabel;

// The vertical scale of the "Room" column: a cool band from the top, a heat
// band from the bottom and a bar at the room value.
class CSetPointScale : public CZVWindow {
public:
    static constexpr COLORREF kBelowHeatColour = 0xC8C8FF;
    static constexpr COLORREF kAboveCoolColour = 0xFFC8C8;
    static constexpr COLORREF kComfortColour = 0x009600;

    CSetPointScale(CZVWindow* parent, CZVRect rect, int celsius);

    // Pixels from the bottom of a scale of that height: 55..100 degrees
    // Fahrenheit or 13..37 Celsius; 0 for an unknown value.
    static int Position(int value, int height, int celsius);

    void SetHeat(int value, int animate);
    void SetCool(int value, int animate);
    void SetRoom(int value, int animate);
    int GetHeat() const { return m_heat; }
    int GetCool() const { return m_cool; }
    int GetRoom() const { return m_room; }
    // The colour of the room bar: below the heat mark, above the cool mark,
    // or between them.
    COLORREF GetRoomColour() const;

    void OnPaint(CZVDC* dc) override;

private:
    int Y(int value) { return m_height - Position(value, m_height, m_celsius); }
    // Repaints when the mark's position changed.
    void Moved(int before, int after, int animate);

    int m_heat = -1;
    int m_cool = -1;
    int m_room = -1;
    int m_celsius;
};

// One set point with its caption, value and a rocker of down and up.
class CSetPointPanel : public CRRegion {
public:
    static constexpr int kStyleClass = 6;
    enum : int { kUpId = 1000, kDownId = 1001, kSendId = 1002 };
    static constexpr COLORREF kHeatIconColour = 0x0000FF;
    static constexpr COLORREF kCoolIconColour = 0xFF0000;

    CSetPointPanel(CZVWindow* parent, CZVRect rect, CThermostatZone& zone, CSetPointScale* scale, int heating,
                   COLORREF face, CCaptionFitter& captions);

    int OnCommand(int id) override;
    // Ignored from a status while a button of the panel is held.
    void SetValue(int value, int fromStatus, int animate);
    int GetValue() const { return m_value; }
    void SetPartner(CSetPointPanel* partner) { m_partner = partner; }
    int IsHeating() const { return m_heating; }
    int IsHeld();
    CRockerSwitch* GetRocker() const { return m_rocker; }
    CZVLabel* GetValueLabel() const { return m_label; }

private:
    void Step(int delta);
    void Send();

    CThermostatZone& m_zone;
    CSetPointScale* m_scale;
    int m_heating;
    CSetPointPanel* m_partner = nullptr;
    int m_value = kNoClimateValue;
    CRockerSwitch* m_rocker = nullptr;
    CZVLabel* m_label = nullptr;
};

class CThermostatDial : public CZVWindow {
public:
    static constexpr int kStyleClass = 6;

    CThermostatDial(CZVWindow* parent, CZVRect rect, CThermostatZone& zone);
    ~CThermostatDial() override;

    void UpdateFromZone(CThermostatZone& zone);

    // Null when the zone has no such equipment.
    CSetPointPanel* GetHeatPanel() const { return m_heat; }
    CSetPointPanel* GetCoolPanel() const { return m_cool; }
    CSetPointScale* GetScale() const { return m_scale; }
    CZVLabel* GetRoomLabel() const { return m_roomLabel; }

private:
    void BuildRoomColumn(CZVRect rect, COLORREF face, CCaptionFitter& captions, CThermostatZone& zone);
    // Adds or removes the panel as the mode asks; 1 when it is shown.
    int ShowPanel(CSetPointPanel* panel, int show, int animate);

    CSetPointPanel* m_heat = nullptr;
    CSetPointPanel* m_cool = nullptr;
    CRRegion* m_room = nullptr;
    CZVLabel* m_roomLabel = nullptr;
    CSetPointScale* m_scale = nullptr;
    int m_percent = 50;
};

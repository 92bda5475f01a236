#pragma once
// CAudioSourcePage: the base of every page that shows what an audio zone
// plays (music library, tuner, gateway-defined layout, or a plain notice).
// It receives the zone's audio messages through OnSourceMessage and sends
// the library commands of its zone.
#include "widgets/window/zvwindow.h"

class CZVMSG;

// What a source page asks of the page that shows it.
class CAudioSourceOwner {
public:
    // The sink id under which the owner talks to the gateway.
    virtual int GetSourceSinkId() = 0;
    // The source chosen in the current zone, -1 for none.
    virtual int GetSelectedSourceId() = 0;

protected:
    ~CAudioSourceOwner() = default;
};

class CAudioSourcePage : public CZVWindow {
public:
    // No library command goes out with this among its first three values.
    static constexpr int kNoValue = -1;

    // The owner may be null (a page shown on its own): sink id 0, no source.
    CAudioSourcePage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass);

    // A message of the zone; visible tells whether the page may repaint.
    virtual void OnSourceMessage(CZVMSG* /*message*/, int /*visible*/) {}

    CAudioSourceOwner* GetOwner() const { return m_owner; }
    int GetOwnerSinkId() const;
    // The current audio zone, -1 when there is none.
    int GetZone() const;
    // {zone, a, b, c, d}; nothing when a, b or c is kNoValue. 0 when nothing went out.
    int SendLibraryCommand(int a, int b, int c, int d);
    // {zone, a, b, c, d, e, the chosen source}.
    int SendPlayCommand(int a, int b, int c, int d, int e);
    // Asks for the status of the zone's source, answered to the owner.
    int RequestSourceStatus();

private:
    CAudioSourceOwner* m_owner;
};

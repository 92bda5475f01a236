#pragma once
// CWeatherLabel: the gateway's weather text (control type 112), asked for
// again whenever the gateway says the weather changed.
#include "core/zvserver.h"
#include "widgets/text/zvlabel.h"

struct CPageControlArgs;

class CWeatherLabel : public CZVLabel, public CSocketSink {
public:
    static constexpr int kType = 112;
    static constexpr int kStyleClass = 5;
    static constexpr COLORREF kWhite = 0xFFFFFF;

    CWeatherLabel(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CWeatherLabel() override;

    void OnMessage(CZVMSG* message) override;

private:
    void RequestText();
};

CZVWindow* MakeWeatherLabel(CPageControlArgs& args);
// The weather controls' rows of the page control factory.
void RegisterWeatherControls();

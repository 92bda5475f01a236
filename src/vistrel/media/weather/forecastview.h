#pragma once
// CForecastView: the forecast as a row of day tiles (control type 106), or a
// column when the view is taller than wide, as many as fit. Each tile
// (CForecastDayView) shows the day's name, its high and low, its text and the
// gateway's picture of the day, which the tile asks for at its own size.
#include <memory>
#include <string>

#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

class CForecastDay;
struct CPageControlArgs;

// The font of the tiles' texts: 14, larger on screens over 600 pixels high.
int GetForecastFontSize();
// How many tiles a view of that size shows of n days, with the maximum (0:
// no limit).
int ForecastTileCount(int width, int height, int days, int maximum);
// The colours of the high and low values beside that text colour.
struct CForecastColors {
    COLORREF high;
    COLORREF low;
};
CForecastColors ForecastColorsFor(COLORREF textColor);

class CForecastView : public CZVWindow, public CSocketSink {
public:
    static constexpr int kType = 106;
    static constexpr int kAcrossPitch = 60;
    static constexpr int kStackedPitch = 35;

    CForecastView(CZVWindow* parent, CZVRect rect, CZVServer& server, int maximumDays);
    ~CForecastView() override;

    void OnMessage(CZVMSG* message) override;

private:
    void RequestForecast();
    void Build(CZVMSG* message);

    int m_maximumDays;
};

class CForecastDayView : public CZVWindow, public CSocketSink {
public:
    static constexpr int kMinIcon = 26;
    static constexpr int kStackedText = 100;  // the text's room beside a stacked tile's icon
    static constexpr int kIconFrame = 2;
    static constexpr int kValueWidth = 40;
    static constexpr int kWrapLookBack = 10;
    static constexpr int kTextLines = 2;

    CForecastDayView(CZVWindow* parent, CZVRect rect, CZVServer& server, const CForecastDay& day, int index,
                     COLORREF textColor, int vertical);
    ~CForecastDayView() override;

    // The square icon's side in a tile of that size.
    static int IconSizeFor(int width, int height, int vertical);

    void OnPaint(CZVDC* dc) override;
    void OnMessage(CZVMSG* message) override;

    int GetIconSize() const { return m_iconSize; }
    CDibDC* GetIcon() const { return m_icon.get(); }
    COLORREF GetHighColor() const { return m_highColor; }
    COLORREF GetLowColor() const { return m_lowColor; }
    int GetDayOfWeek() const { return m_dayOfWeek; }

private:
    void TakeIcon(CZVMSG* message);
    void DrawIcon(CZVDC* dc);

    int m_index;
    int m_high;
    int m_low;
    std::string m_dayText;
    int m_dayOfWeek;
    int m_iconSize;
    std::unique_ptr<CDibDC> m_icon;
    COLORREF m_highColor;
    COLORREF m_lowColor;
    int m_vertical;
    // A tile takes one icon answer only.
    int m_iconAnswered = 0;
};

CZVWindow* MakeForecastView(CPageControlArgs& args);

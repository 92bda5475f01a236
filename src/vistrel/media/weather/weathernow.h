#pragma once
// CWeatherNowWnd: the current conditions as a table of captions and values
// (control type 105), in one column, or in columns of five rows when the
// window is wide. It asks the gateway for the weather and asks again
// whenever the gateway says the weather changed.
#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CZVLabel;
struct CPageControlArgs;

// Rows, columns and font size of a conditions table of that size.
struct CWeatherNowLayout {
    static constexpr int kEntries = 10;
    int rows = kEntries;
    int columns = 1;
    int fontSize = 0;
};
// The font size 0 chooses one from the height.
CWeatherNowLayout LayoutWeatherNow(int width, int height, int fontSize);

class CWeatherNowWnd : public CZVWindow, public CSocketSink {
public:
    static constexpr int kType = 105;
    static constexpr int kEntries = CWeatherNowLayout::kEntries;
    static constexpr int kMinFont = 12;
    static constexpr int kMaxFont = 24;
    static constexpr COLORREF kWhite = 0xFFFFFF;
    static constexpr int kTextFormat = 17;

    CWeatherNowWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize);
    ~CWeatherNowWnd() override;

    void OnMessage(CZVMSG* message) override;

    const CWeatherNowLayout& GetLayout() const { return m_layout; }
    CZVLabel* GetCaption(int entry) const { return m_captions[entry]; }
    CZVLabel* GetValue(int entry) const { return m_values[entry]; }

private:
    void RequestWeather();
    void Update(CZVMSG* message, int redraw);
    // Every caption and value placed in columns as wide as their widest texts
    // need, spread over the window's width.
    void PlaceColumns();
    // The cell of entry i, filled down a column before the next starts.
    CZVRect CellOf(int entry) const;

    CZVLabel* m_captions[kEntries] = {};
    CZVLabel* m_values[kEntries] = {};
    CWeatherNowLayout m_layout;
};

CZVWindow* MakeWeatherNow(CPageControlArgs& args);

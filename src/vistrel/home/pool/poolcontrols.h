#pragma once
// Two pool controls that gateway pages can hold, each with a pool model of
// its own that it refreshes by asking the status every ten seconds (no
// subscription); neither reacts to touches.
// CPoolCircuitGrid (type 118): every circuit's name in a grid, those that
// are on in the highlight colour. CPoolStatusPage (type 117): a table of
// temperatures, set points, heat modes and states, spa-side remotes and
// freeze mode.
#include <memory>
#include <string>
#include <vector>

#include "core/basinsetup.h"
#include "core/serverlink.h"
#include "widgets/window/zvwindow.h"

class CZVLabel;

// What both controls share: the model, the sink and the status poll.
class CPoolStatusControl : public CZVWindow, public CSocketSink {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kPollInterval = 10000;  // ms

    CPoolStatusControl(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour, int bevelType);
    ~CPoolStatusControl() override;

    int OnLButtonDown(int, int, int) override { return 0; }
    int OnLButtonUp(int, int, int) override { return 0; }
    void OnTimer() override { RequestStatus(); }
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    void RequestStatus();
    CBasinSetup& GetModel() { return *m_model; }

protected:
    // Shows the model's status.
    virtual void ShowStatus() = 0;
    // Starts the poll once the derived control stands.
    void Start();

    int m_bevelType;

private:
    CServerLink m_link;
    std::unique_ptr<CBasinSetup> m_model;
};

class CPoolCircuitGrid : public CPoolStatusControl {
public:
    struct Grid {
        int columns = 0;
        int rows = 0;
        int cellWidth = 0;
        int cellHeight = 0;
    };
    // The grid of count cells in width x height: columns grow while cells
    // are more than ten times as wide as high. Nothing (0 columns) when
    // the cells cannot be a pixel high.
    static Grid PlanGrid(int count, int width, int height);

    CPoolCircuitGrid(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour, int maxFontSize,
                     int bevelType);

    int GetLabelCount() const { return static_cast<int>(m_labels.size()); }
    CZVLabel* GetLabel(int index) const { return m_labels[static_cast<size_t>(index)].second; }
    int GetCircuitId(int index) const { return m_labels[static_cast<size_t>(index)].first; }

protected:
    void ShowStatus() override;

private:
    std::vector<std::pair<int32_t, CZVLabel*>> m_labels;
};

class CPoolStatusPage : public CPoolStatusControl {
public:
    CPoolStatusPage(CZVWindow* parent, CZVRect rect, CZVServer& server, COLORREF textColour, int fontSize,
                    int bevelType);

    // The row's value, cut with "..." to its width; nothing without the row.
    void SetRowValue(int key, const std::string& text);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetRowKey(int index) const { return m_rows[static_cast<size_t>(index)].key; }
    CZVLabel* GetCaption(int index) const { return m_rows[static_cast<size_t>(index)].caption; }
    CZVLabel* GetValue(int index) const { return m_rows[static_cast<size_t>(index)].value; }

protected:
    void ShowStatus() override;

private:
    struct Row {
        int key;
        CZVLabel* caption;
        CZVLabel* value;
    };
    std::vector<Row> m_rows;
};

// The factory's makers of types 117 and 118.
struct CPageControlArgs;
CZVWindow* MakePoolStatusTable(CPageControlArgs& args);
CZVWindow* MakePoolCircuitGrid(CPageControlArgs& args);

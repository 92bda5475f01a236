#pragma once
// CSystemList: the monitor's one list, as the main window's system list (one
// row per customer system, 27 columns) or as a history window's list (one
// row per stored record: date, time and 22 readings). It gives every cell's
// text and colours, the sort order, the right-click actions and the default
// widths, and serves the alarm mail its columns and long names.
#include <functional>
#include <string>
#include <vector>

#include "sentinax/alarmmail.h"
#include "sentinax/sortlist.h"

class CSentinaxDlg;
struct CSystemRecord;

// What a column shows.
enum ColumnKind {
    kColumnName = 0,
    kColumnSerial = 1,
    kColumnAdapterVersion = 2,
    kColumnModel = 3,
    kColumnFirmware = 4,
    kColumnAirTemp = 5,
    kColumnPoolPump = 6,
    kColumnPoolSetPoint = 7,
    kColumnPoolTemp = 8,
    kColumnPoolHeatMode = 9,
    kColumnSpaPump = 10,
    kColumnSpaSetPoint = 11,
    kColumnSpaTemp = 12,
    kColumnSpaHeatMode = 13,
    kColumnSpaSideRemote = 14,
    kColumnLights = 15,
    kColumnPumpPresent = 16,
    kColumnAlarms = 17,
    kColumnSalt = 18,
    kColumnPoolChlorine = 19,
    kColumnSpaChlorine = 20,
    kColumnPh = 21,
    kColumnOrp = 22,
    kColumnAcidTank = 23,
    kColumnChlorineTank = 24,
    kColumnWaterBalance = 25,
    kColumnStatus = 26,
    kColumnDate = 27,
    kColumnTime = 28,
};

// A reading of a temperature: 0 and 255 were not read.
std::string GetTemperatureText(int value);
std::string GetOnOffText(int value);
ColorRef GetHeatStatusColor(int heatStatus);

// How the view measures texts in the fonts it draws with: a cell's text in
// the list's font, a title's widest line in the header's, and the height of
// a title's line.
struct CListFontMeasure {
    std::function<int(const std::string&)> cellText;
    std::function<int(const std::string&)> titleLine;
    int titleLineHeight = 0;
};

class CSystemList : public CSortListCtrl, public CSystemColumns {
public:
    // Windows up to this wide get the narrow default widths.
    static constexpr int kNarrowWindow = 1280;
    // No column is made wider than this to show a long value whole.
    static constexpr int kMaxReadableWidth = 200;

    // mainDialog is null for a history list.
    CSystemList(CSentinaxDlg* mainDialog, bool history);

    bool IsHistory() const { return m_history; }
    // The rows, one per system, in the order given; the owner sorts after.
    void Fill(const std::vector<CSystem*>& systems);

    int GetKindOfColumn(int column) const;
    // The place of the column in the system list, which picks its rules.
    int GetRuleIndex(int column) const;
    bool IsVerticalColumn(int column) const;
    bool IsSortableColumn(int column) const;
    // The client width of the list's window, 0 while there is none.
    void SetWindowWidth(int width) { m_windowWidth = width; }
    // From now on the default widths show every title and value whole.
    void SetFontMeasure(CListFontMeasure measure) { m_measure = std::move(measure); }
    // Each column at least as wide as its title and values need (measured
    // when a font measure is set, at most kMaxReadableWidth), and never
    // narrower than the window's default for it.
    void SetDefaultWidths();
    // The widths SetDefaultWidths found readable; the header keeps columns
    // from shrinking below them. Empty while no font measure is set.
    const std::vector<int>& GetReadableWidths() const { return m_readableWidths; }
    static std::string GetColumnName(int kind);

    void ApplyColumns() override;
    std::string GetSortKey(const CSystem* system, int column) const override;
    void OnRightClick(int row, int column, int x, int y) override;
    std::string GetCellText(const CSystem* system, int column) const override;
    ColorRef GetCellBackColor(const CSystem* system, int column) const override;
    ColorRef GetCellTextColor(const CSystem* system, int column) const override;
    bool IsColumnCentered(int column) const override;

    // The columns as the alarm mail reads them.
    int GetColumnCount() const override { return CSortListCtrl::GetColumnCount(); }
    std::string GetLongTitle(int column) const override { return GetColumnName(GetKindOfColumn(column)); }
    std::string GetCellText(const CSystem& system, int column) const override { return GetCellText(&system, column); }

private:
    std::string RuleText(const CSystemRecord& system, int rule) const;
    ColorRef StatusColor(const CSystemRecord& system) const;
    int MeasureReadableWidth(int column) const;

    CSentinaxDlg* m_mainDialog;
    bool m_history;
    std::vector<int> m_kinds;
    int m_windowWidth = 0;
    CListFontMeasure m_measure;
    std::vector<int> m_readableWidths;
};

#pragma once
// CTunerStationList: a list of favourites, genres or stations whose rows come
// whole with the gateway's answer, each carrying its CStationRecord, with
// one tune button per row.
#include <memory>
#include <vector>

#include "vistrel/media/music/audiolist.h"
#include "vistrel/media/tuner/stationrecord.h"

class CTunerStationList : public CAudioLibListBase {
public:
    // The built-in icon of the rows' tune button: the play triangle.
    static constexpr int kTuneIcon = 1;

    CTunerStationList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server, int fontSize, int rowHeight);
    ~CTunerStationList() override;

    // Row height and selected-row height alike.
    void SetRowHeights(int height);
    // The row button (the tune icon in the colour) that sends the command, width wide.
    void SetTuneButton(int commandId, int width, COLORREF colour);
    // A new row at the end with the text, carrying the record.
    void AddStation(const std::string& text, CStationRecord record);
    // Empties the list without redraw, the records with it.
    void ClearRows();
    // The record of the row at the index, or of the selected row; null when none.
    const CStationRecord* RecordAt(int index);
    const CStationRecord* SelectedRecord();
    int GetRowButtonWidth() const { return m_rowButtonWidth; }

private:
    std::vector<std::unique_ptr<CStationRecord>> m_records;
    int m_tuneCommand = kNoCommand;
    COLORREF m_tuneColour = 0;
};

// Gives the window the style's texture when the style asks for textured panels.
void TextureByStyle(CZVWindow* window);

#pragma once
// CStationFavoritesPage: the "Station Favorites" panel of the tuner pages,
// the stations the gateway keeps as favourites with a tune button on each
// row, and "Delete Station" and "Rename Station". A compact panel numbers its
// rows, tunes by row index and has no Delete button.
#include "core/zvserver.h"
#include "widgets/regions/rregion.h"

class CTunerStationList;
class CZV3DButton;

class CStationFavoritesPage : public CRRegion, public CSocketSink {
public:
    enum : int {
        kDeleteId = 1011,
        kRenameId = 1012,
        kSelectedId = 1013,
        kTuneId = 1014,
        kRenamedId = 1015,
    };
    // Favourite lists: the tuner page's and the station browse page's.
    enum : int { kTunerList = 0, kBrowseList = 1 };
    static constexpr int kMaxGrownRowHeight = 40;

    CStationFavoritesPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int listKind, int fontSize, int rowHeight,
                          int rowButtonWidth, int kindWord);
    ~CStationFavoritesPage() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    void RequestList();
    // Rebuilds the list from a favourites list; a compact panel ignores a
    // list when told to.
    void ReadFavorites(CZVMSG* message, int ignore);
    // Marks the current station: its row (compact) or the row of its id (full).
    void SelectFavorite(int value, int redraw);
    void ClearRows();

    CTunerStationList* GetList() const { return m_list; }
    CZV3DButton* GetDeleteButton() const { return m_delete; }
    CZV3DButton* GetRenameButton() const { return m_rename; }
    int IsCompact() const { return m_compact; }

private:
    void EnableEditButtons(int enable, int redraw);
    // The row that marks the value (compact: the row index; full: the row of the station id), or -1.
    int RowOf(int value);
    void GrowRows(int count);
    void FitRowFont();
    int IsBlocked();
    void TuneSelected();
    void DeleteSelected();
    void RenameSelected();

    CTunerStationList* m_list = nullptr;
    CZV3DButton* m_delete = nullptr;
    CZV3DButton* m_rename = nullptr;
    int m_listKind;
    int m_kindWord;
    int m_compact;
    // The value of the station last marked, which a rebuilt list marks again.
    int m_marked = -1;
};

#pragma once
// CTitlesList: the titles of one group of a media device as a text list.
// The title the device plays is drawn as a selected row in the colour of the
// device's state; the "Play" button on the selected row plays its title.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/lists/textlist.h"

class CTitlesList : public CTextList, public CSocketSink {
public:
    static constexpr int kPlayCommand = 1000;
    static constexpr int kPlayIcon = 1;
    static constexpr COLORREF kSelectionTint = 0xFF6400;

    CTitlesList(CZVWindow* parent, CZVRect rect, CZVServer& server, int object, int fontSize);
    ~CTitlesList() override;

    // Shows the titles of group g, asking for them and for the titles played.
    void SetGroup(int group);
    // Plays the selected row's title; no command goes to the parent.
    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;

    int GetGroup() const { return m_group; }
    int GetCurrentTitle() const { return m_currentTitle; }
    int GetState() const { return m_state; }
    static int32_t TitleOf(const CListItem* row);

private:
    void ShowTitles(CZVMSG* message);
    void ShowState(CZVMSG* message);
    // The current title's row carries no row buttons; the others do.
    void MarkCurrentRow();

    int m_object;
    int m_group = 0;
    int m_currentTitle = 0;
    int m_state = -1;
};

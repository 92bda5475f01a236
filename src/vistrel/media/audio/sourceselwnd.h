#pragma once
// The source selector of an audio zone: "Off" and one option per source of
// the zone. CSourceRadioWnd shows them in one row of radio options;
// CSourceListWnd, for zones with many sources, shows a bar with "Off", the
// current source and an arrow that slides the list of every source in over
// the bottom of the screen. A choice sends the selector's command to its
// parent, which reads GetSelectedItem.
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "vistrel/media/audio/auddata.h"
#include "widgets/buttons/zvchkbutton.h"

class CRRegionRadio;

// What an option stands for; "Off" is source -1.
struct CSourceOption {
    static constexpr int kOff = -1;

    int sourceId = kOff;
    int value = kOff;  // the source kind
    CZVString name;
    CZVString iconName;
};

class CSourceSelWnd : public CZVWindow {
public:
    static constexpr int kCommand = 6000;
    // The options' group command and the open list's dismissal.
    static constexpr int kOptionChosen = 1200;
    static constexpr int kListDismissed = 1201;
    static constexpr int kOptionClass = 16;

    CSourceSelWnd(CZVWindow* parent, CZVRect rect, int commandId);
    ~CSourceSelWnd() override;

    // Shows the zone's sources; a null zone builds nothing.
    virtual void Build(const CAudioZone* zone) = 0;
    // Marks the source's option (none for an id no option has).
    virtual void SetSelection(int sourceId, int detail, int redraw) = 0;
    // The record of the first option that is on; null when none is.
    virtual const CSourceOption* GetSelectedItem() const;

    // The window was built for exactly these sources (ids, kinds, names and
    // icon names in order) and the same "Off" choice.
    bool IsSameSourceList(const CAudioZone* zone) const;

    int GetOptionCount() const { return static_cast<int>(m_options.size()); }
    CZVCheckButton* GetOption(int index) const { return m_options[static_cast<size_t>(index)]; }
    const CSourceOption& GetOptionRecord(int index) const { return *m_records[static_cast<size_t>(index)]; }

protected:
    // An option button under `parent` (not added as its child) carrying the record.
    CZVCheckButton* AddOption(CZVWindow* parent, CZVRect rect, const CSourceOption& record);
    // Remembers what Build was given, for IsSameSourceList.
    void NoteBuiltFrom(const CAudioZone* zone);
    // The selector's command to the parent.
    void SendChoice();

private:
    std::vector<CZVCheckButton*> m_options;  // owned
    std::vector<std::unique_ptr<CSourceOption>> m_records;
    std::vector<CAudioSource> m_builtSources;
    bool m_built = false;
    bool m_builtWithOff = false;
    int m_commandId;
};

class CSourceRadioWnd : public CSourceSelWnd {
public:
    static constexpr int kRegionClass = 6;
    static constexpr int kIconLayout = 17;
    static constexpr int kFlatIconLayout = 9;

    CSourceRadioWnd(CZVWindow* parent, CZVRect rect, int commandId) : CSourceSelWnd(parent, rect, commandId) {}

    void Build(const CAudioZone* zone) override;
    void SetSelection(int sourceId, int detail, int redraw) override;
    int OnCommand(int id) override;

    CRRegionRadio* GetRegion() const { return m_region; }

private:
    CRRegionRadio* m_region = nullptr;
};

class CSourceListWnd : public CSourceSelWnd {
public:
    static constexpr int kArrow = 1202;
    static constexpr int kOff = 1203;
    static constexpr int kBarClass = 17;
    static constexpr int kColumnStyleClass = 3;
    static constexpr unsigned kSlideMs = 250;

    CSourceListWnd(CZVWindow* parent, CZVRect rect, int commandId) : CSourceSelWnd(parent, rect, commandId) {}
    ~CSourceListWnd() override;

    void Build(const CAudioZone* zone) override;
    void SetSelection(int sourceId, int detail, int redraw) override;
    int OnCommand(int id) override;
    // A repaint of the bar closes an open list at once.
    void Paint(CZVDC* dc, int withBackground) override;

    // Opens (slides in) or closes (slides out) the list of every source.
    void ShowList(int show);
    int IsListOpen() const { return m_listOpen; }
    CRRegionRadio* GetListRegion() const { return m_list; }
    CZVCheckButton* GetOffButton() const { return m_offButton; }
    CZVCheckButton* GetCurrentButton() const { return m_current; }

    // The grid of the open list: columns by the screen's width over the
    // style's column width, balanced over the rows.
    static void ListGrid(int options, int screenWidth, int columnWidth, int* columns, int* rows);

private:
    void OpenList();
    // Takes the list away: with slide, back out over the saved background.
    void DropList(bool slide);

    CRRegionRadio* m_list = nullptr;
    std::unique_ptr<CDibDC> m_background;
    int m_listOpen = 0;
    CZVCheckButton* m_offButton = nullptr;
    CZVCheckButton* m_current = nullptr;
    CZV3DButton* m_arrow = nullptr;
    bool m_currentHasIcon = false;
};

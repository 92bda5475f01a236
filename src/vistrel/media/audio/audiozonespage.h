#pragma once
// The main menu's Audio page (command 5006): the home's audio zones as tabs
// (the gateway's source preview entry in a side list), and for the chosen
// zone a band with its source selector, a column for its settings at the
// right, and the page of the source that plays in the zone, made anew
// whenever a zone state names another source.
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/media/audio/auddata.h"
#include "vistrel/shell/audiosourcepage.h"
#include "vistrel/shell/pbase.h"

class CAudioSettingsWnd;
class CSourceSelWnd;
class CTabContainer;

class CAudioZonesPage : public CPageBase, public CSocketSink, public CAudioSourceOwner {
public:
    static constexpr int kPageId = 5006;
    static constexpr int kFirstZoneTab = 4000;
    static constexpr int kLastZoneTab = 4099;
    static constexpr int kPreviewEntry = 4100;
    static constexpr int kSelectorCommand = 6000;
    static constexpr int kZoneOff = 5051;
    static constexpr int kAllLibraryTabs = 31;

    CAudioZonesPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CAudioZonesPage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;
    int OnIdle(int busy) override;
    void OnResume() override;
    void Rebuild() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    // CAudioSourceOwner
    int GetSourceSinkId() override { return GetId(); }
    int GetSelectedSourceId() override;

    // The name of the source last chosen, empty while no zone is current.
    CZVString GetSourceName() const;
    // Whether a library page offers the tab of the bit (1, 2, 4, 8, 16, 32).
    int IsLibraryTabEnabled(int bit) const;
    int CountLibraryTabs() const;
    void SetSourceListener(void* listener) { m_sourceListener = listener; }
    void* GetSourceListener() const { return m_sourceListener; }

    // The flags of the zone's settings column: 8 for the preview entry;
    // else 16 for zone kind 4, or 1 for kind 1 plus 2 with the extra
    // control; plus 4 with a settings layout.
    static int SettingsFlags(const CAudioZone& zone);
    // The most sources the selector shows in a row under the style flags;
    // more make it the list form. -1: no limit.
    static int SourceRowLimit(int styleFlags);

    int IsLoading() const { return m_loading; }
    int HasPreview() const { return m_hasPreview; }
    CTabContainer* GetZoneTabs() const;
    CTabContainer* GetPreviewList() const;
    CSourceSelWnd* GetSelector() const { return m_selector; }
    CAudioSourcePage* GetSourcePage() const { return m_sourcePage; }
    CAudioSettingsWnd* GetSettingsColumn() const { return m_settings; }
    CZVRect GetSelectorRect() const { return m_selectorRect; }
    CZVRect GetSettingsRect() const { return m_settingsRect; }
    CZVRect GetSourcePageRect() const { return m_sourcePageRect; }
    int GetSourceSubId() const { return m_sourceSubId; }
    int GetLibraryBits() const { return m_libraryBits; }

private:
    // The zone list, as tabs and the preview entry; false when it could not be read.
    bool BuildZoneTabs();
    // The command of the tab at a position; kNoCommand when there is none.
    int TabCommand(int position) const;
    int ClampRememberedTab();
    void SelectZone(int command, int redraw);
    void RebuildSelector(int redraw);
    // Makes the settings column fill its strip; one elsewhere or of another size is made anew.
    void PlaceSettingsColumn();
    void DeleteSettingsColumn();
    // Hands the current zone and its layout flags to the settings column.
    void UpdateSettingsColumn(int redraw);
    void OnSelectorChoice();
    void OnZoneState(CZVMSG* message);
    void OnZoneIcons(CZVMSG* message);
    // 1 when a new source page was made.
    int ShowSource(int kindWord, int subId, const CAudDataList& path);
    void DeleteSourcePage();
    void Send(uint16_t id, std::initializer_list<int32_t> values);
    int CanRepaint();

    std::vector<std::unique_ptr<CAudioZone>> m_zones;  // every entry of the list
    std::vector<const CAudioZone*> m_tabZones;         // by tab position
    std::vector<int> m_tabCommands;                    // by tab position
    const CAudioZone* m_previewZone = nullptr;
    int m_loading = 0;
    int m_hasPreview = 0;
    CAudDataList m_sourcePath;
    std::unique_ptr<CZVMSG> m_pendingState;
    int m_pendingRepaint = 0;
    void* m_sourceListener = nullptr;
    CZVRect m_sourcePageRect{0, 0, 0, 0};
    CZVRect m_settingsRect{0, 0, 0, 0};
    CZVRect m_selectorRect{0, 0, 0, 0};
    CAudioSourcePage* m_sourcePage = nullptr;
    int m_sourceType = 0x7FFFFFFF;
    int m_sourceSubId = -1;
    CZVString m_sourceName;
    CSourceSelWnd* m_selector = nullptr;
    CAudioSettingsWnd* m_settings = nullptr;
    int m_libraryBits = kAllLibraryTabs;
};

// Registers the Audio page with the shell.
void RegisterAudioPages();

#pragma once
// Wizard step 5, "Configure Spa-Side Remotes (Step 5 of 5)": what each button
// of the spa-side remotes switches, in configuration byte table 3, ten
// entries per group of buttons; sent at every change. The fourth ten-button
// remote and the four-button remotes share entries 30 to 33 and 35 to 38.
#include <memory>
#include <vector>

#include "basinsetup/dialogcontrols.h"
#include "core/basinsetup.h"

enum : int {
    IDC_REMOTE_TABS = 1061,
    IDC_TOP_CAPTION = 1044,
    IDC_BOTTOM_CAPTION = 1048,
    IDC_BUTTON5_CAPTION = 1085,
    IDC_SHARE_NOTE = 1080,
};

// The ten button boxes in entry order: top row buttons 1 to 5, bottom row 1 to 5.
inline constexpr int kRemoteButtonIds[10] = {1072, 1073, 1074, 1075, 1040, 1076, 1077, 1078, 1079, 1041};
// The "*" beside the shared buttons: top row 1 to 4, bottom row 1 to 4.
inline constexpr int kShareMarkerIds[8] = {1086, 1046, 1087, 1088, 1089, 1090, 1091, 1092};

// Tab kinds: 0 to 3 the ten-button remotes, 4 the four-button remotes, 5 the wired one.
enum : int { kRemoteKp4 = 4, kRemotePivana = 5 };

class CStep5Dlg : public CDialogLogic {
public:
    CStep5Dlg(CDialogView& view, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;
    // The selected tab's kind, -1 without one; its group of ten entries.
    int GetTabKind() const;
    int GetGroup() const;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    void AddTab(std::vector<CListItem>& tabs, const char* text, int kind);
    std::vector<CListItem> OfferedItems(bool heatEntries) const;
    void SelectStored();
    // The table 3 entry of a button box of the selected tab.
    int ButtonEntry(int box) const;
    void OnSelchangeTab();
    void OnSelchangeButton(int id);

    std::shared_ptr<CBasinSetup> m_model;
};

#pragma once
// CAudioLibBrowseWnd: a browse tree that a music source offers besides its
// own library (a media server, an online catalogue). Each gateway answer is
// one level: a row of header buttons, the path from the root to the level,
// and the level's entries, which can be opened, played, added to the queue
// or searched. Opening a level slides a "Loading" panel in while the answer
// is on its way.
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CAudioLibSearchBox;
class CCoverArtList;
class CZV3DButton;

class CAudioLibBrowseWnd : public CZVWindow, public CSocketSink {
public:
    enum : int {
        kGoCommand = 1000,
        kPlayCommand = 1001,
        kAddCommand = 1002,
        kSearchCommand = 1003,
        kSearchGoCommand = 1004,
        kFirstHeaderCommand = 1010,
        kLastHeaderCommand = 1100,
        kUpCommand = 1103,
        kListCommand = 1104,
    };
    // The actions of ZVM_AUDIO_GETCOVERARTQ.
    enum : int { kOpenAction = 0, kPlayAction = 1, kAddAction = 2, kCoverAction = 3 };
    static constexpr int kHeaderHeight = 40;
    static constexpr int kHeaderGap = 5;
    static constexpr int kButtonClass = 17;
    static constexpr unsigned kSlideMs = 250;

    CAudioLibBrowseWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int sourceId);
    ~CAudioLibBrowseWnd() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int GetSourceId() const { return m_sourceId; }
    int GetCurrentNode() const { return m_node; }
    CCoverArtList* GetList() const { return m_list; }
    int GetHeaderCount() const { return static_cast<int>(m_headerIds.size()); }
    CZV3DButton* GetHeaderButton(int i) const { return m_headerButtons[static_cast<size_t>(i)]; }
    int GetHeaderNode(int i) const { return m_headerIds[static_cast<size_t>(i)]; }
    CAudioLibSearchBox* GetSearchBox() const { return m_searchBox; }
    // The search box went: the main window deletes it on its next idle pass.
    void ForgetSearchBox() { m_searchBox = nullptr; }

private:
    void SendBrowse(int node, int entry, int action, const std::string& text);
    // The selected row's entry id and search text; 0 and "" with none.
    void SelectedEntry(int* entry, std::string* text);
    void Open(int entry, const std::string& text, int slideFromRight);
    void ReadHeader(CZVMSG* message, int count);
    void ReadEntries(CZVMSG* message, int count);
    void ClearHeader();
    void ShowLoading(int fromRight);
    void OpenSearch();
    void SearchGo();

    int m_sourceId;
    int m_node = 0;
    CCoverArtList* m_list = nullptr;
    CZVWindow* m_header = nullptr;
    std::vector<int> m_headerIds;
    std::vector<CZV3DButton*> m_headerButtons;
    CAudioLibSearchBox* m_searchBox = nullptr;
};

#pragma once
// CTitlesWnd: a media device's titles on a gateway page (control types 146
// and 148): a tab per group of titles and, below, the selected group as a
// text list or as a grid of thumbnails with a Play band. The title each group
// plays is marked in the colour of the device's state.
#include <memory>

#include "core/zvserver.h"
#include "widgets/tabs/trregion.h"

class CPicWnd;
class CPictureFolder;
class CTitlesList;
struct CPageControlArgs;

class CTitlesWnd : public CTRRegion, public CSocketSink {
public:
    static constexpr int kListType = 146;
    static constexpr int kThumbnailType = 148;
    static constexpr int kStyleClass = 6;
    static constexpr int kPlayCommand = 1000;
    static constexpr int kSelectCommand = 1001;
    static constexpr int kFirstTab = 1002;
    static constexpr int kLastTab = 1202;
    static constexpr const char* kNoTitles = "No Titles Found";
    // Thumbnails grow by these steps from 60 x 80.
    static constexpr int kBaseWidth = 60;
    static constexpr int kBaseHeight = 80;
    static constexpr int kWidthStep = 30;
    static constexpr int kHeightStep = 40;
    // A thumbnail without a state colour of its own is framed in red.
    static constexpr COLORREF kOtherStateColour = 0x0000FF;

    // thumbnails: 0 for the text list. sizeStep sets the thumbnails' size.
    CTitlesWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int object, int sizeStep, int thumbnails,
               int fontSize);
    ~CTitlesWnd() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;

    int GetObject() const { return m_object; }
    int GetGroup() const { return m_group; }
    int GetGroupCount() const { return m_groupCount; }
    int GetCurrentTitle() const { return m_currentTitle; }
    int GetState() const { return m_state; }
    int GetThumbnailWidth() const { return m_thumbnailWidth; }
    int GetThumbnailHeight() const { return m_thumbnailHeight; }
    CTitlesList* GetList() const { return m_list; }
    CPicWnd* GetThumbnails() const { return m_thumbnails; }
    CPictureFolder* GetFolder() const { return m_folder.get(); }

private:
    void ShowGroups(CZVMSG* message);
    void SelectGroup(int group);
    void ShowTitles(CZVMSG* message);
    void ShowState(CZVMSG* message);
    // Frames the thumbnail of the current title in the state's colour.
    void HighlightCurrent();
    void Play();

    int m_object;
    int m_currentTitle = 0;
    int m_state = 0;
    int m_thumbnailWidth;
    int m_thumbnailHeight;
    int m_group = 0;
    int m_groupCount = 0;
    CTitlesList* m_list = nullptr;    // child, text mode
    CPicWnd* m_thumbnails = nullptr;  // child, thumbnail mode
    std::unique_ptr<CPictureFolder> m_folder;
};

// The page control factory's maker for types 146 and 148.
CZVWindow* MakeTitles(CPageControlArgs& args);
void RegisterTitlesControls();

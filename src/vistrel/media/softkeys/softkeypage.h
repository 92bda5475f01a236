#pragma once
// CSoftKeyPage: the page of a set-top box source (type 3102), a remote
// keypad of ten keys whose captions the gateway gives a page at a time.
// Each key goes back as a source command with the key list and page last
// reported; "PAGE" asks for the next page, "CH +" and "CH -" change channel.
#include <array>

#include "vistrel/shell/audiosourcepage.h"

class CZV3DButton;
class CZVLabel;

class CSoftKeyPage : public CAudioSourcePage {
public:
    static constexpr int kKeyCount = 10;
    static constexpr int kFirstKey = 1001;
    static constexpr int kPageButton = 1011;
    static constexpr int kChannelUp = 1015;
    static constexpr int kChannelDown = 1016;
    static constexpr int kFirstKeyCode = 5020;
    static constexpr int kChannelUpCode = 5034;
    static constexpr int kChannelDownCode = 5035;
    // The key list the gateway starts a newly chosen source with.
    static constexpr int kFirstList = 5038;

    // Asks for the first page of keys at once; the title shows the zone's source until then.
    CSoftKeyPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass, CZVString sourceName);

    int OnCommand(int id) override;
    void OnSourceMessage(CZVMSG* message, int visible) override;

    void SendKey(int code);

    int GetListId() const { return m_listId; }
    int GetPageNumber() const { return m_page; }
    CZVLabel* GetTitle() const { return m_title; }
    CZVLabel* GetCaption(int key) const { return m_captions[static_cast<size_t>(key)]; }
    CZVLabel* GetPageLabel() const { return m_pageLabel; }
    CZV3DButton* GetKey(int key) const { return m_keys[static_cast<size_t>(key)]; }

private:
    void Build(CZVString sourceName);
    void RequestKeys(int listId, int page);
    void TakeKeys(CZVMSG* message, int redraw);
    void ShowPageNumber(int redraw);

    int m_listId = 0;
    int m_page = 0;
    CZVLabel* m_title = nullptr;
    std::array<CZVLabel*, kKeyCount> m_captions{};
    CZVLabel* m_pageLabel = nullptr;
    std::array<CZV3DButton*, kKeyCount> m_keys{};
};

// Registers the page with the audio zones page's source-page factory.
void RegisterSoftKeyPage();

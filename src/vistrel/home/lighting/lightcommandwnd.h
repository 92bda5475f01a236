#pragma once
// CLightCommandWnd: two lists to pick a lighting command from, a keypad and
// one of its scene commands (mode 0) or a switch and one of its actions
// (mode 1). "Add" on the chosen command tells the owner.
#include <cstdint>

#include "widgets/window/zvwindow.h"

class CTextList;
class CZVServer;

// Who takes the picked commands; each answers 1 when it asked for the command.
class ILightCommandOwner {
public:
    virtual ~ILightCommandOwner() = default;
    virtual int AddKeypadCommand(int32_t command) = 0;
    virtual int AddSwitchCommand(int32_t switchId, int32_t action) = 0;
};

class CLightCommandWnd : public CZVWindow {
public:
    enum : int { kKeypads = 0, kSwitches = 1 };
    enum : int { kLeftId = 1000, kRightId = 1001, kAddId = 1002 };

    CLightCommandWnd(CZVWindow* parent, ILightCommandOwner* owner, CZVRect rect, int styleClass, int mode,
                     CZVServer& server);

    int OnCommand(int id) override;

    CTextList* GetLeftList() const { return m_left; }
    CTextList* GetRightList() const { return m_right; }

private:
    // Empties the list and fills it with the query's {id, name} answers.
    void Fill(CTextList* list, uint16_t query, int32_t argument, int withArgument);
    static int32_t SelectedId(CTextList* list);

    CZVServer& m_server;
    ILightCommandOwner* m_owner;
    int m_mode;
    CTextList* m_left = nullptr;
    CTextList* m_right = nullptr;
};

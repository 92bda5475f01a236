#include "vistrel/home/lighting/lightcommandwnd.h"

#include "core/messages/schedulemessages.h"
#include "core/zvquery.h"
#include "vistrel/home/schedule/schedulereaders.h"
#include "widgets/lists/textlist.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kCaptionFont = 16;
constexpr int kCaptionFormat = 0x11;
constexpr int kCaptionHeight = 20;
constexpr int32_t kSwitchDevices = 1;

struct ModeTexts {
    const char* left;
    const char* right;
};
constexpr ModeTexts kTexts[] = {{"Keypads", "Scene Commands"}, {"Switches", "Action Commands"}};

}  // namespace

CLightCommandWnd::CLightCommandWnd(CZVWindow* parent, ILightCommandOwner* owner, CZVRect rect, int styleClass, int mode,
                                   CZVServer& server)
    : CZVWindow(parent, rect, styleClass),
      m_server(server),
      m_owner(owner),
      m_mode(mode == kSwitches ? kSwitches : kKeypads) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetBackColor());
    }
    const int c = rect.w / 2;
    m_left = new CTextList(this, CZVRect(0, kCaptionHeight, c - 1, rect.h - 19), kLeftId);
    AddChild(m_left);
    m_right = new CTextList(this, CZVRect(c + 2, kCaptionHeight, rect.w - c - 1, rect.h - 19), kRightId);
    m_right->SetRowHeight(2 * m_right->GetRowHeight());
    m_right->SetSelectedRowHeight(m_right->GetRowHeight());
    m_right->AddRowButton("", 0, "Add", kAddId, 0, 0, 1);
    AddChild(m_right);
    for (const auto& [x, w, text] :
         {std::tuple{0, c - 1, kTexts[m_mode].left}, std::tuple{c + 2, rect.w - c - 1, kTexts[m_mode].right}}) {
        CZVLabel* caption = AddLabel(CZVRect(x, 0, w, kCaptionHeight), text, kCaptionFont);
        caption->SetTextFormat(kCaptionFormat);
        // The list's own text colour: readable on every style's face.
        caption->SetTextColor(m_left->GetTextColor());
    }
    if (m_mode == kKeypads)
        Fill(m_left, ZVM_LIGHTS_GETKEYPADLISTQ, 0, 0);
    else
        Fill(m_left, ZVM_LIGHTS_GETDEVICESQ, kSwitchDevices, 1);
}

void CLightCommandWnd::Fill(CTextList* list, uint16_t query, int32_t argument, int withArgument) {
    list->RemoveAll(0);
    CZVQuery ask(m_server);
    CZVMSG request(0, query);
    if (withArgument) request.WriteInt(argument);
    CZVMSG* answer = nullptr;
    std::vector<CLightItemRecord> items;
    if (ask.Query(&answer, &request)) ReadLightItems(*answer, &items);
    for (const CLightItemRecord& item : items)
        list->AddString(item.name.c_str(), reinterpret_cast<void*>(static_cast<intptr_t>(item.id)));
}

int32_t CLightCommandWnd::SelectedId(CTextList* list) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(list->GetSelectedData()));
}

int CLightCommandWnd::OnCommand(int id) {
    if (id == kLeftId && m_left->GetSelected()) {
        Fill(m_right, m_mode == kKeypads ? ZVM_LIGHTS_GETKEYPADSQ : ZVM_LIGHTS_GETSWITCHESQ, SelectedId(m_left), 1);
        m_right->Redraw(1);
    } else if (id == kAddId && m_owner && m_right->GetSelected()) {
        if (m_mode == kKeypads)
            m_owner->AddKeypadCommand(SelectedId(m_right));
        else if (m_left->GetSelected())
            m_owner->AddSwitchCommand(SelectedId(m_left), SelectedId(m_right));
    }
    return 1;
}

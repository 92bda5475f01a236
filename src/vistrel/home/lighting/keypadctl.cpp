#include "vistrel/home/lighting/keypadctl.h"

#include <algorithm>
#include <cctype>

#include "core/messages/lightingmessages.h"
#include "core/zvquery.h"
#include "gfx/speed.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kTextureFlag = 0x2000;
constexpr int kLargeCaptionParentClass = 101;
constexpr int kTabRowClass = 3;
constexpr int kEditorButtonClass = 16;
constexpr int kSmallestGivenFont = 8;
constexpr int kUpArrowIcon = 6;
constexpr int kDownArrowIcon = 7;
constexpr int kEditorMargin = 10;
constexpr int kEditorButtonsHeight = 90;

// The caption's first five characters, in capitals.
bool StartsWithWord(const std::string& caption, const char* word) {
    if (caption.size() < 5) return false;
    for (size_t i = 0; i < 5; ++i)
        if (std::toupper(static_cast<unsigned char>(caption[i])) != word[i]) return false;
    return true;
}

}  // namespace

CZVRect KeypadTargetRect(CZVRect area, int outlineWidth, int outlineHeight, int keepAspect) {
    if (!keepAspect || outlineWidth <= 0 || outlineHeight <= 0) return area;
    CZVRect target = area;
    if (int64_t{outlineWidth} * area.h > int64_t{outlineHeight} * area.w)
        target.h = static_cast<int>(int64_t{area.w} * outlineHeight / outlineWidth);
    else
        target.w = static_cast<int>(int64_t{area.h} * outlineWidth / outlineHeight);
    target.x = area.x + (area.w - target.w) / 2;
    target.y = area.y + (area.h - target.h) / 2;
    return target;
}

CZVRect ScaleKeypadButton(const CKeypadButtonRecord& b, const CKeypadRecord& outline, CZVRect area) {
    const int64_t w = int64_t{outline.right} - outline.left;
    const int64_t h = int64_t{outline.bottom} - outline.top;
    return CZVRect(area.x + static_cast<int>((int64_t{b.x} - outline.left) * area.w / w),
                   area.y + static_cast<int>((int64_t{b.y} - outline.top) * area.h / h),
                   static_cast<int>(int64_t{b.width} * area.w / w), static_cast<int>(int64_t{b.height} * area.h / h));
}

CKeypadCtl::CKeypadCtl(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, int keypadId, int framed,
                       int fontSize, COLORREF textColour, int keepAspect)
    : CZVWindow(parent, rect, styleClass),
      CSocketSink(server),
      m_keypadId(keypadId),
      m_framed(framed),
      m_keepAspect(keepAspect),
      m_fontSize(fontSize),
      m_captionColour(textColour),
      m_pressTime(platform::GetTickCount()) {
    server.RegisterSink(this);
    if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(this);
    if (parent) SetFaceColor(parent->GetFaceColor());
    BuildButtons(0);
    SendPair(ZVM_LIGHTS_REGISTERKEYPADQ, GetId(), 0);
    AskLeds();
}

CKeypadCtl::~CKeypadCtl() {
    if (CZVServer* server = GetServer()) {
        server->UnregisterSink(this);
        SendPair(ZVM_LIGHTS_UNREGISTERKEYPAD, GetId(), 0);
    }
    if (CMainWndBase* main = GetMainWnd(); main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
    RemoveEditor();
    DeleteButtons();
}

void CKeypadCtl::SendPair(uint16_t id, int32_t second, uint16_t sender) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(sender, id);
    message.WriteInt(m_keypadId);
    message.WriteInt(second);
    server->Send(&message);
}

void CKeypadCtl::AskLeds() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_LIGHTS_GETKEYPADLEDSQ);
    message.WriteInt(m_keypadId);
    server->Send(&message);
}

void CKeypadCtl::SendTouch(uint16_t id, int button) {
    SendPair(id, button, GetId());
    AskLeds();
}

// ---- building

void CKeypadCtl::DeleteButtons() {
    for (CZV3DButton* button : m_buttons) {
        if (CZVWindow* host = button->GetParent()) host->RemoveChild(button);
        delete button;
    }
    m_buttons.clear();
    m_kinds.clear();
    m_heldButton = -1;
    if (m_panel) {
        RemoveChild(m_panel);
        delete m_panel;
        m_panel = nullptr;
    }
}

void CKeypadCtl::BuildButtons(int redraw) {
    DeleteButtons();
    CZVServer* server = GetServer();
    if (!server) return;
    CZVQuery query(*server, 1);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_LIGHTS_GETKEYPADQ);
    request.WriteInt(m_keypadId);
    CKeypadRecord keypad;
    if (!query.Query(&answer, &request) || !ReadKeypad(*answer, &keypad)) return;
    if (!m_framed && !keypad.buttons.empty()) {
        keypad.left = keypad.top = INT32_MAX;
        keypad.right = keypad.bottom = INT32_MIN;
        for (const CKeypadButtonRecord& b : keypad.buttons) {
            keypad.left = std::min(keypad.left, b.x);
            keypad.top = std::min(keypad.top, b.y);
            keypad.right = static_cast<int32_t>(std::max<int64_t>(keypad.right, int64_t{b.x} + b.width));
            keypad.bottom = static_cast<int32_t>(std::max<int64_t>(keypad.bottom, int64_t{b.y} + b.height));
        }
    }
    // An empty or inverted outline has nothing to scale by.
    const int64_t outlineWidth = int64_t{keypad.right} - keypad.left;
    const int64_t outlineHeight = int64_t{keypad.bottom} - keypad.top;
    if (outlineWidth <= 0 || outlineHeight <= 0 || outlineWidth > INT32_MAX || outlineHeight > INT32_MAX) return;
    CZVRect client;
    GetClientRect(&client);
    const CZVRect target =
        KeypadTargetRect(client, static_cast<int>(outlineWidth), static_cast<int>(outlineHeight), m_keepAspect);
    CZVWindow* host = this;
    CZVRect area = target;
    if (m_framed) {
        m_panel = new CRRegion(this, target, kPanelClass);
        if (CSetServer::CurrentFlags() & kTextureFlag) m_panel->SetTexture(1);
        m_panel->SetCornerRadius(m_height * 30 / 550);
        m_panel->SetBevel(m_height * 30 / 1100);
        AddChild(m_panel);
        m_panel->GetContentRect(&area);
        host = m_panel;
    }
    for (size_t k = 0; k < keypad.buttons.size(); ++k) {
        const CKeypadButtonRecord& desc = keypad.buttons[k];
        CZV3DButton* button = MakeButton(host, desc, ScaleKeypadButton(desc, keypad, area), static_cast<int>(k),
                                         static_cast<int>(outlineWidth));
        host->AddChild(button);
        m_buttons.push_back(button);
        m_kinds.push_back(desc.kind);
    }
    StyleCaptions(host);
    if (redraw) Redraw(1);
}

CZV3DButton* CKeypadCtl::MakeButton(CZVWindow* host, const CKeypadButtonRecord& desc, CZVRect rect, int index,
                                    int outlineWidth) {
    CZV3DButton* button = nullptr;
    if (desc.kind == kMomentary)
        button = new CZV3DButton(host, rect, kNoCommand, kButtonClass);
    else if (desc.kind == kMomentaryWithLed)
        button = new CZVCheckButton(host, rect, kNoCommand, kButtonClass);
    else
        button = new CZVCheckButton(host, rect, kClickBase + index, kButtonClass);
    if (desc.kind == kMomentary || desc.kind == kMomentaryWithLed)
        button->SetPressIds(kPressBase + index, kReleaseBase + index);
    button->SetFaceColor(desc.face);
    button->SetCornerRadius(static_cast<int>(std::min<int64_t>(100, int64_t{2} * desc.corner * 100 / outlineWidth)));
    if (!m_framed && GetParent()) button->SetBackColor(GetParent()->GetFaceColor());
    if (StartsWithWord(desc.caption, "RAISE"))
        button->SetIconKind(kUpArrowIcon, nullptr);
    else if (StartsWithWord(desc.caption, "LOWER"))
        button->SetIconKind(kDownArrowIcon, nullptr);
    else
        button->CZVWindow::SetText(CZVString(desc.caption.c_str()), nullptr, 0);
    // Buttons that look alike share their faces.
    const bool withLed = button->AsCheckButton() != nullptr;
    for (CZV3DButton* earlier : m_buttons) {
        if ((earlier->AsCheckButton() != nullptr) == withLed && earlier->IsSameLook(button)) {
            button->SetLookSource(earlier);
            break;
        }
    }
    return button;
}

void CKeypadCtl::StyleCaptions(CZVWindow* host) {
    for (size_t k = 0; k < m_buttons.size(); ++k) {
        CZV3DButton* button = m_buttons[k];
        COLORREF colour = m_captionColour;
        if (!colour) {
            const bool large = GetParent() && GetParent()->GetStyleClass() == kLargeCaptionParentClass;
            colour = ScaleColor(large ? 0.35 : 0.25, button->GetFaceColor());
        }
        button->SetTextColor(colour);
        if (m_fontSize >= kSmallestGivenFont) button->SetFontSize(m_fontSize);
    }
    if (m_fontSize < kSmallestGivenFont) {
        CCaptionFitter fitter(host);
        fitter.AddChildren(host, kButtonClass, -1);
    }
}

// ---- touches

int CKeypadCtl::OnCommand(int id) {
    const int count = GetButtonCount();
    if (id >= kClickBase && id < kClickBase + count) {
        SendTouch(ZVM_LIGHTS_KEYPADPRESS, id - kClickBase);
        return 1;
    }
    if (id >= kPressBase && id < kPressBase + count) {
        m_heldButton = id - kPressBase;
        m_pressTime = platform::GetTickCount();
        return 1;
    }
    if (id >= kReleaseBase && id < kReleaseBase + count) {
        const int button = id - kReleaseBase;
        if (button == m_heldButton) {
            m_heldButton = -1;
            SendTouch(ZVM_LIGHTS_KEYPADCLICK, button);
        } else {
            SendTouch(ZVM_LIGHTS_KEYPADRELEASE, button);
        }
        return 1;
    }
    if (id == kSaveId && m_editor) {
        SaveEditor();
        return 1;
    }
    if (id == kCancelId && m_editor) {
        CloseEditor();
        return 1;
    }
    return CZVWindow::OnCommand(id);
}

int CKeypadCtl::OnIdle(int busy) {
    if (m_heldButton >= 0 && platform::GetTickCount() - m_pressTime >= kHoldTime) {
        const int button = m_heldButton;
        m_heldButton = -1;
        SendTouch(ZVM_LIGHTS_KEYPADHOLD, button);
    }
    return CZVWindow::OnIdle(busy);
}

// ---- LEDs

void CKeypadCtl::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_LIGHTS_GETKEYPADLEDSA:
    case ZVM_LIGHTS_KEYPADLEDSCHANGED:
        if (!m_editor) TakeLeds(*message);
        break;
    case ZVM_LIGHTS_KEYPADENTRYCHANGED:
        if (m_editor) TakeEntry(*message);
        break;
    default: break;
    }
}

void CKeypadCtl::TakeLeds(CZVMSG& message) {
    std::vector<int32_t> states;
    if (!ReadKeypadLeds(message, &states) || static_cast<int>(states.size()) != GetButtonCount()) return;
    const int repaint = !CMainWndBase::InputBlockedFor(this) && IsShown();
    for (size_t k = 0; k < states.size(); ++k) {
        CZVCheckButton* check = HasLed(m_kinds[k]) ? m_buttons[k]->AsCheckButton() : nullptr;
        const int on = states[k] != 0;
        if (check && check->GetCheck() != on) check->SetCheck(on, 0, repaint);
    }
}

void CKeypadCtl::OnConnect(int connected) {
    CZVServer* server = GetServer();
    if (!connected || !server || m_keypadId == -1 || CMainWndBase::InputBlockedFor(this)) return;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_LIGHTS_REGISTERKEYPADQ);
    request.WriteInt(m_keypadId);
    request.WriteInt(GetId());
    query.Query(&answer, &request);
}

// ---- programming editor

void CKeypadCtl::OnKeyDown(int key, int) {
    if (key != platform::VK_RIGHT || m_editor) return;
    for (size_t k = 0; k < m_buttons.size(); ++k) {
        if (HasLed(m_kinds[k]) && m_buttons[k]->IsPressed()) {
            OpenEditor(static_cast<int>(k));
            return;
        }
    }
}

void CKeypadCtl::OpenEditor(int button) {
    CZVServer* server = GetServer();
    if (!server) return;
    m_editorButton = button;
    DeleteButtons();
    const CZVRect r(kEditorMargin, kEditorMargin, m_width - 19,
                    m_height - CSetServer::CurrentStyle(kTabRowClass, 1) - 19);
    m_editor = new CColumnListWnd(this, CZVRect(r.x, r.y, r.w, r.h - 100), 3, kNoCommand);
    m_editor->SetColumnTitle(0, "Controller");
    m_editor->SetColumnTitle(1, "Device/Scene");
    m_editor->SetColumnTitle(2, "Action");
    AddChild(m_editor);
    const int half = r.w / 2 - kEditorMargin;
    const int top = r.y + r.h - kEditorButtonsHeight;
    m_save = Add3DButtonDefault(CZVRect(r.x, top, half, kEditorButtonsHeight), kSaveId, kEditorButtonClass, "Save");
    m_cancel = Add3DButtonDefault(CZVRect(r.x + r.w - half, top, half, kEditorButtonsHeight), kCancelId,
                                  kEditorButtonClass, "Cancel");
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_LIGHTS_SAVECOMMANDQ);
    request.WriteInt(GetId());
    if (!query.Query(&answer, &request)) {
        CloseEditor();
        return;
    }
    Redraw(1);
}

void CKeypadCtl::TakeEntry(CZVMSG& message) {
    CKeypadEntryRecord entry;
    if (!ReadKeypadEntry(message, &entry)) return;
    for (int i = static_cast<int>(m_entries.size()) - 1; i >= 0; --i) {
        const CKeypadEntryRecord& row = m_entries[static_cast<size_t>(i)];
        if (row.a != entry.a || row.b != entry.b) continue;
        m_editor->RemoveItemAt(i);
        m_entries.erase(m_entries.begin() + i);
    }
    CColumnListItem* row = m_editor->AddRow();
    for (int column = 0; column < 3; ++column) row->SetText(column, CZVString(entry.texts[column].c_str()));
    m_entries.push_back(std::move(entry));
    if (IsShown() && !CMainWndBase::InputBlockedFor(m_editor)) m_editor->Redraw(1);
}

void CKeypadCtl::SaveEditor() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(0, ZVM_LIGHTS_SETKEYPADENTRIESQ);
    request.WriteInt(m_keypadId);
    request.WriteInt(m_editorButton);
    request.WriteInt(static_cast<int32_t>(m_entries.size()));
    for (const CKeypadEntryRecord& row : m_entries) {
        request.WriteInt(row.a);
        request.WriteInt(row.b);
        request.WriteInt(row.c);
    }
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    // Unanswered, the editor stays open so that nothing is lost.
    if (query.Query(&answer, &request)) CloseEditor();
}

void CKeypadCtl::RemoveEditor() {
    auto drop = [this](auto*& part) {
        if (!part) return;
        RemoveChild(part);
        delete part;
        part = nullptr;
    };
    drop(m_editor);
    drop(m_save);
    drop(m_cancel);
    m_entries.clear();
    m_editorButton = -1;
}

void CKeypadCtl::CloseEditor() {
    RemoveEditor();
    if (CZVServer* server = GetServer()) {
        CZVQuery query(*server);
        CZVMSG* answer = nullptr;
        CZVMSG request(0, ZVM_LIGHTS_GETKEYPADENTRIESQ);
        query.Query(&answer, &request);
    }
    BuildButtons(0);
    Redraw(1);
}

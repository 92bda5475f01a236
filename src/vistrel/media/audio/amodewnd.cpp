#include "vistrel/media/audio/amodewnd.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "platform/report.h"
#include "vistrel/media/audio/audioreaders.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kWindowClass = 18;
constexpr int kButtonClass = 17;
constexpr int kMaxShape = 1000;  // width x 100 / height of a button
constexpr int kMinGap = 2;
constexpr int kMaxGap = 10;
constexpr double kSetBrighter = 1.25;

}  // namespace

CModeGrid ModeGridOf(int n, int width, int height) {
    if (n < 1) return {};
    const int64_t ratio = int64_t{width} * 100 / std::max(height, 1);
    if (n * ratio <= kMaxShape) return {1, n};
    for (int c = 2; c < n; ++c) {
        const int r = (n + c - 1) / c;
        if (ratio * r / c <= kMaxShape) return {c, r};
    }
    return {n, 1};
}

CAModeWnd::CAModeWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int group, CZVString text, int fontSize,
                     COLORREF textColour, COLORREF faceColour, int objectId)
    : CZVWindow(parent, rect, kWindowClass),
      CSocketSink(server),
      m_objectId(objectId),
      m_group(group),
      m_textColour(textColour),
      m_fontSize(fontSize),
      m_givenFace(faceColour != 0) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    if (faceColour) SetFaceColor(faceColour);
    CZVWindow::SetText(text, nullptr, 0);
    server.RegisterSink(this);
    CZVMSG modes(GetId(), ZVM_AUDIO_GETMODESQ);
    modes.WriteInt(m_objectId);
    modes.WriteInt(m_group);
    server.Send(&modes);
    CZVMSG control(GetId(), ZVM_AUDIO_GETCONTROLQ);
    control.WriteInt(m_objectId);
    server.Send(&control);
}

CAModeWnd::~CAModeWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CAModeWnd::GetSelectedMode() const {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->GetCheck()) return static_cast<int>(i);
    return -1;
}

void CAModeWnd::BuildButtons(const std::vector<std::string>& names) {
    const int n = static_cast<int>(std::min<size_t>(names.size(), kLastCommand - kFirstCommand + 1));
    CZVRect area;
    GetClientRect(&area);
    const CModeGrid grid = ModeGridOf(n, m_width, m_height);
    if (grid.columns < 1) return;
    const int columnGap = std::clamp(area.w / grid.columns / 10, kMinGap, kMaxGap);
    const int rowGap = std::clamp(area.h / grid.rows / 10, kMinGap, kMaxGap);
    const COLORREF face = GetDimColour(GetFaceColor());
    CZVDC dc(this);
    for (int k = 0; k < n; ++k) {
        const CZVRect cell = area.Column(k / grid.rows, grid.columns, columnGap).Row(k % grid.rows, grid.rows, rowGap);
        auto* button = new CZVCheckButton(this, cell, kFirstCommand + k, kButtonClass);
        if (!m_buttons.empty()) button->SetLookSource(m_buttons.front());
        button->SetFaceColor(face);
        if (m_textColour) button->SetTextColor(m_textColour);
        if (m_fontSize) button->SetFontSize(m_fontSize);
        if (m_givenFace) button->SetCheckedColor(ScaleColor(kSetBrighter, face));
        dc.SelectFont(button->GetFontSize(), 0, 1);
        int lines = kMaxCaptionLines;
        button->SetText(dc.WrapTextCopy(names[static_cast<size_t>(k)].c_str(), cell.w, 8, &lines), nullptr, 0);
        m_buttons.push_back(button);
        AddChild(button);
    }
}

void CAModeWnd::SelectMode(int index, int redraw) {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->SetCheck(static_cast<int>(i) == index ? 1 : 0, 0, redraw);
}

void CAModeWnd::OnMessage(CZVMSG* message) {
    if (!message) return;
    switch (message->GetId()) {
    case ZVM_AUDIO_GETMODESA: {
        std::vector<std::string> names;
        if (!ReadModeNames(*message, m_objectId, m_group, &names) || names.empty()) return;
        if (!m_buttons.empty()) {
            // A second list replaces the first rather than piling buttons on it.
            ReportAssert("amode", 115, 1);
            // The first button lends its faces to the others: it goes last.
            for (auto it = m_buttons.rbegin(); it != m_buttons.rend(); ++it) {
                RemoveChild(*it);
                delete *it;
            }
            m_buttons.clear();
        }
        BuildButtons(names);
        if (IsShown()) Redraw(1);
        break;
    }
    case ZVM_AUDIO_GETCONTROLA:
    case ZVM_AUDIO_CONTROLCHANGED: {
        int32_t value = 0;
        if (ReadControlValue(*message, m_objectId, ControlIndex(), &value))
            SelectMode(value, IsShown() && !CMainWndBase::InputBlockedFor(this));
        break;
    }
    default: break;
    }
}

int CAModeWnd::OnChildCommand(int id, int) {
    if (id < kFirstCommand || id > kLastCommand) return 1;
    CZVServer* server = GetServer();
    if (server) {
        CZVMSG set(GetId(), ZVM_AUDIO_SETCONTROL);
        set.WriteInt(m_objectId);
        set.WriteInt(ControlIndex());
        set.WriteInt(id - kFirstCommand);
        server->Send(&set);
    }
    SelectMode(id - kFirstCommand, IsShown());
    return 1;
}

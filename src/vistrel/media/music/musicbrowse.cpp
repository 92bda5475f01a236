#include "vistrel/media/music/musicbrowse.h"

#include <algorithm>
#include <cstdio>

#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/music/genreselectwnd.h"
#include "vistrel/shell/audiosourcepage.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/overlay.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kButtonFontSize = 18;
constexpr int kButtonStyleBit = 8;
constexpr int kSmallScreenHeight = 600;
// Between a heading and the "Select Genres..." button.
constexpr int kHeadingGap = 2;
// Where a track row's album and title start, in percent of the list's width.
constexpr int kTrackAlbumColumn = 35;
constexpr int kTrackTitleColumn = 66;

}  // namespace

CTrackList* WithTrackColumns(CTrackList* list) {
    list->SetColumnCount(3);
    list->SetColumnStart(1, list->GetWidth() * kTrackAlbumColumn / 100);
    list->SetColumnStart(2, list->GetWidth() * kTrackTitleColumn / 100);
    return list;
}

CLBAudioItem* CurrentRow(CAudioLibListBase* list) {
    return list ? static_cast<CLBAudioItem*>(list->GetSelected()) : nullptr;
}

CLBAudioItem* LoadedRow(CAudioLibListBase* list) {
    CLBAudioItem* row = CurrentRow(list);
    return row && row->IsLoaded() ? row : nullptr;
}

CMusicBrowsePage::CMusicBrowsePage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0), m_libraryServer(server), m_owner(owner) {
    if (parent) SetFaceColor(parent->GetFaceColor());
}

CMusicBrowsePage::~CMusicBrowsePage() { ShowGenrePopup(0); }

int CMusicBrowsePage::GetSelectedAudioItem() { return ::GetSelectedAudioItem(); }

int CMusicBrowsePage::GetSourceFeatures() { return ::GetSourceFeatures(); }

int CMusicBrowsePage::IsGenreSelectMode() { return (GetSourceFeatures() & kSourceGenreSelect) != 0; }

int CMusicBrowsePage::GetHeadingHeight() { return IsGenreSelectMode() ? kGenreModeHeadingHeight : kHeadingHeight; }

int CMusicBrowsePage::IsSmallScreen() {
    CMainWndBase* main = GetMainWnd();
    return main && main->GetHeight() < kSmallScreenHeight;
}

int CMusicBrowsePage::IsInputBlocked() { return CMainWndBase::InputBlockedFor(this); }

MusicListArgs CMusicBrowsePage::ListArgs(CZVRect rect, int selection, int loaded) {
    return MusicListArgs{this, rect, selection, loaded, m_libraryServer, this};
}

CZVLabel* CMusicBrowsePage::AddHeading(CZVRect* column, const char* caption, bool topRight) {
    CZVRect band = column->CutTop(GetHeadingHeight(), 0);
    if (topRight && IsGenreSelectMode()) band.w -= kGenreButtonWidth + kHeadingGap;
    CZVLabel* heading = AddLabelClass(band, caption, kHeadingFontSize, m_styleClass);
    heading->SetSmooth(1);
    return heading;
}

void CMusicBrowsePage::Retitle(CZVLabel* heading, const char* format, CLBAudioItem* row) {
    if (!heading || !row || IsGenreSelectMode()) return;
    const std::string name = row->GetFullText();
    std::vector<char> text(std::char_traits<char>::length(format) + name.size() + 1);
    std::snprintf(text.data(), text.size(), format, name.c_str());
    heading->SetText(text.data(), nullptr, !IsInputBlocked() && heading->IsShown());
}

bool CMusicBrowsePage::TakeFirstLoad(int list) {
    if (list < 0 || list >= kLists || m_firstLoaded[list]) return false;
    m_firstLoaded[list] = 1;
    return true;
}

void CMusicBrowsePage::ClearFirstLoads() { std::fill(std::begin(m_firstLoaded), std::end(m_firstLoaded), 0); }

void CMusicBrowsePage::SelectFirstRow(CAudioLibListBase* list) {
    if (list && list->GetCount() > 0) list->SelectIndex(0, IsShown());
}

int CMusicBrowsePage::SendPlay(int kind, int a, int b, int position, int play) {
    return m_owner ? m_owner->SendPlayCommand(kind, a, b, position, play) : 0;
}

void CMusicBrowsePage::AddGenreButton() {
    if (!IsGenreSelectMode()) return;
    CZVRect client;
    GetClientRect(&client);
    const CZVRect rect(client.x + client.w - kGenreButtonWidth, client.y, kGenreButtonWidth, kGenreButtonHeight);
    CZV3DButton* button = Add3DButtonDefault(rect, kSelectGenresCommand, kButtonClass, "Select Genres...");
    button->SetFontSize(kButtonFontSize);
    button->SetStyleBit(kButtonStyleBit, 1);
    SetPopupAnchor(button);
}

void CMusicBrowsePage::SetPopupAnchor(CZVWindow* button) {
    m_anchorX = button->ToRootX(button->GetWidth() / 2);
    m_anchorY = button->ToRootY(button->GetHeight() / 2);
}

CZVWindow* CMusicBrowsePage::CreateGenrePopup(CMainWndBase* main, CZVRect rect) {
    return new CGenreSelectWnd(main, rect, m_styleClass, m_libraryServer);
}

void CMusicBrowsePage::ShowGenrePopup(int show) {
    if (show == m_popupShown) return;
    m_popupShown = show;
    CMainWndBase* main = GetMainWnd();
    if (!main) {
        m_popupShown = 0;
        return;
    }
    if (!show) {
        // Only our own pop-up: another window's overlay stays open.
        if (main->GetOverlayWindow() == m_popup) main->CloseOverlay();
        m_popup = nullptr;
        return;
    }
    int w = main->GetWidth();
    int h = main->GetHeight();
    if (IsSmallScreen())
        w = w * 3 / 4;
    else
        h = h * 3 / 4;
    const CZVRect rect(main->GetWidth() / 2 - w / 2, main->GetHeight() / 2 - h / 2, w, h);
    CZVWindow* popup = CreateGenrePopup(main, rect);
    m_popup = popup;
    main->ShowOverlay(popup, rect, m_anchorX, m_anchorY, 1, 0);
}

int CMusicBrowsePage::OnCommand(int id) {
    if (id == kSelectGenresCommand) {
        ShowGenrePopup(!m_popupShown);
        return 1;
    }
    if (id == kCommandOverlayClosedId && m_popupShown) {
        m_popupShown = 0;
        m_popup = nullptr;
        Refresh(1);
    }
    return 1;
}

void CMusicBrowsePage::OnShow(int show) {
    ShowGenrePopup(0);
    CZVWindow::OnShow(show);
}

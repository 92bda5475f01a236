#include "vistrel/media/music/audiolibsearchbox.h"

#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvedit.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kGap = 5;
constexpr int kEditClass = 11;

}  // namespace

CAudioLibSearchBox::CAudioLibSearchBox(CZVWindow* parent, CZVRect rect, CAudioLibBrowseWnd* owner, int entryId,
                                       const std::string& caption)
    : CPopupWnd(parent, rect, CAudioLibBrowseWnd::kButtonClass), m_owner(owner), m_entryId(entryId) {
    CZVRect rest(kInset, kInset, rect.w - 2 * kInset, rect.h - 2 * kInset);
    CZV3DButton* go = AddIconButton(rest.CutRight(2 * rest.h, kGap), CAudioLibBrowseWnd::kSearchGoCommand,
                                    CAudioLibBrowseWnd::kButtonClass, "TRANSPORT\\MUSIC_SEARCH_32", 0);
    go->SetText("Go", nullptr, 0);
    m_edit = new CZVEdit(this, rest.CutRight(rest.w / 2, kGap), "", kEditCommand, kNoCommand, kEditClass);
    m_edit->SetTextColor(CSetServer::CurrentStyleColor(kEditClass, 1));
    AddChild(m_edit);
    CZVLabel* label = AddLabel(rest, caption.c_str(), kMaxCaptionFont);
    CCaptionFitter fitter(this);
    fitter.AddWindow(label);
    fitter.Apply(kMaxCaptionFont);
    m_edit->SetFontSize(label->GetFontSize());
}

CAudioLibSearchBox::~CAudioLibSearchBox() {
    if (m_owner && m_owner->GetSearchBox() == this) m_owner->ForgetSearchBox();
}

int CAudioLibSearchBox::OnCommand(int id) {
    if (id == kIgnoredCommand) return 0;
    if (id == CAudioLibBrowseWnd::kSearchGoCommand) {
        if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(nullptr);
        m_text = m_edit->GetText().GetAnsi();
    } else if (id == kEditCommand) {
        m_goPending = 1;
    }
    // The owner may close the overlay: the main window deletes the box on its next idle pass.
    return m_owner ? m_owner->OnCommand(id) : 0;
}

int CAudioLibSearchBox::OnIdle(int busy) {
    if (m_goPending) {
        m_goPending = 0;
        OnCommand(CAudioLibBrowseWnd::kSearchGoCommand);
        return -1;
    }
    return CPopupWnd::OnIdle(busy);
}

#include "vistrel/media/pictures/picturespage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "gfx/zvdc.h"
#include "vistrel/media/pictures/pictureviewer.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kPanelStyleClass = 6;
constexpr int kSmallTabFontClass = 16;
constexpr int kMinCaptionWidth = 60;
constexpr int kCaptionLines = 3;

CZVWindow* MakeAlbumView(CZVWindow* parent, CPicturesSummaryPage* page, CZVRect rect, CPictureFolder* folder) {
    if (folder->GetSubFolderCount() > 0) return new CPictureAlbumPanel(parent, page, rect, folder);
    return new CPictureViewerWnd(folder, parent, rect, CPictureAlbumPanel::kViewerFlags);
}

}  // namespace

// ---- CPictureAlbumPanel

CPictureAlbumPanel::CPictureAlbumPanel(CZVWindow* parent, CPicturesSummaryPage* page, CZVRect rect,
                                       CPictureFolder* folder)
    : CTRRegion(parent, rect, kPanelStyleClass, parent ? parent->GetFaceColor() : 0), m_page(page), m_folder(folder) {
    if (folder->GetPictureCount() > 0) {
        m_captions.push_back(CZVString("Pictures in ") + folder->GetName());
        m_tabIds.push_back(kOwnPicturesTab);
    }
    for (int i = 0; i < folder->GetSubFolderCount(); ++i) {
        m_captions.push_back(folder->GetSubFolder(i)->GetName());
        m_tabIds.push_back(kFirstSubAlbumTab + i);
    }
    WrapCaptions();
    CZVObList descriptors;
    for (size_t i = 0; i < m_captions.size(); ++i)
        descriptors.AddTail(new CTabDescriptor(m_captions[i], m_tabIds[i], nullptr));
    SetTabCount(static_cast<int>(m_captions.size()), 0, &descriptors);
    if (!m_tabIds.empty()) ShowTab(m_tabIds.front(), 0);
}

void CPictureAlbumPanel::WrapCaptions() {
    const int n = static_cast<int>(m_captions.size());
    const int s = std::max(1, CSetServer::CurrentStyle(kPanelStyleClass, 0));
    if (n == 0 || n - m_width / s <= m_width / s) return;
    SetFontSize(CSetServer::CurrentStyle(kSmallTabFontClass, 7));
    CZVDC dc(this);
    dc.SelectFont(m_fontSize, 0, 1);
    const int width = std::max(kMinCaptionWidth, m_width / n);
    int tallest = 1;
    for (CZVString& caption : m_captions) {
        int lines = kCaptionLines;
        caption = dc.WrapTextCopy(caption, width, 8, &lines);
        tallest = std::max(tallest, lines);
    }
    m_topInset = tallest * m_fontSize * 11 / 10;
}

void CPictureAlbumPanel::ShowTab(int id, int redraw) {
    const bool own = id == kOwnPicturesTab;
    const int sub = id - kFirstSubAlbumTab;
    if (!own && (id < kFirstSubAlbumTab || id > kLastSubAlbumTab || sub >= m_folder->GetSubFolderCount())) return;
    CZVRect area;
    GetContentRect(&area);
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
        m_content = nullptr;
    }
    const auto at = std::find(m_tabIds.begin(), m_tabIds.end(), id);
    GetTabs()->Select(static_cast<int>(at - m_tabIds.begin()), redraw);
    if (own)
        m_content = new CPictureViewerWnd(m_folder, this, area, kViewerFlags);
    else
        m_content = MakeAlbumView(this, m_page, area, m_folder->GetSubFolder(sub));
    AddChild(m_content);
    if (redraw) m_content->Redraw(1);
}

int CPictureAlbumPanel::OnCommand(int id) {
    ShowTab(id, 1);
    return id;
}

// ---- CPicturesSummaryPage

CPicturesSummaryPage::CPicturesSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), m_root(std::make_unique<CPictureFolder>(server)) {
    m_joinsMenuTab = 0;
    CZVQuery query(server);
    CZVMSG request(0, ZVM_PICTURES_GETSUMMARYQ);
    request.WriteInt(1);
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request) && answer && answer->GetId() == ZVM_PICTURES_GETSUMMARYA) {
        answer->ResetPosition();
        m_root->Read(answer);
    }
    CZVRect area;
    GetContentRect(&area, nullptr);
    InsetContentRect(&area);
    m_content = MakeAlbumView(this, this, area, m_root.get());
    AddChild(m_content);
    SendPageShown();
}

CPicturesSummaryPage::~CPicturesSummaryPage() {
    // The windows hold pointers into the tree: they go first.
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
    }
}

namespace {

CZVWindow* MakePicturesPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CPicturesSummaryPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterPicturePages() {
    static const CPageMakerRow kPages[] = {{CPicturesSummaryPage::kPageId, MakePicturesPage}};
    RegisterPageMakers(kPages);
}

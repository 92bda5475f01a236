#include "vistrel/media/tuner/stationfavorites.h"

#include <algorithm>
#include <cstdio>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/tuner/tunerband.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPanelClass = 6;
constexpr int kButtonClass = 17;
constexpr int kButtonRow = 25;
constexpr int kRenameRise = 30;
constexpr int kTitleHeight = 30;
constexpr int kTitleFont = 28;
constexpr int kTitleFormat = 0x11;
constexpr int kListGap = 4;
constexpr int kFontPercent = 75;
// A favourite on the wire: id, an empty name, two values.
constexpr int kMinFavoriteBytes = 16;

}  // namespace

CStationFavoritesPage::CStationFavoritesPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int listKind,
                                             int fontSize, int rowHeight, int rowButtonWidth, int kindWord)
    : CRRegion(parent, rect, kPanelClass),
      CSocketSink(server),
      m_listKind(listKind),
      m_kindWord(kindWord),
      m_compact((kindWord & kTunerCompactFavorites) != 0) {
    CZVRect content;
    GetContentRect(&content);
    int listBottom = content.y + content.h;
    if (!(kindWord & kTunerNoFavoriteEdit)) {
        const CZVRect row = content.BottomPart(kButtonRow);
        if (m_compact) {
            m_rename =
                Add3DButtonDefault(content.BottomPart(2 * kButtonRow), kRenameId, kButtonClass, "Rename Station");
        } else {
            m_delete = Add3DButtonDefault(row, kDeleteId, kButtonClass, "Delete Station");
            CZVRect higher = row;
            higher.Offset(0, -kRenameRise);
            m_rename = Add3DButton(higher, kRenameId, kButtonClass, "Rename Station", m_delete);
        }
        listBottom = m_rename->GetY();
        EnableEditButtons(0, 0);
    }
    const int bevel = GetBevel();
    CZVRect title = content.TopPart(kTitleHeight);
    title.x -= bevel / 4;
    title.w += bevel / 2;
    AddLabel(title, "Station Favorites", kTitleFont)->SetTextFormat(kTitleFormat);
    const int listTop = content.y + kTitleHeight + kListGap;
    m_list = new CTunerStationList(this, CZVRect(content.x, listTop, content.w, listBottom - kListGap - listTop),
                                   kSelectedId, server, fontSize, rowHeight);
    m_list->SetTuneButton(kTuneId, rowButtonWidth, GetFaceColor());
    AddChild(m_list);
    server.RegisterSink(this);
    RequestList();
}

CStationFavoritesPage::~CStationFavoritesPage() {
    ClearRows();
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
}

int CStationFavoritesPage::IsBlocked() { return CMainWndBase::InputBlockedFor(this); }

void CStationFavoritesPage::RequestList() {
    SendToGateway(ZVM_TUNER_GETFAVORITESQ, {m_listKind, m_kindWord, GetCurrentAudioZone()}, CSocketSink::GetId());
}

void CStationFavoritesPage::ClearRows() {
    if (m_list) m_list->ClearRows();
}

void CStationFavoritesPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_TUNER_GETFAVORITESA) return;
    message->ResetPosition();
    ReadFavorites(message, message->GetSenderId() != CSocketSink::GetId() || !m_compact);
    if (IsShown() && !IsBlocked()) m_list->Redraw(1);
}

void CStationFavoritesPage::ReadFavorites(CZVMSG* message, int ignore) {
    if (!message || (ignore && m_compact)) return;
    int32_t count = 0;
    if (!message->ReadInt(count)) return;
    ClearRows();
    bool cut = false;
    count = BoundCount(count, *message, kMinFavoriteBytes, &cut);
    GrowRows(count);
    for (int i = 0; i < count; ++i) {
        CStationRecord record;
        if (!CMsgReader(*message).Int(record.id).String(record.name).Int(record.extraA).Int(record.extraB)) return;
        std::string text = record.name;
        if (m_compact) {
            char numbered[16];
            std::snprintf(numbered, sizeof numbered, "%d. ", i + 1);
            text = numbered + text;
        }
        m_list->AddStation(text, std::move(record));
    }
    if (!cut) FitRowFont();
    // The rebuilt rows keep the current station marked.
    if (const int row = RowOf(m_marked); row >= 0) {
        m_list->SelectIndex(row, 0);
        if (!m_compact) EnableEditButtons(1, 0);
    }
}

void CStationFavoritesPage::GrowRows(int count) {
    const int height = m_list->GetHeight() - 2 * m_list->GetBevel();
    if (count <= 0 || count * m_list->GetRowHeight() >= height) return;
    const int rowHeight = std::min(height / count, kMaxGrownRowHeight);
    const int fontSize = rowHeight * kFontPercent / 100;
    m_list->SetFontSize(fontSize);
    m_list->SetRowFontSize(fontSize);
    m_list->SetRowHeights(rowHeight);
    m_list->SetTuneButton(kTuneId, m_list->GetRowButtonWidth(), GetFaceColor());
}

void CStationFavoritesPage::FitRowFont() {
    const int bevel = m_list->GetBevel();
    // The room the rows draw their text in: inside the bevel, after the text's inset, left of the tune button.
    const CZVRect room(0, 0,
                       m_list->GetWidth() - 2 * bevel - CAudioLibListBase::kTextInset - m_list->GetRowButtonWidth(),
                       m_list->GetRowHeight());
    CCaptionFitter fitter(m_list);
    for (int i = 0; i < m_list->GetCount(); ++i)
        if (auto* row = static_cast<CLBAudioItem*>(m_list->GetItemAt(i))) fitter.AddCaption(row->GetText(), room);
    const int size = fitter.FindFontSize(1, 1, m_list->GetFontSize());
    m_list->SetFontSize(size);
    m_list->SetRowFontSize(size);
}

int CStationFavoritesPage::RowOf(int value) {
    if (m_compact) return value >= 0 && value < m_list->GetCount() ? value : -1;
    for (int i = 0; value > 0 && i < m_list->GetCount(); ++i)
        if (const CStationRecord* record = m_list->RecordAt(i); record && record->id == value) return i;
    return -1;
}

void CStationFavoritesPage::SelectFavorite(int value, int redraw) {
    m_marked = value;
    redraw = redraw && !IsBlocked();
    const int found = RowOf(value);
    if (found >= 0) {
        m_list->ScrollToItem(found, redraw);
        m_list->SelectIndex(found, redraw);
    }
    if (m_compact) return;
    if (found < 0) m_list->Select(nullptr, redraw);
    EnableEditButtons(found >= 0, redraw);
}

void CStationFavoritesPage::EnableEditButtons(int enable, int redraw) {
    for (CZV3DButton* button : {m_delete, m_rename})
        if (button) button->Enable(enable, redraw);
}

int CStationFavoritesPage::OnCommand(int id) {
    switch (id) {
    case kTuneId: TuneSelected(); return 1;
    case kDeleteId: DeleteSelected(); return 1;
    case kRenameId:
        if (const CStationRecord* record = m_list->SelectedRecord())
            m_list->BeginEdit(record->name.c_str(), kRenamedId);
        return 1;
    case kRenamedId: RenameSelected(); return 1;
    case kSelectedId: EnableEditButtons(1, !IsBlocked()); return m_parent ? m_parent->OnCommand(id) : 1;
    default: return CRRegion::OnCommand(id);
    }
}

void CStationFavoritesPage::TuneSelected() {
    const int zone = GetCurrentAudioZone();
    if (m_compact) {
        const int index = m_list->GetSelectedIndex();
        if (index >= 0) SendToGateway(ZVM_TUNER_TUNEFAVORITEQ, {zone, index}, CSocketSink::GetId());
        return;
    }
    const CStationRecord* record = m_list->SelectedRecord();
    CZVServer* server = CSocketSink::GetServer();
    if (!record || !server) return;
    CZVQuery query(*server);
    query.Command2(m_listKind == kTunerList ? ZVM_TUNER_TUNEFAVORITEQ : ZVM_TUNER_TUNEFAVORITEEXQ, zone, record->id);
}

void CStationFavoritesPage::DeleteSelected() {
    const CStationRecord* record = m_list->SelectedRecord();
    CZVServer* server = CSocketSink::GetServer();
    if (!record || !server) return;
    CZVQuery query(*server);
    if (!query.Command2(ZVM_TUNER_DELETEFAVORITEQ, record->id, m_listKind)) return;
    RequestList();
    if (m_list->GetCount() == 0) EnableEditButtons(0, !IsBlocked());
    if (m_parent) m_parent->OnCommand(kDeleteId);
}

void CStationFavoritesPage::RenameSelected() {
    const CStationRecord* record = m_list->SelectedRecord();
    CZVServer* server = CSocketSink::GetServer();
    if (!record || !server) return;
    CZVMSG request(0, ZVM_TUNER_RENAMEFAVORITEQ);
    request.WriteInt(record->id);
    request.WriteInt(m_listKind);
    request.WriteInt(m_kindWord);
    request.WriteString(m_list->GetEditText().GetAnsi());
    request.WriteInt(GetCurrentAudioZone());
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request)) RequestList();
}

#include "vistrel/media/tuner/tunerlist.h"

#include "widgets/style/setserver.h"

namespace {

constexpr int kTuneIconLayout = 1;

}  // namespace

CTunerStationList::CTunerStationList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server, int fontSize,
                                     int rowHeight)
    : CAudioLibListBase(parent, rect, commandId, kNoCommand, server, nullptr) {
    SetFontSize(fontSize);
    SetRowFontSize(fontSize);
    SetRowHeights(rowHeight);
    SetUniformRowHeight(1);
    SetEmptyText("", fontSize);
}

CTunerStationList::~CTunerStationList() { ClearRows(); }

void CTunerStationList::SetRowHeights(int height) {
    SetRowHeight(height);
    SetSelectedRowHeight(height);
}

void CTunerStationList::SetTuneButton(int commandId, int width, COLORREF colour) {
    m_tuneCommand = commandId;
    m_tuneColour = colour;
    m_rowButtonWidth = width;
    DeleteAllRowButtons();
    AddRowButtonIcon(kTuneIcon, kTuneIconLayout, "", commandId, 0, &m_tuneColour, 0, 1);
}

void CTunerStationList::AddStation(const std::string& text, CStationRecord record) {
    m_records.push_back(std::make_unique<CStationRecord>(std::move(record)));
    auto row = std::make_unique<CLBAudioItem>(this, 0, 0, 0, GetCount(), 0);
    row->FillText(text);
    row->m_data = m_records.back().get();
    AddItem(std::move(row));
}

void CTunerStationList::ClearRows() {
    RemoveAll(0);
    m_records.clear();
}

const CStationRecord* CTunerStationList::RecordAt(int index) {
    return static_cast<const CStationRecord*>(GetItemData(index));
}

const CStationRecord* CTunerStationList::SelectedRecord() {
    return static_cast<const CStationRecord*>(GetSelectedData());
}

void TextureByStyle(CZVWindow* window) {
    constexpr int kTextureFlag = 0x2000;
    if (CSetServer::CurrentFlags() & kTextureFlag) window->SetTexture(1);
}

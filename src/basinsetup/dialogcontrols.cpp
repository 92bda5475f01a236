#include "basinsetup/dialogcontrols.h"

#include <algorithm>
#include <cctype>

namespace {

bool CaseBlindLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

const std::vector<CListItem> kNoItems;

}  // namespace

const CDialogControls::State* CDialogControls::Find(int id) const {
    auto found = m_states.find(id);
    return found == m_states.end() ? nullptr : &found->second;
}

void CDialogControls::SetItems(int id, std::vector<CListItem> items, bool sorted) {
    if (sorted)
        std::stable_sort(items.begin(), items.end(),
                         [](const CListItem& a, const CListItem& b) { return CaseBlindLess(a.text, b.text); });
    State& state = m_states[id];
    state.items = std::move(items);
    state.selected.clear();
    m_view.ShowItems(id, state.items);
}

void CDialogControls::SetItemText(int id, int row, const std::string& text) {
    State& state = m_states[id];
    if (row < 0 || row >= static_cast<int>(state.items.size())) return;
    state.items[static_cast<size_t>(row)].text = text;
    m_view.ShowItemText(id, row, text);
}

void CDialogControls::Select(int id, int row) {
    State& state = m_states[id];
    state.selected.clear();
    if (row >= 0 && row < static_cast<int>(state.items.size())) state.selected.push_back(row);
    m_view.ShowSelection(id, state.selected.empty() ? -1 : row);
}

int CDialogControls::SelectData(int id, int data) {
    const std::vector<CListItem>& items = Items(id);
    auto found = std::find_if(items.begin(), items.end(), [data](const CListItem& item) { return item.data == data; });
    const int row = found == items.end() ? -1 : static_cast<int>(found - items.begin());
    Select(id, row);
    return row;
}

bool CDialogControls::SelectDataIfAny(int id, int data) {
    const std::vector<CListItem>& items = Items(id);
    if (std::none_of(items.begin(), items.end(), [data](const CListItem& item) { return item.data == data; }))
        return false;
    SelectData(id, data);
    return true;
}

void CDialogControls::SetChecked(int id, bool on) {
    m_states[id].checked = on;
    m_view.ShowChecked(id, on);
}

void CDialogControls::SetText(int id, const std::string& text) {
    m_states[id].text = text;
    m_view.ShowText(id, text);
}

void CDialogControls::Enable(int id, bool on) {
    m_states[id].enabled = on;
    m_view.EnableControl(id, on);
}

void CDialogControls::Show(int id, bool shown) {
    m_states[id].shown = shown;
    m_view.ShowControl(id, shown);
}

void CDialogControls::Reveal(int id, bool on) {
    Enable(id, on);
    Show(id, on);
}

void CDialogControls::Picked(int id, int row) {
    State& state = m_states[id];
    state.selected.clear();
    if (row >= 0 && row < static_cast<int>(state.items.size())) state.selected.push_back(row);
}

void CDialogControls::PickedRows(int id, std::vector<int> rows) {
    State& state = m_states[id];
    const int count = static_cast<int>(state.items.size());
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    state.selected = std::move(rows);
}

void CDialogControls::Clicked(int id, bool on) { m_states[id].checked = on; }

void CDialogControls::Edited(int id, const std::string& text) { m_states[id].text = text; }

const std::vector<CListItem>& CDialogControls::Items(int id) const {
    const State* state = Find(id);
    return state ? state->items : kNoItems;
}

std::vector<std::string> CDialogControls::Texts(int id) const {
    std::vector<std::string> texts;
    for (const CListItem& item : Items(id)) texts.push_back(item.text);
    return texts;
}

int CDialogControls::Selection(int id) const {
    const State* state = Find(id);
    return state && !state->selected.empty() ? state->selected.front() : -1;
}

std::vector<int> CDialogControls::SelectedRows(int id) const {
    const State* state = Find(id);
    return state ? state->selected : std::vector<int>{};
}

int CDialogControls::SelectedData(int id, int none) const {
    const int row = Selection(id);
    return row < 0 ? none : Items(id)[static_cast<size_t>(row)].data;
}

bool CDialogControls::IsChecked(int id) const {
    const State* state = Find(id);
    return state && state->checked;
}

bool CDialogControls::IsEnabled(int id) const {
    const State* state = Find(id);
    return !state || state->enabled;
}

bool CDialogControls::IsShown(int id) const {
    const State* state = Find(id);
    return !state || state->shown;
}

std::string CDialogControls::Text(int id) const {
    const State* state = Find(id);
    return state ? state->text : std::string();
}

// A disabled control takes no input, whoever reports it.
void CDialogLogic::Pick(int id, int row) {
    if (!m_controls.IsEnabled(id)) return;
    m_controls.Picked(id, row);
    OnSelchange(id);
}

void CDialogLogic::PickRows(int id, std::vector<int> rows) {
    if (!m_controls.IsEnabled(id)) return;
    m_controls.PickedRows(id, std::move(rows));
    OnSelchange(id);
}

void CDialogLogic::Check(int id, bool on) {
    if (!m_controls.IsEnabled(id)) return;
    m_controls.Clicked(id, on);
    OnClicked(id);
}

void CDialogLogic::Click(int id) {
    if (m_controls.IsEnabled(id)) OnClicked(id);
}

void CDialogLogic::Edit(int id, const std::string& text) {
    if (!m_controls.IsEnabled(id)) return;
    m_controls.Edited(id, text);
    OnEdited(id);
}

#pragma once
// What the wizard steps and their side dialogs show, kept by their logic:
// each control's items, selection, check, text and whether it is enabled and
// shown. Every change is handed to a small view interface at once; what the
// user does comes back through CDialogLogic, which stores it before the
// step's handler runs. Programmatic changes never call a handler.
#include <map>
#include <string>
#include <vector>

// One row of a list, combo box or tab control. Columns of a list row are
// separated by tabs.
struct CListItem {
    std::string text;
    int data = 0;
};

inline constexpr int kTitleId = 0;  // ShowText(kTitleId, ...) sets the window title
// The buttons every dialog has: OK ("Next >>", "Done") and Cancel.
inline constexpr int IDC_OK = 1;
inline constexpr int IDC_CANCEL = 2;
// Dialog results besides the wizard's own.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

class CDialogView {
public:
    virtual ~CDialogView() = default;
    // Replaces a list's rows; nothing is selected afterwards.
    virtual void ShowItems(int id, const std::vector<CListItem>& items) = 0;
    virtual void ShowItemText(int id, int row, const std::string& text) = 0;
    // -1 selects nothing.
    virtual void ShowSelection(int id, int row) = 0;
    virtual void ShowChecked(int id, bool on) = 0;
    // Captions, edit fields and, with kTitleId, the window title.
    virtual void ShowText(int id, const std::string& text) = 0;
    virtual void EnableControl(int id, bool on) = 0;
    virtual void ShowControl(int id, bool shown) = 0;
    virtual void SetDefaultButton(int id) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // Ends the modal dialog with its result (1 OK or "Next >>", 2 Cancel,
    // -1 "<< Back").
    virtual void EndDialog(int result) = 0;
};

class CDialogControls {
public:
    explicit CDialogControls(CDialogView& view) : m_view(view) {}

    // Sorted lists keep their rows in case-blind alphabetical order, equal
    // texts in the order given.
    void SetItems(int id, std::vector<CListItem> items, bool sorted = false);
    void SetItemText(int id, int row, const std::string& text);
    // A row outside the list selects nothing.
    void Select(int id, int row);
    // Selects the first row with that data, else nothing; the row or -1.
    int SelectData(int id, int data);
    // Selects the first row with that data; without one the selection stays.
    bool SelectDataIfAny(int id, int data);
    void SetChecked(int id, bool on);
    void SetText(int id, const std::string& text);
    void Enable(int id, bool on);
    void Show(int id, bool shown);
    // Enables and shows together.
    void Reveal(int id, bool on);

    // What the user did, stored without echo.
    void Picked(int id, int row);
    void PickedRows(int id, std::vector<int> rows);
    void Clicked(int id, bool on);
    void Edited(int id, const std::string& text);

    const std::vector<CListItem>& Items(int id) const;
    std::vector<std::string> Texts(int id) const;
    int Selection(int id) const;
    // The selected rows of a list that allows several, in list order.
    std::vector<int> SelectedRows(int id) const;
    // The selected row's data, or none without a selection.
    int SelectedData(int id, int none) const;
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    bool IsShown(int id) const;
    std::string Text(int id) const;

    CDialogView& View() { return m_view; }

private:
    struct State {
        std::vector<CListItem> items;
        std::vector<int> selected;  // at most one row unless the user picked several
        bool checked = false;
        bool enabled = true;
        bool shown = true;
        std::string text;
    };
    const State* Find(int id) const;

    CDialogView& m_view;
    std::map<int, State> m_states;
};

// The logic of one dialog. The view calls the entry points below; each
// stores what the user did, then runs the dialog's handler for that control.
// Input for a disabled control is ignored.
class CDialogLogic {
public:
    explicit CDialogLogic(CDialogView& view) : m_controls(view) {}
    virtual ~CDialogLogic() = default;
    CDialogLogic(const CDialogLogic&) = delete;
    CDialogLogic& operator=(const CDialogLogic&) = delete;

    virtual void OnInitDialog() = 0;

    void Pick(int id, int row);
    void PickRows(int id, std::vector<int> rows);
    void Check(int id, bool on);
    void Click(int id);
    void Edit(int id, const std::string& text);

    const CDialogControls& Controls() const { return m_controls; }

protected:
    virtual void OnSelchange(int) {}
    virtual void OnClicked(int) {}
    virtual void OnEdited(int) {}

    CDialogControls m_controls;
};

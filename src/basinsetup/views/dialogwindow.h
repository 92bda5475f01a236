#pragma once
// The Qt window of a dialog whose logic is a CDialogLogic: it makes the
// controls, keyed by their ids, shows what the logic sets and hands the
// user's actions to the logic. Programmatic changes raise no handlers.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "basinsetup/dialogcontrols.h"

class QLayout;

class CDialogWindow : public QDialog, public CDialogView {
public:
    explicit CDialogWindow(QWidget* parent);

    void ShowItems(int id, const std::vector<CListItem>& items) override;
    void ShowItemText(int id, int row, const std::string& text) override;
    void ShowSelection(int id, int row) override;
    void ShowChecked(int id, bool on) override;
    void ShowText(int id, const std::string& text) override;
    void EnableControl(int id, bool on) override;
    void ShowControl(int id, bool shown) override;
    void SetDefaultButton(int id) override;
    void ShowMessage(const std::string& text) override;
    void EndDialog(int result) override;

    QWidget* Control(int id) const;

protected:
    // The logic the controls report to; set before the window shows.
    void Attach(CDialogLogic* logic) { m_logic = logic; }

    QComboBox* Combo(int id);
    // A list with a column per tab-separated field; the headers, when given,
    // are shown.
    QTreeWidget* List(int id, const QStringList& headers = {}, bool severalRows = false);
    QTabBar* Tabs(int id);
    QAbstractButton* CheckBox(int id, const QString& text);
    QAbstractButton* Radio(int id, const QString& text);
    QPushButton* Button(int id, const QString& text);
    QLabel* Label(int id, const QString& text);
    QLineEdit* Edit(int id, int maxLength);
    // Buttons (id and text) at the right end of a row.
    QLayout* ButtonRow(std::initializer_list<std::pair<int, QString>> buttons);
    // "<< Back", "Next >>" (unless left out) and "Finish" on finishId.
    QLayout* WizardButtons(bool withNext, int finishId);
    // A caption above a control.
    static QLayout* Captioned(const QString& caption, QWidget* control);

    // Enter is the OK button's unless another button was made the default.
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <class W>
    W* Register(int id, W* widget);

    CDialogLogic* m_logic = nullptr;
    std::map<int, QWidget*> m_controls;
};

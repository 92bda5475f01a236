#include "basinsetup/views/dialogwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "basinsetup/setupitems.h"
#include "basinsetup/views/dialogs.h"
#include "qttext/qttext.h"

namespace {

QStringList Columns(const std::string& text) { return qttext::FromCp1252(text).split('\t'); }

}  // namespace

CDialogWindow::CDialogWindow(QWidget* parent) : QDialog(parent) {}

template <class W>
W* CDialogWindow::Register(int id, W* widget) {
    m_controls[id] = widget;
    return widget;
}

QWidget* CDialogWindow::Control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

QComboBox* CDialogWindow::Combo(int id) {
    auto* combo = Register(id, new QComboBox);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(combo, &QComboBox::activated, this, [this, id](int row) {
        if (m_logic) m_logic->Pick(id, row);
    });
    return combo;
}

QTreeWidget* CDialogWindow::List(int id, const QStringList& headers, bool severalRows) {
    auto* list = Register(id, new QTreeWidget);
    list->setRootIsDecorated(false);
    list->setColumnCount(std::max<int>(1, static_cast<int>(headers.size())));
    list->setHeaderHidden(headers.isEmpty());
    if (!headers.isEmpty()) list->setHeaderLabels(headers);
    list->setSelectionMode(severalRows ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, id, list, severalRows] {
        if (!m_logic) return;
        std::vector<int> rows;
        for (QTreeWidgetItem* item : list->selectedItems()) rows.push_back(list->indexOfTopLevelItem(item));
        if (severalRows)
            m_logic->PickRows(id, rows);
        else
            m_logic->Pick(id, rows.empty() ? -1 : rows.front());
    });
    return list;
}

QTabBar* CDialogWindow::Tabs(int id) {
    auto* tabs = Register(id, new QTabBar);
    tabs->setExpanding(false);
    connect(tabs, &QTabBar::currentChanged, this, [this, id](int row) {
        if (m_logic) m_logic->Pick(id, row);
    });
    return tabs;
}

QAbstractButton* CDialogWindow::CheckBox(int id, const QString& text) {
    auto* box = Register(id, new QCheckBox(text));
    connect(box, &QCheckBox::clicked, this, [this, id](bool on) {
        if (m_logic) m_logic->Check(id, on);
    });
    return box;
}

// The logic keeps a radio group's choice, so that it can also show none.
QAbstractButton* CDialogWindow::Radio(int id, const QString& text) {
    auto* radio = Register(id, new QRadioButton(text));
    radio->setAutoExclusive(false);
    connect(radio, &QRadioButton::clicked, this, [this, id] {
        if (m_logic) m_logic->Check(id, true);
    });
    return radio;
}

QPushButton* CDialogWindow::Button(int id, const QString& text) {
    auto* button = Register(id, new QPushButton(text));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, id] {
        if (m_logic) m_logic->Click(id);
    });
    return button;
}

QLabel* CDialogWindow::Label(int id, const QString& text) { return Register(id, new QLabel(text)); }

QLineEdit* CDialogWindow::Edit(int id, int maxLength) {
    auto* edit = Register(id, new QLineEdit);
    edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        if (m_logic) m_logic->Edit(id, qttext::ToCp1252(text));
    });
    return edit;
}

void CDialogWindow::ShowItems(int id, const std::vector<CListItem>& items) {
    QWidget* control = Control(id);
    const QSignalBlocker blocker(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->clear();
        for (const CListItem& item : items) combo->addItem(qttext::FromCp1252(item.text), item.data);
        combo->setCurrentIndex(-1);
    } else if (auto* list = qobject_cast<QTreeWidget*>(control)) {
        list->clear();
        for (const CListItem& item : items) list->addTopLevelItem(new QTreeWidgetItem(Columns(item.text)));
        for (int column = 0; column < list->columnCount(); ++column) list->resizeColumnToContents(column);
    } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        while (tabs->count() > 0) tabs->removeTab(0);
        for (const CListItem& item : items) tabs->addTab(qttext::FromCp1252(item.text));
        tabs->setCurrentIndex(-1);
    }
}

void CDialogWindow::ShowItemText(int id, int row, const std::string& text) {
    QWidget* control = Control(id);
    const QSignalBlocker blocker(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setItemText(row, qttext::FromCp1252(text));
    } else if (auto* list = qobject_cast<QTreeWidget*>(control)) {
        if (QTreeWidgetItem* item = list->topLevelItem(row)) {
            const QStringList columns = Columns(text);
            for (int column = 0; column < columns.size(); ++column) item->setText(column, columns[column]);
        }
    }
}

void CDialogWindow::ShowSelection(int id, int row) {
    QWidget* control = Control(id);
    const QSignalBlocker blocker(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setCurrentIndex(row);
    } else if (auto* list = qobject_cast<QTreeWidget*>(control)) {
        list->clearSelection();
        if (QTreeWidgetItem* item = list->topLevelItem(row)) {
            item->setSelected(true);
            list->setCurrentItem(item);
        }
    } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        tabs->setCurrentIndex(row);
    }
}

void CDialogWindow::ShowChecked(int id, bool on) {
    if (auto* button = qobject_cast<QAbstractButton*>(Control(id))) {
        const QSignalBlocker blocker(button);
        button->setChecked(on);
    }
}

void CDialogWindow::ShowText(int id, const std::string& text) {
    if (id == kTitleId) {
        setWindowTitle(qttext::FromCp1252(text));
    } else if (auto* label = qobject_cast<QLabel*>(Control(id))) {
        label->setText(qttext::FromCp1252(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        const QSignalBlocker blocker(edit);
        edit->setText(qttext::FromCp1252(text));
    }
}

void CDialogWindow::EnableControl(int id, bool on) {
    if (QWidget* control = Control(id)) control->setEnabled(on);
}

void CDialogWindow::ShowControl(int id, bool shown) {
    if (QWidget* control = Control(id)) control->setVisible(shown);
}

void CDialogWindow::SetDefaultButton(int id) {
    if (auto* button = qobject_cast<QPushButton*>(Control(id))) button->setDefault(true);
}

void CDialogWindow::ShowMessage(const std::string& text) { ShowTopmostMessage(this, text); }

void CDialogWindow::EndDialog(int result) {
    if (result == kDialogOk)
        accept();
    else if (result == kDialogCancel)
        reject();
    else
        done(result);
}

QLayout* CDialogWindow::ButtonRow(std::initializer_list<std::pair<int, QString>> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const auto& [id, text] : buttons) row->addWidget(Button(id, text));
    return row;
}

QLayout* CDialogWindow::WizardButtons(bool withNext, int finishId) {
    if (withNext) return ButtonRow({{IDC_STEP_BACK, "<< Back"}, {IDC_OK, "Next >>"}, {finishId, "Finish"}});
    return ButtonRow({{IDC_STEP_BACK, "<< Back"}, {finishId, "Finish"}});
}

QLayout* CDialogWindow::Captioned(const QString& caption, QWidget* control) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(caption));
    column->addWidget(control);
    return column;
}

void CDialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    const bool otherDefault =
        std::any_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->isDefault() && b->isVisible(); });
    if (enter && !otherDefault && m_logic) {
        m_logic->Click(IDC_OK);
        return;
    }
    QDialog::keyPressEvent(event);
}

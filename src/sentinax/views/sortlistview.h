#pragma once
// The Qt face of a CSystemList: a table whose tall header draws the column
// titles (the readings' titles running downwards), keeps the columns filling
// its width and offers default widths and sorting on a right click.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "sentinax/systemlist.h"

class CSortListModel : public QAbstractTableModel {
public:
    explicit CSortListModel(CSystemList& list) : m_list(list) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Reset();
    void RowChanged(int row);

private:
    CSystemList& m_list;
};

// Paints a cell as the list says: its colours (darker when selected), its
// text cut to fit, centred where the column asks.
class CSortListDelegate : public QStyledItemDelegate {
public:
    explicit CSortListDelegate(CSystemList& list) : m_list(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CSystemList& m_list;
};

class CZVHeaderView : public QHeaderView {
public:
    static constexpr int ID_DEFAULT_WIDTHS = 1025;
    static constexpr int ID_SORT_ASCENDING = 1026;
    static constexpr int ID_SORT_DESCENDING = 1027;
    static constexpr int kHeight = 150;

    explicit CZVHeaderView(CSystemList& list);
    // Fits the columns to the header's width and stores them in the list.
    void FitColumns();
    // Widths from the list, then fitted.
    void ApplyListWidths();
    // The context menu's choice at a header position.
    void RunCommand(int command, int section);
    // While held, sections that change (the model is reset) are not fitted
    // and nothing goes back to the list.
    void Hold(bool on) { m_fitting = on; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CSystemList& m_list;
    bool m_fitting = false;
};

class CSortListWidget : public QTableView, public CSortListView {
public:
    explicit CSortListWidget(CSystemList& list);
    ~CSortListWidget() override;

    CSystemList& List() { return m_list; }
    CZVHeaderView* Header() { return m_header; }
    // Called after the user changed the selection.
    void SetSelectionHandler(std::function<void()> handler) { m_onSelection = std::move(handler); }
    void SetErrorsHandler(std::function<void(CSystem&)> handler) { m_onErrors = std::move(handler); }
    void RedrawRow(int row) { m_model.RowChanged(row); }
    // Selects exactly these rows, as a user would.
    void SelectRows(const std::vector<int>& rows);

    void OnListChanged() override;
    void ScrollToRow(int row) override;
    void ShowSystemErrors(CSystem& system) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void TakeSelection();
    void ShowSelection();

    CSystemList& m_list;
    CSortListModel m_model;
    CSortListDelegate m_delegate;
    CZVHeaderView* m_header;
    bool m_syncing = false;
    std::function<void()> m_onSelection;
    std::function<void(CSystem&)> m_onErrors;
};

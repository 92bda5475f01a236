#include "sentinax/views/sortlistview.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

#include "qttext/qttext.h"

namespace {

// Narrower items leave their downward title out.
constexpr int kMinVerticalTitle = 17;
constexpr int kTitleFontPixels = 14;

QColor ToQColor(ColorRef color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }

QFont TitleFont() {
    QFont font("Arial");
    font.setPixelSize(kTitleFontPixels);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

// --- Model ---

int CSortListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_list.GetRowCount(); }

int CSortListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.CSortListCtrl::GetColumnCount();
}

QVariant CSortListModel::data(const QModelIndex& index, int role) const {
    const CSystem* item = m_list.GetRowData(index.row());
    switch (role) {
    case Qt::DisplayRole: return qttext::FromCp1252(m_list.GetCellText(item, index.column()));
    case Qt::BackgroundRole: return ToQColor(m_list.GetCellBackColor(item, index.column()));
    case Qt::ForegroundRole: return ToQColor(m_list.GetCellTextColor(item, index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (m_list.IsColumnCentered(index.column()) ? Qt::AlignHCenter : Qt::AlignLeft));
    default: return QVariant();
    }
}

QVariant CSortListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_list.CSortListCtrl::GetColumnCount())
        return QVariant();
    return qttext::FromCp1252(m_list.GetColumnTitles()[static_cast<size_t>(section)]);
}

void CSortListModel::Reset() {
    beginResetModel();
    endResetModel();
}

void CSortListModel::RowChanged(int row) {
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// --- Cells ---

void CSortListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const CSystem* item = m_list.GetRowData(index.row());
    const int column = index.column();
    ColorRef back = m_list.GetCellBackColor(item, column);
    if (option.state & QStyle::State_Selected) back = SelectedBackColor(back);
    const QFontMetrics metrics(option.font);
    const auto measure = [&](const std::string& text) { return metrics.horizontalAdvance(qttext::FromCp1252(text)); };
    const std::string fitted = FitCellText(m_list.GetCellText(item, column), option.rect.width(), measure);
    const QString text = qttext::FromCp1252(fitted);
    const int textWidth = metrics.horizontalAdvance(text);

    QRect place = option.rect;
    if (m_list.IsColumnCentered(column) && textWidth < place.width()) {
        const int inset = (place.width() - textWidth - 2) / 2;
        place.adjust(inset, 0, -inset, 0);
    }
    painter->save();
    painter->fillRect(option.rect, ToQColor(back));
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(ToQColor(m_list.GetCellTextColor(item, column)));
    painter->drawText(place.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

// --- Header ---

CZVHeaderView::CZVHeaderView(CSystemList& list) : QHeaderView(Qt::Horizontal), m_list(list) {
    setSectionsClickable(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setFixedHeight(kHeight);
    connect(this, &QHeaderView::sectionResized, this, [this] { FitColumns(); });
}

void CZVHeaderView::FitColumns() {
    // Until it shows, the header's width is no measure of the window's.
    if (m_fitting || !isVisible() || count() != m_list.CSortListCtrl::GetColumnCount()) return;
    m_fitting = true;
    std::vector<int> widths;
    for (int i = 0; i < count(); ++i) widths.push_back(sectionSize(i));
    if (FitColumnWidths(widths, width(), m_list.GetReadableWidths())) {
        for (int i = 0; i < count(); ++i) resizeSection(i, widths[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < count(); ++i) m_list.SetColumnWidth(i, widths[static_cast<size_t>(i)]);
    m_fitting = false;
}

void CZVHeaderView::ApplyListWidths() {
    m_fitting = true;
    const std::vector<int>& widths = m_list.GetColumnWidths();
    for (int i = 0; i < count() && i < static_cast<int>(widths.size()); ++i)
        resizeSection(i, widths[static_cast<size_t>(i)]);
    m_fitting = false;
    FitColumns();
}

void CZVHeaderView::RunCommand(int command, int section) {
    if (command == ID_DEFAULT_WIDTHS) {
        m_list.SetDefaultWidths();
        ApplyListWidths();
    } else if ((command == ID_SORT_ASCENDING || command == ID_SORT_DESCENDING) && section >= 0) {
        m_list.SetSortColumn(section);
        m_list.SetSortDescending(command == ID_SORT_DESCENDING);
        m_list.Sort();
    }
}

void CZVHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    QStyleOptionHeader frame;
    initStyleOption(&frame);
    frame.rect = rect;
    frame.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &frame, painter, this);

    const QString text = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    const bool vertical = m_list.IsVerticalColumn(logicalIndex);
    const QFont font = TitleFont();
    painter->setFont(font);
    painter->setPen(palette().color(QPalette::ButtonText));
    const QRect inner = rect.adjusted(CSortListCtrl::kTitleMargin, CSortListCtrl::kTitleMargin,
                                      -CSortListCtrl::kTitleMargin, -CSortListCtrl::kTitleMargin);
    const QSize measured = QFontMetrics(font).boundingRect(QRect(0, 0, 4096, 4096), Qt::AlignLeft, text).size();
    const int across = vertical ? measured.height() : measured.width();
    const int down = vertical ? measured.width() : measured.height();
    const QSize size(std::min(across, inner.width()), std::min(down, inner.height()));
    const QRect box(inner.left() + (inner.width() - size.width()) / 2,
                    inner.top() + (inner.height() - size.height()) / 2, size.width(), size.height());
    painter->setClipRect(inner);
    if (!vertical) {
        const int lines = text.contains('\n') ? 0 : static_cast<int>(Qt::TextSingleLine);
        painter->drawText(box, Qt::AlignCenter | lines, text);
    } else if (rect.width() > kMinVerticalTitle) {
        // Running downwards: the text's top faces the right.
        painter->translate(box.left() + measured.height(), box.top());
        painter->rotate(90);
        painter->drawText(QRect(0, 0, measured.width(), measured.height()), Qt::AlignLeft | Qt::AlignTop, text);
    }
    painter->restore();
}

void CZVHeaderView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("Set Default Column Widths")->setData(ID_DEFAULT_WIDTHS);
    int section = -1;
    if (!m_list.IsHistory()) {
        const int x = event->pos().x();
        const int at = logicalIndexAt(x);
        const int left = sectionViewportPosition(at);
        if (at >= 0 && x > left && x < left + sectionSize(at) && m_list.IsSortableColumn(at)) {
            section = at;
            menu.addAction("Sort Ascending")->setData(ID_SORT_ASCENDING);
            menu.addAction("Sort Descending")->setData(ID_SORT_DESCENDING);
        }
    }
    if (QAction* chosen = menu.exec(event->globalPos())) RunCommand(chosen->data().toInt(), section);
}

void CZVHeaderView::resizeEvent(QResizeEvent* event) {
    QHeaderView::resizeEvent(event);
    FitColumns();
}

// --- List ---

CSortListWidget::CSortListWidget(CSystemList& list)
    : m_list(list), m_model(list), m_delegate(list), m_header(new CZVHeaderView(list)) {
    setModel(&m_model);
    setItemDelegate(&m_delegate);
    setHorizontalHeader(m_header);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    // Columns that do not fit a narrow window are scrolled to rather than cut.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    const QFontMetrics cells(font());
    const QFontMetrics titles(TitleFont());
    m_list.SetFontMeasure(
        {[cells](const std::string& text) { return cells.horizontalAdvance(qttext::FromCp1252(text)); },
         [titles](const std::string& text) { return titles.horizontalAdvance(qttext::FromCp1252(text)); },
         titles.height()});
    m_list.SetDefaultWidths();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { TakeSelection(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { TakeSelection(); });
    m_list.SetView(this);
}

CSortListWidget::~CSortListWidget() { m_list.SetView(nullptr); }

void CSortListWidget::SelectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    for (int row : rows) selection.select(m_model.index(row, 0), m_model.index(row, m_model.columnCount() - 1));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty()) selectionModel()->setCurrentIndex(m_model.index(rows.front(), 0), QItemSelectionModel::NoUpdate);
}

void CSortListWidget::OnListChanged() {
    m_syncing = true;
    m_header->Hold(true);
    m_model.Reset();
    m_header->Hold(false);
    m_header->ApplyListWidths();
    ShowSelection();
    m_syncing = false;
}

void CSortListWidget::ScrollToRow(int row) { scrollTo(m_model.index(row, 0)); }

void CSortListWidget::ShowSystemErrors(CSystem& system) {
    if (m_onErrors) m_onErrors(system);
}

void CSortListWidget::TakeSelection() {
    if (m_syncing) return;
    for (int row = 0; row < m_list.GetRowCount(); ++row)
        m_list.SetSelected(row, selectionModel()->isRowSelected(row, QModelIndex()));
    m_list.SetFocused(currentIndex().isValid() ? currentIndex().row() : -1);
    if (m_onSelection) m_onSelection();
}

void CSortListWidget::ShowSelection() {
    QItemSelection selection;
    for (int row : m_list.GetSelectedRows())
        selection.select(m_model.index(row, 0), m_model.index(row, m_model.columnCount() - 1));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    for (int row = 0; row < m_list.GetRowCount(); ++row) {
        if (m_list.IsFocused(row))
            selectionModel()->setCurrentIndex(m_model.index(row, 0), QItemSelectionModel::NoUpdate);
    }
}

void CSortListWidget::mousePressEvent(QMouseEvent* event) {
    if (!indexAt(event->position().toPoint()).isValid()) {
        m_list.ClearFocus();
        m_syncing = true;
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        m_syncing = false;
    }
    QTableView::mousePressEvent(event);
}

void CSortListWidget::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (index.isValid())
        m_list.OnRightClick(index.row(), index.column(), event->globalPos().x(), event->globalPos().y());
}

void CSortListWidget::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    m_list.SetWindowWidth(viewport()->width());
}

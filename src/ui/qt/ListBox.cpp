#include "ui/qt/ListBox.h"

#include <QEvent>

#include <QAccessibleWidget>
#include <QHeaderView>
#include <QPointer>
#include <QStyleOptionViewItem>

#include <mutex>
#include <unordered_map>

namespace kestrane {

namespace {

// What assistive technology reads for a list box: a list whose children are
// its entries, in order, with a table interface of one column as a list
// view has. An entry's interface is made when first asked for and kept, so
// that it is the same object each time.
class ListBoxAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListBoxAccessible(ListBox* box);
    ~ListBoxAccessible() override;
    ListBoxAccessible(const ListBoxAccessible&) = delete;
    ListBoxAccessible& operator=(const ListBoxAccessible&) = delete;

    // The factory QAccessible asks for the interface of a list box.
    static QAccessibleInterface* Make(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The table interface, over rows of one column.
    QAccessibleInterface* cellAt(int row, int column) const override;
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    int selectedCellCount() const override { return selectedRowCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    // As in Qt's own list views, the one chosen entry is not unchosen this way.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override;

private:
    ListBox* box() const;
    void ForgetEntries() const;
    mutable std::unordered_map<int, QAccessible::Id> entries_;
};

// One entry of a list box, read as a list item named by its text; its one
// action selects it.
class ListEntryAccessible : public QAccessibleInterface,
                            public QAccessibleTableCellInterface,
                            public QAccessibleActionInterface {
public:
    ListEntryAccessible(ListBox* box, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return row_; }
    bool isSelected() const override;
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override { return {toggleAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& action) override;

private:
    QModelIndex Index() const;
    QPointer<ListBox> box_;
    int row_;
};

}  // namespace

// ---- ListItems ----

ListItems::ListItems(const PickList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(list.Count()) {}

int ListItems::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QModelIndex ListItems::index(int row, int column, const QModelIndex& parent) const {
    return row >= 0 && row < rows_ && column == 0 && !parent.isValid() ? createIndex(row, 0) : QModelIndex();
}

QVariant ListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return QString::fromStdString(list_.Item(index.row()));
}

void ListItems::Reload() {
    beginResetModel();
    rows_ = list_.Count();
    endResetModel();
}

// ---- ListBox ----

ListBox::ListBox(QWidget* parent) : QTableView(parent) {
    static std::once_flag factory;
    std::call_once(factory, [] { QAccessible::installFactory(&ListBoxAccessible::Make); });
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
}

void ListBox::setModel(QAbstractItemModel* model) {
    // Every row takes the height the first item asks for. It is set before
    // the rows exist: changing it afterwards resizes them one by one.
    SetRowHeight(model);
    QTableView::setModel(model);
}

void ListBox::SetRowHeight(QAbstractItemModel* model) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int height = model != nullptr && model->rowCount() > 0
                           ? itemDelegate()->sizeHint(option, model->index(0, 0)).height()
                           : option.fontMetrics.height();
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void ListBox::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) SetRowHeight(model());
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void ListBox::updateGeometries() {
    // The one column is as wide as the box, whether or not the scroll bar shows.
    if (model() != nullptr && model()->columnCount() > 0 && columnWidth(0) != viewport()->width())
        setColumnWidth(0, viewport()->width());
    QTableView::updateGeometries();
}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The table view's own events number the cells as if the headers were
    // cells too; a list box's children are its entries.
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void ListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive()) return;
    for (const auto& [change, type] : {std::pair{&selected, QAccessible::SelectionAdd},
                                       std::pair{&deselected, QAccessible::SelectionRemove}}) {
        const QModelIndex first = change->indexes().value(0);
        if (!first.isValid()) continue;
        QAccessibleEvent event(this, type);
        event.setChild(first.row());
        QAccessible::updateAccessibility(&event);
    }
}

// ---- ListBoxAccessible ----

ListBoxAccessible::ListBoxAccessible(ListBox* box) : QAccessibleWidget(box, QAccessible::List) {}

ListBoxAccessible::~ListBoxAccessible() { ForgetEntries(); }

void ListBoxAccessible::ForgetEntries() const {
    for (const auto& [row, id] : entries_) QAccessible::deleteAccessibleInterface(id);
    entries_.clear();
}

QAccessibleInterface* ListBoxAccessible::Make(const QString& className, QObject* object) {
    auto* box = className == QLatin1String(ListBox::staticMetaObject.className()) ? qobject_cast<ListBox*>(object)
                                                                                    : nullptr;
    return box != nullptr ? new ListBoxAccessible(box) : nullptr;
}

ListBox* ListBoxAccessible::box() const { return static_cast<ListBox*>(widget()); }

void* ListBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int ListBoxAccessible::childCount() const { return box()->model() != nullptr ? box()->model()->rowCount() : 0; }

QAccessibleInterface* ListBoxAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto kept = entries_.find(index); kept != entries_.end())
        return QAccessible::accessibleInterface(kept->second);
    auto* entry = new ListEntryAccessible(box(), index);
    entries_[index] = QAccessible::registerAccessibleInterface(entry);
    return entry;
}

int ListBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* entry = dynamic_cast<const ListEntryAccessible*>(child);
    return entry != nullptr && entry->parent() == this ? entry->rowIndex() : -1;
}

QAccessibleInterface* ListBoxAccessible::childAt(int x, int y) const {
    const QModelIndex at = box()->indexAt(box()->viewport()->mapFromGlobal(QPoint(x, y)));
    return at.isValid() ? child(at.row()) : nullptr;
}

QAccessibleInterface* ListBoxAccessible::focusChild() const {
    const QModelIndex current = box()->currentIndex();
    return current.isValid() ? child(current.row()) : nullptr;
}

QAccessibleInterface* ListBoxAccessible::cellAt(int row, int column) const {
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> ListBoxAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows()) cells.append(child(row));
    return cells;
}

QList<int> ListBoxAccessible::selectedRows() const {
    QList<int> rows;
    if (box()->selectionModel() == nullptr) return rows;
    for (const QModelIndex& index : box()->selectionModel()->selectedRows()) rows.append(index.row());
    return rows;
}

bool ListBoxAccessible::isRowSelected(int row) const {
    return box()->selectionModel() != nullptr && box()->selectionModel()->isRowSelected(row, {});
}

bool ListBoxAccessible::selectRow(int row) {
    if (box()->model() == nullptr) return false;
    const QModelIndex index = box()->model()->index(row, 0);
    if (!index.isValid()) return false;
    box()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void ListBoxAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    // Rows may have moved: entries are made afresh when next asked for.
    ForgetEntries();
}

// ---- ListEntryAccessible ----

ListEntryAccessible::ListEntryAccessible(ListBox* box, int row) : box_(box), row_(row) {}

QModelIndex ListEntryAccessible::Index() const {
    return box_ != nullptr && box_->model() != nullptr ? box_->model()->index(row_, 0) : QModelIndex();
}

bool ListEntryAccessible::isValid() const { return Index().isValid(); }

QWindow* ListEntryAccessible::window() const { return box_ != nullptr ? box_->window()->windowHandle() : nullptr; }

QAccessibleInterface* ListEntryAccessible::parent() const {
    return box_ != nullptr ? QAccessible::queryAccessibleInterface(box_.data()) : nullptr;
}

QString ListEntryAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? Index().data(Qt::DisplayRole).toString() : QString();
}

QRect ListEntryAccessible::rect() const {
    const QModelIndex index = Index();
    if (!index.isValid()) return {};
    const QRect shown = box_->visualRect(index);
    return QRect(box_->viewport()->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::State ListEntryAccessible::state() const {
    QAccessible::State state;
    const QModelIndex index = Index();
    if (!index.isValid()) return state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = box_->currentIndex() == index;
    if (!box_->viewport()->rect().intersects(box_->visualRect(index))) state.invisible = state.offscreen = true;
    return state;
}

void* ListEntryAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool ListEntryAccessible::isSelected() const {
    const QModelIndex index = Index();
    return index.isValid() && box_->selectionModel()->isSelected(index);
}

void ListEntryAccessible::doAction(const QString& action) {
    if (action != toggleAction() || isSelected()) return;
    if (QAccessibleInterface* list = parent(); list != nullptr && list->tableInterface() != nullptr)
        list->tableInterface()->selectRow(row_);
}

}  // namespace kestrane

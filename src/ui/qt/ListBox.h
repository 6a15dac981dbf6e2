#pragma once
// The window's list boxes. A catalogue may hold tens of thousands of lines,
// so the box is a one-column table view: its rows all have one height and
// are found by arithmetic, where a list view would lay out every row before
// the window first shows. It looks and works as a list box, and assistive
// technology reads it as a list with one item per entry.

#include <QAbstractListModel>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTableView>

#include <unordered_map>

#include "ui/PickList.h"

namespace kestrane {

// The items of a list box, read from the window model when the view asks,
// so that a long catalogue costs nothing until it is scrolled to.
class ListItems : public QAbstractListModel {
    Q_OBJECT
public:
    ListItems(const PickList& list, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    // Views ask for row indexes often; the list's length is fixed, so the
    // check is one comparison.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const PickList& list_;
    const int rows_;
};

// A list box: one column as wide as the box, no headers, grid or tab stops
// between items, one selected item at most, rows the height of the first.
class ListBox : public QTableView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);
    void setModel(QAbstractItemModel* model) override;

protected:
    // Home and End go to the first and last item, as in a list.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
};

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

}  // namespace kestrane

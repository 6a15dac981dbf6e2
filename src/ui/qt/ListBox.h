#pragma once
// The window's list boxes. A catalogue may hold tens of thousands of lines,
// so the box is a one-column table view: its rows all have one height and
// are found by arithmetic, where a list view would lay out every row before
// the window first shows. It looks and works as a list box, and assistive
// technology reads it as a list with one item per entry (the interfaces
// that say so are in ListBox.cpp).

#include <QAbstractListModel>
#include <QTableView>

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
    // The list was replaced (another game folder): every row may differ.
    void Reload();

private:
    const PickList& list_;
    int rows_;
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
    // A new font (a zoom) gives the rows a new height.
    void changeEvent(QEvent* event) override;

private:
    void SetRowHeight(QAbstractItemModel* model);
};

}  // namespace kestrane

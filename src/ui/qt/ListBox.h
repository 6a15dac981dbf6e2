#pragma once
// The window's list boxes: a list view whose items all have the height of
// the first, so that a catalogue of tens of thousands of lines is laid out
// by arithmetic, over a model that makes an item's text only when it is
// shown or read. Assistive technology reads it as Qt's own list.

#include <QAbstractListModel>
#include <QListView>

#include "ui/PickList.h"

namespace kestrane {

// The items of a list box, read from the window model when the view asks,
// so that a long catalogue costs nothing until it is scrolled to.
class ListItems : public QAbstractListModel {
    Q_OBJECT
public:
    ListItems(const PickList& list, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The list was replaced (another game folder): every row may differ.
    void Reload();

private:
    const PickList& list_;
    int rows_;
};

// A list box: one selected item at most, no editing, rows of one height.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent);
};

}  // namespace kestrane

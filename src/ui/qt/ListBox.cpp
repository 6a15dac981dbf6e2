#include "ui/qt/ListBox.h"

namespace kestrane {

ListItems::ListItems(const PickList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), rows_(list.Count()) {}

int ListItems::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant ListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return QString::fromStdString(list_.Item(index.row()));
}

void ListItems::Reload() {
    beginResetModel();
    rows_ = list_.Count();
    endResetModel();
}

ListBox::ListBox(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
}

}  // namespace kestrane

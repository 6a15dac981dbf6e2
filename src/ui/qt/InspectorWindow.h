#pragma once
// The inspector: a second window with a table of the mission image's 400
// bytes, each with its offset, value, character, field and block
// description, marking the bytes that changed since the last load or new
// mission and those that differ from a mission loaded for comparison.

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "ui/ByteInspector.h"

class QLabel;
class QTableView;

namespace kestrane {

class InspectorTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Offset, OffsetHex, ByteHex, Byte, Character, FieldName, Block, Changed, ComparedHex, Differs, Columns };
    static_assert(Columns == kInspectorColumns, "the table's columns are the inspector's");

    InspectorTable(const ByteInspector& rows, QObject* parent) : QAbstractTableModel(parent), rows_(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kMissionSize; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Every cell may have changed.
    void Reload() { emit dataChanged(index(0, 0), index(kMissionSize - 1, Columns - 1)); }

private:
    const ByteInspector& rows_;
};

class InspectorWindow : public QWidget {
    Q_OBJECT
public:
    explicit InspectorWindow(const WindowModel& model, QWidget* parent = nullptr);

    // Shows the image as it is now.
    void Refresh();
    // Selects the rows of the fields, and brings the first into view.
    void SelectFields(const std::vector<const Field*>& fields);
    // Loads a second mission into the comparison column.
    void CompareWith(const QString& path);
    QTableView* Table() const { return table_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseComparison();

    ByteInspector rows_;
    InspectorTable* model_;
    QTableView* table_;
    QLabel* status_;
};

}  // namespace kestrane

#pragma once
// The missions of the start folder at a glance: a second window with a
// table of every .msn file, decoded, filled as the scanner reads the rows
// and followed as files appear, change or go. Enter or a double click loads
// a row's mission; two rows can be compared field by field, and the
// checksums of the selected rows stamped.

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "ui/MissionFolder.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSortFilterProxyModel;
class QTableView;

namespace kestrane {

class MissionScanner;
class WindowModel;

// The folder's rows as a table, as the scanner tells them; each cell's text.
class MissionTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MissionTable(QObject* parent) : QAbstractTableModel(parent) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const MissionFolder& Folder() const { return folder_; }
    // Rows read, by file name: new ones inserted, others replaced.
    void Add(const std::vector<MissionRow>& rows);
    // The rows of files gone, by file name.
    void Remove(const std::vector<std::string>& gone);
    void Clear();

private:
    MissionFolder folder_;
};

class MissionBrowser : public QWidget {
    Q_OBJECT
public:
    // Loads a mission by its path's bytes, as the window's Load does; says a
    // sentence in the window's status line.
    using Loader = std::function<void(const std::string& path)>;
    using Sayer = std::function<void(const std::string& sentence)>;
    MissionBrowser(const WindowModel& model, Loader load, Sayer say, QWidget* parent = nullptr);

    // Reads the start folder again (also after a new game folder).
    void Rescan();
    QTableView* Table() const { return table_; }
    QLineEdit* Filter() const { return filter_; }
    MissionTable& Rows() const { return *rows_; }
    MissionScanner& Scanner() const { return *scanner_; }
    // The differences the last Compare found, as kestrane-msn diff words them.
    QString Compared() const;
    void Compare();
    void StampSelected();
    // Sorts the rows as the order says, and shows it in the header.
    void SortBy(MissionOrder order);
    const MissionOrder& Order() const { return order_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildWindow();
    void BuildTable();
    void LoadCurrent();
    // Says a result in the window's status line, and in this window's.
    void Tell(const std::string& sentence);
    std::vector<const MissionRow*> SelectedRows() const;
    std::filesystem::path PathOf(const MissionRow& row) const;

    const WindowModel& model_;
    Loader load_;
    Sayer say_;
    MissionTable* rows_;
    QSortFilterProxyModel* shown_;
    QTableView* table_;
    QLineEdit* filter_;
    QPlainTextEdit* differences_;
    QLabel* status_;
    MissionScanner* scanner_;
    MissionOrder order_;
};

}  // namespace kestrane

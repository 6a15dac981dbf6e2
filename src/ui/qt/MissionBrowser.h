#pragma once
// The missions of the start folder at a glance: a second window with a
// table of every .msn file, decoded, read on a worker thread as rows arrive
// and followed as files appear, change or go. Enter or a double click loads
// a row's mission; two rows can be compared field by field, and the
// checksums of the selected rows stamped.

#include <QAbstractTableModel>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <utility>

#include "ui/MissionFolder.h"

class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSortFilterProxyModel;
class QTableView;
class QThread;
class QTimer;

namespace kestrane {

class WindowModel;

// The folder's rows as a table; each cell's text, with numbers and times
// sorted as such.
class MissionTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MissionTable(QObject* parent) : QAbstractTableModel(parent) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int kSortRole = Qt::UserRole;
    MissionFolder& Folder() { return folder_; }
    // A new listing: rows gone are removed; what is new or changed, returned.
    std::vector<FolderEntry> Sync(const std::vector<FolderEntry>& listing);
    void Add(std::vector<MissionRow> rows);
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
    ~MissionBrowser() override;

    // Reads the start folder again (also after a new game folder).
    void Rescan();
    QTableView* Table() const { return table_; }
    QLineEdit* Filter() const { return filter_; }
    MissionTable& Rows() const { return *rows_; }
    // The differences the last Compare found, as kestrane-msn diff words them.
    QString Compared() const;
    void Compare();
    void StampSelected();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildWindow();
    void BuildTable();
    // The catalogues the rows are named from, copied for the worker thread.
    struct Names {
        CatalogueFile planes, places;
        NameLists Lists() const { return {&planes, &places}; }
    };
    void Listed(int generation, const std::vector<FolderEntry>& listing, bool read,
                const std::shared_ptr<const Names>& names);
    void ReadRows(int generation, const std::string& folder, const std::vector<FolderEntry>& entries,
                  const std::shared_ptr<const Names>& names);
    void WatchFiles(const std::vector<FolderEntry>& listing);
    void WatchFolder();
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
    QFileSystemWatcher* watcher_;      // the folder, on the window's thread
    QFileSystemWatcher* fileWatcher_ = nullptr;  // its files, on the worker's
    QTimer* rescanSoon_;
    QThread* worker_;
    QObject* workerObject_;
    std::shared_ptr<std::atomic<int>> generation_;
    std::string folder_;
    std::pair<dev_t, ino_t> watchedFolder_{};  // the folder watched, by its inode
    bool folderGone_ = false;
};

}  // namespace kestrane

#pragma once
// The missions window's scanner: it owns the folder. It lists and reads the
// folder's .msn files on a thread of its own, watches the folder, its files
// and, while the folder is gone, the folder's parent, and says what it found:
// rows read, files gone, the folder gone or back, and a scan done. What to
// read and in what batches is MissionScan's; the table only consumes the
// signals.

#include <QObject>
#include <atomic>
#include <memory>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "catalogues/Catalogue.h"
#include "ui/MissionFolder.h"

class QFileSystemWatcher;
class QThread;
class QTimer;

namespace kestrane {

class MissionScanner : public QObject {
    Q_OBJECT
public:
    explicit MissionScanner(QObject* parent);
    ~MissionScanner() override;

    // Scans a folder, its rows named from the catalogues; another folder
    // than the last one starts anew (Cleared).
    void Scan(const std::string& folder, std::shared_ptr<const Catalogues> names);
    // Scans the folder again.
    void Rescan();
    const std::string& Folder() const { return folder_; }

signals:
    void Cleared();  // another folder: none of the rows so far belong to it
    void RowsRead(const std::vector<MissionRow>& rows);  // by file name
    void FilesGone(const std::vector<std::string>& files);  // by file name
    void FolderGone(const std::string& folder);
    void FolderBack();
    // The rows are those of the folder as it was last listed, and no
    // other scan is due.
    void ScanDone();

private:
    class Worker;
    void WatchFolder();
    // On the worker: lists the folder and reads what is new or changed.
    void Work(int request, int generation, const std::string& folder, const Catalogues& names);
    // Runs on the window's thread, unless the folder changed since.
    template <typename F> void Post(int generation, F&& f);
    void Finished(int request);

    QThread* thread_;
    Worker* worker_;
    QFileSystemWatcher* folderWatcher_;
    QTimer* rescanSoon_;
    std::shared_ptr<std::atomic<int>> requests_;  // the latest scan asked for; an older one stops reading
    int generation_ = 0;                          // counts the folders scanned
    std::string folder_;
    std::shared_ptr<const Catalogues> names_;
    std::pair<dev_t, ino_t> watchedFolder_{};  // the folder watched, by its inode
    bool folderGone_ = false;
};

}  // namespace kestrane

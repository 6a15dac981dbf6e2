#include "ui/qt/MissionScanner.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <sys/stat.h>

#include "ui/MissionScan.h"

namespace kestrane {

namespace {

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

QString LocalPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

// What the scanner keeps on its thread: what it read of the folder, the
// last listing, and the watcher of the files (watching thousands of files
// takes a while, so it is done here, once the rows are in).
class MissionScanner::Worker : public QObject {
public:
    MissionScan scan;
    std::string folder;
    std::vector<FolderEntry> listing;
    QFileSystemWatcher* files = nullptr;

    // Watches the files listed last, telling the watcher only those that
    // came or went.
    void WatchFiles(QTimer* rescanSoon) {
        if (files == nullptr) {
            files = new QFileSystemWatcher(this);
            connect(files, &QFileSystemWatcher::fileChanged, rescanSoon, qOverload<>(&QTimer::start));
        }
        QSet<QString> listed;
        listed.reserve(static_cast<qsizetype>(listing.size()));
        for (const FolderEntry& entry : listing) listed.insert(LocalPath(folder + "/" + entry.file));
        const QStringList watchedList = files->files();
        const QSet<QString> watched(watchedList.begin(), watchedList.end());
        if (const QSet<QString> gone = watched - listed; !gone.isEmpty()) files->removePaths(gone.values());
        if (const QSet<QString> added = listed - watched; !added.isEmpty()) files->addPaths(added.values());
    }
};

MissionScanner::MissionScanner(QObject* parent)
    : QObject(parent), requests_(std::make_shared<std::atomic<int>>(0)) {
    // Files are read on a thread of their own, so that a slow disk, a pipe or
    // a large folder never holds up the window.
    thread_ = new QThread(this);
    worker_ = new Worker;
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
    // What changed is read again a moment later, once for a burst of changes.
    rescanSoon_ = new QTimer(this);
    rescanSoon_->setSingleShot(true);
    rescanSoon_->setInterval(300);
    connect(rescanSoon_, &QTimer::timeout, this, &MissionScanner::Rescan);
    folderWatcher_ = new QFileSystemWatcher(this);
    connect(folderWatcher_, &QFileSystemWatcher::directoryChanged, rescanSoon_, qOverload<>(&QTimer::start));
}

MissionScanner::~MissionScanner() {
    ++*requests_;  // reading under way stops
    thread_->quit();
    thread_->wait();
}

void MissionScanner::Scan(const std::string& folder, std::shared_ptr<const Catalogues> names) {
    names_ = std::move(names);
    if (folder != folder_) {
        folder_ = folder;
        ++generation_;
        watchedFolder_ = {};
        if (folderGone_) emit FolderBack();  // what is said of the last folder no longer holds
        folderGone_ = false;
        emit Cleared();
    }
    Rescan();
}

void MissionScanner::Rescan() {
    WatchFolder();
    const int request = ++*requests_;
    QMetaObject::invokeMethod(worker_, [this, request, generation = generation_, folder = folder_, names = names_] {
        Work(request, generation, folder, *names);
    });
}

// The folder is watched for files that come and go. A folder removed is
// no longer watched by the system, so its parent is watched until a folder
// of that name is back, which is then watched as a new folder (a new inode).
void MissionScanner::WatchFolder() {
    const QString folder = LocalPath(folder_);
    const QString parent = QFileInfo(folder).absolutePath();
    struct stat st {};
    const bool there = ::stat(folder_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const std::pair<dev_t, ino_t> inode = there ? std::pair(st.st_dev, st.st_ino) : std::pair<dev_t, ino_t>{};
    const QStringList watched = folderWatcher_->directories();
    if (inode != watchedFolder_ && !watched.isEmpty()) folderWatcher_->removePaths(watched);
    if (there && (inode != watchedFolder_ || !watched.contains(folder))) folderWatcher_->addPath(folder);
    if (!there && !folderWatcher_->directories().contains(parent)) folderWatcher_->addPath(parent);
    watchedFolder_ = inode;
    if (there == folderGone_) {
        folderGone_ = !there;
        if (there) emit FolderBack();
        else emit FolderGone(folder_);
    }
}

template <typename F> void MissionScanner::Post(int generation, F&& f) {
    QMetaObject::invokeMethod(this, [this, generation, f = std::forward<F>(f)]() mutable {
        if (generation == generation_) f();
    });
}

// On the worker: lists the folder (the first time without each file's size
// and time, which reading tells), says what went, and reads what is new or
// changed, handing the rows over in batches. A newer scan stops the reading;
// the rows read so far are handed over all the same, and it lists again.
void MissionScanner::Work(int request, int generation, const std::string& folder, const Catalogues& names) {
    Worker& w = *worker_;
    if (w.folder != folder) {
        w.folder = folder;
        w.scan.Forget();
    }
    const OpenFolder open(folder);
    w.listing = ListMissionFiles(open, w.scan.NeedsStats());
    MissionScan::Plan plan = w.scan.Take(w.listing);
    if (!plan.gone.empty()) Post(generation, [this, gone = std::move(plan.gone)] { emit FilesGone(gone); });
    const NameLists lists = names.Lists();
    RowBatches batches(Now());
    auto hand = [&] { Post(generation, [this, rows = batches.Take(Now())] { emit RowsRead(rows); }); };
    for (const FolderEntry& entry : plan.toRead) {
        if (*requests_ != request) break;
        MissionRow row = ReadMissionRow(open, entry, lists);
        w.scan.Read(row.entry);
        if (batches.Add(std::move(row), Now())) hand();
    }
    if (!batches.Empty()) hand();
    Post(generation, [this, request] { Finished(request); });
}

// A scan is done when no newer one was asked for and none is due; the files
// are then watched, once the rows are in.
void MissionScanner::Finished(int request) {
    if (request != *requests_ || rescanSoon_->isActive()) return;
    emit ScanDone();
    QMetaObject::invokeMethod(worker_, [w = worker_, rescanSoon = rescanSoon_] { w->WatchFiles(rescanSoon); });
}

}  // namespace kestrane

#include "ui/qt/MissionBrowser.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <sys/stat.h>
#include <utility>

#include "mission/Charset.h"
#include "mission/MissionFile.h"
#include "ui/WindowModel.h"

namespace kestrane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }


// Rows are handed to the window in small batches, the first at once, so
// that the table fills as files are read and the window never waits long.
constexpr std::size_t kFirstBatch = 16;
constexpr std::size_t kBatch = 128;
constexpr auto kBatchTime = std::chrono::milliseconds(15);

}  // namespace

// ---- MissionTable ----

int MissionTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(folder_.Rows().size());
}

int MissionTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(kMissionColumns); }

QVariant MissionTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const MissionRow& row = folder_.Rows()[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<MissionColumn>(index.column());
    if (role == kSortRole && column == MissionColumn::Size) return QVariant::fromValue<qulonglong>(row.entry.size);
    if (role == kSortRole && column == MissionColumn::Modified) return QVariant::fromValue<qlonglong>(row.entry.modified);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == kSortRole) return Text(row.Text(column));
    if (role == Qt::TextAlignmentRole && column == MissionColumn::Size) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant MissionTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    const std::string_view title = ColumnTitle(static_cast<MissionColumn>(section));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

std::vector<FolderEntry> MissionTable::Sync(const std::vector<FolderEntry>& listing) {
    const MissionFolder::Listing listed = folder_.Sync(listing);
    if (listed.gone.size() > 64) {  // many at once (a folder emptied): one reset
        beginResetModel();
        folder_.RemoveAll(listed.gone);
        endResetModel();
        return listed.toRead;
    }
    for (const std::string& file : listed.gone) {
        const int at = folder_.Find(file);
        beginRemoveRows({}, at, at);
        folder_.Remove(file);
        endRemoveRows();
    }
    return listed.toRead;
}

void MissionTable::Add(std::vector<MissionRow> rows) {
    std::size_t i = 0;
    while (i < rows.size()) {
        if (!folder_.Lists(rows[i].entry.file)) {  // gone since it was read
            ++i;
            continue;
        }
        const MissionFolder::Place at = folder_.PlaceOf(rows[i].entry.file);
        if (at.known) {
            folder_.Put(std::move(rows[i++]));
            emit dataChanged(index(at.index, 0), index(at.index, columnCount() - 1));
            continue;
        }
        // New rows that follow one another in file order go in with one
        // insertion: the folder's first fill is a handful of insertions.
        std::size_t end = i + 1;
        const auto& after = folder_.Rows();
        while (end < rows.size() && folder_.Lists(rows[end].entry.file) && rows[end - 1].entry.file < rows[end].entry.file &&
               (static_cast<std::size_t>(at.index) == after.size() ||
                rows[end].entry.file < after[static_cast<std::size_t>(at.index)].entry.file))
            ++end;
        beginInsertRows({}, at.index, at.index + static_cast<int>(end - i) - 1);
        for (; i < end; ++i) folder_.Put(std::move(rows[i]));
        endInsertRows();
    }
}

void MissionTable::Clear() {
    beginResetModel();
    folder_ = MissionFolder();
    endResetModel();
}

// ---- MissionBrowser ----

MissionBrowser::MissionBrowser(const WindowModel& model, Loader load, Sayer say, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), load_(std::move(load)), say_(std::move(say)),
      generation_(std::make_shared<std::atomic<int>>(0)) {
    setObjectName(QStringLiteral("Missions"));
    setWindowTitle(QStringLiteral("Missions"));
    BuildWindow();
    // Files are read on a thread of their own, so that a slow disk, a pipe or
    // a large folder never holds up the window.
    worker_ = new QThread(this);
    workerObject_ = new QObject;
    workerObject_->moveToThread(worker_);
    connect(worker_, &QThread::finished, workerObject_, &QObject::deleteLater);
    worker_->start();
    watcher_ = new QFileSystemWatcher(this);
    rescanSoon_ = new QTimer(this);
    rescanSoon_->setSingleShot(true);
    rescanSoon_->setInterval(300);
    connect(rescanSoon_, &QTimer::timeout, this, &MissionBrowser::Rescan);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, rescanSoon_, qOverload<>(&QTimer::start));
    resize(1000, 560);
    restoreGeometry(QSettings().value(QStringLiteral("missions/geometry")).toByteArray());
    const QSettings settings;
    table_->sortByColumn(settings.value(QStringLiteral("missions/sortColumn"), 0).toInt(),
                         static_cast<Qt::SortOrder>(settings.value(QStringLiteral("missions/sortOrder"), 0).toInt()));
}

MissionBrowser::~MissionBrowser() {
    ++*generation_;  // work under way is dropped
    worker_->quit();
    worker_->wait();
}

void MissionBrowser::BuildWindow() {
    BuildTable();
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("MissionsFilter"));
    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(filter_);  // the box is named by its label
    connect(filter_, &QLineEdit::textChanged, shown_, &QSortFilterProxyModel::setFilterFixedString);
    auto* compare = new QPushButton(QStringLiteral("&Compare"), this);
    compare->setObjectName(QStringLiteral("CompareMissions"));
    connect(compare, &QPushButton::clicked, this, &MissionBrowser::Compare);
    auto* stamp = new QPushButton(QStringLiteral("&Stamp checksums"), this);
    stamp->setObjectName(QStringLiteral("StampMissions"));
    connect(stamp, &QPushButton::clicked, this, &MissionBrowser::StampSelected);
    for (QPushButton* button : {compare, stamp}) button->setAutoDefault(false);
    differences_ = new QPlainTextEdit(this);
    differences_->setObjectName(QStringLiteral("MissionsDifferences"));
    differences_->setReadOnly(true);
    differences_->setAccessibleName(QStringLiteral("Differences"));
    differences_->setMaximumHeight(110);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("MissionsStatus"));
    status_->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(filter_, 1);
    top->addWidget(compare);
    top->addWidget(stamp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(differences_);
    layout->addWidget(status_);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

// The table, sorted and filtered over every column; Enter or a double click
// loads the current row's mission.
void MissionBrowser::BuildTable() {
    rows_ = new MissionTable(this);
    shown_ = new QSortFilterProxyModel(this);
    shown_->setSourceModel(rows_);
    shown_->setSortRole(MissionTable::kSortRole);
    shown_->setFilterKeyColumn(-1);  // every column
    shown_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("MissionsTable"));
    table_->setAccessibleName(QStringLiteral("Missions of the start folder"));
    table_->setModel(shown_);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setDefaultSectionSize(110);
    connect(table_, &QTableView::doubleClicked, this, [this] { LoadCurrent(); });
    auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, &MissionBrowser::LoadCurrent);
    auto* keypadEnter = new QShortcut(QKeySequence(Qt::Key_Enter), table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(keypadEnter, &QShortcut::activated, this, &MissionBrowser::LoadCurrent);
}

void MissionBrowser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Rescan();
}

void MissionBrowser::hideEvent(QHideEvent* event) {
    QSettings settings;
    settings.setValue(QStringLiteral("missions/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("missions/sortColumn"), table_->horizontalHeader()->sortIndicatorSection());
    settings.setValue(QStringLiteral("missions/sortOrder"), int(table_->horizontalHeader()->sortIndicatorOrder()));
    QWidget::hideEvent(event);
}

// Lists the folder on the worker, then reads what is new or changed. The
// first time, the worker reads every file straight after listing their
// names, and each read tells the file's size and time: the first rows show
// at once.
void MissionBrowser::Rescan() {
    if (folder_ != model_.StartDir()) {  // another game folder: its own rows
        folder_ = model_.StartDir();
        rows_->Clear();
        watchedFolder_ = {};
    }
    WatchFolder();
    const int generation = ++*generation_;
    const bool first = rows_->rowCount() == 0;
    auto names = std::make_shared<Names>(Names{model_.Items(ControlId::AircraftList).Lines(),
                                               model_.Items(ControlId::PlaceList).Lines()});
    QMetaObject::invokeMethod(workerObject_, [this, generation, first, names, folder = folder_] {
        std::vector<FolderEntry> listing = ListMissionFiles(folder, !first);
        QMetaObject::invokeMethod(this, [this, generation, first, names, listing] { Listed(generation, listing, first, names); });
        if (first) ReadRows(generation, folder, listing, names);
    });
}

void MissionBrowser::Listed(int generation, const std::vector<FolderEntry>& listing, bool read,
                            const std::shared_ptr<const Names>& names) {
    if (generation != *generation_) return;
    std::vector<FolderEntry> toRead = rows_->Sync(listing);
    if (!read)
        QMetaObject::invokeMethod(workerObject_, [this, generation, names, folder = folder_, toRead = std::move(toRead)] {
            ReadRows(generation, folder, toRead, names);
        });
    WatchFiles(listing);
}

// The folder is watched for files that come and go. A folder removed is
// no longer watched by the system, so its parent is watched until a folder
// of that name is back, which is then watched as a new folder (a new inode).
void MissionBrowser::WatchFolder() {
    const QString folder = QFile::decodeName(QByteArray::fromStdString(folder_));
    const QString parent = QFileInfo(folder).absolutePath();
    struct stat st {};
    const bool there = ::stat(folder_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const std::pair<dev_t, ino_t> inode = there ? std::pair(st.st_dev, st.st_ino) : std::pair<dev_t, ino_t>{};
    if (inode != watchedFolder_ && !watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    if (there && (inode != watchedFolder_ || !watcher_->directories().contains(folder))) watcher_->addPath(folder);
    if (!there && !watcher_->directories().contains(parent)) watcher_->addPath(parent);
    watchedFolder_ = inode;
    if (!there) status_->setText(Text("The folder " + ReadableText(folder_) +
                                      " is gone; its missions show here again when it is back."));
    else if (folderGone_) status_->clear();
    folderGone_ = !there;
}

// On the worker: reads the files and hands their rows over in batches.
void MissionBrowser::ReadRows(int generation, const std::string& folder, const std::vector<FolderEntry>& entries,
                              const std::shared_ptr<const Names>& names) {
    std::vector<MissionRow> batch;
    auto started = std::chrono::steady_clock::now();
    std::size_t limit = kFirstBatch;
    auto hand = [&] {
        QMetaObject::invokeMethod(this, [this, generation, rows = std::move(batch)]() mutable {
            if (generation == *generation_) rows_->Add(std::move(rows));
        });
        batch.clear();
        started = std::chrono::steady_clock::now();
        limit = kBatch;
    };
    for (const FolderEntry& entry : entries) {
        if (generation != *generation_) return;  // a newer listing took over
        batch.push_back(ReadMissionRow(folder, entry, names->Lists()));
        if (batch.size() >= limit || std::chrono::steady_clock::now() - started > kBatchTime) hand();
    }
    if (!batch.empty()) hand();
}

// Files are watched too, so that one written in place shows its new state:
// by a watcher of the worker's, since watching thousands of files takes a
// while, and only those that came or went are told to it.
void MissionBrowser::WatchFiles(const std::vector<FolderEntry>& listing) {
    QMetaObject::invokeMethod(workerObject_, [this, folder = folder_, listing] {
        if (fileWatcher_ == nullptr) {
            fileWatcher_ = new QFileSystemWatcher(workerObject_);
            connect(fileWatcher_, &QFileSystemWatcher::fileChanged, rescanSoon_, qOverload<>(&QTimer::start));
        }
        QSet<QString> listed;
        for (const FolderEntry& entry : listing) listed.insert(QFile::decodeName(QByteArray::fromStdString(folder + "/" + entry.file)));
        const QStringList watchedList = fileWatcher_->files();
        const QSet<QString> watched(watchedList.begin(), watchedList.end());
        if (const QSet<QString> gone = watched - listed; !gone.isEmpty()) fileWatcher_->removePaths(gone.values());
        if (const QSet<QString> added = listed - watched; !added.isEmpty()) fileWatcher_->addPaths(added.values());
    });
}

std::filesystem::path MissionBrowser::PathOf(const MissionRow& row) const {
    return std::filesystem::path(folder_) / row.entry.file;
}

std::vector<const MissionRow*> MissionBrowser::SelectedRows() const {
    std::vector<const MissionRow*> selected;
    for (const QModelIndex& shown : table_->selectionModel()->selectedRows()) {
        const int row = shown_->mapToSource(shown).row();
        if (row >= 0 && row < rows_->rowCount()) selected.push_back(&rows_->Folder().Rows()[static_cast<std::size_t>(row)]);
    }
    return selected;
}

void MissionBrowser::LoadCurrent() {
    const QModelIndex current = shown_->mapToSource(table_->currentIndex());
    if (!current.isValid()) return;
    load_(PathOf(rows_->Folder().Rows()[static_cast<std::size_t>(current.row())]).string());
}

QString MissionBrowser::Compared() const { return differences_->toPlainText(); }

void MissionBrowser::Compare() {
    const std::vector<const MissionRow*> selected = SelectedRows();
    if (selected.size() != 2) {
        Tell("Select two missions to compare (" + std::to_string(selected.size()) + " selected). Nothing was compared.");
        return;
    }
    const ReadResult a = ReadMission(PathOf(*selected[0])), b = ReadMission(PathOf(*selected[1]));
    const std::string nameA = ReadableText(selected[0]->entry.file), nameB = ReadableText(selected[1]->entry.file);
    if (!a.ok || !b.ok) {
        Tell("Could not compare: the file " + (a.ok ? nameB + " " + b.error : nameA + " " + a.error) + ".");
        return;
    }
    MissionImage first, second;
    first.Assign(a.bytes);
    second.Assign(b.bytes);
    const Names names{model_.Items(ControlId::AircraftList).Lines(), model_.Items(ControlId::PlaceList).Lines()};
    const std::vector<std::string> lines = DifferenceLines(first, second, names.Lists());
    QStringList text;
    for (const std::string& line : lines) text << Text(line);
    differences_->setPlainText(text.join(u'\n'));
    Tell(lines.empty() ? nameA + " and " + nameB + " are the same, all 400 bytes."
                       : nameA + " and " + nameB + " differ in " + std::to_string(lines.size()) +
                             (lines.size() == 1 ? " place" : " places") + ": see the Differences box of Missions.");
}

void MissionBrowser::Tell(const std::string& sentence) {
    status_->setText(Text(sentence));
    say_(sentence);
}

void MissionBrowser::StampSelected() {
    int stamped = 0, right = 0;
    std::string failed;
    for (const MissionRow* row : SelectedRows()) {
        const Stamping result = StampChecksum(PathOf(*row));
        if (result.outcome == Stamping::Outcome::Stamped) ++stamped;
        else if (result.outcome == Stamping::Outcome::AlreadyRight) ++right;
        else failed += (failed.empty() ? "" : "; ") + ReadableText(row->entry.file) + " (" + result.error + ")";
    }
    std::string said = "Stamped the checksum of " + std::to_string(stamped) + (stamped == 1 ? " file" : " files");
    if (right > 0) said += "; " + std::to_string(right) + " already right";
    said += failed.empty() ? "." : "; could not write " + failed + ".";
    Tell(said);
    Rescan();
}

}  // namespace kestrane

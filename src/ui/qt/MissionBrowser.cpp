#include "ui/qt/MissionBrowser.h"
#include "ui/MissionScan.h"

#include <QHeaderView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

#include "mission/Charset.h"
#include "mission/MissionFile.h"
#include "ui/WindowModel.h"
#include "ui/qt/MissionScanner.h"

namespace kestrane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The rows shown: those the filter keeps, in the window's order, by the
// rules the page shares (MissionFolder.h).
class ShownMissions : public QSortFilterProxyModel {
public:
    ShownMissions(const MissionTable& rows, QObject* parent) : QSortFilterProxyModel(parent), rows_(rows) {}
    void Filter(const QString& text) {
        filter_ = text.toStdString();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override { return RowMatches(Row(row), filter_); }
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
        return RowBefore(Row(a.row()), Row(b.row()), static_cast<MissionColumn>(a.column()));
    }

private:
    const MissionRow& Row(int row) const { return rows_.Folder().Rows()[static_cast<std::size_t>(row)]; }
    const MissionTable& rows_;
    std::string filter_;
};

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
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return Text(row.Text(column));
    if (role == Qt::TextAlignmentRole && column == MissionColumn::Size) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant MissionTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    const std::string_view title = ColumnTitle(static_cast<MissionColumn>(section));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

void MissionTable::Remove(const std::vector<std::string>& gone) {
    if (gone.size() > 64) {  // many at once (a folder emptied): one reset
        beginResetModel();
        folder_.RemoveAll(gone);
        endResetModel();
        return;
    }
    for (const std::string& file : gone) {
        const int at = folder_.Find(file);
        if (at < 0) continue;
        beginRemoveRows({}, at, at);
        folder_.Remove(file);
        endRemoveRows();
    }
}

void MissionTable::Add(const std::vector<MissionRow>& rows) {
    std::size_t i = 0;
    while (i < rows.size()) {
        const MissionFolder::Place at = folder_.PlaceOf(rows[i].entry.file);
        if (at.known) {
            folder_.Put(rows[i++]);
            emit dataChanged(index(at.index, 0), index(at.index, columnCount() - 1));
            continue;
        }
        // New rows that follow one another in file order go in with one
        // insertion: the folder's first fill is a handful of insertions.
        std::size_t end = i + 1;
        const auto& after = folder_.Rows();
        while (end < rows.size() && rows[end - 1].entry.file < rows[end].entry.file &&
               (static_cast<std::size_t>(at.index) == after.size() ||
                rows[end].entry.file < after[static_cast<std::size_t>(at.index)].entry.file))
            ++end;
        beginInsertRows({}, at.index, at.index + static_cast<int>(end - i) - 1);
        for (; i < end; ++i) folder_.Put(rows[i]);
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
    : QWidget(parent, Qt::Window), model_(model), load_(std::move(load)), say_(std::move(say)) {
    setObjectName(QStringLiteral("Missions"));
    setWindowTitle(QStringLiteral("Missions"));
    BuildWindow();
    scanner_ = new MissionScanner(this);
    connect(scanner_, &MissionScanner::Cleared, rows_, &MissionTable::Clear);
    connect(scanner_, &MissionScanner::RowsRead, rows_, &MissionTable::Add);
    connect(scanner_, &MissionScanner::FilesGone, rows_, &MissionTable::Remove);
    connect(scanner_, &MissionScanner::FolderGone, status_, [this](const std::string& folder) {
        status_->setText(Text(FolderGoneNote(folder)));
    });
    connect(scanner_, &MissionScanner::FolderBack, status_, &QLabel::clear);
    resize(1000, 560);
    restoreGeometry(QSettings().value(QStringLiteral("missions/geometry")).toByteArray());
    const QSettings settings;
    const int column = settings.value(QStringLiteral("missions/sortColumn"), 0).toInt();
    SortBy({column >= 0 && column < int(kMissionColumns) ? static_cast<MissionColumn>(column) : MissionColumn::File,
            settings.value(QStringLiteral("missions/sortOrder"), 0).toInt() == Qt::DescendingOrder});
}

void MissionBrowser::BuildWindow() {
    BuildTable();
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("MissionsFilter"));
    auto* filterLabel = new QLabel(QString::fromUtf8(kFilterCaption.data(), qsizetype(kFilterCaption.size())), this);
    filterLabel->setBuddy(filter_);  // the box is named by its label
    connect(filter_, &QLineEdit::textChanged, shown_, [shown = static_cast<ShownMissions*>(shown_)](const QString& text) {
        shown->Filter(text);
    });
    auto* compare = new QPushButton(Text(std::string(kCompareChosenCaption)), this);
    compare->setObjectName(QStringLiteral("CompareMissions"));
    connect(compare, &QPushButton::clicked, this, &MissionBrowser::Compare);
    auto* stamp = new QPushButton(QString::fromUtf8(kStampCaption.data(), qsizetype(kStampCaption.size())), this);
    stamp->setObjectName(QStringLiteral("StampMissions"));
    connect(stamp, &QPushButton::clicked, this, &MissionBrowser::StampSelected);
    for (QPushButton* button : {compare, stamp}) button->setAutoDefault(false);
    differences_ = new QPlainTextEdit(this);
    differences_->setObjectName(QStringLiteral("MissionsDifferences"));
    differences_->setReadOnly(true);
    differences_->setAccessibleName(Text(std::string(kDifferencesName)));
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

// The table, sorted by a header's click and filtered over every column;
// Enter or a double click loads the current row's mission.
void MissionBrowser::BuildTable() {
    rows_ = new MissionTable(this);
    shown_ = new ShownMissions(*rows_, this);
    shown_->setSourceModel(rows_);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("MissionsTable"));
    table_->setAccessibleName(QStringLiteral("Missions of the start folder"));
    table_->setModel(shown_);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSectionsClickable(true);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        MissionOrder order = order_;
        order.Choose(static_cast<MissionColumn>(column));
        SortBy(order);
    });
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
    settings.setValue(QStringLiteral("missions/sortColumn"), int(order_.column));
    settings.setValue(QStringLiteral("missions/sortOrder"), int(order_.descending ? Qt::DescendingOrder : Qt::AscendingOrder));
    QWidget::hideEvent(event);
}

void MissionBrowser::SortBy(MissionOrder order) {
    order_ = order;
    const Qt::SortOrder sorted = order.descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    table_->horizontalHeader()->setSortIndicator(int(order.column), sorted);
    shown_->sort(int(order.column), sorted);
}

// The scanner follows the start folder, its rows named from the window's
// catalogues.
void MissionBrowser::Rescan() { scanner_->Scan(model_.StartDir(), model_.SharedCatalogues()); }

std::filesystem::path MissionBrowser::PathOf(const MissionRow& row) const {
    return std::filesystem::path(scanner_->Folder()) / row.entry.file;
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
    std::vector<std::filesystem::path> files;
    for (const MissionRow* row : SelectedRows()) files.push_back(PathOf(*row));
    const ChosenComparison compared = CompareChosen(files, model_.SharedCatalogues()->Lists());
    if (compared.compared) {
        QStringList text;
        for (const std::string& line : compared.lines) text << Text(line);
        differences_->setPlainText(text.join(u'\n'));
    }
    Tell(compared.said);
}

void MissionBrowser::Tell(const std::string& sentence) {
    status_->setText(Text(sentence));
    say_(sentence);
}

void MissionBrowser::StampSelected() {
    std::vector<std::filesystem::path> files;
    for (const MissionRow* row : SelectedRows()) files.push_back(PathOf(*row));
    Tell(StampChecksums(files).said);
    Rescan();
}

}  // namespace kestrane

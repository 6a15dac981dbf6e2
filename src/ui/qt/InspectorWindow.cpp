#include "ui/qt/InspectorWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace kestrane {

namespace {
QString InspectorName() { return QString::fromUtf8(kInspectorName.data(), static_cast<qsizetype>(kInspectorName.size())); }
}  // namespace

QVariant InspectorTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const ByteInspector::Row row = rows_.RowAt(index.row());
    if (role == Qt::FontRole && row.Marked()) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole && index.column() <= Byte) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case Offset: return row.offset;
    case Byte: return row.byte;
    default: return QString::fromStdString(InspectorText(row, static_cast<InspectorColumn>(index.column())));
    }
}

QVariant InspectorTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return {};
    const std::string_view title = InspectorTitle(static_cast<InspectorColumn>(section));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

InspectorWindow::InspectorWindow(const WindowModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window), rows_(model) {
    setObjectName(QStringLiteral("Inspector"));
    setWindowTitle(InspectorName());
    model_ = new InspectorTable(rows_, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("InspectorTable"));
    table_->setAccessibleName(InspectorName());
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);  // Tab leaves the table, for Compare with...
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(InspectorTable::Block, QHeaderView::Stretch);

    auto* compare = new QPushButton(QString::fromUtf8(kCompareCaption.data(), static_cast<qsizetype>(kCompareCaption.size())), this);
    compare->setObjectName(QStringLiteral("CompareButton"));
    compare->setAutoDefault(false);
    connect(compare, &QPushButton::clicked, this, &InspectorWindow::ChooseComparison);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("InspectorStatus"));
    status_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(compare, 0, Qt::AlignLeft);
    layout->addWidget(status_);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    resize(980, 560);
    restoreGeometry(QSettings().value(QStringLiteral("inspector/geometry")).toByteArray());
}

void InspectorWindow::Refresh() {
    if (isVisible()) model_->Reload();
}

void InspectorWindow::SelectFields(const std::vector<const Field*>& fields) {
    QItemSelection selection;
    QStringList names;
    for (const Field* field : fields) {
        selection.select(model_->index(field->offset, 0), model_->index(field->End() - 1, InspectorTable::Columns - 1));
        names << QStringLiteral("%1 (offsets %2 to %3)")
                     .arg(QString::fromUtf8(field->name.data(), static_cast<qsizetype>(field->name.size())))
                     .arg(field->offset)
                     .arg(field->End() - 1);
    }
    // The first row of the field is current too, so that the keyboard and
    // a screen reader start there; the table's name says what is selected.
    if (!fields.empty()) {
        const QModelIndex first = model_->index(fields.front()->offset, 0);
        table_->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        table_->scrollTo(first);
    }
    table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    table_->setAccessibleName(names.isEmpty() ? InspectorName()
                                              : InspectorName() + QStringLiteral(", selected: ") + names.join(QStringLiteral(", ")));
}

void InspectorWindow::CompareWith(const QString& path) {
    const std::string said = rows_.Compare(QFile::encodeName(path).toStdString());
    status_->setText(QString::fromStdString(said));
    status_->setAccessibleName(status_->text());
    model_->Reload();
}

void InspectorWindow::ChooseComparison() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Compare with"), QString(), QStringLiteral("Mission files (*.msn)"));
    if (!path.isEmpty()) CompareWith(path);
}

void InspectorWindow::hideEvent(QHideEvent* event) {
    QSettings().setValue(QStringLiteral("inspector/geometry"), saveGeometry());
    QWidget::hideEvent(event);
}

}  // namespace kestrane

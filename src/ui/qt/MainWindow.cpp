#include "ui/qt/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "catalogues/Catalogue.h"
#include "mission/Charset.h"
#include "ui/ControlNames.h"
#include "ui/StartFolder.h"
#include "ui/WindowPlacement.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/InspectorWindow.h"
#include "ui/qt/ListBox.h"
#include "ui/qt/MissionBrowser.h"
#include "ui/qt/SheetNames.h"
#include "ui/qt/WindowFont.h"
#include "ui/qt/Widgets.h"

namespace kestrane {

namespace {

using C = ControlId;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QRect PixelRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// The rectangle around every button of an option group, in its frame.
QRect GroupRect(ControlId group) {
    QRect around;
    for (const Placement& p : Arrangement())
        if (p.id == group) around |= PixelRect(p.left, p.top, p.width, p.height);
    return around;
}

// A caption as a name (ControlNames.h), for Qt.
QString NameOf(const std::string& caption) { return Text(AsName(caption)); }

}  // namespace

// ---- Construction ----

MainWindow::MainWindow(WindowModel& model, const QFont& font) : model_(model) {
    setObjectName(WindowObjectName());
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    BuildSheet(font);
    CreateMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // A kept zoom that is no number is the actual size; any other goes to the nearest step.
    bool number = false;
    const int kept = QSettings().value(QStringLiteral("view/zoom"), kActualSize).toInt(&number);
    ApplyZoom(NextZoom(number ? kept : kActualSize, 0));
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        kept_->KeepNow(clock_.elapsed());
        WakeForKeep();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FollowFocus(now); });
    OfferKeptWork();
    announceTimer_ = new QTimer(this);
    announceTimer_->setSingleShot(true);
    announceTimer_->setInterval(250);
    connect(announceTimer_, &QTimer::timeout, statusLine_, &StatusLineLabel::Announce);
    Refresh();
    findChild<QWidget*>(ObjectName(C::LoadButton))->setFocus();  // the first thing to do
}

MainWindow::~MainWindow() {
    // The widgets go first, while the model and the indicator style they
    // use still exist.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    kept_.reset();
}

// The sheet of controls at its fixed size, and below it the status bar with
// the status line and the checksums, each control at its arranged place.
void MainWindow::BuildSheet(const QFont& font) {
    font_ = font;
    sheetStyle_ = std::make_unique<SheetStyle>(QApplication::style()->name());
    // The font is fixed before any child exists, so no child is laid out twice.
    sheet_ = new QWidget;
    sheet_->setObjectName(QStringLiteral("Sheet"));
    sheet_->setFont(font);
    sheet_->setFixedSize(TwipsToPixels(kSheetWidth), TwipsToPixels(kSheetHeight));
    setCentralWidget(sheet_);
    strip_ = new QStatusBar;
    strip_->setFont(font);
    strip_->setSizeGripEnabled(false);
    strip_->setFixedHeight(TwipsToPixels(kStripHeight));
    setStatusBar(strip_);

    std::map<ControlId, QWidget*> frames;
    std::vector<QWidget*> tabOrder;
    for (const Placement& p : Arrangement()) {
        QWidget* parent = !p.onWindow() ? frames.at(p.parent) : p.inStrip() ? strip_ : sheet_;
        QRect at = PixelRect(p.left, p.inStrip() ? p.top - kSheetHeight : p.top, p.width, p.height);
        if (QWidget* box = GroupBoxOf(p.id, parent)) {
            parent = box;
            at.translate(-box->pos());
        }
        QWidget* w = MakeWidget(p, parent);
        w->setObjectName(ObjectName(p.id, p.member));
        controlOf_[w] = p.id;
        w->setGeometry(at);
        placed_.emplace_back(w, at);
        if (Spec(p.id).kind == ControlKind::Frame) frames[p.id] = w;
        if (w->focusPolicy() & Qt::TabFocus) tabOrder.push_back(w);
    }
    for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QWidget* MainWindow::GroupBoxOf(ControlId group, QWidget* frame) {
    if (const ControlId caption = GroupCaption(group); caption != ControlId::Count) {
        QGroupBox*& box = groupBoxes_[group];
        if (box == nullptr) {
            box = new QGroupBox(frame);
            box->setFlat(true);
            box->setStyle(sheetStyle_.get());
            box->setObjectName(ObjectName(group) + QStringLiteral("_Group"));
            box->setAccessibleName(NameOf(model_.Text(caption)));
            box->setGeometry(GroupRect(group));
            placed_.emplace_back(box, box->geometry());
        }
        return box;
    }
    return nullptr;
}

// Every place, size and the font, at the zoom; the window follows.
void MainWindow::ApplyZoom(int percent) {
    zoom_ = percent;
    const auto scaled = [percent](const QRect& r) {
        return QRect(Zoomed(r.x(), percent), Zoomed(r.y(), percent), Zoomed(r.width(), percent), Zoomed(r.height(), percent));
    };
    // The font rounds down, so that every caption that fits at 100 % fits
    // at each zoom.
    QFont font = font_;
    font.setPixelSize(font_.pixelSize() * percent / 100);
    sheet_->setFont(font);
    strip_->setFont(font);
    sheet_->setFixedSize(Zoomed(TwipsToPixels(kSheetWidth), percent), Zoomed(TwipsToPixels(kSheetHeight), percent));
    strip_->setFixedHeight(Zoomed(TwipsToPixels(kStripHeight), percent));
    for (const auto& [widget, at] : placed_) widget->setGeometry(scaled(at));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) FitInto(screen->availableGeometry().size());
    FollowSheetAcross();
}

// The strip's labels follow the sheet when it scrolls across, so that on a
// screen narrower than the sheet the checksums are reached as its right
// side is.
void MainWindow::FollowSheetAcross() {
    auto* scroll = qobject_cast<QScrollArea*>(centralWidget());
    const int across = scroll != nullptr ? scroll->horizontalScrollBar()->value() : 0;
    for (const auto& [widget, at] : placed_)
        if (widget->parentWidget() == strip_)
            widget->move(Zoomed(at.x(), zoom_) - across, Zoomed(at.y(), zoom_));
}

void MainWindow::Zoom(int direction) {
    const int percent = direction == 0 ? kActualSize : NextZoom(zoom_, direction);
    const bool moved = percent != zoom_;
    ApplyZoom(percent);
    QSettings().setValue(QStringLiteral("view/zoom"), percent);
    const std::string said = "Zoom " + std::to_string(percent) + " %" +
                             (moved                              ? "."
                              : percent == kZoomSteps[0]         ? ", the smallest."
                              : percent == std::end(kZoomSteps)[-1] ? ", the largest."
                                                                    : ", as it was.");
    Forward([this, &said] { model_.Say(said); });
}

void MainWindow::FitInto(const QSize& available) {
    // Room for the window's frame and title bar, which are not known before it shows.
    const QSize room = available - QSize(8, 40);
    const QSize needed(sheet_->width(), menuBar()->sizeHint().height() + sheet_->height() + strip_->height());
    const bool fits = needed.width() <= room.width() && needed.height() <= room.height();
    if (fits && centralWidget() == sheet_) {
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        return;
    }
    if (centralWidget() == sheet_) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("SheetScroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(takeCentralWidget());
        setCentralWidget(scroll);
        connect(scroll->horizontalScrollBar(), &QScrollBar::valueChanged, this, &MainWindow::FollowSheetAcross);
    }
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setFixedSize(needed.boundedTo(room));
}

void MainWindow::ShowTitle() {
    // Qt puts the mark "*" at "[*]" while the window is modified.
    setWindowTitle(Text(WindowTitle(model_.TitleName(), "[*]")));
}

QWidget* MainWindow::MakeWidget(const Placement& p, QWidget* parent) {
    QWidget* w = nullptr;
    switch (Spec(p.id).kind) {
    case ControlKind::Frame: w = MakeFrame(p.id, parent); break;
    case ControlKind::Label:
    case ControlKind::ClickableLabel:
    case ControlKind::StatusLine: w = MakeLabel(p.id, parent); break;
    case ControlKind::Button: w = MakeButton(p.id, parent); break;
    case ControlKind::TextBox: w = MakeTextBox(p.id, parent); break;
    case ControlKind::CheckBox: w = MakeCheckBox(p.id, parent); break;
    case ControlKind::Options: w = MakeOptionButton(p.id, p.member, parent); break;
    case ControlKind::List: w = MakeList(p.id, parent); break;
    }
    if (const ControlId caption = NamingCaption(p.id); caption != ControlId::Count)
        w->setAccessibleName(NameOf(model_.Text(caption)));
    return w;
}

QWidget* MainWindow::MakeFrame(ControlId id, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    box->setStyle(sheetStyle_.get());
    refreshers_.push_back([this, id, box] {
        if (const QString title = PlainCaption(model_.Text(id)); box->title() != title) {
            box->setTitle(title);
            box->setAccessibleName(NameOf(model_.Text(id)));
        }
    });
    return box;
}

QWidget* MainWindow::MakeLabel(ControlId id, QWidget* parent) {
    const ControlKind kind = Spec(id).kind;
    CaptionLabel* view = nullptr;
    if (kind == ControlKind::ClickableLabel) {
        auto* clickable = new ClickableLabel(parent);
        connect(clickable, &ClickableLabel::clicked, this, [this, id] { Forward([this, id] { model_.Click(id); }); });
        view = clickable;
    } else if (kind == ControlKind::StatusLine) {
        view = statusLine_ = new StatusLineLabel(parent);
    } else {
        view = new CaptionLabel(parent);
    }
    if (id == C::UnknownNote) {
        view->setWordWrap(true);  // the note over several lines
        view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    } else if (id == C::LoadedPath) {
        view->SetElideMode(Qt::ElideMiddle);  // a path keeps its folder's start and its file name
    }
    const Description* description = FindDescription(id);
    if (description != nullptr) {
        const std::string_view said = description->hint.empty() ? description->what : description->hint;
        view->setAccessibleDescription(QString::fromUtf8(said.data(), static_cast<qsizetype>(said.size())));
        view->SetDescription(QString::fromUtf8(description->what.data(), static_cast<qsizetype>(description->what.size())));
        if (description->reach == Reach::Tab) view->setFocusPolicy(Qt::TabFocus);
    }
    refreshers_.push_back([this, id, view, description] {
        const QString caption = Text(model_.Text(id));
        const QString name = Text(AccessibleNameOf(description, model_.Text(id)));
        if (view->Caption() == caption && view->accessibleName() == name) return;
        view->SetCaption(caption);
        view->setAccessibleName(name);
    });
    return view;
}

QWidget* MainWindow::MakeButton(ControlId id, QWidget* parent) {
    auto* view = new QPushButton(parent);
    view->setAutoDefault(false);
    connect(view, &QPushButton::clicked, this, [this, id] { Forward([this, id] { model_.Click(id); }); });
    refreshers_.push_back([this, id, view] {
        if (const QString caption = PlainCaption(model_.Text(id)); view->text() != caption) {
            view->setText(caption);
            view->setAccessibleName(Text(model_.Text(id)));
        }
    });
    return view;
}

QWidget* MainWindow::MakeTextBox(ControlId id, QWidget* parent) {
    auto* view = new KeyLineEdit(parent);
    // A box takes whatever is typed or pasted, however long: the model reads
    // it all, so no value is ever read from text the box cut off.
    view->setMaxLength(std::numeric_limits<int>::max());
    // The model holds the text however it got into the box (typing, pasting,
    // assistive technology), so that Enter and Save commit what the box shows.
    connect(view, &QLineEdit::textChanged, this, [this, id](const QString& text) {
        model_.Type(id, text.toStdString());
        setWindowModified(model_.Unsaved());
        KeepSoon();
    });
    connect(view, &KeyLineEdit::characterKey, this,
            [this, id](int code) { Forward([this, id, code] { model_.KeyPress(id, code); }); });
    refreshers_.push_back([this, id, view] {
        const QString text = Text(model_.Text(id));
        // Once the model has committed the box, the box's own typing history
        // is over (setting the text ends it): undo takes back the value.
        unsigned& seen = commitsSeen_[id];
        if (view->text() != text || seen != model_.BoxCommits(id)) view->setText(text);
        seen = model_.BoxCommits(id);
    });
    return view;
}

QWidget* MainWindow::MakeCheckBox(ControlId id, QWidget* parent) {
    auto* view = new CheckButton(parent);
    view->setStyle(sheetStyle_.get());
    connect(view, &QCheckBox::clicked, this,
            [this, id](bool checked) { Forward([this, id, checked] { model_.Check(id, checked); }); });
    refreshers_.push_back([this, id, view] {
        if (const QString caption = PlainCaption(model_.Text(id)); view->text() != caption) {
            view->setText(caption);
            view->setAccessibleName(Text(model_.Text(id)));
        }
        if (view->isChecked() != (model_.Value(id) == 1)) view->setChecked(model_.Value(id) == 1);
    });
    return view;
}

QWidget* MainWindow::MakeOptionButton(ControlId id, int member, QWidget* parent) {
    QButtonGroup*& buttons = groups_[id];
    if (buttons == nullptr) {
        buttons = new QButtonGroup(this);
        buttons->setObjectName(ObjectName(id));
        buttons->setExclusive(true);
        // A click, Space, or an arrow key that moves the selection all
        // arrive here as a click on the member.
        connect(buttons, &QButtonGroup::idClicked, this,
                [this, id](int m) { Forward([this, id, m] { model_.Click(id, m); }); });
        refreshers_.push_back([this, id, group = buttons] {
            const std::span<const std::string_view> members = model_.Members(id);
            for (std::size_t i = 0; i < members.size(); ++i)
                if (QAbstractButton* b = group->button(static_cast<int>(i))) {
                    const std::string caption(members[i]);
                    if (const QString text = PlainCaption(caption); b->text() != text) {
                        b->setText(text);
                        b->setAccessibleName(Text(caption).trimmed());
                    }
                }
            QAbstractButton* checked = group->checkedButton();
            const int shown = checked != nullptr ? group->id(checked) : -1;
            if (shown == model_.Value(id)) return;
            if (QAbstractButton* b = group->button(model_.Value(id))) {
                b->setChecked(true);
            } else if (checked != nullptr) {
                // No member selected: an exclusive group cannot show that
                // without being opened for a moment.
                group->setExclusive(false);
                checked->setChecked(false);
                group->setExclusive(true);
            }
        });
    }
    auto* view = new OptionButton(parent);
    view->setStyle(sheetStyle_.get());
    // Auto-exclusive, so that assistive technology reads it as a radio
    // button; the exclusive group still decides which member is chosen.
    view->setAutoExclusive(true);
    buttons->addButton(view, member);
    return view;
}

QWidget* MainWindow::MakeList(ControlId id, QWidget* parent) {
    auto* view = new ListBox(parent);
    auto* items = new ListItems(model_.Items(id), view);
    view->setModel(items);
    // An entry's menu, from the mouse, the Menu key or Shift+F10.
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, id, view] { ShowEntryMenu(id, view); });
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shiftF10, &QShortcut::activated, this, [this, id, view] { ShowEntryMenu(id, view); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, id, view] {
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        model_.Select(id, selected.isEmpty() ? -1 : selected.front().row());
    });
    refreshers_.push_back([this, id, view, items, read = model_.CataloguesRead()]() mutable {
        if (read != model_.CataloguesRead()) {  // another game folder's catalogue
            read = model_.CataloguesRead();
            const QSignalBlocker quiet(view->selectionModel());
            items->Reload();
        }
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        const int shown = selected.isEmpty() ? -1 : selected.front().row();
        const int chosen = model_.Value(id);
        if (shown == chosen) return;
        if (chosen < 0) {
            view->selectionModel()->clearSelection();
        } else {
            const QModelIndex at = view->model()->index(chosen, 0);
            view->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
            view->scrollTo(at);
        }
    });
    return view;
}

// The current entry's menu: one "Use as" for each slot the list fills. A
// right click makes the entry clicked the current one first.
void MainWindow::ShowEntryMenu(ControlId list, QTableView* view) {
    const QModelIndex entry = view->currentIndex();
    if (!entry.isValid()) return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("EntryMenu"));
    for (const EntryUse& use : EntryUses(list)) {
        const QString caption = QString::fromUtf8(use.caption.data(), static_cast<qsizetype>(use.caption.size()));
        connect(menu.addAction(caption), &QAction::triggered, this,
                [this, list, row = entry.row(), slot = use.slot] { Forward([&] { model_.UseEntry(list, row, slot); }); });
    }
    menu.exec(view->viewport()->mapToGlobal(view->visualRect(entry).center()));
}

// ---- Unsaved work ----

void MainWindow::OfferKeptWork() {
    store_ = std::make_unique<KeptWorkFolder>();
    kept_ = std::make_unique<KeptWork>(*store_, model_);
    clock_.start();
    // Wakes when the policy's next keep is due.
    keepTimer_ = new QTimer(this);
    keepTimer_->setSingleShot(true);
    connect(keepTimer_, &QTimer::timeout, this, [this] {
        kept_->Tick(clock_.elapsed());
        Refresh();
        AnnounceSaid();
        WakeForKeep();
    });
    if (const std::string kept = kept_->Survey(); !kept.empty()) model_.Say(model_.Text(C::StatusLine) + " " + kept);
}

void MainWindow::RestoreKeptWork() { Forward([this] { kept_->RestoreNext(); }); }

void MainWindow::ChooseGameFolder(const QString& folder) {
    const QByteArray bytes = RawPath(folder);
    Forward([this, &bytes] { model_.ChangeFolder(ReadCatalogues(bytes.toStdString())); });
    if (missions_ != nullptr && missions_->isVisible()) missions_->Rescan();
    if (HoldsCatalogues(bytes.toStdString())) QSettings().setValue(QStringLiteral("game/folder"), bytes);
}

void MainWindow::KeepSoon() {
    kept_->Touched(clock_.elapsed());
    WakeForKeep();
}

void MainWindow::WakeForKeep() {
    if (const std::optional<std::int64_t> due = kept_->Due())
        keepTimer_->start(static_cast<int>(std::max<std::int64_t>(0, *due - clock_.elapsed())));
}

void MainWindow::EndSession() {
    if (const std::string error = kept_->KeepNow(clock_.elapsed()); !error.empty())
        std::fprintf(stderr, "kestrane: the unsaved work could not be kept: %s\n", error.c_str());
    closeRefused_ = true;  // a close that cannot keep the work goes ahead all the same
    close();
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Work that cannot be kept keeps the window open, once: a second close
    // goes ahead.
    if (const std::string error = kept_->KeepNow(clock_.elapsed()); !error.empty() && !closeRefused_) {
        closeRefused_ = true;
        model_.Say("The unsaved work could not be kept in " + store_->Where() + " (" + error +
                   "), so the window stayed open: save the mission, or close again to leave without it.");
        Refresh();
        event->ignore();
        return;
    }
    const bool inspecting = inspector_ != nullptr && inspector_->isVisible();
    QSettings().setValue(QStringLiteral("inspector/open"), inspecting);
    if (inspecting) inspector_->close();
    const bool browsing = missions_ != nullptr && missions_->isVisible();
    QSettings().setValue(QStringLiteral("missions/open"), browsing);
    if (browsing) missions_->close();
    for (QWidget* help : {keysWindow_, aboutWindow_})
        if (help != nullptr) help->close();
    event->accept();
}

// ---- The inspector ----

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // What start-up found (kept work, a catalogue missing) is heard once the
    // window has been.
    if (!event->spontaneous() && saidAnnounced_ == 0) AnnounceSaid();
    if (!event->spontaneous() && QSettings().value(QStringLiteral("inspector/open")).toBool()) ToggleInspector();
    if (!event->spontaneous() && QSettings().value(QStringLiteral("missions/open")).toBool()) ToggleMissions();
}

// A second window keeps the place it was last left where that covers no
// part of this window; else it opens beside it, clear of the status bar.
void MainWindow::PlaceSecondWindow(QWidget* window) {
    const auto box = [](const QRect& r) { return ScreenBox{r.x(), r.y(), r.width(), r.height()}; };
    const ScreenBox main = box(frameGeometry());
    if (KeepsItsPlace(box(window->frameGeometry()), main) || screen() == nullptr) return;
    const QRect bar(strip_->mapToGlobal(QPoint(0, 0)), strip_->size());
    // A window not yet shown has no frame: it will have this window's.
    const QSize frame = frameGeometry().size() - size();
    const ScreenBox at =
        PlaceBeside(main, box(bar), box(QRect(QPoint(), window->size() + frame)), box(screen()->availableGeometry()));
    window->resize(at.width - frame.width(), at.height - frame.height());
    window->move(at.left, at.top);
}

void MainWindow::ToggleInspector() {
    // Made when first asked for, so that start-up does not pay for it.
    if (inspector_ == nullptr) inspector_ = new InspectorWindow(model_, this);
    if (inspector_->isVisible()) return inspector_->close(), void();
    QWidget* const focus = focusWidget();
    PlaceSecondWindow(inspector_);
    inspector_->show();
    inspector_->Refresh();
    FollowFocus(focus);
    inspector_->activateWindow();
    inspector_->Table()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ToggleMissions() {
    if (missions_ == nullptr)
        missions_ = new MissionBrowser(
            model_, [this](const std::string& path) { Forward([this, &path] { model_.Open(path); }); },
            [this](const std::string& said) { Forward([this, &said] { model_.Say(said); }); }, this);
    if (missions_->isVisible()) return missions_->close(), void();
    PlaceSecondWindow(missions_);
    missions_->show();
    missions_->activateWindow();
    missions_->Table()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::FollowFocus(QWidget* now) {
    const auto it = controlOf_.find(now);
    if (it == controlOf_.end() || inspector_ == nullptr || !inspector_->isVisible()) return;
    if (const std::vector<const Field*> fields = FieldsOf(it->second); !fields.empty()) inspector_->SelectFields(fields);
}

// ---- Events and display ----

bool MainWindow::focusNextPrevChild(bool next) {
    auto groupOf = [](QWidget* w) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        return button != nullptr ? button->group() : nullptr;
    };
    QWidget* const start = focusWidget();
    if (start == nullptr) return QMainWindow::focusNextPrevChild(next);
    QButtonGroup* const leaving = groupOf(start);
    for (QWidget* w = start;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == nullptr || w == start) break;
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this) || !isAncestorOf(w))
            continue;
        if (QButtonGroup* group = groupOf(w)) {
            if (group == leaving) continue;
            if (QAbstractButton* chosen = group->checkedButton()) w = chosen;
        }
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Anything that names files is accepted here, so that a refused drop
    // can say why in the status line.
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    int notLocal = 0;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) files.push_back(LocalFileOf(url).toStdString());
        else ++notLocal;
    }
    event->acceptProposedAction();
    Forward([this, &files, notLocal] { model_.Drop(files, notLocal); });
}

void MainWindow::Forward(const std::function<void()>& event) {
    event();
    Refresh();
    // A refusal takes the user to the box to mend.
    if (const ControlId refused = model_.TakeFocusRequest(); refused != ControlId::Count)
        if (QWidget* box = findChild<QWidget*>(ObjectName(refused))) box->setFocus(Qt::OtherFocusReason);
    // Work restored over a file changed since opens in the inspector against it.
    if (const std::string compared = model_.TakeCompareRequest(); !compared.empty()) {
        if (inspector_ == nullptr || !inspector_->isVisible()) ToggleInspector();
        inspector_->CompareWith(QFile::decodeName(QByteArray::fromStdString(compared)));
    }
    AnnounceSaid();
    KeepSoon();
}

// What an action did, or why it was refused, is spoken as it is said: last,
// after every other change of the window.
void MainWindow::AnnounceSaid() {
    if (model_.Said() == saidAnnounced_) return;
    saidAnnounced_ = model_.Said();
    // A moment later, so that a screen reader has taken the window's other
    // changes (a load changes dozens of controls) and does not drop it.
    announceTimer_->start();
}

void MainWindow::Refresh() {
    for (const auto& refresh : refreshers_) refresh();
    if (inspector_ != nullptr) inspector_->Refresh();
    ShowTitle();
    // Marked whenever closing now would keep work for the next start: the
    // image changed, or a box holds text a save would store.
    setWindowModified(model_.Unsaved());
    ShowRecent();
}

}  // namespace kestrane

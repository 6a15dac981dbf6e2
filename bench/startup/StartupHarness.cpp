// Start-up harness: shows one window, waits for its first paint and the idle
// event loop after it, then prints how long that took and the peak memory,
// and exits.
//
//   kestrane_startup editor        the real window, catalogues from the
//                                  current folder
//   kestrane_startup census        the real window; prints the kinds and
//                                  numbers of its widgets instead of timings
//   kestrane_startup model         no window: the window model's start-up
//                                  alone (catalogues from the current
//                                  folder), in a fresh process
//   kestrane_startup model-census  the same counts worked out from the
//                                  window model, for when there is no view
//   kestrane_startup bare FILE     a plain window holding the widgets that
//                                  FILE (a census) lists, its lists holding
//                                  as many plain rows as the census counted
//                                  (none with STARTUP_BARE_EMPTY_LISTS set)
//   kestrane_startup bare FILE HOW N
//                                  the same with N items put into its second
//                                  list in one of the ways a view could fill
//                                  a long catalogue (see FillList), to
//                                  compare those ways
//
// The timing line reads "startup mode=... main_ns=... idle_ns=...
// since_exec_ms=... maxrss_kb=... widgets=...": the two _ns values are
// CLOCK_REALTIME at main() entry and at idle, so a driver that notes the
// clock before it starts the process gets the whole start-up, dynamic
// loading included. since_exec_ms is the same span measured from the
// kernel's process start time, which only has clock-tick resolution.

#include <QAbstractButton>
#include <QAbstractListModel>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSpinBox>
#include <QStringListModel>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/Controls.h"
#include "ui/PickList.h"
#include "ui/WindowModel.h"

#ifdef KESTRANE_HAVE_VIEW
#include "ui/qt/ListBox.h"
#include "ui/MissionFolder.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/MissionBrowser.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/Widgets.h"
#endif

namespace {

std::int64_t RealtimeNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// Milliseconds since the kernel started this process (clock-tick resolution).
double MsSinceExec() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command name, which is in parentheses and may hold
    // blanks; starttime is field 22 overall, the 20th after ")".
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {}
    const double startSec = std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - startSec) * 1000.0;
}

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- Widget census ----

// The standard widget classes that a census counts and a bare window makes.
const std::vector<std::pair<std::string, std::function<QWidget*(QWidget*)>>>& Factories() {
    static const std::vector<std::pair<std::string, std::function<QWidget*(QWidget*)>>> factories{
        {"QRadioButton", [](QWidget* p) { return new QRadioButton("Option", p); }},
        {"QCheckBox", [](QWidget* p) { return new QCheckBox("Check", p); }},
        {"QPushButton", [](QWidget* p) { return new QPushButton("Button", p); }},
        {"QToolButton", [](QWidget* p) { return new QToolButton(p); }},
        {"QLineEdit", [](QWidget* p) { return new QLineEdit(p); }},
        {"QSpinBox", [](QWidget* p) { return new QSpinBox(p); }},
        {"QComboBox", [](QWidget* p) { return new QComboBox(p); }},
        {"QListWidget", [](QWidget* p) { return new QListWidget(p); }},
        {"QListView", [](QWidget* p) { return new QListView(p); }},
        {"QTableWidget", [](QWidget* p) { return new QTableWidget(p); }},
        {"QTableView", [](QWidget* p) { return new QTableView(p); }},
        {"QTreeView", [](QWidget* p) { return new QTreeView(p); }},
        {"QPlainTextEdit", [](QWidget* p) { return new QPlainTextEdit(p); }},
        {"QTextEdit", [](QWidget* p) { return new QTextEdit(p); }},
        {"QScrollArea", [](QWidget* p) { return new QScrollArea(p); }},
        {"QGroupBox", [](QWidget* p) { return new QGroupBox("Frame", p); }},
        {"QLabel", [](QWidget* p) { return new QLabel("Label", p); }},
        {"QStatusBar", [](QWidget* p) { return new QStatusBar(p); }},
        {"QMenuBar", [](QWidget* p) { return new QMenuBar(p); }},
        {"QMenu", [](QWidget* p) { return new QMenu(p); }},
        {"QFrame", [](QWidget* p) { return new QFrame(p); }},
        {"QWidget", [](QWidget* p) { return new QWidget(p); }},
    };
    return factories;
}

// The nearest standard class of a widget, walking up from its own class.
std::string StandardClass(const QWidget* w) {
    for (const QMetaObject* mo = w->metaObject(); mo != nullptr; mo = mo->superClass())
        for (const auto& [name, make] : Factories())
            if (name == mo->className()) return name;
    return "QWidget";
}

// Widgets that Qt makes inside other widgets (viewports, scroll bars and
// their containers, size grips) are part of their owner, not of the window.
bool MadeByQt(const QWidget* w) {
    if (w->objectName().startsWith("qt_")) return true;
    if (qobject_cast<const QSizeGrip*>(w)) return true;
    const QWidget* parent = w->parentWidget();
    // A table view's headers and corner button.
    if (qobject_cast<const QTableView*>(parent) && (qobject_cast<const QHeaderView*>(w) || w->inherits("QTableCornerButton")))
        return true;
    if (qobject_cast<const QScrollBar*>(w) && parent && parent->objectName().startsWith("qt_scrollarea")) return true;
    return false;
}

// One widget of the real window as the bare window copies it: its standard
// class, its place in the window, the text it shows and, for a list, the
// text of each row.
struct Copied {
    std::string cls;
    QRect place;
    QString text;
    QStringList rows;
};

struct Census {
    std::map<std::string, int> counts;
    std::map<std::string, int> foreign;  // own classes, by the standard class they count as
    int width = 900;
    int height = 700;
    long listItems = 0;
    std::vector<int> itemsPerList;  // rows of each list, in the window's order
    QString font;                   // the window's font, as QFont::toString gives it
    std::vector<Copied> widgets;    // each widget, parents before children
};

// The text a standard widget shows, and the way to give a widget that text.
QString ShownText(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w)) return frame->title();
    if (auto* menu = qobject_cast<const QMenu*>(w)) return menu->title();
    if (auto* box = qobject_cast<const QLineEdit*>(w)) return box->text();
    return {};
}

void Show(QWidget* w, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(w)) frame->setTitle(text);
    else if (auto* box = qobject_cast<QLineEdit*>(w)) box->setText(text);
}

// One line of a census file holds a text percent-encoded, as one word.
std::string Encoded(const QString& text) { return text.toUtf8().toPercentEncoding().toStdString(); }
QString Decoded(const std::string& word) { return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(word))); }

Census TakeCensus(QWidget& window) {
    Census c;
    c.width = window.width();
    c.height = window.height();
    // The window's font is the sheet's; the menu bar keeps the desktop's.
    const QWidget* sheet = window.findChild<QWidget*>(QStringLiteral("Sheet"));
    c.font = (sheet != nullptr ? sheet : &window)->font().toString();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (MadeByQt(w)) continue;
        const std::string cls = StandardClass(w);
        Copied& copy = c.widgets.emplace_back(Copied{cls, QRect(w->mapTo(&window, QPoint()), w->size()), ShownText(w), {}});
        ++c.counts[cls];
        if (cls != w->metaObject()->className()) ++c.foreign[std::string(w->metaObject()->className()) + "->" + cls];
        int rows = -1;
        if (auto* list = qobject_cast<QListWidget*>(w)) rows = list->count();
        else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            rows = view->model()->rowCount();
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            for (int row = 0; row < rows; ++row) copy.rows.append(view->model()->index(row, 0).data().toString());
        if (rows >= 0) {
            c.listItems += rows;
            c.itemsPerList.push_back(rows);
        }
    }
    return c;
}

void PrintCensus(const Census& c) {
    std::printf("size %d %d\n", c.width, c.height);
    for (const auto& [cls, n] : c.counts) std::printf("%s %d\n", cls.c_str(), n);
    for (const auto& [cls, n] : c.foreign) std::printf("# %s %d\n", cls.c_str(), n);
    std::printf("# list items %ld\n", c.listItems);
    if (!c.itemsPerList.empty()) {
        std::printf("rows");
        for (int n : c.itemsPerList) std::printf(" %d", n);
        std::printf("\n");
    }
    if (!c.font.isEmpty()) std::printf("font %s\n", Encoded(c.font).c_str());
    for (const Copied& w : c.widgets) {
        std::printf("widget %s %d %d %d %d %s\n", w.cls.c_str(), w.place.x(), w.place.y(), w.place.width(),
                    w.place.height(), Encoded(w.text).c_str());
        for (const QString& row : w.rows) std::printf("row %s\n", Encoded(row).c_str());
    }
}

// Counts from the window model's arrangement, as the view builds it: one
// widget per placement (an option group has one per member), of the
// standard class its control kind is shown with; the window's size.
Census ModelCensus() {
    using kestrane::ControlKind;
    Census c;
    c.width = kestrane::TwipsToPixels(kestrane::kWindowWidth);
    c.height = kestrane::TwipsToPixels(kestrane::kWindowHeight);
    for (const kestrane::Placement& p : kestrane::Arrangement()) {
        switch (kestrane::AllControls()[kestrane::Index(p.id)].kind) {
        case ControlKind::Frame: ++c.counts["QGroupBox"]; break;
        case ControlKind::Label:
        case ControlKind::ClickableLabel:
        case ControlKind::StatusLine: ++c.counts["QLabel"]; break;
        case ControlKind::Button: ++c.counts["QPushButton"]; break;
        case ControlKind::TextBox: ++c.counts["QLineEdit"]; break;
        case ControlKind::CheckBox: ++c.counts["QCheckBox"]; break;
        case ControlKind::Options: ++c.counts["QRadioButton"]; break;
        case ControlKind::List: ++c.counts["QTableView"]; break;
        }
    }
    return c;
}

Census ReadCensus(const char* path) {
    Census c;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "size") fields >> c.width >> c.height;
        else if (key == "rows") for (int n; fields >> n;) c.itemsPerList.push_back(n);
        else if (key == "font") { std::string word; fields >> word; c.font = Decoded(word); }
        else if (key == "widget") {
            Copied w;
            int x = 0, y = 0, width = 0, height = 0;
            std::string text;
            fields >> w.cls >> x >> y >> width >> height >> text;
            w.place = QRect(x, y, width, height);
            w.text = Decoded(text);
            c.widgets.push_back(std::move(w));
        } else if (key == "row" && !c.widgets.empty()) {
            std::string text;
            fields >> text;
            c.widgets.back().rows.append(Decoded(text));
        } else fields >> c.counts[key];
    }
    return c;
}

// Gives a bare list its rows as plain strings, set up as a list: uniform
// rows, and a table without headers.
void FillRows(QAbstractItemView* view, const QStringList& items) {
    if (auto* listView = qobject_cast<QListView*>(view)) listView->setUniformItemSizes(true);
    if (auto* table = qobject_cast<QTableView*>(view)) {
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
    }
    view->setModel(new QStringListModel(items, view));
}

// A plain window of the census's size, in its font. When the census copied
// the real window's widgets, each stock widget stands where its own stood
// and shows the same text, and each list the same rows (unless rows is
// false): the toolkit's floor for showing that window. A census of counts
// alone gives a simple grid of fixed cells with placeholder texts instead,
// its lists holding as many rows as were counted. Nothing is connected.
std::unique_ptr<QWidget> BareWindow(const Census& c, bool rows) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle("Bare widgets");
    window->resize(c.width, c.height);
    if (QFont font; !c.font.isEmpty() && font.fromString(c.font)) window->setFont(font);
    if (!c.widgets.empty()) {
        for (const Copied& copy : c.widgets) {
            const auto kind = std::ranges::find(Factories(), copy.cls, &std::pair<std::string, std::function<QWidget*(QWidget*)>>::first);
            QWidget* w = kind != Factories().end() ? kind->second(window.get()) : new QWidget(window.get());
            w->setGeometry(copy.place);
            Show(w, copy.text);
            // A menu goes into the window's menu bar, as the real one's do.
            if (auto* menu = qobject_cast<QMenu*>(w)) {
                menu->setTitle(copy.text);
                if (auto* bar = window->findChild<QMenuBar*>()) bar->addMenu(menu);
            }
            if (auto* view = qobject_cast<QAbstractItemView*>(w); view && rows) FillRows(view, copy.rows);
        }
        return window;
    }
    constexpr int kCellW = 110, kCellH = 26;
    const int columns = std::max(1, c.width / kCellW);
    int cell = 0;
    std::size_t list = 0;
    for (const auto& [name, make] : Factories()) {
        const auto it = c.counts.find(name);
        if (it == c.counts.end()) continue;
        for (int i = 0; i < it->second; ++i) {
            QWidget* w = make(window.get());
            auto* view = qobject_cast<QAbstractItemView*>(w);
            if (view == nullptr || !rows || list >= c.itemsPerList.size()) {
                w->setGeometry((cell % columns) * kCellW, (cell / columns) * kCellH, kCellW - 4, kCellH - 2);
                ++cell;
                continue;
            }
            // Lists with rows go down the strip right of the grid, one above
            // the other, each half the window's height.
            const int half = c.height / 2;
            w->setGeometry(columns * kCellW, static_cast<int>(list % 2) * half, c.width - columns * kCellW, half - 2);
            QStringList items;
            for (int row = 0; row < c.itemsPerList[list]; ++row) items.append(QStringLiteral(" %1:Item %1").arg(row));
            FillRows(view, items);
            ++list;
        }
    }
    return window;
}

// Puts n catalogue-like items into a list of the bare window:
//   additem   QListWidget::addItem once per item
//   additems  QListWidget::addItems with one QStringList
//   uniform   the same with setUniformItemSizes(true)
//   model     a QListView on a QStringListModel, uniform item sizes
//   lazy      a QListView on a model that makes each item's text only when
//             the view asks for it, from a pick list over one catalogue
//             text the way the window model holds it; uniform item sizes
//   listbox   the editor's list box (a one-column table view) on that model
//   table     a plain one-column table view without headers on that model
// The list filled is the window's last list; it is replaced by one of the
// kind the way needs, in the same place.
class LazyLines : public QAbstractListModel {
public:
    LazyLines(kestrane::PickList lines, QObject* parent) : QAbstractListModel(parent), lines_(std::move(lines)) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : lines_.Count(); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return QString::fromStdString(lines_.Item(index.row()));
    }

private:
    kestrane::PickList lines_;
};

double g_fillMs = 0;

bool FillList(QWidget& window, const std::string& how, int n) {
    QList<QAbstractItemView*> lists = window.findChildren<QAbstractItemView*>();
    lists.removeIf([](const QAbstractItemView* v) { return qobject_cast<const QHeaderView*>(v) != nullptr; });
    if (lists.isEmpty()) return false;
    QAbstractItemView* list = lists.back();
    QElapsedTimer timer;
    timer.start();
    if (how == "lazy" || how == "listbox" || how == "table") {
        std::string text;
        for (int i = 0; i < n; ++i)
            text.append("Target ").append(std::to_string(i)).append(" (sector ").append(std::to_string(i % 97)).append(")\n");
        QAbstractItemView* view = nullptr;
        if (how == "lazy") {
            auto* listView = new QListView(&window);
            listView->setUniformItemSizes(true);
            view = listView;
        } else if (how == "table") {
            auto* table = new QTableView(&window);
            table->horizontalHeader()->hide();
            table->verticalHeader()->hide();
            table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            view = table;
        } else {
#ifdef KESTRANE_HAVE_VIEW
            view = new kestrane::ListBox(&window);
#else
            return false;
#endif
        }
        view->setGeometry(list->geometry());
        view->setModel(new LazyLines(kestrane::PickList(std::make_shared<const kestrane::CatalogueFile>(kestrane::ParseCatalogue(std::move(text)))), view));
        delete list;
        g_fillMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        return true;
    }
    QStringList items;
    items.reserve(n);
    for (int i = 0; i < n; ++i) items.append(QStringLiteral(" %1:Target %1 (sector %2)").arg(i).arg(i % 97));
    QListWidget* widget = nullptr;
    if (how == "additem" || how == "additems" || how == "uniform") {
        widget = qobject_cast<QListWidget*>(list);
        if (widget == nullptr) {
            widget = new QListWidget(&window);
            widget->setGeometry(list->geometry());
            delete list;
        }
    }
    if (how == "additem") {
        for (const QString& item : items) widget->addItem(item);
    } else if (how == "additems") {
        widget->addItems(items);
    } else if (how == "uniform") {
        widget->setUniformItemSizes(true);
        widget->addItems(items);
    } else if (how == "model") {
        auto* view = new QListView(&window);
        view->setGeometry(list->geometry());
        view->setUniformItemSizes(true);
        view->setModel(new QStringListModel(items, view));
        delete list;
    } else {
        return false;
    }
    g_fillMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return true;
}

// Calls done() on the first idle pass of the event loop after the window's
// first paint.
class FirstIdleAfterPaint : public QObject {
public:
    FirstIdleAfterPaint(QWidget& window, std::function<void()> done) : done_(std::move(done)) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !armed_) {
            armed_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, done_);
        }
        return false;
    }

private:
    std::function<void()> done_;
    bool armed_ = false;
};

int Usage() {
    std::fprintf(stderr, "usage: kestrane_startup editor | census | model-census | bare CENSUS-FILE [HOW N] | missions\n");
    return 2;
}

#ifdef KESTRANE_HAVE_VIEW
// The missions window over the current folder, opened with F3 once the
// editor is idle: when its first rows show, when every file is a row, and
// how long a key pressed in the sheet meanwhile waits to be handled (a key
// is posted every 4 ms while the table fills).
class KeyDelay : public QObject {
public:
    std::int64_t posted = 0, worst = 0;
    int keys = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && posted != 0) {
            worst = std::max(worst, RealtimeNs() - posted);
            posted = 0;
            ++keys;
        }
        return false;
    }
};

int MeasureMissions(QApplication& app, kestrane::MainWindow& window, std::size_t files) {
    QAction* f3 = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
        if (action->shortcut() == QKeySequence(Qt::Key_F3)) f3 = action;
    QWidget* box = window.findChild<QWidget*>(QStringLiteral("AltText_0"));
    if (f3 == nullptr || box == nullptr) return 5;
    KeyDelay delay;
    box->installEventFilter(&delay);
    std::int64_t opened = 0, firstRows = 0, filled = 0;
    QTimer keys;
    keys.setInterval(4);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (delay.posted != 0) return;  // the last one is still waiting
        delay.posted = RealtimeNs();
        QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
    });
    QTimer::singleShot(0, [&] {
        opened = RealtimeNs();
        f3->trigger();
        auto* table = window.Missions() ? &window.Missions()->Rows() : nullptr;
        if (table == nullptr) return QApplication::exit(6);
        QObject::connect(table, &QAbstractItemModel::rowsInserted, [&, table] {
            if (firstRows == 0) firstRows = RealtimeNs();
            if (static_cast<std::size_t>(table->rowCount()) < files) return;
            filled = RealtimeNs();
            keys.stop();
            QTimer::singleShot(0, [] { QApplication::exit(0); });
        });
        keys.start();
    });
    QTimer::singleShot(60000, [] { QApplication::exit(4); });
    if (const int code = app.exec(); code != 0) return code;
    std::printf("missions files=%zu first_rows_ms=%.1f filled_ms=%.1f worst_key_ms=%.1f keys=%d\n", files,
                static_cast<double>(firstRows - opened) / 1e6, static_cast<double>(filled - opened) / 1e6,
                static_cast<double>(delay.worst) / 1e6, delay.keys);
    return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const std::int64_t mainNs = RealtimeNs();
    if (argc < 2) return Usage();
    const std::string mode = argv[1];

    if (mode == "model") {
        struct NoDialog : kestrane::FileDialog {
            std::string ChooseFile(const std::string&, std::string_view, std::string_view) override { return {}; }
            std::string ChooseSaveFile(const std::string&, const std::string&, std::string_view, std::string_view) override {
                return {};
            }
        } dialog;
        const std::int64_t before = RealtimeNs();
        const kestrane::WindowModel model(dialog);
        const std::int64_t after = RealtimeNs();
        std::printf("model construct_ms=%.2f maxrss_kb=%ld items=%d+%d\n", static_cast<double>(after - before) / 1e6,
                    MaxRssKb(), model.Items(kestrane::ControlId::AircraftList).Count(),
                    model.Items(kestrane::ControlId::PlaceList).Count());
        return 0;
    }
    if (mode == "model-census") {
        PrintCensus(ModelCensus());
        return 0;
    }

#ifdef KESTRANE_HAVE_VIEW
    // The editor's start, as its main() has it: its names (which place its
    // settings), the catalogues read meanwhile, and the model and window
    // made once the toolkit is up.
    std::future<kestrane::Catalogues> catalogues;
    if (mode == "editor" || mode == "census" || mode == "missions") {
        QCoreApplication::setOrganizationName(QStringLiteral("kestrane"));
        QCoreApplication::setApplicationName(QStringLiteral("kestrane"));
        catalogues = kestrane::ReadCataloguesMeanwhile(std::filesystem::current_path());
    }
    std::optional<kestrane::QtFileDialog> dialog;
    std::optional<kestrane::WindowModel> model;
#endif
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (mode == "editor" || mode == "census" || mode == "missions") {
#ifdef KESTRANE_HAVE_VIEW
        QGuiApplication::setDesktopFileName(QStringLiteral("kestrane"));
        QApplication::setWindowIcon(kestrane::AppIcon());
        const QFont font = kestrane::WindowFont();
        dialog.emplace();
        model.emplace(*dialog, catalogues.get());
        window = std::make_unique<kestrane::MainWindow>(*model, font);
        dialog->SetParent(window.get());
        if (mode == "missions") {
            window->show();
            const std::size_t files = kestrane::ListMissionFiles(kestrane::OpenFolder(std::filesystem::current_path())).size();
            return MeasureMissions(app, static_cast<kestrane::MainWindow&>(*window), files);
        }
#else
        std::fprintf(stderr, "kestrane_startup: built without the view library\n");
        return 3;
#endif
    } else if (mode == "bare" && argc >= 3) {
        window = BareWindow(ReadCensus(argv[2]), std::getenv("STARTUP_BARE_EMPTY_LISTS") == nullptr);
        if (argc >= 5 && !FillList(*window, argv[3], std::atoi(argv[4]))) return Usage();
    } else {
        return Usage();
    }

    FirstIdleAfterPaint idle(*window, [&] {
        const std::int64_t idleNs = RealtimeNs();
        if (mode == "census") {
            PrintCensus(TakeCensus(*window));
        } else {
            int widgets = 0;
            for (QWidget* w : window->findChildren<QWidget*>()) widgets += MadeByQt(w) ? 0 : 1;
            std::printf("startup mode=%s main_ns=%lld idle_ns=%lld since_exec_ms=%.1f maxrss_kb=%ld widgets=%d fill_ms=%.1f\n",
                        mode.c_str(), static_cast<long long>(mainNs), static_cast<long long>(idleNs), MsSinceExec(),
                        MaxRssKb(), widgets, g_fillMs);
        }
        std::fflush(stdout);
        QApplication::exit(0);
    });
    // A window that never paints must not hang the driver.
    QTimer::singleShot(30000, [] {
        std::fprintf(stderr, "kestrane_startup: no paint within 30 s\n");
        QApplication::exit(4);
    });
    window->show();
    return app.exec();
}

#include "ui/qt/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "ui/qt/QtFileDialog.h"
#include "ui/qt/Widgets.h"

namespace kestrane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QRect PixelRect(const Placement& p) {
    return {TwipsToPixels(p.left), TwipsToPixels(p.top), TwipsToPixels(p.width), TwipsToPixels(p.height)};
}

// Names and hints for the controls that have no caption of their own: the
// accessible name, and the tool tip that tells a user what the value is.
struct Description {
    std::string_view name;
    int index;
    const char* accessibleName;
    const char* hint;
};

constexpr Description kDescriptions[] = {
    {"Label16", -1, "Path of the loaded file", "Path of the loaded file"},
    {"Label17", -1, "Mission name read from the file", "Mission name read from the file"},
    {"AP1L", -1, "Attack plane 1 type", "Select an aircraft in the Aircraft list, then click here"},
    {"AP1N", -1, "Attack plane 1 type number", "Attack plane 1: aircraft number"},
    {"AP2L", -1, "Attack plane 2 type", "Select an aircraft in the Aircraft list, then click here"},
    {"AP2N", -1, "Attack plane 2 type number", "Attack plane 2: aircraft number"},
    {"DP1L", -1, "Enemy primary type", "Select an aircraft in the Aircraft list, then click here"},
    {"DP1N", -1, "Enemy primary type number", "Enemy primary: aircraft number"},
    {"DP2L", -1, "Enemy secondary type", "Select an aircraft in the Aircraft list, then click here"},
    {"DP2N", -1, "Enemy secondary type number", "Enemy secondary: aircraft number; click for None"},
    {"Targl", -1, "Target", "Select a place in the Target/Home Base list, then click here"},
    {"TargLN", -1, "Target number", "Target: place number"},
    {"HBL", -1, "Home base", "Select a place in the Target/Home Base list, then click here"},
    {"HBN", -1, "Home base number", "Home base: place number"},
    {"Label15", -1, "Stored checksum, decimal", "Checksum stored in the loaded file (decimal)"},
    {"Label3", -1, "Stored checksum, hexadecimal bytes", "Checksum stored in the loaded file (hexadecimal bytes)"},
    {"Label1", -1, "Current checksum, decimal", "Current checksum (decimal)"},
    {"Label2", -1, "Current checksum, hexadecimal", "Current checksum (hexadecimal)"},
    {"Label18", 0, "Current checksum, byte 0", "Current checksum: byte 0 (lowest)"},
    {"Label18", 1, "Current checksum, byte 1", "Current checksum: byte 1"},
    {"Label18", 2, "Current checksum, byte 2", "Current checksum: byte 2"},
    {"Label18", 3, "Current checksum, byte 3", "Current checksum: byte 3 (highest)"},
    {"StatusLine", -1, "Status", ""},
};

const Description* FindDescription(std::string_view name, int index) {
    for (const Description& d : kDescriptions)
        if (d.name == name && d.index == index) return &d;
    return nullptr;
}

// The label whose caption names a text box or a list.
struct NamedBy {
    std::string_view control;
    int index;
    std::string_view label;
    int labelIndex;
};

constexpr NamedBy kNamedBy[] = {
    {"Text1", -1, "Label19", -1},   {"Text2", -1, "Label20", -1},   {"AltText", 0, "Label10", 0},
    {"AltText", 1, "Label10", 1},   {"AltText", 2, "Label10", 2},   {"AltText", 3, "Label10", 3},
    {"MDate", -1, "Label11", 0},    {"MWeather", -1, "Label11", 1}, {"TOffset", -1, "Label11", 2},
    {"UKN", 0, "Label13", 0},       {"UKN", 1, "Label13", 1},       {"AP1Num", -1, "Label6", -1},
    {"List1", -1, "Label4", 0},     {"List2", -1, "Label4", 1},
};

// A caption as a name: without the blanks and colon that end it.
QString AsName(QString caption) {
    while (!caption.isEmpty() && (caption.back() == u':' || caption.back().isSpace())) caption.chop(1);
    return caption.trimmed();
}

// ---- Font ----

// The captions at start-up and the room each has, for choosing the font.
struct CaptionRoom {
    QString text;
    int width;       // pixels of the control
    WidgetKind kind;
};

std::vector<CaptionRoom> StartCaptions(const Form1& form) {
    std::vector<CaptionRoom> rooms;
    for (const Placement& p : Arrangement()) {
        const int width = TwipsToPixels(p.width);
        std::string caption;
        switch (p.kind) {
        case WidgetKind::Frame:
            if (const Frame* f = form.Find<Frame>(p.name, p.index)) caption = f->Caption;
            break;
        case WidgetKind::Label:
            if (const Label* l = form.Find<Label>(p.name, p.index); l && p.name != "Label12") caption = l->Caption;
            break;
        case WidgetKind::Button:
            if (const Button* b = form.Find<Button>(p.name, p.index)) caption = b->Caption;
            break;
        case WidgetKind::CheckBox:
            if (const CheckBox* c = form.Find<CheckBox>(p.name, p.index)) caption = c->Caption;
            break;
        case WidgetKind::OptionButton:
            if (const OptionGroup* g = form.Find<OptionGroup>(p.name); g && p.index < g->Count())
                caption = g->Captions[static_cast<std::size_t>(p.index)];
            break;
        default:
            break;
        }
        if (!caption.empty()) rooms.push_back({Text(caption), width, p.kind});
    }
    return rooms;
}

// How much wider than its room the widest caption's text is in the given
// font (1 or less when all fit). Option and check buttons need their
// indicator beside the text, buttons and frame captions a small margin; only
// the text itself narrows with the font.
double WorstRatio(const std::vector<CaptionRoom>& rooms, const QFont& font, const QStyle& indicators) {
    const QFontMetricsF fm(font);
    const int radio = indicators.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                      indicators.pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const int check =
        indicators.pixelMetric(QStyle::PM_IndicatorWidth) + indicators.pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    double worst = 0;
    for (const CaptionRoom& r : rooms) {
        int room = r.width;
        switch (r.kind) {
        case WidgetKind::Frame: room -= 16; break;
        case WidgetKind::Button: room -= 8; break;
        case WidgetKind::OptionButton: room -= radio + 1; break;
        case WidgetKind::CheckBox: room -= check + 1; break;
        default: break;
        }
        // Whole pixels, rounded up: a text a fraction wider than its room
        // would be shortened.
        const double need = std::ceil(fm.horizontalAdvance(r.text));
        worst = std::max(worst, need / std::max(room, 1));
    }
    return worst;
}

// An 11-pixel sans serif, made narrower where a caption would not fit its
// fixed width, so that every caption shows whole with the fonts at hand.
QFont ChooseFont(const Form1& form, const QStyle& indicators) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    const std::vector<CaptionRoom> rooms = StartCaptions(form);

    // Each step narrows the font by the widest caption's excess, measured
    // again since a narrower face of the family may take over below 100.
    int stretch = 100;
    double ratio = WorstRatio(rooms, font, indicators);
    for (int step = 0; ratio > 1.0 && step < 8; ++step) {
        stretch = std::clamp(static_cast<int>(std::floor(stretch / ratio)), 60, stretch - 1);
        font.setStretch(stretch);
        ratio = WorstRatio(rooms, font, indicators);
    }
    return font;
}

}  // namespace

// ---- Construction ----

struct MainWindow::Owned {
    QtFileDialog dialog;
    Form1 form{dialog};
};

MainWindow::MainWindow() : MainWindow(std::make_unique<Owned>()) {}

MainWindow::MainWindow(std::unique_ptr<Owned> owned) : MainWindow(owned->form) {
    owned_ = std::move(owned);
    owned_->dialog.SetParent(this);
}

MainWindow::MainWindow(Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Text(form_.Caption));
    setWindowIcon(AppIcon());
    setFixedSize(TwipsToPixels(kWindowWidth), TwipsToPixels(kWindowHeight));
    setAttribute(Qt::WA_DeleteOnClose, false);
    Build();
    AddShortcuts();
    Refresh();
}

MainWindow::~MainWindow() {
    // The widgets go first, while the model and the indicator style they
    // use still exist.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

QString MainWindow::ObjectName(std::string_view name, int index) {
    QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (index >= 0) objectName += u'_' + QString::number(index);
    return objectName;
}

void MainWindow::Build() {
    sheetStyle_ = std::make_unique<SheetStyle>(QApplication::style()->name());
    // The font is fixed before any child exists, so no child is laid out twice.
    setFont(ChooseFont(form_, *sheetStyle_));

    std::map<std::pair<std::string_view, int>, QWidget*> frames;
    std::vector<QWidget*> tabOrder;
    for (const Placement& p : Arrangement()) {
        QWidget* parent = this;
        if (!p.onWindow()) {
            const auto it = frames.find({p.parent, p.parentIndex});
            if (it == frames.end()) continue;
            parent = it->second;
        }
        QWidget* w = MakeWidget(p, parent);
        if (w == nullptr) continue;
        w->setObjectName(ObjectName(p.name, p.index));
        w->setGeometry(PixelRect(p));
        if (p.kind == WidgetKind::Frame) frames[{p.name, p.index}] = w;
        if (w->focusPolicy() & Qt::TabFocus) tabOrder.push_back(w);
    }
    for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QWidget* MainWindow::MakeWidget(const Placement& p, QWidget* parent) {
    const std::string_view name = p.name;
    const int index = p.index;
    const Description* description = FindDescription(name, index);

    auto accessibleFromLabel = [&](QWidget* w) {
        for (const NamedBy& n : kNamedBy)
            if (n.control == name && n.index == index)
                if (const Label* label = form_.Find<Label>(n.label, n.labelIndex))
                    w->setAccessibleName(AsName(Text(label->Caption)));
    };

    switch (p.kind) {
    case WidgetKind::Frame: {
        const Frame* frame = form_.Find<Frame>(name, index);
        if (frame == nullptr) return nullptr;
        auto* box = new QGroupBox(parent);
        box->setStyle(sheetStyle_.get());
        refreshers_.push_back([frame, box] {
            if (const QString title = PlainCaption(frame->Caption); box->title() != title) {
                box->setTitle(title);
                box->setAccessibleName(AsName(Text(frame->Caption)));
            }
        });
        return box;
    }
    case WidgetKind::Label:
    case WidgetKind::StatusLine:
    case WidgetKind::ClickableLabel: {
        const Label* label = form_.Find<Label>(name, index);
        if (label == nullptr) return nullptr;
        CaptionLabel* view = nullptr;
        if (p.kind == WidgetKind::ClickableLabel) {
            auto* clickable = new ClickableLabel(parent);
            connect(clickable, &ClickableLabel::clicked, this, [this, name] { Forward([this, name] { form_.Click(name); }); });
            view = clickable;
        } else {
            view = new CaptionLabel(parent);
        }
        if (p.kind == WidgetKind::StatusLine) {
            view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            view->setIndent(3);
            view->setWordWrap(true);
            view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            view->setAccessibleName(QStringLiteral("Status"));
        } else if (name == "Label12") {
            view->setWordWrap(true);  // the note over several lines
            view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else if (name == "Label16") {
            view->SetElideMode(Qt::ElideMiddle);  // a path keeps its folder's start and its file name
        }
        if (description != nullptr) {
            view->setAccessibleName(QString::fromUtf8(description->accessibleName));
            view->SetDescription(QString::fromUtf8(description->hint));
        }
        refreshers_.push_back([label, view, named = description == nullptr] {
            const QString caption = Text(label->Caption);
            if (view->Caption() == caption) return;
            view->SetCaption(caption);
            if (named) view->setAccessibleName(AsName(caption));
        });
        return view;
    }
    case WidgetKind::Button: {
        const Button* button = form_.Find<Button>(name, index);
        if (button == nullptr) return nullptr;
        auto* view = new QPushButton(parent);
        view->setAutoDefault(false);
        connect(view, &QPushButton::clicked, this, [this, name] { Forward([this, name] { form_.Click(name); }); });
        refreshers_.push_back([button, view] {
            if (const QString caption = PlainCaption(button->Caption); view->text() != caption) {
                view->setText(caption);
                view->setAccessibleName(Text(button->Caption));
            }
        });
        return view;
    }
    case WidgetKind::TextBox: {
        TextBox* box = form_.Find<TextBox>(name, index);
        if (box == nullptr) return nullptr;
        auto* view = new KeyLineEdit(parent);
        accessibleFromLabel(view);
        // The model holds the text as typed, so that a save commits it even
        // without Enter.
        connect(view, &QLineEdit::textEdited, this, [box](const QString& text) { box->Text = text.toStdString(); });
        connect(view, &KeyLineEdit::keyAscii, this, [this, name, index](int code) {
            Forward([this, name, index, code] {
                int keyAscii = code;
                form_.KeyPress(name, index, keyAscii);
            });
        });
        refreshers_.push_back([box, view] {
            if (const QString text = Text(box->Text); view->text() != text) view->setText(text);
        });
        return view;
    }
    case WidgetKind::CheckBox: {
        CheckBox* check = form_.Find<CheckBox>(name, index);
        if (check == nullptr) return nullptr;
        auto* view = new QCheckBox(parent);
        view->setStyle(sheetStyle_.get());
        connect(view, &QCheckBox::clicked, this, [this, check, name](bool checked) {
            Forward([this, check, name, checked] {
                check->Value = checked ? 1 : 0;
                form_.Click(name);
            });
        });
        refreshers_.push_back([check, view] {
            if (const QString caption = PlainCaption(check->Caption); view->text() != caption) {
                view->setText(caption);
                view->setAccessibleName(Text(check->Caption));
            }
            if (view->isChecked() != (check->Value == 1)) view->setChecked(check->Value == 1);
        });
        return view;
    }
    case WidgetKind::OptionButton: {
        const OptionGroup* group = form_.Find<OptionGroup>(name);
        if (group == nullptr || index < 0 || index >= group->Count()) return nullptr;
        QButtonGroup* buttons = nullptr;
        for (QButtonGroup* g : groups_)
            if (g->objectName() == ObjectName(name, -1)) buttons = g;
        if (buttons == nullptr) {
            buttons = new QButtonGroup(this);
            buttons->setObjectName(ObjectName(name, -1));
            buttons->setExclusive(true);
            groups_.push_back(buttons);
            // A click, Space, or an arrow key that moves the selection all
            // arrive here as a click on the member.
            connect(buttons, &QButtonGroup::idClicked, this,
                    [this, name](int id) { Forward([this, name, id] { form_.Click(name, id); }); });
            refreshers_.push_back([group, buttons] {
                for (int i = 0; i < group->Count(); ++i)
                    if (QAbstractButton* b = buttons->button(i)) {
                        const std::string& caption = group->Captions[static_cast<std::size_t>(i)];
                        if (const QString text = PlainCaption(caption); b->text() != text) {
                            b->setText(text);
                            b->setAccessibleName(Text(caption).trimmed());
                        }
                    }
                QAbstractButton* checked = buttons->checkedButton();
                const int shown = checked != nullptr ? buttons->id(checked) : -1;
                if (shown == group->Value) return;
                if (QAbstractButton* b = buttons->button(group->Value)) {
                    b->setChecked(true);
                } else if (checked != nullptr) {
                    // No member selected: an exclusive group cannot show that
                    // without being opened for a moment.
                    buttons->setExclusive(false);
                    checked->setChecked(false);
                    buttons->setExclusive(true);
                }
            });
        }
        auto* view = new QRadioButton(parent);
        view->setStyle(sheetStyle_.get());
        view->setAutoExclusive(false);
        buttons->addButton(view, index);
        return view;
    }
    case WidgetKind::ListBox: {
        ListBox* list = form_.Find<ListBox>(name, index);
        if (list == nullptr) return nullptr;
        auto* view = new QListView(parent);
        view->setUniformItemSizes(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setTextElideMode(Qt::ElideRight);
        accessibleFromLabel(view);
        auto* items = new ListItems(*list, view);
        view->setModel(items);
        lists_.push_back(items);
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [list, view] {
            const QModelIndexList selected = view->selectionModel()->selectedIndexes();
            list->ListIndex = selected.isEmpty() ? -1 : selected.front().row();
        });
        refreshers_.push_back([list, view] {
            const QModelIndexList selected = view->selectionModel()->selectedIndexes();
            const int shown = selected.isEmpty() ? -1 : selected.front().row();
            if (shown == list->ListIndex) return;
            if (list->ListIndex < 0 || list->ListIndex >= list->ListCount()) {
                view->selectionModel()->clearSelection();
            } else {
                const QModelIndex at = view->model()->index(list->ListIndex, 0);
                view->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
                view->scrollTo(at);
            }
        });
        return view;
    }
    }
    return nullptr;
}

void MainWindow::AddShortcuts() {
    // The keyboard's open, save and new do what the three command buttons do.
    const std::pair<QKeySequence::StandardKey, std::string_view> keys[] = {
        {QKeySequence::Open, "Command2"}, {QKeySequence::Save, "Command4"}, {QKeySequence::New, "Command3"}};
    for (const auto& [key, command] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this,
                [this, command = command] { Forward([this, command] { form_.Click(command); }); });
    }
}

// ---- Events and display ----

void MainWindow::Forward(const std::function<void()>& event) {
    event();
    Refresh();
}

void MainWindow::Refresh() {
    if (const QString title = Text(form_.Caption); windowTitle() != title) setWindowTitle(title);
    if (listsRevision_ != form_.ListsRevision()) {
        listsRevision_ = form_.ListsRevision();
        for (ListItems* items : lists_) items->Reload();
    }
    for (const auto& refresh : refreshers_) refresh();
}

}  // namespace kestrane

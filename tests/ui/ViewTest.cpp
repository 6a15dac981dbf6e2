// The window driven through its real widgets: clicks, typing and keys reach
// the window model with the right names, indexes and codes, and the widgets
// show the model's state afterwards. The model's own rules are tested with
// the core; these tests check the binding.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "mission/Checksum.h"
#include "ui/Arrangement.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/Widgets.h"

namespace kestrane {
namespace {

using test::Editor;

QString Name(std::string_view name, int index = -1) { return MainWindow::ObjectName(name, index); }
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

class ViewTest : public ::testing::Test {
protected:
    explicit ViewTest(int planes = 4, int targets = 6) : ed(planes, targets) {}

    void SetUp() override {
        window = std::make_unique<MainWindow>(*ed.form);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <class T = QWidget>
    T* Get(std::string_view name, int index = -1) {
        T* w = window->findChild<T*>(Name(name, index));
        EXPECT_NE(w, nullptr) << name << " " << index;
        return w;
    }

    void Click(std::string_view name, int index = -1) {
        QWidget* w = Get(name, index);
        // Option and check buttons take clicks on their indicator and text.
        const bool indicator = qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, indicator ? QPoint(5, w->height() / 2) : w->rect().center());
    }

    void PickInList(std::string_view list, int row) {
        auto* view = Get<QListView>(list);
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }

    void Type(std::string_view box, int index, const QString& text) {
        auto* edit = Get<QLineEdit>(box, index);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    QString Shown(std::string_view label, int index = -1) { return Get<CaptionLabel>(label, index)->Caption(); }

    // Every widget shows what its control in the model holds.
    void ExpectViewShowsModel() {
        for (const Form1::ControlEntry& e : ed.form->Controls()) {
            SCOPED_TRACE(Name(e.name, e.index).toStdString());
            std::visit(
                [&](auto* control) {
                    using T = std::remove_pointer_t<decltype(control)>;
                    if constexpr (std::is_same_v<T, Label>) {
                        EXPECT_EQ(Shown(e.name, e.index), Q(control->Caption));
                    } else if constexpr (std::is_same_v<T, TextBox>) {
                        EXPECT_EQ(Get<QLineEdit>(e.name, e.index)->text(), Q(control->Text));
                    } else if constexpr (std::is_same_v<T, CheckBox>) {
                        EXPECT_EQ(Get<QCheckBox>(e.name, e.index)->isChecked(), control->Value == 1);
                        EXPECT_EQ(Get<QCheckBox>(e.name, e.index)->text(), Q(control->Caption));
                    } else if constexpr (std::is_same_v<T, OptionGroup>) {
                        for (int i = 0; i < control->Count(); ++i) {
                            auto* b = Get<QRadioButton>(e.name, i);
                            EXPECT_EQ(b->isChecked(), control->Value == i) << "member " << i;
                            EXPECT_EQ(b->text(), Q(control->Captions[static_cast<std::size_t>(i)]));
                        }
                    } else if constexpr (std::is_same_v<T, ListBox>) {
                        auto* view = Get<QListView>(e.name, e.index);
                        EXPECT_EQ(view->model()->rowCount(), control->ListCount());
                        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
                        EXPECT_EQ(selected.isEmpty() ? -1 : selected.front().row(), control->ListIndex);
                    } else if constexpr (std::is_same_v<T, Button>) {
                        EXPECT_EQ(Get<QPushButton>(e.name, e.index)->text(), Q(control->Caption));
                    } else {
                        EXPECT_EQ(Get<QGroupBox>(e.name, e.index)->title(), Q(control->Caption));
                    }
                },
                e.control);
        }
    }

    Editor ed;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ViewTest, StartsShowingTheModel) {
    EXPECT_EQ(window->windowTitle(), "Kestrane Mission maker");
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window is not resizable";
    EXPECT_EQ(window->size(), QSize(749, 604));
    EXPECT_EQ(window->findChild<QWidget*>("G"), nullptr);
    EXPECT_EQ(Get<QListView>("List1")->model()->index(4, 0).data().toString(), "Random");
    ExpectViewShowsModel();
}

TEST_F(ViewTest, EveryPlacementHasItsWidgetAtItsGeometryWithAName) {
    for (const Placement& p : Arrangement()) {
        QWidget* w = Get(p.name, p.index);
        if (w == nullptr) continue;
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->geometry(), QRect(TwipsToPixels(p.left), TwipsToPixels(p.top), TwipsToPixels(p.width),
                                       TwipsToPixels(p.height)));
        const QString parent = p.onWindow() ? "Form1" : Name(p.parent, p.parentIndex);
        EXPECT_EQ(w->parentWidget()->objectName(), parent);
        EXPECT_FALSE(w->accessibleName().isEmpty());
        EXPECT_TRUE(w->isVisible());
    }
}

TEST_F(ViewTest, NewMissionThenOptionClickWritesTheMemberIndex) {
    Click("Command3");
    ASSERT_TRUE(ed.form->MissionOpen);
    Click("AAA", 3);
    EXPECT_EQ(ed.Byte(332), 3);
    EXPECT_TRUE(Get<QRadioButton>("AAA", 3)->isChecked());
    Click("Pskill", 2);
    EXPECT_EQ(ed.Byte(312), 2);
    EXPECT_EQ(ed.Byte(364), 2);
    EXPECT_EQ(Shown("StatusLine"), Q(ed.form->StatusLine.Caption));
    ExpectViewShowsModel();
}

TEST_F(ViewTest, TypedTextReachesTheModelAndEnterCommitsIt) {
    Click("Command3");
    auto* edit = Get<QLineEdit>("AltText", 0);
    QSignalSpy returns(edit, &QLineEdit::returnPressed);
    Type("AltText", 0, "1500");
    EXPECT_EQ(ed.form->AltText[0].Text, "1500");
    EXPECT_EQ(ed.Bytes(368, 4), (std::vector<std::uint8_t>{0, 0, 0, 0})) << "no Enter, nothing stored";

    // A refresh after another event leaves the box's cursor where it was.
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    Click("Yrbut", 1);
    EXPECT_EQ(edit->cursorPosition(), 1);

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(ed.Bytes(368, 4), (std::vector<std::uint8_t>{220, 5, 0, 0}));
    EXPECT_EQ(edit->text(), "1500");
    EXPECT_EQ(returns.count(), 1) << "the box still handles Enter itself";

    Type("UKN", 1, "7");
    QTest::keyClick(Get("UKN", 1), Qt::Key_Enter);  // the keypad's Enter is Enter too
    EXPECT_EQ(ed.Bytes(340, 4), (std::vector<std::uint8_t>{7, 0, 0, 0}));
    ExpectViewShowsModel();
}

TEST_F(ViewTest, ListPickThenNameLabelClickFillsTheSlot) {
    Click("Command3");
    PickInList("List1", 2);
    EXPECT_EQ(ed.form->List1.ListIndex, 2);
    Click("DP1L");
    EXPECT_EQ(Shown("DP1L"), Q(ed.form->List1.List(2)));
    EXPECT_EQ(Shown("DP1N"), "2");
    EXPECT_EQ(ed.Bytes(320, 4), (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(ed.Bytes(380, 4), (std::vector<std::uint8_t>{2, 0, 0, 0}));

    PickInList("List2", 5);
    Click("HBL");
    EXPECT_EQ(Shown("HBN"), "5");
    EXPECT_EQ(ed.Bytes(300, 2), (std::vector<std::uint8_t>{5, 0}));
    ExpectViewShowsModel();
}

// Every picker label takes Space and Enter from the keyboard as a click.
TEST_F(ViewTest, PickerLabelsTakeSpaceAndEnter) {
    Click("Command3");
    struct Case {
        std::string_view label, list;
        int row;
        Qt::Key key;
        int offset;
    };
    const Case cases[] = {{"AP1L", "List1", 1, Qt::Key_Space, 356},  {"AP2L", "List1", 3, Qt::Key_Return, 304},
                          {"DP2L", "List1", 0, Qt::Key_Enter, 324},  {"Targl", "List2", 4, Qt::Key_Space, 288},
                          {"HBL", "List2", 2, Qt::Key_Return, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label));
        PickInList(c.list, c.row);
        QWidget* label = Get(c.label);
        label->setFocus();
        EXPECT_TRUE(label->hasFocus());
        QTest::keyClick(label, c.key);
        EXPECT_EQ(ed.Byte(c.offset), c.row);
    }
    Get("DP2N")->setFocus();
    QTest::keyClick(Get("DP2N"), Qt::Key_Space);
    EXPECT_EQ(Shown("DP2L"), "None");
    ExpectViewShowsModel();
}

TEST_F(ViewTest, ArrowKeysThatMoveTheSelectionCountAsClicks) {
    Click("Command3");
    Click("Yrbut", 0);
    ASSERT_EQ(ed.Byte(272), 0);
    QTest::keyClick(Get("Yrbut", 0), Qt::Key_Down);
    EXPECT_TRUE(Get<QRadioButton>("Yrbut", 1)->isChecked());
    EXPECT_EQ(ed.form->Yrbut.Value, 1);
    EXPECT_EQ(ed.Byte(272), 1);
    QTest::keyClick(Get("Yrbut", 1), Qt::Key_Right);  // across to the right column
    EXPECT_EQ(ed.Byte(272), 3);
    QTest::keyClick(Get("Yrbut", 3), Qt::Key_Up);
    EXPECT_EQ(ed.Byte(272), 2);

    // In a group with nothing selected an arrow only moves the focus.
    Get("TOD", 0)->setFocus();
    QTest::keyClick(Get("TOD", 0), Qt::Key_Down);
    EXPECT_TRUE(Get("TOD", 1)->hasFocus());
    EXPECT_EQ(ed.form->TOD.Value, -1);
    QTest::keyClick(Get("TOD", 1), Qt::Key_Space);
    EXPECT_EQ(ed.Byte(276), 1);
    ExpectViewShowsModel();
}

TEST_F(ViewTest, InstantActionBoxWritesItsState) {
    Click("Command3");
    Click("IA");
    EXPECT_EQ(ed.Byte(9), 128);
    Click("IA");
    EXPECT_EQ(ed.Byte(9), 0);
    EXPECT_EQ(ed.form->IA.Value, 0);
    ExpectViewShowsModel();
}

TEST_F(ViewTest, NewEditSaveWritesTheExpectedFile) {
    Click("Command3");
    Click("AAA", 3);
    PickInList("List1", 2);
    Click("DP1L");
    Type("AltText", 0, "1500");  // no Enter: the save commits it
    Type("Text1", -1, "Dogfight");
    Type("Text2", -1, "out");
    Click("Command4");

    MissionBytes expected = test::Mission({{4, 101}, {5, 2}, {6, 0}, {7, 170}, {332, 3}, {320, 2}, {380, 2}});
    test::SetU32(expected, 368, 1500);
    const std::string name = "Dogfight";
    for (std::size_t j = 0; j < name.size(); ++j) expected[12 + j] = static_cast<std::uint8_t>(name[j]);
    const std::uint32_t crc =
        Crc32(std::string_view(reinterpret_cast<const char*>(expected.data()) + 4, expected.size() - 4));
    test::SetU32(expected, 0, crc);

    const std::vector<std::uint8_t> written = test::ReadBytes(ed.dir / "out.msn");
    EXPECT_EQ(written, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(Shown("Label2"), Q(ChecksumHexText(crc)));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Shown("Label18", k), QString::number(ChecksumByte(crc, k)));
    ExpectViewShowsModel();
}

TEST_F(ViewTest, LoadThroughTheDialogFillsTheLabels) {
    MissionBytes m = test::Mission({{9, 128}, {272, 2}, {304, 254}});
    test::SetU32(m, 368, 10000);
    const std::string name = "Night raid";
    for (std::size_t j = 0; j < name.size(); ++j) m[12 + j] = static_cast<std::uint8_t>(name[j]);
    test::WriteFile(ed.dir / "in.msn", m);
    ed.dialog.answers.push_back((ed.dir / "in.msn").string());

    Click("Command2");
    EXPECT_EQ(ed.dialog.shown, 1);
    EXPECT_EQ(Shown("Label16"), Q((ed.dir / "in.msn").string()));
    EXPECT_EQ(Get<QLineEdit>("Text1")->text(), "Night raid");
    EXPECT_TRUE(Get<QRadioButton>("Yrbut", 2)->isChecked());
    EXPECT_TRUE(Get<QCheckBox>("IA")->isChecked());
    EXPECT_EQ(Shown("AP2L"), "None");
    EXPECT_EQ(Get<QLineEdit>("AltText", 0)->text(), "10000");
    ExpectViewShowsModel();

    // A cancelled load changes no widget.
    const QString before = Shown("Label16");
    Click("Command2");
    EXPECT_EQ(Shown("Label16"), before);
    EXPECT_TRUE(Get<QRadioButton>("Yrbut", 2)->isChecked());
    ExpectViewShowsModel();
}

TEST_F(ViewTest, ShortcutsDoWhatTheCommandsDo) {
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(ed.form->MissionOpen);
    Type("Text2", -1, "quick");
    QTest::keyClick(Get("Text2"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(test::ReadBytes(ed.dir / "quick.msn").size(), 400u);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ed.dialog.shown, 1);
    EXPECT_EQ(Get<QPushButton>("Command2")->text(), "Load a \".msn\" file");
    EXPECT_EQ(Get<QPushButton>("Command3")->text(), "Make a new mission");
    EXPECT_EQ(Get<QPushButton>("Command4")->text(), "Save!");
}

TEST_F(ViewTest, TabOrderFollowsTheArrangement) {
    std::vector<QString> expected;
    for (const Placement& p : Arrangement())
        if (p.kind == WidgetKind::Button || p.kind == WidgetKind::TextBox || p.kind == WidgetKind::CheckBox ||
            p.kind == WidgetKind::OptionButton || p.kind == WidgetKind::ListBox ||
            p.kind == WidgetKind::ClickableLabel)
            expected.push_back(Name(p.name, p.index));
    ASSERT_EQ(expected.front(), "Command2");
    std::vector<QString> chain;
    QWidget* w = Get("Command2");
    do {
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != Get("Command2") && chain.size() <= expected.size());
    EXPECT_EQ(chain, expected);
    EXPECT_EQ(std::vector<QString>(expected.begin(), expected.begin() + 7),
              (std::vector<QString>{"Command2", "Command3", "Text1", "Text2", "Command4", "List1", "List2"}));
}

// No caption is cut: each fits its control's width (Qt's own size hint for
// option and check buttons) and its ink fits the control's height.
TEST_F(ViewTest, EveryCaptionFitsItsControl) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString id = w->objectName();
        if (id.isEmpty() || id == "StatusLine") continue;
        SCOPED_TRACE(id.toStdString());
        const QFontMetrics fm = w->fontMetrics();
        if (auto* b = qobject_cast<QRadioButton*>(w); b || qobject_cast<QCheckBox*>(w)) {
            auto* button = qobject_cast<QAbstractButton*>(w);
            EXPECT_LE(button->sizeHint().width(), button->width());
            EXPECT_LE(fm.tightBoundingRect(button->text()).height(), button->height());
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            EXPECT_LE(fm.horizontalAdvance(push->text()) + 4, push->contentsRect().width());
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(fm.horizontalAdvance(box->title()) + 12, box->width());
        } else if (auto* label = qobject_cast<CaptionLabel*>(w); label && !label->Caption().isEmpty()) {
            if (label->wordWrap()) {
                const QRect needed = fm.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->Caption());
                EXPECT_LE(needed.height(), label->contentsRect().height());
            } else {
                EXPECT_EQ(label->text(), label->Caption()) << "shortened";
                EXPECT_LE(fm.tightBoundingRect(label->Caption()).height(), label->height());
            }
        }
    }
}

TEST_F(ViewTest, LongTextsAreShortenedWithTheWholeTextInTheToolTip) {
    const std::string path = "/a/very/long/folder/name/that/goes/on/and/on/and/on/for/ever/mission-file.msn";
    ed.form->Label16.Caption = path;
    window->Refresh();
    auto* label = Get<CaptionLabel>("Label16");
    EXPECT_NE(label->text(), Q(path));
    EXPECT_TRUE(label->text().endsWith("mission-file.msn")) << label->text().toStdString();
    EXPECT_TRUE(label->toolTip().contains(Q(path)));
}

TEST(QtFilter, ConvertsTheDialogFilter) {
    const std::pair<std::string_view, QString> cases[] = {
        {"Mission files(*.msn) |*.msn", "Mission files (*.msn)"},
        {"Text (*.txt)|*.txt|All files|*.*", "Text (*.txt);;All files (*.*)"},
        {"Pictures|*.png;*.jpg", "Pictures (*.png *.jpg)"},
        {"", ""},
        {"Odd|", ""},
    };
    for (const auto& [filter, qt] : cases) EXPECT_EQ(QtFilter(filter), qt) << filter;
}

// The real dialog: set up from the model's fields, and a cancel keeps the
// file name empty.
TEST(QtFileDialogTest, ShowsTheFolderAndFilterAndReturnsTheChoice) {
    test::TempDir dir;
    test::WriteFile(dir / "one.msn", test::Mission());
    QWidget parent;
    QtFileDialog dialog(&parent);
    dialog.InitDir = dir.path().string();
    dialog.Filter = std::string(kMissionFilter);
    dialog.DefaultExt = "msn";

    QStringList filters;
    QString folder, suffix;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        filters = shown->nameFilters();
        folder = shown->directory().absolutePath();
        suffix = shown->defaultSuffix();
        shown->selectFile(Q((dir / "one.msn").string()));
        static_cast<QDialog*>(shown)->accept();  // QFileDialog's own accept is protected
    });
    dialog.ShowOpen();
    EXPECT_EQ(filters, QStringList{"Mission files (*.msn)"});
    EXPECT_EQ(folder, QDir(Q(dir.path().string())).absolutePath());
    EXPECT_EQ(suffix, "msn");
    EXPECT_EQ(dialog.FileName, (dir / "one.msn").string());

    dialog.FileName.clear();
    QTimer::singleShot(0, [] {
        if (auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) shown->reject();
    });
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName, "");
}

class LongListViewTest : public ViewTest {
protected:
    LongListViewTest() : ViewTest(3, 65536) {}
};

TEST_F(LongListViewTest, HoldsEveryPlaceAndPicksTheLast) {
    auto* view = Get<QListView>("List2");
    EXPECT_EQ(view->model()->rowCount(), 65536);
    EXPECT_TRUE(view->uniformItemSizes());
    Click("Command3");
    view->setCurrentIndex(view->model()->index(65535, 0));
    EXPECT_EQ(ed.form->List2.ListIndex, 65535);
    Click("Targl");
    EXPECT_EQ(Shown("TargLN"), "65535");
    EXPECT_EQ(ed.Bytes(288, 2), (std::vector<std::uint8_t>{255, 255}));
}

}  // namespace
}  // namespace kestrane

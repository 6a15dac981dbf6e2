#include "ui/qt/Widgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QIconEngine>
#include <QPointer>
#include <QTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStyleOptionGroupBox>
#include <mutex>

#include "ui/WindowModel.h"

namespace kestrane {

// ---- CaptionLabel ----

namespace {

// A clickable label as the push button it is.
class PressableAccessible : public QAccessibleWidget {
public:
    explicit PressableAccessible(ClickableLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) static_cast<ClickableLabel*>(widget())->Press();
    }
};

QAccessibleInterface* AccessibleFor(const QString& className, QObject* object) {
    if (className == QLatin1String(ClickableLabel::staticMetaObject.className()))
        return new PressableAccessible(static_cast<ClickableLabel*>(object));
    if (className == QLatin1String(StatusLineLabel::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
    static std::once_flag factory;
    std::call_once(factory, [] { QAccessible::installFactory(&AccessibleFor); });
    setTextFormat(Qt::PlainText);  // catalogue lines and file names are never markup
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(0);
}

void CaptionLabel::SetCaption(const QString& text) {
    if (text == caption_ && !text.isEmpty()) return;
    caption_ = text;
    Relayout();
}

void CaptionLabel::SetElideMode(Qt::TextElideMode mode) {
    elideMode_ = mode;
    Relayout();
}

void CaptionLabel::SetDescription(const QString& description) {
    description_ = description;
    Relayout();
}

void CaptionLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Relayout();
}

void CaptionLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) Relayout();
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void CaptionLabel::Relayout() {
    QString shown = caption_;
    if (!wordWrap()) {
        const int room = contentsRect().width() - 2 * margin() - qMax(indent(), 0);
        shown = fontMetrics().elidedText(caption_, elideMode_, qMax(room, 0));
    }
    if (text() != shown) setText(shown);

    QString tip = description_;
    if (shown != caption_ || wordWrap()) tip = description_.isEmpty() ? caption_ : description_ + ": " + caption_.trimmed();
    if (toolTip() != tip) setToolTip(tip);
}

// ---- ClickableLabel ----

ClickableLabel::ClickableLabel(QWidget* parent) : CaptionLabel(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // A sunken panel shows where to click while the label is still empty.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(2);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    CaptionLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        event->accept();
        // As with a button, the click counts only when released over the label.
        if (rect().contains(event->position().toPoint())) emit clicked();
        return;
    }
    CaptionLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        if (!event->isAutoRepeat()) emit clicked();
        return;
    }
    CaptionLabel::keyPressEvent(event);
}

// ---- StatusLineLabel ----

StatusLineLabel::StatusLineLabel(QWidget* parent) : CaptionLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(3);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void StatusLineLabel::Announce() {
    if (Caption().isEmpty()) return;
    ++announced_;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

// ---- KeyLineEdit ----

int CharacterCodeOf(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return kEnterKey;
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() > 0 && text.at(0).unicode() < 256) return text.at(0).unicode();
    return 0;
}

KeyLineEdit::KeyLineEdit(QWidget* parent) : QLineEdit(parent) {}

bool KeyLineEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool redo = key->matches(QKeySequence::Redo) || key->keyCombination() == (Qt::CTRL | Qt::Key_Y) ||
                          key->keyCombination() == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        if ((key->matches(QKeySequence::Undo) && !isUndoAvailable()) || (redo && !isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void KeyLineEdit::keyPressEvent(QKeyEvent* event) {
    // The window model sees the key first and never takes it away: the box
    // still edits with it afterwards, Enter included.
    if (const int code = CharacterCodeOf(*event); code != 0) emit characterKey(code);
    QLineEdit::keyPressEvent(event);
}

// ---- SheetStyle ----

SheetStyle::SheetStyle(const QString& baseStyle) : QProxyStyle(baseStyle) {}

int SheetStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return 12;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return 13;
    case PM_RadioButtonLabelSpacing:
    case PM_CheckBoxLabelSpacing:
        return 4;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void SheetStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) return QProxyStyle::drawComplexControl(control, option, painter, widget);
    // An untitled flat box only groups its buttons for assistive technology.
    if (box->text.isEmpty() && (box->features & QStyleOptionFrame::Flat)) return;

    // An etched border whose top line runs through the middle of the
    // caption, broken where the caption stands.
    const QFontMetrics& fm = box->fontMetrics;
    const QRect all = box->rect;
    const int lineY = all.top() + fm.height() / 2;
    const QRect title(all.left() + 6, all.top(), box->text.isEmpty() ? 0 : fm.horizontalAdvance(box->text) + 4,
                      fm.height());
    painter->save();
    QRegion clip(all);
    if (!box->text.isEmpty()) clip -= title;
    painter->setClipRegion(clip);
    const QRect frame(all.left(), lineY, all.width() - 1, all.bottom() - lineY);
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, 0, 0));
    painter->restore();
    if (!box->text.isEmpty()) {
        painter->save();
        painter->setPen(box->palette.color(QPalette::WindowText));
        drawItemText(painter, title, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                     box->state & State_Enabled, box->text, QPalette::WindowText);
        painter->restore();
    }
}

// ---- Icon ----

namespace {

// The aircraft seen from above on a rounded square, in a 64-unit square;
// the same shapes as the installed icon, data/icons/org.kestrane.MissionMaker.svg.
// Drawn only when a size is asked for, so start-up loads no image plug-in
// and renders nothing it may never show.
class DrawnIcon : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 64.0, rect.height() / 64.0);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0x2f, 0x4f, 0x6f));
        painter->drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
        static const QPointF plane[] = {
            {32, 6},  {35, 11}, {35, 25}, {58, 30}, {58, 35}, {35, 35}, {34, 47}, {43, 51}, {43, 55},
            {32, 53}, {21, 55}, {21, 51}, {30, 47}, {29, 35}, {6, 35},  {6, 30},  {29, 25}, {29, 11},
        };
        painter->setBrush(QColor(0xf2, 0xe8, 0xc9));
        painter->drawPolygon(plane, static_cast<int>(std::size(plane)));
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new DrawnIcon; }
};

// Closes the popups still open when a dialog hides, such as the completion
// list of a file dialog's name box when Enter accepts the typed path. While
// a popup is open Qt ignores the window manager moving the focus to the
// parent window, which then stays inactive, for Qt and for a screen reader,
// until it is clicked.
class PopupCloser : public QObject {
public:
    explicit PopupCloser(QDialog& dialog) : dialog_(dialog) { dialog_.installEventFilter(this); }
    ~PopupCloser() override { dialog_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Hide)
            for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;) {
                popup->close();
                QWidget* const next = QApplication::activePopupWidget();
                popup = next != popup ? next : nullptr;
            }
        return false;
    }

private:
    QDialog& dialog_;
};

}  // namespace

QIcon AppIcon() { return QIcon(new DrawnIcon); }

int ExecDialog(QDialog& dialog) {
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const QPointer<QWidget> window = dialog.parentWidget() != nullptr ? dialog.parentWidget()->window() : nullptr;
    const PopupCloser closer(dialog);
    const int result = dialog.exec();
    // At once, and again once the dialog's window is gone for good.
    auto comeBack = [window, focus] {
        if (window != nullptr) {
            window->raise();
            window->activateWindow();
        }
        if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
    };
    comeBack();
    QTimer::singleShot(0, qApp, comeBack);
    return result;
}

QString PlainCaption(const std::string& caption) {
    return QString::fromStdString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace kestrane

#pragma once
// The few widget classes the window needs beyond the stock ones: labels that
// shorten a text too long for their fixed size, labels that take clicks,
// text boxes that report each key before handling it, and a style that
// shrinks the option and check indicators and the frames to fit the
// window's small rows.

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRadioButton>


namespace kestrane {

// A label of fixed size that shows plain text on one line; a text wider
// than the label is cut with an ellipsis and shown whole in the tool tip.
// With word wrap on, the text is shown as it is.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget* parent = nullptr);
    // The whole text; what shows may be shortened.
    void SetCaption(const QString& text);
    const QString& Caption() const { return caption_; }
    void SetElideMode(Qt::TextElideMode mode);
    // What the label shows, used as its tool tip ahead of the text.
    void SetDescription(const QString& description);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A label that Tab reaches shows a focus rectangle.
    void paintEvent(QPaintEvent* event) override;

private:
    void Relayout();

    QString caption_;
    QString description_;
    Qt::TextElideMode elideMode_ = Qt::ElideRight;
};

// A label that takes clicks like a button: a left click released over it,
// or Space or Enter while it has the focus. Assistive technology reads it
// as the push button it is, with a press action.
class ClickableLabel : public CaptionLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);
    void Press() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};

// The status line. Assistive technology reads it as a notification, which a
// screen reader speaks each time it is announced: after every action, so
// that what the action did, or why it was refused, is heard (the same text
// twice is heard twice).
class StatusLineLabel : public CaptionLabel {
    Q_OBJECT
public:
    explicit StatusLineLabel(QWidget* parent = nullptr);
    void Announce();
    int Announced() const { return announced_; }

private:
    int announced_ = 0;
};

// A text box that reports every key that makes a character, with its
// character code (13 for Enter), before the box handles the key itself.
class KeyLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyLineEdit(QWidget* parent = nullptr);

signals:
    void characterKey(int code);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The box takes undo and redo keys only while it has typing to undo or
    // redo; otherwise they reach the window.
    bool event(QEvent* event) override;
};

// An option button and a check box that take a click anywhere in their
// rectangle, not only on the indicator and the caption's text.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class CheckButton : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// The character code of a key press as a text box's key event gives it:
// 13 for Return and Enter, the code of a single character below 256
// otherwise, and 0 for keys that make no character.
int CharacterCodeOf(const QKeyEvent& event);

// The application's style with option and check indicators small enough
// for rows of 13 pixels, and frames whose caption sits in the top border
// line, so that what a frame holds may start 16 pixels below its top.
class SheetStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit SheetStyle(const QString& baseStyle);
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

// The application icon: the SVG resource when an SVG reader is installed,
// otherwise the same picture drawn here.
QIcon AppIcon();

// Shows a modal dialog and, when it returns, makes its parent window active
// again with the focus where it was: without a window manager's help a
// window stays inactive after a dialog closes, and a screen reader then
// hears nothing. A popup of the dialog still open when it hides (a name
// box's completion list) is closed with it, or Qt would not follow the
// window manager's focus back to the parent window.
int ExecDialog(class QDialog& dialog);

// Caption text for buttons, option buttons, check boxes and group boxes,
// where a lone "&" would otherwise mark a shortcut letter.
QString PlainCaption(const std::string& caption);

}  // namespace kestrane

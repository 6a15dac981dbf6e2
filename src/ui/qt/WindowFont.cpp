#include "ui/qt/WindowFont.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QSettings>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/Controls.h"
#include "ui/qt/Widgets.h"

namespace kestrane {

namespace {

// The fixed captions and the room each has for its text, for choosing the
// font; not the values labels show, which change with the mission (a long
// one is shortened, and shown whole in its tool tip). Option and check
// buttons need their indicator beside the text, buttons and frame captions
// a small margin; only the text itself narrows with the font. A text shown
// in several places is kept once, with the least room it has, since that
// place decides whether it fits.
struct CaptionRoom {
    QString text;
    int room;  // pixels for the text
};

std::vector<CaptionRoom> FixedCaptions(const QStyle& indicators) {
    const int radio = indicators.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                      indicators.pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const int check =
        indicators.pixelMetric(QStyle::PM_IndicatorWidth) + indicators.pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    std::vector<CaptionRoom> rooms;
    for (const Placement& p : Arrangement()) {
        std::string_view caption;
        const ControlKind kind = Spec(p.id).kind;
        if (kind == ControlKind::Options) caption = OptionFor(p.id)->setting->captions[static_cast<std::size_t>(p.member)];
        else if ((kind == ControlKind::Label && p.id != ControlId::UnknownNote) || kind == ControlKind::Frame ||
                 kind == ControlKind::Button || kind == ControlKind::CheckBox)
            caption = Spec(p.id).caption;
        if (caption.empty()) continue;
        int room = TwipsToPixels(p.width);
        switch (kind) {
        case ControlKind::Frame: room -= 16; break;
        case ControlKind::Button: room -= 8; break;
        case ControlKind::Options: room -= radio + 1; break;
        case ControlKind::CheckBox: room -= check + 1; break;
        default: break;
        }
        room = std::max(room, 1);
        const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
        const auto same = std::ranges::find(rooms, text, &CaptionRoom::text);
        if (same == rooms.end()) rooms.push_back({text, room});
        else same->room = std::min(same->room, room);
    }
    return rooms;
}

// How much wider than its room the widest caption's text is in the given
// font (1 or less when all fit). Shaping every caption would be most of the
// window's font work, so each is first estimated from its characters'
// advances, and only those within a fifth of the widest estimate are
// measured whole: kerning moves a caption's width by far less. A caption
// with characters that combine or pair up is always measured whole.
double WorstRatio(const std::vector<CaptionRoom>& rooms, const QFont& font) {
    if (rooms.empty()) return 0;
    const QFontMetricsF fm(font);
    std::map<char16_t, qreal> advances;
    std::vector<double> estimates;
    estimates.reserve(rooms.size());
    for (const CaptionRoom& r : rooms) {
        qreal width = 0;
        for (const QChar c : r.text) {
            if (c.unicode() >= 0x300) {
                width = std::numeric_limits<qreal>::infinity();
                break;
            }
            const auto [at, added] = advances.try_emplace(c.unicode(), 0);
            if (added) at->second = fm.horizontalAdvance(c);
            width += at->second;
        }
        estimates.push_back(width / r.room);
    }
    const double widest = std::ranges::max(estimates, {}, [](double e) { return std::isinf(e) ? 0 : e; });
    double worst = 0;
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        // The rounding up below adds at most a pixel to a measured width.
        if (estimates[i] + 1.0 / rooms[i].room < 0.8 * widest) continue;
        // Whole pixels, rounded up: a text a fraction wider than its room
        // would be shortened.
        worst = std::max(worst, std::ceil(fm.horizontalAdvance(rooms[i].text)) / rooms[i].room);
    }
    return worst;
}

// What the font choice depends on besides the fonts installed: the Qt
// version, the style, the font asked for and every caption with its room.
QString FontChoiceKey(const QFont& font, const std::vector<CaptionRoom>& rooms, const QStyle& indicators) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& part : {QStringLiteral(QT_VERSION_STR), indicators.name(), font.toString()})
        hash.addData(part.toUtf8().append('\0'));
    for (const CaptionRoom& r : rooms) hash.addData((r.text + QChar(0) + QString::number(r.room) + QChar(0)).toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

// An 11-pixel sans serif, made narrower where a caption would not fit its
// fixed width, so that every caption shows whole with the fonts at hand.
// The stretch chosen is kept in the settings: the next start takes it when
// every caption still fits in it, and so loads and measures one face, not
// two. (Fonts installed meanwhile that would fit wider are then not used.)
QFont ChooseFont(const QStyle& indicators) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    const std::vector<CaptionRoom> rooms = FixedCaptions(indicators);

    QSettings settings;
    const QString key = FontChoiceKey(font, rooms, indicators);
    const bool sameCaptions = settings.value(QStringLiteral("font/for")).toString() == key;
    const int kept = settings.value(QStringLiteral("font/stretch")).toInt();
    if (sameCaptions && kept >= 60 && kept <= 100) {
        QFont keptFont = font;
        if (kept < 100) keptFont.setStretch(kept);
        if (WorstRatio(rooms, keptFont) <= 1.0) return keptFont;
    }

    // Each step narrows the font by the widest caption's excess, measured
    // again since a narrower face of the family may take over below 100.
    int stretch = 100;
    double ratio = WorstRatio(rooms, font);
    for (int step = 0; ratio > 1.0 && step < 8; ++step) {
        stretch = std::clamp(static_cast<int>(std::floor(stretch / ratio)), 60, stretch - 1);
        font.setStretch(stretch);
        ratio = WorstRatio(rooms, font);
    }
    if (!sameCaptions || stretch != kept) {
        settings.setValue(QStringLiteral("font/for"), key);
        settings.setValue(QStringLiteral("font/stretch"), stretch);
    }
    return font;
}

}  // namespace

QFont WindowFont() { return ChooseFont(SheetStyle(QApplication::style()->name())); }

}  // namespace kestrane

#include "Symbols.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSet>

// Resource initialisers must be called from the global namespace.
static void initSymbolResources()
{
    Q_INIT_RESOURCE(symbols);
}

namespace Symbols {
namespace {

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> map = {
        // Steps and recording
        {QStringLiteral("hand.tap"), QStringLiteral("touch_app")},
        {QStringLiteral("keyboard"), QStringLiteral("keyboard")},
        {QStringLiteral("clock"), QStringLiteral("schedule")},
        {QStringLiteral("hand.draw"), QStringLiteral("swipe")},
        {QStringLiteral("clock.badge.plus"), QStringLiteral("more_time")},
        {QStringLiteral("line.3.horizontal"), QStringLiteral("menu")},
        {QStringLiteral("text.alignleft"), QStringLiteral("format_align_left")},
        {QStringLiteral("scope"), QStringLiteral("gps_fixed")},
        {QStringLiteral("record.circle"), QStringLiteral("radio_button_checked")},
        {QStringLiteral("record.circle.fill"), QStringLiteral("fiber_manual_record")},
        {QStringLiteral("pause.fill"), QStringLiteral("pause")},
        {QStringLiteral("pause.circle.fill"), QStringLiteral("pause_circle")},
        {QStringLiteral("play.fill"), QStringLiteral("play_arrow")},
        {QStringLiteral("play.circle.fill"), QStringLiteral("play_circle")},
        {QStringLiteral("dot.radiowaves.left.and.right"), QStringLiteral("sensors")},
        {QStringLiteral("circle.dashed"), QStringLiteral("donut_large")},
        {QStringLiteral("circle"), QStringLiteral("radio_button_unchecked")},
        {QStringLiteral("list.number"), QStringLiteral("format_list_numbered")},
        // Plan editor
        {QStringLiteral("camera.viewfinder"), QStringLiteral("center_focus_strong")},
        {QStringLiteral("camera.fill"), QStringLiteral("photo_camera")},
        {QStringLiteral("gearshape"), QStringLiteral("settings")},
        {QStringLiteral("gearshape.fill"), QStringLiteral("settings")},
        {QStringLiteral("character.bubble"), QStringLiteral("translate")},
        {QStringLiteral("slider.horizontal.3"), QStringLiteral("tune")},
        {QStringLiteral("wrench.and.screwdriver"), QStringLiteral("build")},
        {QStringLiteral("square.stack.3d.up"), QStringLiteral("layers")},
        {QStringLiteral("square.stack.3d.up.fill"), QStringLiteral("layers")},
        {QStringLiteral("plus.rectangle.on.rectangle"), QStringLiteral("library_add")},
        {QStringLiteral("plus.circle.fill"), QStringLiteral("add_circle")},
        {QStringLiteral("plus"), QStringLiteral("add")},
        {QStringLiteral("minus.circle"), QStringLiteral("remove_circle_outline")},
        {QStringLiteral("minus.circle.fill"), QStringLiteral("remove_circle")},
        {QStringLiteral("trash"), QStringLiteral("delete")},
        {QStringLiteral("tray.and.arrow.down"), QStringLiteral("move_to_inbox")},
        {QStringLiteral("globe"), QStringLiteral("language")},
        {QStringLiteral("terminal"), QStringLiteral("terminal")},
        {QStringLiteral("square.and.arrow.up"), QStringLiteral("ios_share")},
        {QStringLiteral("checkmark"), QStringLiteral("check")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("check_circle_outline")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("check_circle")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("warning")},
        {QStringLiteral("xmark"), QStringLiteral("close")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("cancel")},
        {QStringLiteral("xmark.octagon.fill"), QStringLiteral("dangerous")},
        // Location
        {QStringLiteral("location"), QStringLiteral("near_me")},
        {QStringLiteral("location.fill"), QStringLiteral("near_me")},
        {QStringLiteral("location.circle.fill"), QStringLiteral("assistant_navigation")},
        {QStringLiteral("mappin"), QStringLiteral("place")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("search")},
        // Settings
        {QStringLiteral("chevron.up"), QStringLiteral("expand_less")},
        {QStringLiteral("chevron.down"), QStringLiteral("expand_more")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron_right")},
        {QStringLiteral("person.badge.key.fill"), QStringLiteral("vpn_key")},
        {QStringLiteral("info.circle.fill"), QStringLiteral("info")},
        {QStringLiteral("hand.raised.fill"), QStringLiteral("back_hand")},
        // Legal pages
        {QStringLiteral("scale.3d"), QStringLiteral("view_in_ar")},
        {QStringLiteral("building.2.fill"), QStringLiteral("business")},
        {QStringLiteral("envelope.fill"), QStringLiteral("email")},
        {QStringLiteral("number.square.fill"), QStringLiteral("tag")},
        {QStringLiteral("person.text.rectangle.fill"), QStringLiteral("badge")},
        {QStringLiteral("lock.shield.fill"), QStringLiteral("shield")},
        {QStringLiteral("arrow.up.right"), QStringLiteral("north_east")},
        {QStringLiteral("arrow.right.circle.fill"), QStringLiteral("arrow_circle_right")},
        {QStringLiteral("chart.bar.fill"), QStringLiteral("bar_chart")},
        {QStringLiteral("person.crop.circle.fill"), QStringLiteral("account_circle")},
        {QStringLiteral("person.crop.square"), QStringLiteral("account_box")},
        // Application shell
        {QStringLiteral("arrow.clockwise"), QStringLiteral("refresh")},
        {QStringLiteral("folder"), QStringLiteral("folder")},
        {QStringLiteral("folder.fill"), QStringLiteral("folder")},
        {QStringLiteral("hammer.fill"), QStringLiteral("hardware")},
        {QStringLiteral("app.badge"), QStringLiteral("apps")},
        {QStringLiteral("iphone"), QStringLiteral("phone_iphone")},
        {QStringLiteral("sparkles"), QStringLiteral("auto_awesome")},
        {QStringLiteral("questionmark.square.dashed"), QStringLiteral("help_center")},
    };
    return map;
}

// Names whose unfilled form the font lacks, while the filled one is its glyph: drawn as the
// inner rim of that glyph, so that "location" reads as the outline of "location.fill".
const QSet<QString> &outlined()
{
    static const QSet<QString> names = {QStringLiteral("location")};
    return names;
}

// The glyph's outline where drawText(rect, Qt::AlignCenter) puts the glyph.
QPainterPath glyphPath(const QRectF &rect, const QFont &font, const QString &text)
{
    const QFontMetricsF metrics(font);
    const QPointF baseline(rect.center().x() - metrics.horizontalAdvance(text) / 2,
                           rect.center().y() - (metrics.ascent() + metrics.descent()) / 2 + metrics.ascent());
    QPainterPath path;
    path.addText(baseline, font, text);
    return path;
}

QString loadedFamily()
{
    static const QString family = [] {
        initSymbolResources();
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/velorance/fonts/MaterialIcons-Regular.ttf"));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        return families.isEmpty() ? QStringLiteral("Material Icons") : families.first();
    }();
    return family;
}

} // namespace

QString fallbackLigature()
{
    return QStringLiteral("help_center");
}

bool isKnown(const QString &symbolName)
{
    return table().contains(symbolName);
}

QString ligature(const QString &symbolName)
{
    return table().value(symbolName, fallbackLigature());
}

QFont font(qreal pixelSize)
{
    QFont f(loadedFamily());
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void draw(QPainter &painter, const QRectF &rect, const QString &symbolName, qreal pixelSize)
{
    painter.save();
    const QFont symbolFont = font(pixelSize);
    const QString text = ligature(symbolName);
    if (outlined().contains(symbolName)) {
        // The rim keeps the filled glyph's silhouette; it is as wide as the strokes of the
        // font's own outlined glyphs, 2 units of their 24.
        const QPainterPath glyph = glyphPath(rect, symbolFont, text);
        const qreal rim = symbolFont.pixelSize() / 12.0;
        QPainterPathStroker stroker; // a band across the glyph's edge, half of it inside
        stroker.setWidth(2 * rim);
        stroker.setJoinStyle(Qt::MiterJoin);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(glyph.intersected(stroker.createStroke(glyph)), painter.pen().color());
    } else {
        painter.setFont(symbolFont);
        painter.drawText(rect, Qt::AlignCenter, text);
    }
    painter.restore();
}

QPixmap pixmap(const QString &symbolName, const QColor &color, int pixelSize, qreal devicePixelRatio)
{
    const int side = qMax(1, qRound(pixelSize * devicePixelRatio));
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    pm.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pm);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(color);
    draw(painter, QRectF(0, 0, pixelSize, pixelSize), symbolName, pixelSize);
    return pm;
}

QIcon icon(const QString &symbolName, const QColor &color, int pixelSize)
{
    QIcon result;
    result.addPixmap(pixmap(symbolName, color, pixelSize, 1.0));
    result.addPixmap(pixmap(symbolName, color, pixelSize, 2.0));
    return result;
}

} // namespace Symbols

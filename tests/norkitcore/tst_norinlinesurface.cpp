// The flat highlight fill as a surface a caller puts behind any widget.
#include <NorInlineSurface.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace {

// What the surface and its content paint over black: the fill's white shows as grey.
QImage render(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int grey(const QImage &image, int x, int y)
{
    return qRed(image.pixel(x, y));
}

} // namespace

class NorInlineSurfaceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillsBehindItsContent()
    {
        auto *content = new QWidget;
        content->setFixedSize(80, 40);
        std::unique_ptr<NorInlineSurface> surface(norInlineSurface(content, 10, false));
        QCOMPARE(content->parentWidget(), surface.get());
        surface->adjustSize();
        QCOMPARE(surface->size(), QSize(80, 40)); // edge to edge, no padding of its own
        QImage image = render(surface.get());
        QCOMPARE(content->geometry(), QRect(0, 0, 80, 40));
        QVERIFY(qAbs(grey(image, 40, 20) - qRound(0.08 * 255)) <= 1);
        QCOMPARE(grey(image, 0, 0), 0); // the corner is rounded off
        QCOMPARE(grey(image, 79, 39), 0);

        // Emphasis and radius change in place.
        surface->setEmphasized(true);
        surface->setCornerRadius(0);
        image = render(surface.get());
        QVERIFY(qAbs(grey(image, 40, 20) - qRound(0.14 * 255)) <= 1);
        QVERIFY(grey(image, 0, 0) > 0);
    }

    void contentDrawsOverTheFill()
    {
        auto *label = new QLabel;
        label->setFixedSize(60, 30);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, QColor(Qt::red));
        label->setPalette(palette);
        std::unique_ptr<NorInlineSurface> surface(norInlineSurface(label, 8, true));
        surface->adjustSize();
        const QImage image = render(surface.get());
        QCOMPARE(QColor(image.pixel(30, 15)), QColor(Qt::red));
    }

    void takesTheWidgetsPlaceInItsLayout()
    {
        QWidget host;
        auto *row = new QHBoxLayout(&host);
        auto *left = new QLabel(QStringLiteral("links"));
        auto *middle = new QLabel(QStringLiteral("Mitte"));
        auto *right = new QLabel(QStringLiteral("rechts"));
        row->addWidget(left);
        row->addWidget(middle, 2);
        row->addWidget(right);
        host.show();

        NorInlineSurface *surface = norInlineSurface(middle, 6, true);
        QCOMPARE(row->indexOf(surface), 1);
        QCOMPARE(row->stretch(1), 2);
        QCOMPARE(surface->parentWidget(), &host);
        QCOMPARE(middle->parentWidget(), surface);
        QVERIFY(surface->isVisible());
        QTRY_VERIFY(middle->isVisible());
        QVERIFY(surface->isEmphasized());
        QCOMPARE(surface->cornerRadius(), 6.0);
    }

    void findsTheWidgetInANestedLayout()
    {
        QWidget host;
        auto *outer = new QHBoxLayout(&host);
        auto *grid = new QGridLayout;
        outer->addLayout(grid);
        auto *cell = new QLabel(QStringLiteral("Zelle"));
        grid->addWidget(cell, 1, 2);
        NorInlineSurface *surface = norInlineSurface(cell, 4, false);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(surface), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, 1);
        QCOMPARE(column, 2);
    }

    void keepsAHandPlacedWidgetWhereItWas()
    {
        QWidget host;
        host.resize(200, 100);
        auto *free = new QLabel(QStringLiteral("frei"), &host);
        free->setGeometry(20, 30, 50, 20);
        auto *hidden = new QLabel(QStringLiteral("weg"), &host);
        hidden->hide();
        host.show();
        NorInlineSurface *surface = norInlineSurface(free, 4, false);
        QCOMPARE(surface->geometry(), QRect(20, 30, 50, 20));
        QVERIFY(surface->isVisible());
        // A hidden widget gets a hidden surface.
        QVERIFY(norInlineSurface(hidden, 4, false)->isHidden());
    }
};

QTEST_MAIN(NorInlineSurfaceTest)
#include "tst_norinlinesurface.moc"

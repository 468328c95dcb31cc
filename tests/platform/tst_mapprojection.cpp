#include <MapProjection.h>
#include <MapWidget.h>
#include <TopoJson.h>
#include <WorldAtlas.h>

#include <QSignalSpy>
#include <QTest>

#include <cmath>

class TestMapProjection final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void fitsSpanIntoViewport();
    void zoomKeepsAnchor();
    void clickReportsCoordinateWithoutMovingCamera();
    void dragPansAndReportsSpan();
    void wheelZoomsAroundPointer();
    void topologyDecodesDeltasAndTransform();
    void topologyRejectsBrokenReferences();
    void atlasSeparatesCoastsFromBorders();
    void embeddedAtlasLoads();
};

void TestMapProjection::roundTrip_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QPointF>("offset");

    // From whole continents down to a few metres; in the south, north, and near the date line.
    const QList<double> spans{60.0, 5.0, 0.05, 0.001, 0.00002};
    for (const double span : spans) {
        QTest::addRow("cupertino span %g", span) << span << 37.3349 << -122.009 << QPointF(-171.5, 93.25);
        QTest::addRow("sydney span %g", span) << span << -33.8688 << 151.2093 << QPointF(210.0, -140.0);
        QTest::addRow("tromsø span %g", span) << span << 69.6492 << 18.9553 << QPointF(3.0, 7.0);
        QTest::addRow("date line span %g", span) << span << -17.7134 << 179.999 << QPointF(-1.0, 1.0);
    }
}

void TestMapProjection::roundTrip()
{
    QFETCH(double, span);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QPointF, offset);

    const MapProjection projection({{latitude, longitude}, {span, span}}, QSizeF(580, 340));
    const QPointF center = projection.pointForCoordinate({latitude, longitude});
    const MapCoordinate back = projection.coordinateForPoint(center);
    QVERIFY2(std::abs(back.latitude - latitude) < 1e-9, qPrintable(QString::number(back.latitude, 'g', 17)));
    QVERIFY2(std::abs(back.longitude - longitude) < 1e-9, qPrintable(QString::number(back.longitude, 'g', 17)));

    // Any point of the view: point → coordinate → point.
    const MapCoordinate other = projection.coordinateForPoint(center + offset);
    const MapCoordinate again = projection.coordinateForPoint(projection.pointForCoordinate(other));
    QVERIFY(std::abs(again.latitude - other.latitude) < 1e-9);
    QVERIFY(std::abs(again.longitude - other.longitude) < 1e-9);
}

void TestMapProjection::fitsSpanIntoViewport()
{
    // A wide view of a square span: latitude decides, more longitude shows.
    const MapProjection projection({{37.3349, -122.009}, {0.05, 0.05}}, QSizeF(600, 300));
    const MapCamera visible = projection.visibleRegion();
    QVERIFY(std::abs(visible.span.latitudeDelta - 0.05) < 1e-6);
    QVERIFY(visible.span.longitudeDelta > 0.05);
    QVERIFY(std::abs(visible.center.latitude - 37.3349) < 1e-9);
    QVERIFY(std::abs(visible.center.longitude + 122.009) < 1e-9);

    // Its own visible region shows the same again.
    const MapProjection same(visible, QSizeF(600, 300));
    QVERIFY(std::abs(same.scale() / projection.scale() - 1) < 1e-9);
}

void TestMapProjection::zoomKeepsAnchor()
{
    const MapProjection projection({{48.8566, 2.3522}, {1, 1}}, QSizeF(400, 400));
    const QPointF anchor(300, 120);
    const MapCoordinate before = projection.coordinateForPoint(anchor);
    const MapProjection zoomed = projection.zoomed(2.0, anchor);
    QCOMPARE(zoomed.scale(), projection.scale() * 2);
    const MapCoordinate after = zoomed.coordinateForPoint(anchor);
    QVERIFY(std::abs(after.latitude - before.latitude) < 1e-9);
    QVERIFY(std::abs(after.longitude - before.longitude) < 1e-9);
    // Never beyond the limits, whatever the factor.
    QCOMPARE(projection.zoomed(1e30, anchor).scale(), MapProjection::maxScale);
    QCOMPARE(projection.zoomed(std::nan(""), anchor).scale(), projection.scale());
}

void TestMapProjection::clickReportsCoordinateWithoutMovingCamera()
{
    MapWidget map;
    map.resize(500, 400);
    const MapCamera camera{{37.3349, -122.009}, {0.05, 0.05}};
    map.setCamera(camera);
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
    QCOMPARE(map.camera(), camera);

    QSignalSpy tapped(&map, &MapWidget::tapped);
    QSignalSpy moved(&map, &MapWidget::cameraChanged);
    const QPoint point(400, 100);
    const MapCoordinate expected = map.projection().coordinateForPoint(point);
    QTest::mouseClick(&map, Qt::LeftButton, {}, point);

    QCOMPARE(tapped.count(), 1);
    QVERIFY(std::abs(tapped.at(0).at(0).toDouble() - expected.latitude) < 1e-9);
    QVERIFY(std::abs(tapped.at(0).at(1).toDouble() - expected.longitude) < 1e-9);
    // North-east of the centre.
    QVERIFY(expected.latitude > camera.center.latitude);
    QVERIFY(expected.longitude > camera.center.longitude);
    QCOMPARE(moved.count(), 0);
    QCOMPARE(map.camera(), camera);
}

void TestMapProjection::dragPansAndReportsSpan()
{
    MapWidget map;
    map.resize(500, 400);
    map.setCamera({{0, 0}, {10, 10}});
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
    QSignalSpy tapped(&map, &MapWidget::tapped);
    QSignalSpy moved(&map, &MapWidget::cameraChanged);
    QSignalSpy ended(&map, &MapWidget::cameraChangeEnded);

    const MapCoordinate grabbed = map.projection().coordinateForPoint(QPointF(250, 200));
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(250, 200));
    QTest::mouseMove(&map, QPoint(300, 230));
    QTest::mouseMove(&map, QPoint(350, 260));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(350, 260));

    QCOMPARE(tapped.count(), 0);
    QVERIFY(moved.count() >= 1);
    QCOMPARE(ended.count(), 1);
    // The grabbed place followed the pointer.
    const QPointF now = map.pointForCoordinate(grabbed);
    QVERIFY(std::abs(now.x() - 350) < 1e-6);
    QVERIFY(std::abs(now.y() - 260) < 1e-6);
    QCOMPARE(map.camera(), moved.last().at(0).value<MapCamera>());
}

void TestMapProjection::wheelZoomsAroundPointer()
{
    MapWidget map;
    map.resize(500, 400);
    map.setCamera({{52.52, 13.40}, {1, 1}});
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
    QSignalSpy ended(&map, &MapWidget::cameraChangeEnded);
    const double before = map.projection().scale();
    const QPointF pointer(100, 300);
    const MapCoordinate under = map.projection().coordinateForPoint(pointer);

    QWheelEvent wheel(pointer, map.mapToGlobal(pointer), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&map, &wheel);

    QCOMPARE(map.projection().scale(), before * 2);
    const MapCoordinate still = map.projection().coordinateForPoint(pointer);
    QVERIFY(std::abs(still.latitude - under.latitude) < 1e-9);
    QTRY_COMPARE(ended.count(), 1);
    const MapSpan span = ended.at(0).at(0).value<MapSpan>();
    QVERIFY(std::abs(span.latitudeDelta - map.visibleRegion().span.latitudeDelta) < 1e-12);
    QVERIFY(span.latitudeDelta < 1.0);
}

// Two squares side by side sharing one edge, quantized with a transform.
static const char twoSquares[] = R"({
  "type": "Topology",
  "transform": {"scale": [0.5, 0.25], "translate": [10, 20]},
  "objects": {"countries": {"type": "GeometryCollection", "geometries": [
    {"type": "Polygon", "id": "001", "properties": {"name": "West"}, "arcs": [[0, 1]]},
    {"type": "MultiPolygon", "id": "002", "properties": {"name": "East"}, "arcs": [[[2, -1]]]},
    {"type": "LineString", "arcs": [0]}
  ]}},
  "arcs": [
    [[2, 0], [0, 4]],
    [[2, 4], [-2, 0], [0, -4], [2, 0]],
    [[2, 0], [2, 0], [0, 4], [-2, 0]]
  ]
})";

void TestMapProjection::topologyDecodesDeltasAndTransform()
{
    const Result<TopoJsonTopology> topology = TopoJson::decode(QByteArray(twoSquares));
    QVERIFY2(topology.ok(), qPrintable(topology.error()));
    QCOMPARE(topology->arcs.size(), size_t(3));
    // Deltas summed, then scaled and translated: (2,0) → (11,20); (2,4) → (11,21).
    QCOMPARE(topology->arcs[0], (std::vector<QPointF>{{11, 20}, {11, 21}}));
    QCOMPARE(topology->arcs[1].back(), QPointF(11, 20));

    const QList<TopoJsonGeometry> countries = topology->objects.value(QStringLiteral("countries"));
    QCOMPARE(countries.size(), 2); // the line string is left out
    QCOMPARE(countries.at(0).name, QStringLiteral("West"));
    QCOMPARE(countries.at(1).id, QStringLiteral("002"));
    QCOMPARE(countries.at(1).polygons.at(0).rings.at(0), (QList<int>{2, -1}));

    // East: arc 2 forwards, then arc 0 backwards, the shared corner once.
    const std::vector<QPointF> ring = TopoJson::ringPoints(topology.value(), countries.at(1).polygons.at(0).rings.at(0));
    const std::vector<QPointF> expected{{11, 20}, {12, 20}, {12, 21}, {11, 21}, {11, 20}};
    QCOMPARE(ring, expected);
}

void TestMapProjection::topologyRejectsBrokenReferences()
{
    QByteArray broken(twoSquares);
    broken.replace("[[0, 1]]", "[[0, 7]]");
    QVERIFY(!TopoJson::decode(broken).ok());
    QVERIFY(!TopoJson::decode("{\"type\": \"FeatureCollection\"}").ok());
    QVERIFY(!TopoJson::decode("not json").ok());
}

void TestMapProjection::atlasSeparatesCoastsFromBorders()
{
    const auto atlas = WorldAtlas::fromTopology(TopoJson::decode(QByteArray(twoSquares)).value(), QStringLiteral("countries"));
    QCOMPARE(atlas->polygons().size(), size_t(2));
    QCOMPARE(atlas->lines().size(), size_t(3));
    int borders = 0;
    for (const WorldLine &line : atlas->lines())
        borders += line.border ? 1 : 0;
    QCOMPARE(borders, 1); // only the shared edge
    const QRectF bounds = atlas->polygons().front().bounds;
    const QPointF west = MapProjection::worldPoint({21, 10});
    QVERIFY(std::abs(bounds.left() - west.x()) < 1e-12);
    QVERIFY(std::abs(bounds.top() - west.y()) < 1e-12);
}

void TestMapProjection::embeddedAtlasLoads()
{
    QFuture<std::shared_ptr<const WorldAtlas>> future = WorldAtlas::shared();
    future.waitForFinished();
    const auto atlas = future.result();
    QVERIFY(atlas);
    QVERIFY(atlas->polygons().size() > 200);
    QVERIFY(atlas->cities().size() > 20000);
    QVERIFY(atlas->cities().front().population >= atlas->cities().back().population);
    // The same atlas for every caller.
    QCOMPARE(WorldAtlas::shared().result().get(), atlas.get());
}

QTEST_MAIN(TestMapProjection)
#include "tst_mapprojection.moc"

#include <AppPalette.h>
#include <InfoRow.h>
#include <SettingsButtonRow.h>
#include <SettingsNavigationRow.h>
#include <SettingsSelectionRow.h>
#include <SettingsSliderRow.h>
#include <SettingsStatusRow.h>
#include <SettingsSwitch.h>
#include <SettingsTheme.h>
#include <SettingsToggleRow.h>
#include <SettingsValueRow.h>
#include <Spring.h>
#include <SymbolLabel.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A themed root that rows are added to, laid out at a fixed width.
class Host
{
public:
    explicit Host(qreal scale = 1.0, QColor accent = QColor(Qt::magenta))
    {
        m_theme.metricScale = scale;
        m_theme.accent = accent;
        SettingsTheme::install(&m_root, m_theme);
        m_layout = new QVBoxLayout(&m_root);
        m_layout->setContentsMargins(0, 0, 0, 0);
    }

    template <typename Row>
    Row *add(Row *row)
    {
        m_layout->addWidget(row);
        m_root.resize(500, 400);
        m_root.show();
        m_layout->activate();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (row->layout())
            row->layout()->activate();
        return row;
    }

    const SettingsTheme &theme() const { return m_theme; }

private:
    SettingsTheme m_theme;
    QWidget m_root;
    QVBoxLayout *m_layout;
};

QColor textColor(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

} // namespace

class TestSettingsRows final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Motion::setAnimationsEnabled(false); }
    void valueRowWithoutIconStartsWithTitle();
    void valueRowShowsTheValueInPlace();
    void toggleRowSubtitleAndTint();
    void toggleRowWritesThroughItsBinding();
    void navigationRowChevron();
    void sliderRowStepsAndEditing();
    void statusRowWithAndWithoutAction();
    void selectionRowKeepsTitleInPlace();
    void buttonRowDestructiveIsRed();
    void buttonRowProminent_data();
    void buttonRowProminent();
    void rowScaling_data();
    void rowScaling();
};

void TestSettingsRows::valueRowWithoutIconStartsWithTitle()
{
    Host host;
    auto *plain = host.add(new SettingsValueRow(QStringLiteral("Programm"), QStringLiteral("Velorance Studio")));
    auto *withIcon = host.add(new SettingsValueRow(QStringLiteral("Ordner"), QStringLiteral("~/x"), QStringLiteral("folder")));
    QVERIFY(!plain->findChild<SymbolLabel *>(QStringLiteral("rowIcon")));
    QCOMPARE(plain->findChild<QLabel *>(QStringLiteral("rowTitle"))->x(), 0);
    auto *icon = withIcon->findChild<SymbolLabel *>(QStringLiteral("rowIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->width(), 24);
    QCOMPARE(icon->color(), host.theme().accent);
    QVERIFY(withIcon->findChild<QLabel *>(QStringLiteral("rowTitle"))->x() > 24);
    // Padding 4 above and below.
    QCOMPARE(plain->layout()->contentsMargins(), QMargins(0, 4, 0, 4));
}

void TestSettingsRows::valueRowShowsTheValueInPlace()
{
    Host host;
    auto *mono = host.add(new SettingsValueRow(QStringLiteral("Bundle-ID"), QStringLiteral("de.x"), std::nullopt, true));
    auto *value = mono->findChild<QWidget *>(QStringLiteral("rowValue"));
    QCOMPARE(value->font().family(), TextStyles::monospacedFamily());
    QCOMPARE(value->font().weight(), QFont::Medium);
    QCOMPARE(textColor(value), host.theme().textSecondary);
    QCOMPARE(textColor(mono->findChild<QLabel *>(QStringLiteral("rowTitle"))), host.theme().textPrimary);
    QWidget *before = value;
    mono->setValue(QStringLiteral("de.y"));
    QCOMPARE(mono->value(), QStringLiteral("de.y"));
    QCOMPARE(mono->findChild<QWidget *>(QStringLiteral("rowValue")), before);

    auto *proportional = host.add(new SettingsValueRow(QStringLiteral("A"), QStringLiteral("b")));
    QCOMPARE(proportional->findChild<QWidget *>(QStringLiteral("rowValue"))->font().family(), TextStyles::applicationFamily());
}

void TestSettingsRows::toggleRowSubtitleAndTint()
{
    Host host;
    bool on = false;
    const Binding<bool> binding{[&] { return on; }, [&](const bool &v) { on = v; }};
    auto *bare = host.add(new SettingsToggleRow(QStringLiteral("Titel"), std::nullopt, QStringLiteral("hand.raised.fill"),
                                                std::nullopt, std::nullopt, binding));
    QVERIFY(!bare->findChild<QLabel *>(QStringLiteral("rowSubtitle")));
    QCOMPARE(bare->toggle()->tint(), host.theme().accent);
    QCOMPARE(bare->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->color(), host.theme().accent);
    QCOMPARE(bare->layout()->contentsMargins(), QMargins(0, 0, 0, 0));

    auto *full = host.add(new SettingsToggleRow(QStringLiteral("Titel"), QStringLiteral("Eine Unterzeile"),
                                                QStringLiteral("hand.raised.fill"), QColor(Qt::green),
                                                QColor(Qt::yellow), binding));
    auto *subtitle = full->findChild<QLabel *>(QStringLiteral("rowSubtitle"));
    QVERIFY(subtitle);
    QVERIFY(subtitle->wordWrap());
    QCOMPARE(textColor(subtitle), host.theme().textSecondary);
    QCOMPARE(full->toggle()->tint(), QColor(Qt::yellow));
    QCOMPARE(full->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->color(), QColor(Qt::green));
}

void TestSettingsRows::toggleRowWritesThroughItsBinding()
{
    Host host;
    bool on = true;
    int writes = 0;
    auto *row = host.add(new SettingsToggleRow(QStringLiteral("T"), std::nullopt, QStringLiteral("globe"), std::nullopt,
                                               std::nullopt, Binding<bool>{[&] { return on; }, [&](const bool &v) {
                                                                               ++writes;
                                                                               on = v;
                                                                           }}));
    QVERIFY(row->toggle()->isChecked());
    QTest::mouseClick(row->toggle(), Qt::LeftButton);
    QVERIFY(!on);
    QCOMPARE(writes, 1);
    // The owner changes the value: shown without writing back.
    on = true;
    row->refresh();
    QVERIFY(row->toggle()->isChecked());
    QCOMPARE(writes, 1);
}

void TestSettingsRows::navigationRowChevron()
{
    Host host;
    auto *row = host.add(new SettingsNavigationRow(QStringLiteral("Weiter"), QStringLiteral("globe")));
    auto *chevron = row->findChild<SymbolLabel *>(QStringLiteral("rowChevron"));
    QVERIFY(chevron);
    QCOMPARE(chevron->symbolName(), QStringLiteral("chevron.right"));
    QCOMPARE(chevron->color(), host.theme().textSecondary);
    QCOMPARE(row->layout()->contentsMargins(), QMargins(0, 4, 0, 4));
}

void TestSettingsRows::sliderRowStepsAndEditing()
{
    Host host;
    double value = 0.45;
    QList<bool> editing;
    auto *row = host.add(new SettingsSliderRow(
        QStringLiteral("Lautstärke"), QStringLiteral("slider.horizontal.3"),
        Binding<double>{[&] { return value; }, [&](const double &v) { value = v; }}, 0.0, 1.0, 0.25,
        QStringLiteral("Leise"), QStringLiteral("Laut"), [&](bool started) { editing.append(started); }));
    QSlider *slider = row->slider();
    QCOMPARE(slider->maximum(), 4);
    QCOMPARE(slider->value(), 2); // 0.45 is nearest to 0.5
    QCOMPARE(value, 0.45);        // showing it writes nothing
    slider->setValue(3);
    QCOMPARE(value, 0.75);
    QCOMPARE(row->valueAt(4), 1.0);
    QCOMPARE(row->positionFor(7.0), 4);
    QCOMPARE(row->positionFor(-3.0), 0);
    QCOMPARE(row->findChild<QLabel *>(QStringLiteral("rowMinLabel"))->text(), QStringLiteral("Leise"));
    QCOMPARE(textColor(row->findChild<QLabel *>(QStringLiteral("rowMaxLabel"))), host.theme().textSecondary);

    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    const QPoint handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle);
    QCOMPARE(editing, (QList<bool>{true, false}));

    // No usable step and an upside-down range still give a working slider.
    double other = 5;
    auto *odd = host.add(new SettingsSliderRow(QStringLiteral("X"), QStringLiteral("globe"),
                                               Binding<double>{[&] { return other; }, [&](const double &v) { other = v; }},
                                               10.0, 2.0, 0.0, QString(), QString()));
    QCOMPARE(odd->slider()->value(), 0);
    odd->slider()->setValue(odd->slider()->maximum());
    QCOMPARE(other, 10.0);
}

void TestSettingsRows::statusRowWithAndWithoutAction()
{
    Host host;
    auto *still = host.add(new SettingsStatusRow(QStringLiteral("Status"), QStringLiteral("globe"), QStringLiteral("OK"),
                                                 QColor(Qt::green)));
    QVERIFY(!still->hasAction());
    QVERIFY(still->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(textColor(still->findChild<QLabel *>(QStringLiteral("rowStatus"))), QColor(Qt::green));
    QTest::mouseClick(still, Qt::LeftButton); // nothing to run, nothing happens

    int runs = 0;
    auto *acting = host.add(new SettingsStatusRow(QStringLiteral("Status"), QStringLiteral("globe"), QStringLiteral("Fehler"),
                                                  QColor(Qt::red), [&] { ++runs; }));
    QVERIFY(!acting->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The whole row takes the tap, also on its title.
    QTest::mouseClick(acting, Qt::LeftButton, {}, QPoint(acting->width() - 2, acting->height() / 2));
    QCOMPARE(runs, 1);
    acting->setStatus(QStringLiteral("OK"), QColor(Qt::green));
    QCOMPARE(acting->status(), QStringLiteral("OK"));
    QCOMPARE(textColor(acting->findChild<QLabel *>(QStringLiteral("rowStatus"))), QColor(Qt::green));
}

void TestSettingsRows::selectionRowKeepsTitleInPlace()
{
    Host host;
    int chosen = 0;
    auto *selected = host.add(new SettingsSelectionRow(QStringLiteral("A"), QStringLiteral("Deutsch"), QStringLiteral("de"),
                                                       true, std::nullopt, [&] { ++chosen; }));
    auto *unselected = host.add(new SettingsSelectionRow(QStringLiteral("B"), QStringLiteral("Englisch"), std::nullopt,
                                                         false, QColor(Qt::cyan), [&] { ++chosen; }));
    auto *check = selected->findChild<SymbolLabel *>(QStringLiteral("rowCheckmark"));
    QVERIFY(check->isVisible());
    QCOMPARE(check->color(), host.theme().accent);
    QVERIFY(!unselected->findChild<SymbolLabel *>(QStringLiteral("rowCheckmark"))->isVisible());
    QCOMPARE(unselected->findChild<SymbolLabel *>(QStringLiteral("rowCheckmark"))->color(), QColor(Qt::cyan));
    const int titleX = unselected->findChild<QLabel *>(QStringLiteral("rowTitle"))->x();
    QCOMPARE(titleX, selected->findChild<QLabel *>(QStringLiteral("rowTitle"))->x());
    QCOMPARE(unselected->findChild<QLabel *>(QStringLiteral("rowLeading"))->width(), 24);

    unselected->setSelected(true);
    unselected->layout()->activate();
    QCOMPARE(unselected->findChild<QLabel *>(QStringLiteral("rowTitle"))->x(), titleX);
    QTest::mouseClick(unselected, Qt::LeftButton);
    QCOMPARE(chosen, 1);
}

void TestSettingsRows::buttonRowDestructiveIsRed()
{
    Host host;
    int runs = 0;
    auto *destructive = host.add(new SettingsButtonRow(QStringLiteral("Löschen"), QStringLiteral("trash"),
                                                       QColor(Qt::green), SettingsButtonRole::Destructive, false,
                                                       [&] { ++runs; }));
    QCOMPARE(destructive->iconColor(), AppPalette::destructive());
    QCOMPARE(destructive->titleColor(), AppPalette::destructive());
    QCOMPARE(destructive->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->color(), AppPalette::destructive());
    QCOMPARE(textColor(destructive->findChild<QLabel *>(QStringLiteral("rowTitle"))), AppPalette::destructive());
    QTest::mouseClick(destructive->button(), Qt::LeftButton);
    QCOMPARE(runs, 1);

    auto *normal = host.add(new SettingsButtonRow(QStringLiteral("Öffnen"), QStringLiteral("globe"), QColor(Qt::green),
                                                  std::nullopt, false, [] {}));
    QCOMPARE(normal->iconColor(), QColor(Qt::green));
    QCOMPARE(normal->titleColor(), host.theme().textPrimary);
    auto *fallback = host.add(new SettingsButtonRow(QStringLiteral("Öffnen"), QStringLiteral("globe"), std::nullopt,
                                                    SettingsButtonRole::Cancel, false, [] {}));
    QCOMPARE(fallback->iconColor(), host.theme().accent);
}

void TestSettingsRows::buttonRowProminent_data()
{
    QTest::addColumn<bool>("destructive");
    QTest::newRow("destructive") << true;
    QTest::newRow("plain role") << false;
}

void TestSettingsRows::buttonRowProminent()
{
    QFETCH(bool, destructive);
    Host host;
    int runs = 0;
    auto *row = host.add(new SettingsButtonRow(
        QStringLiteral("Alles löschen"), QStringLiteral("trash"), QColor(Qt::green),
        destructive ? std::optional(SettingsButtonRole::Destructive) : std::nullopt, true, [&] { ++runs; }));
    auto *button = qobject_cast<QPushButton *>(row->button());
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Alles löschen"));
    QCOMPARE(button->width(), row->width());
    QCOMPARE(row->prominentTint(), destructive ? AppPalette::destructive() : host.theme().accent);
    QVERIFY(button->styleSheet().contains(row->prominentTint().name()));
    button->click();
    QCOMPARE(runs, 1);
}

void TestSettingsRows::rowScaling_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("titlePixels");
    QTest::addColumn<int>("infoIconFrame");
    QTest::newRow("1.0 uses the platform styles") << 1.0 << TextStyles::pixelSize(TextStyle::Body) << 16;
    QTest::newRow("1.25") << 1.25 << 21 << 20;
}

void TestSettingsRows::rowScaling()
{
    QFETCH(qreal, scale);
    QFETCH(int, titlePixels);
    QFETCH(int, infoIconFrame);

    Host host(scale);
    bool on = false;
    auto *toggle = host.add(new SettingsToggleRow(QStringLiteral("Titel"), QStringLiteral("Unterzeile"),
                                                  QStringLiteral("globe"), std::nullopt, std::nullopt,
                                                  Binding<bool>{[&] { return on; }, [&](const bool &v) { on = v; }}));
    auto *info = host.add(new InfoRow(QStringLiteral("info.circle.fill"), QStringLiteral("Hinweis")));
    auto *value = host.add(new SettingsValueRow(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("globe")));

    const KitFontSpec body = host.theme().fontSpec(KitTextStyle::Body);
    QCOMPARE(body.platformStyle, scale == 1.0);
    if (scale == 1.25)
        QCOMPARE(body.pixelSize, 21.25);
    QCOMPARE(toggle->findChild<QLabel *>(QStringLiteral("rowTitle"))->font().pixelSize(), titlePixels);
    QCOMPARE(value->findChild<QLabel *>(QStringLiteral("rowTitle"))->font().pixelSize(), titlePixels);
    const int caption = scale == 1.0 ? TextStyles::pixelSize(TextStyle::Caption) : qRound(12 * scale);
    QCOMPARE(toggle->findChild<QLabel *>(QStringLiteral("rowSubtitle"))->font().pixelSize(), caption);

    // The 24-wide icon slots are fixed; the info row's icon frame and spacing scale.
    QCOMPARE(toggle->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->width(), 24);
    QCOMPARE(value->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->width(), 24);
    QCOMPARE(info->findChild<SymbolLabel *>(QStringLiteral("rowIcon"))->width(), infoIconFrame);
    QCOMPARE(info->layout()->spacing(), qRound(8 * scale));
    const int footnote = scale == 1.0 ? TextStyles::pixelSize(TextStyle::Footnote) : qRound(13 * scale);
    QCOMPARE(info->findChild<QLabel *>(QStringLiteral("rowText"))->font().pixelSize(), footnote);
}

QTEST_MAIN(TestSettingsRows)
#include "tst_settingsrows.moc"

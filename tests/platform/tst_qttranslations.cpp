#include <QtTranslations.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// Qt's catalogues are installed into the one application of this test; the failing cases
// run first, while Qt still speaks English.
class TestQtTranslations final : public QObject
{
    Q_OBJECT

private slots:
    void missingOrBrokenCatalogueLeavesQtAsItWas_data();
    void missingOrBrokenCatalogueLeavesQtAsItWas();
    void germanCatalogueInstalls();
    void standardTextsAreGerman_data();
    void standardTextsAreGerman();
    void standardDialogsShowGerman();

private:
    QTemporaryDir m_folder;
};

void TestQtTranslations::missingOrBrokenCatalogueLeavesQtAsItWas_data()
{
    QVERIFY(m_folder.isValid());
    QFile broken(m_folder.filePath(QStringLiteral("qtbase_fr.qm")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a catalogue");
    broken.close();

    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("directory");
    QTest::newRow("no such folder") << QLocale(QLocale::German) << m_folder.filePath(QStringLiteral("missing"));
    QTest::newRow("folder without it") << QLocale(QLocale::German) << m_folder.path();
    QTest::newRow("broken catalogue") << QLocale(QLocale::French) << m_folder.path();
    QTest::newRow("language Qt has none for") << QLocale(QLocale::Icelandic) << QtTranslations::defaultDirectory();
}

void TestQtTranslations::missingOrBrokenCatalogueLeavesQtAsItWas()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, directory);
    const Status status = QtTranslations::install(locale, directory);
    QVERIFY(!status.ok());
    QVERIFY(!status.error().isEmpty());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void TestQtTranslations::germanCatalogueInstalls()
{
    const Status status = QtTranslations::install();
    QVERIFY2(status.ok(), qPrintable(status.error()));
}

void TestQtTranslations::standardTextsAreGerman_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("german");
    QTest::newRow("standard button") << QByteArray("QPlatformTheme") << QByteArray("Cancel") << QStringLiteral("Abbrechen");
    QTest::newRow("file dialog") << QByteArray("QFileDialog") << QByteArray("Look in:") << QStringLiteral("Suchen in:");
    QTest::newRow("text field menu") << QByteArray("QWidgetTextControl") << QByteArray("&Copy") << QStringLiteral("&Kopieren");
}

void TestQtTranslations::standardTextsAreGerman()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);
    QFETCH(QString, german);
    QCOMPARE(QCoreApplication::translate(context.constData(), source.constData()), german);
}

void TestQtTranslations::standardDialogsShowGerman()
{
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

    // Qt's own folder chooser, as the program shows it on this platform.
    QFileDialog chooser;
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::Directory);
    auto *lookIn = chooser.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QCOMPARE(lookIn->text(), QStringLiteral("Suchen in:"));
    auto *box = chooser.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(box);
    QCOMPARE(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(box->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Auswählen"));
}

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"

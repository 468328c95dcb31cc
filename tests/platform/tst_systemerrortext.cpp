#include "LibcGerman.h"

#include <SystemErrorText.h>

#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestSystemErrorText final : public QObject
{
    Q_OBJECT

private slots:
    void errorNumbersInGerman_data();
    void errorNumbersInGerman();
    void systemPartOfQtsTextsInGerman_data();
    void systemPartOfQtsTextsInGerman();
    void missingCatalogueGivesEnglish();

private:
    QTemporaryDir m_dir;
};

void TestSystemErrorText::errorNumbersInGerman_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("german");
    QTest::newRow("not a directory") << ENOTDIR << libcGerman("Not a directory");
    QTest::newRow("number the system does not know") << 99999 << libcGerman("Unknown error ") + QStringLiteral("99999");
}

void TestSystemErrorText::errorNumbersInGerman()
{
    QFETCH(int, code);
    QFETCH(QString, german);
    QVERIFY2(!libcGerman("Not a directory").isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
    QCOMPARE(SystemErrorText::of(code), german);
}

void TestSystemErrorText::systemPartOfQtsTextsInGerman_data()
{
    // Texts as Qt makes them here, with the system's English text they end with, if any.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("system");

    QSaveFile blocked(m_dir.filePath(QStringLiteral("missing/plan.json")));
    QVERIFY(!blocked.open(QIODevice::WriteOnly));
    QTest::newRow("system's text") << blocked.errorString() << QByteArray("No such file or directory");
    QSaveFile folder(m_dir.path());
    QVERIFY(!folder.open(QIODevice::WriteOnly));
    QTest::newRow("Qt's own text") << folder.errorString() << QByteArray();
    QTest::newRow("system's text not at the end") << QStringLiteral("Permission denied (/tmp/x)") << QByteArray();
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestSystemErrorText::systemPartOfQtsTextsInGerman()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, system);
    QString expected = text;
    if (!system.isEmpty()) {
        QVERIFY2(text.endsWith(QString::fromUtf8(system)), qPrintable(text));
        expected = text.chopped(system.size()) + libcGerman(system.constData());
        QVERIFY(expected != text);
    }
    QCOMPARE(SystemErrorText::localized(text), expected);
}

void TestSystemErrorText::missingCatalogueGivesEnglish()
{
    const MessageCatalog none;
    QCOMPARE(SystemErrorText::of(ENOTDIR, none), QStringLiteral("Not a directory"));
    QCOMPARE(SystemErrorText::localized(QStringLiteral("execvp: Permission denied"), none),
             QStringLiteral("execvp: Permission denied"));
}

QTEST_MAIN(TestSystemErrorText)
#include "tst_systemerrortext.moc"

#include "LibcGerman.h"
#include "MessageLocale.h"

#include <SystemErrorText.h>

#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <filesystem>

class TestSystemErrorText final : public QObject
{
    Q_OBJECT

private slots:
    void errorNumbersInGerman_data();
    void errorNumbersInGerman();
    void systemPartOfQtsTextsInGerman_data();
    void systemPartOfQtsTextsInGerman();
    void qtsTextsInGermanWhateverTheLocale_data();
    void qtsTextsInGermanWhateverTheLocale();
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
    QTest::newRow("after a text that names no call") << QStringLiteral("Cannot open for output: Not a directory")
                                                     << QByteArray("Not a directory");
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

// Qt words some errors in English and leaves the rest to strerror in the process's locale, and
// a process that cannot start names the call that failed: what is shown is the German text
// alone.
void TestSystemErrorText::qtsTextsInGermanWhateverTheLocale_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("english");

    for (const char *language : {"C", "fr"}) {
        QTest::addRow("file below a file, %s", language)
            << QByteArray(language) << QStringLiteral("file") << QByteArray("Not a directory");
        QTest::addRow("program below a file, %s", language)
            << QByteArray(language) << QStringLiteral("program") << QByteArray("Not a directory");
        QTest::addRow("program not executable, %s", language)
            << QByteArray(language) << QStringLiteral("not executable") << QByteArray("Permission denied");
        QTest::addRow("working folder below a file, %s", language)
            << QByteArray(language) << QStringLiteral("working folder") << QByteArray("Not a directory");
        QTest::addRow("standard library, %s", language)
            << QByteArray(language) << QStringLiteral("standard library") << QByteArray("Not a directory");
    }
}

void TestSystemErrorText::qtsTextsInGermanWhateverTheLocale()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, source);
    QFETCH(QByteArray, english);
    const QString german = libcGerman(english.constData());
    QVERIFY2(!german.isEmpty(), "libc-l10n's German catalogue is missing: run scripts/setup.sh");
    const QString plain = m_dir.filePath(QStringLiteral("plain"));
    {
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString below = plain + QStringLiteral("/x");

    const MessageLocale locale(language);
    if (language != "C")
        QVERIFY2(MessageLocale::speaksOtherThanEnglish(), "libc-l10n's catalogue of this language is missing");
    QString text;
    if (source == QStringLiteral("file")) {
        QFile file(below);
        QVERIFY(!file.open(QIODevice::ReadOnly));
        text = file.errorString();
    } else if (source == QStringLiteral("standard library")) {
        std::error_code error;
        std::filesystem::create_directories(below.toStdString(), error);
        text = QString::fromStdString(error.message());
    } else {
        QProcess process;
        if (source == QStringLiteral("working folder"))
            process.setWorkingDirectory(below);
        process.start(source == QStringLiteral("program") ? below
                      : source == QStringLiteral("not executable") ? plain
                                                                  : QStringLiteral("/bin/true"),
                      {});
        QVERIFY(!process.waitForStarted());
        text = process.errorString();
    }
    QVERIFY(text != german);
    QCOMPARE(SystemErrorText::localized(text), german);
}

void TestSystemErrorText::missingCatalogueGivesEnglish()
{
    const MessageCatalog none;
    QCOMPARE(SystemErrorText::of(ENOTDIR, none), QStringLiteral("Not a directory"));
    QCOMPARE(SystemErrorText::localized(QStringLiteral("execvp: Permission denied"), none),
             QStringLiteral("Permission denied"));
}

QTEST_MAIN(TestSystemErrorText)
#include "tst_systemerrortext.moc"

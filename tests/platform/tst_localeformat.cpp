// Numbers and times in the user's locale: the plain C locale (a session without any locale
// set) keeps the program's own plain forms, any other locale writes them its way.
#include "platform/system/LocaleFormat.h"

#include <QDateTime>
#include <QtTest>

class TestLocaleFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Runs first: nothing has chosen a locale yet, so the first use takes the environment's.
    void theEnvironmentChoosesOnFirstUse() {
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", "POSIX");
        const QString number = locale_format::Number(16384);
        saved.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", saved);
        QCOMPARE(QLocale(), QLocale::c());
        QCOMPARE(number, QStringLiteral("16384"));
    }

    void plainCLocale_data() {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcCategory");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<bool>("plain");
        QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << true;
        QTest::newRow("LANG=C") << QByteArray() << QByteArray() << QByteArray("C") << true;
        QTest::newRow("LANG=C.UTF-8")
            << QByteArray() << QByteArray() << QByteArray("C.UTF-8") << true;
        QTest::newRow("LANG=POSIX") << QByteArray() << QByteArray() << QByteArray("POSIX") << true;
        QTest::newRow("LANG=de_DE.UTF-8")
            << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8") << false;
        QTest::newRow("a name that only starts like C")
            << QByteArray() << QByteArray() << QByteArray("ca_ES.UTF-8") << false;
        QTest::newRow("the category over LANG")
            << QByteArray() << QByteArray("C.UTF-8") << QByteArray("de_DE.UTF-8") << true;
        QTest::newRow("the category over LANG, German")
            << QByteArray() << QByteArray("de_DE.UTF-8") << QByteArray("C") << false;
        QTest::newRow("LC_ALL over everything")
            << QByteArray("C") << QByteArray("de_DE.UTF-8") << QByteArray("de_DE.UTF-8") << true;
        QTest::newRow("LC_ALL over everything, German")
            << QByteArray("de_DE.UTF-8") << QByteArray("C") << QByteArray("C") << false;
    }

    void plainCLocale() {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcCategory);
        QFETCH(QByteArray, lang);
        QFETCH(bool, plain);
        QCOMPARE(locale_format::IsPlainC(lcAll, lcCategory, lang), plain);
    }

    // Numbers and times both have to follow C for the plain forms.
    void localeFromTheEnvironment_data() {
        QTest::addColumn<QByteArray>("numeric");
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<bool>("plain");
        QTest::newRow("both C") << QByteArray("C.UTF-8") << QByteArray("POSIX") << true;
        QTest::newRow("German numbers") << QByteArray("de_DE.UTF-8") << QByteArray("C") << false;
        QTest::newRow("German times") << QByteArray("C") << QByteArray("de_DE.UTF-8") << false;
    }

    void localeFromTheEnvironment() {
        QFETCH(QByteArray, numeric);
        QFETCH(QByteArray, time);
        QFETCH(bool, plain);
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_NUMERIC"), qgetenv("LC_TIME")};
        qunsetenv("LC_ALL");
        qputenv("LC_NUMERIC", numeric);
        qputenv("LC_TIME", time);
        const QLocale chosen = locale_format::FromEnvironment();
        const char* const names[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME"};
        for (int i = 0; i < 3; ++i)
            saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        QCOMPARE(chosen, plain ? QLocale::c() : QLocale::system());
    }

    void numbersAndTimes_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("dimension");
        QTest::addColumn<QString>("time");
        QTest::newRow("C") << "C"
                           << "5000000000"
                           << "4032"
                           << "2024-05-01 13:45:07";
        QTest::newRow("German") << "de_DE"
                                << "5.000.000.000"
                                << "4032"
                                << "01.05.24 13:45:07";
    }

    void numbersAndTimes() {
        QFETCH(QString, locale);
        QFETCH(QString, number);
        QFETCH(QString, dimension);
        QFETCH(QString, time);
        locale_format::SetDefault(QLocale(locale));
        QCOMPARE(locale_format::Number(5000000000), number);
        QCOMPARE(locale_format::Dimension(4032), dimension);
        QCOMPARE(locale_format::DateTime(QDateTime(QDate(2024, 5, 1), QTime(13, 45, 7))), time);
        locale_format::SetDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestLocaleFormat)
#include "tst_localeformat.moc"

// The program speaks the user's language: German menus, dialogs and status texts (with
// their plural forms) under a German locale, the toolkit's own buttons with them, and
// English for every language it has no translation for. The dialogs, built from their
// templates, hold the longer German texts whole.
#include "app/CCommandBuilder.h"
#include "app/CTranslations.h"
#include "dialogs/CHistoryDlg.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "resources/templates/AboutTemplate.h"
#include "resources/templates/ConfigTemplate.h"
#include "resources/templates/DirOpenTemplate.h"
#include "resources/templates/FileTypesTemplate.h"
#include "resources/templates/TargetDirsTemplate.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/journal/CSortJournal.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/session/PictureStatus.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList MenuTitles(const QMenuBar& bar) {
    QStringList titles;
    for (QAction* a : bar.actions())
        titles << a->text();
    return titles;
}

// The text a control shows, when it shows one.
QString ShownText(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->pixmap().isNull() ? l->text() : QString();
    return QString();
}

// Every text control of the dialog: whole (its text fits its width), inside the dialog, and
// clear of the controls it did not overlap in the template's own English layout.
void CheckTextsFit(QDialog& dialog, const QHash<QWidget*, QRect>& english) {
    const QRect client(QPoint(0, 0), dialog.size());
    const QWidgetList controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : controls) {
        const QString text = ShownText(w);
        if (text.isEmpty() || w->isHidden()) // the hidden ones are never seen
            continue;
        const QString what = text + QStringLiteral(" in ") + dialog.objectName();
        const int need = qobject_cast<QPushButton*>(w)
                             ? w->fontMetrics().horizontalAdvance(QString(text).remove('&'))
                             : w->sizeHint().width();
        QVERIFY2(need <= w->width(), qPrintable(what + QStringLiteral(" is cut")));
        QVERIFY2(client.contains(w->geometry()), qPrintable(what + QStringLiteral(" sticks out")));
        for (QWidget* other : controls)
            if (other != w && !english.value(w).intersects(english.value(other)))
                QVERIFY2(!w->geometry().intersects(other->geometry()),
                         qPrintable(what + QStringLiteral(" covers ") + ShownText(other) +
                                    QLatin1Char(' ') + other->objectName()));
    }
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { CTranslations::Install(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void menusFollowTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("translated");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("print");
        QTest::addColumn<QString>("cancel");
        const QStringList german{"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"};
        const QStringList english{"&File", "&Edit", "&View", "&Help"};
        QTest::newRow("German") << "de_DE" << true << german << "&Drucken...\tStrg+P"
                                << "Abbrechen";
        QTest::newRow("English") << "en_GB" << false << english << "&Print...\tCtrl+P"
                                 << "Cancel";
        QTest::newRow("a language without a translation")
            << "sw_KE" << false << english << "&Print...\tCtrl+P"
            << "Cancel";
    }

    void menusFollowTheLocale() {
        QFETCH(QString, locale);
        QFETCH(bool, translated);
        QFETCH(QStringList, menus);
        QFETCH(QString, print);
        QFETCH(QString, cancel);
        QCOMPARE(CTranslations::Install(QLocale(locale)), translated);
        QWidget owner;
        QMenuBar bar;
        const CCommandBuilder::Actions actions = CCommandBuilder::CreateActions(&owner);
        CCommandBuilder::BuildMenuBar(&bar, actions);
        QCOMPARE(MenuTitles(bar), menus);
        QCOMPARE(actions.value(cmd::ID_FILE_PRINT)->text(), print);
        // The toolkit's own texts come along (its qtbase translation).
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
    }

    void statusTextsHavePluralForms_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("German, none") << "de_DE" << 0 << "0 Dateien";
        QTest::newRow("German, one") << "de_DE" << 1 << "1 Datei";
        QTest::newRow("German, two") << "de_DE" << 2 << "2 Dateien";
        QTest::newRow("English keeps its own text") << "en_US" << 1 << "1 files";
        QTest::newRow("English, many") << "en_US" << 1234 << "1,234 files";
        QTest::newRow("German, many") << "de_DE" << 1234 << "1.234 Dateien";
        QTest::newRow("the C locale, many") << "C" << 1234 << "1234 files";
    }

    void statusTextsHavePluralForms() {
        QFETCH(QString, locale);
        QFETCH(int, count);
        QFETCH(QString, text);
        CTranslations::Install(QLocale(locale));
        QCOMPARE(picture_status::FileCountText(count), text);
    }

    // The figures of the status texts in the locale's digits: grouped in German and English,
    // plain in the C locale; a picture's width, height and depth never grouped.
    void statusTextsWriteNumbersInTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("failed");
        QTest::newRow("German") << "de_DE"
                                << "/p/a.jpg - 4032x3024x24 bpp,  1.188 Byte,  JFIF Compliant"
                                << "/p/a.jpg - broken,  5.000.000.000 Byte";
        QTest::newRow("English") << "en_US"
                                 << "/p/a.jpg - 4032x3024x24 bpp,  1,188 bytes,  JFIF Compliant"
                                 << "/p/a.jpg - broken,  5,000,000,000 bytes";
        QTest::newRow("the C locale") << "C"
                                      << "/p/a.jpg - 4032x3024x24 bpp,  1188 bytes,  JFIF Compliant"
                                      << "/p/a.jpg - broken,  5000000000 bytes";
    }

    void statusTextsWriteNumbersInTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, status);
        QFETCH(QString, failed);
        CTranslations::Install(QLocale(locale));
        QCOMPARE(picture_status::StatusText("/p/a.jpg", 4032, 3024, 24, 1188, "JFIF Compliant"),
                 status);
        QCOMPARE(picture_status::FailedText("/p/a.jpg", "broken.", 5000000000, QString()), failed);
    }

    // History's buttons, its columns and the count of damaged journal lines, with the
    // language's plural.
    void historySpeaksTheLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("damaged");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("texts"); // the first column, the buttons
        const QStringList german{"Zeit", "Bis hierher &rückgängig", "&Überspringen"};
        const QStringList english{"Time", "&Undo up to here", "&Skip"};
        QTest::newRow("German, one")
            << "de_DE" << 1 << "1 beschädigter Eintrag des Journals wurde übersprungen." << german;
        QTest::newRow("German, two")
            << "de_DE" << 2 << "2 beschädigte Einträge des Journals wurden übersprungen." << german;
        QTest::newRow("English, three")
            << "en_US" << 3 << "3 damaged entries of the journal were skipped." << english;
    }

    void historySpeaksTheLanguage() {
        QFETCH(QString, locale);
        QFETCH(int, damaged);
        QFETCH(QString, damage);
        QFETCH(QStringList, texts);
        CTranslations::Install(QLocale(locale));
        QTemporaryDir dir;
        QFile journal(dir.filePath(QStringLiteral("sort-journal")));
        QVERIFY(journal.open(QIODevice::WriteOnly));
        for (int i = 0; i < damaged; ++i)
            journal.write("not a line of ours\n");
        journal.close();
        CUndoHistory history(std::make_unique<CSortJournal>(QFile::encodeName(dir.path())));
        QVERIFY(history.Start());
        CHistoryDlg dlg(history);
        dlg.Fill();
        QCOMPARE(dlg.DamageLabel()->text(), damage);
        QCOMPARE((QStringList{dlg.List()->headerItem()->text(0), dlg.UndoButton()->text(),
                              dlg.SkipButton()->text()}),
                 texts);
    }

    void dialogsHoldTheirTexts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("which");
        const char* const names[] = {"About",     "Config",     "DirOpen",
                                     "FileTypes", "TargetDirs", "Target"};
        for (const char* locale : {"de_DE", "en_US"})
            for (int i = 0; i < 6; ++i)
                QTest::addRow("%s %s", names[i], locale) << QString::fromLatin1(locale) << i;
    }

    void dialogsHoldTheirTexts() {
        QFETCH(QString, locale);
        QFETCH(int, which);
        const dlg::Template* const templates[] = {
            &dlg::AboutTemplate(),     &dlg::ConfigTemplate(),     &dlg::DirOpenTemplate(),
            &dlg::FileTypesTemplate(), &dlg::TargetDirsTemplate(), &dlg::TargetTemplate()};
        const dlg::Template& t = *templates[which];
        QDialog plain; // the template's own rectangles, in English
        CDialogBuilder::Build(&plain, t);
        QHash<QWidget*, QRect> english;
        CTranslations::Install(QLocale(locale));
        QDialog dialog;
        dialog.setObjectName(QString::fromLatin1(t.name.data(), qsizetype(t.name.size())));
        CDialogBuilder::Build(&dialog, t);
        const QWidgetList before = plain.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        const QWidgetList after = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(after.size(), before.size());
        for (qsizetype i = 0; i < after.size(); ++i)
            english.insert(after[i], before[i]->geometry());
        CheckTextsFit(dialog, english);
        // In English the dialog keeps the template's size: nothing in it grew.
        if (locale.startsWith(QLatin1String("en")))
            QCOMPARE(dialog.size(), CDialogBuilder::MapDialogRect(QFontMetrics(dialog.font()),
                                                                  QRect(0, 0, t.cx, t.cy))
                                        .size());
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"

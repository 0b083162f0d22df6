// The notification that lies over a view and the frame that shows which pane has the focus.
#include "platform/ui/CFocusFrame.h"
#include "platform/ui/CMessageBar.h"

#include <QAccessible>
#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {
// How many pixels of a row or column of the image have the colour.
int CountOnLine(const QImage& image, const QColor& colour, int x, int y, bool bRow) {
    int n = 0;
    const int length = bRow ? image.width() : image.height();
    for (int i = 0; i < length; ++i)
        n += image.pixelColor(bRow ? i : x, bRow ? y : i) == colour;
    return n;
}
} // namespace

class TestMessageBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_view = std::make_unique<QWidget>();
        m_view->resize(400, 300);
        m_bar = new CMessageBar(m_view.get());
        m_bar->SetActionText("Undo", "Undo it");
        m_view->show();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    }
    void cleanup() { m_view.reset(); }

    // Shown over the top of the view, across it, with or without its button; a new message
    // starts the wait again and follows the view's width.
    void showsOverTheViewWithItsButton_data() {
        QTest::addColumn<bool>("bOffer");
        QTest::newRow("with Undo") << true;
        QTest::newRow("without") << false;
    }
    void showsOverTheViewWithItsButton() {
        QFETCH(bool, bOffer);
        QVERIFY(!m_bar->isVisible());
        m_bar->ShowMessage("Moved a.jpg to Keep", bOffer);
        QVERIFY(m_bar->isVisible());
        QCOMPARE(m_bar->Text(), QStringLiteral("Moved a.jpg to Keep"));
        QCOMPARE(m_bar->ActionButton()->isVisible(), bOffer);
        QCOMPARE(m_bar->OffersAction(), bOffer);
        QVERIFY(m_bar->IsCountingDown());
        QCOMPARE(m_bar->y(), 8);
        QCOMPARE(m_bar->width(), 400 - 16);
        m_view->resize(600, 300);
        QCOMPARE(m_bar->width(), 600 - 16);
        QVERIFY(m_bar->height() > 0 && m_bar->height() < 150);
    }

    // The button does its action once and the bar goes; the close button only closes.
    void buttonsActAndClose() {
        QSignalSpy acted(m_bar, &CMessageBar::ActionClicked);
        m_bar->ShowMessage("Moved a.jpg to Keep", true);
        m_bar->findChild<QToolButton*>("messageClose")->click();
        QVERIFY(!m_bar->isVisible());
        QCOMPARE(acted.count(), 0);
        m_bar->ShowMessage("Moved b.jpg to Keep", true);
        QTest::mouseClick(m_bar->ActionButton(), Qt::LeftButton);
        QCOMPARE(acted.count(), 1);
        QVERIFY(!m_bar->isVisible());
    }

    // Neither button takes the keyboard from the widget that has it.
    void neverTakesTheFocus() {
        auto* edit = new QLineEdit(m_view.get());
        edit->show();
        edit->setFocus();
        QVERIFY(edit->hasFocus());
        m_bar->ShowMessage("Moved a.jpg to Keep", true);
        QTest::mouseClick(m_bar->ActionButton(), Qt::LeftButton);
        QVERIFY(edit->hasFocus());
        for (QWidget* w : m_bar->findChildren<QWidget*>())
            QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    }

    // When the time is up it fades; the pointer on it holds it at full strength, and a new
    // message is shown at full strength again.
    void fadesUnlessHeld() {
        m_bar->ShowMessage("Moved a.jpg to Keep", true);
        QVERIFY(!m_bar->graphicsEffect());
        m_bar->StartFading();
        QVERIFY(qobject_cast<QGraphicsOpacityEffect*>(m_bar->graphicsEffect()));
        QVERIFY(!m_bar->IsCountingDown());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(m_bar, &enter);
        QVERIFY(!m_bar->graphicsEffect() && m_bar->isVisible());
        QVERIFY(!m_bar->IsCountingDown());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_bar, &leave);
        QVERIFY(m_bar->IsCountingDown());
        m_bar->StartFading();
        m_bar->ShowMessage("Moved b.jpg to Keep", false);
        QVERIFY(!m_bar->graphicsEffect() && m_bar->IsCountingDown());
        m_bar->Dismiss();
        QVERIFY(!m_bar->isVisible() && !m_bar->IsCountingDown());
    }

    // A screen reader finds an alert named with the message, and is told when it changes.
    void readByScreenReaders() {
        m_bar->ShowMessage("Trashed a.jpg and 2 companion files", true);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m_bar);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::AlertMessage);
        QCOMPARE(face->text(QAccessible::Name),
                 QStringLiteral("Trashed a.jpg and 2 companion files"));
        QCOMPARE(face->text(QAccessible::Description), QStringLiteral("Notification"));
        QVERIFY(!face->state().invisible);
        m_bar->ShowMessage("Moved b.jpg to Keep", false);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Moved b.jpg to Keep"));
    }

    // The frame lies over the widget it shows, in the highlight colour on all four edges,
    // follows it, lets the mouse through, and goes with a null target.
    void focusFrameFollowsItsWidget() {
        auto* pane = new QWidget(m_view.get());
        pane->setGeometry(50, 40, 120, 90);
        pane->show();
        auto* frame = new CFocusFrame(m_view.get());
        frame->SetTarget(pane);
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->geometry(), pane->geometry());
        QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QColor highlight = frame->palette().color(QPalette::Active, QPalette::Highlight);
        const QImage image = m_view->grab(pane->geometry()).toImage();
        QCOMPARE(CountOnLine(image, highlight, 0, 0, true), image.width());
        QCOMPARE(CountOnLine(image, highlight, 0, image.height() - 1, true), image.width());
        QCOMPARE(CountOnLine(image, highlight, 0, 0, false), image.height());
        QCOMPARE(CountOnLine(image, highlight, image.width() - 1, 0, false), image.height());
        QCOMPARE(CountOnLine(image, highlight, 0, image.height() / 2, true),
                 2 * CFocusFrame::kWidth);
        pane->setGeometry(10, 20, 200, 100);
        QCOMPARE(frame->geometry(), pane->geometry());
        pane->hide();
        QVERIFY(!frame->isVisible());
        pane->show();
        frame->SetTarget(nullptr);
        QVERIFY(!frame->isVisible());
    }

private:
    std::unique_ptr<QWidget> m_view;
    CMessageBar* m_bar = nullptr;
};

QTEST_MAIN(TestMessageBar)
#include "tst_messagebar.moc"

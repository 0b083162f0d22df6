#pragma once

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

// Deals with the modal windows a test provokes: message boxes are recorded and closed, name
// questions are answered when an answer was given, and the next popup menu is handed to a
// function that picks from it or closes it.
class ModalDriver : public QObject {
public:
    ModalDriver() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }
    QStringList m_messages;  // texts of the message boxes seen, in order
    QStringList m_menuTexts; // actions of the last menu seen, " (off)" after a disabled one
    QString m_inputSelected; // what the last name question had selected when it was answered

    // Picks the action with this text from the next menu; an empty text closes the menu
    // (as is done with any menu when nothing was asked).
    void ChooseFromNextMenu(const QString& text) {
        m_choice = text;
        m_bMenuPending = true;
    }
    bool MenuSeen() const { return !m_menuTexts.isEmpty(); }
    // Types `text` into every name question and accepts it.
    void AnswerInputsWith(const QString& text) {
        m_inputAnswer = text;
        m_bAnswerInputs = true;
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_messages.append(box->text());
            box->done(QMessageBox::Ok);
        } else if (m_bAnswerInputs && modal && modal == m_input) { // it has made its selection
            m_inputSelected = m_input->findChild<QLineEdit*>()->selectedText();
            m_input->setTextValue(m_inputAnswer);
            m_input->accept();
        }
        m_input = qobject_cast<QInputDialog*>(modal);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (!m_bMenuPending)
            m_choice.clear(); // a menu nobody asked for is closed
        m_bMenuPending = false;
        m_menuTexts.clear();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            m_menuTexts.append(action->text() + (action->isEnabled() ? "" : " (off)"));
            if (action->text() == m_choice)
                chosen = action;
        }
        if (chosen) {
            menu->setActiveAction(chosen);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &press);
        } else {
            menu->close();
        }
    }
    QTimer m_timer;
    QString m_choice;
    bool m_bMenuPending = false;
    QString m_inputAnswer;
    bool m_bAnswerInputs = false;
    QPointer<QInputDialog> m_input;
};

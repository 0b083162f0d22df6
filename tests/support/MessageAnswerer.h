#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

// Answers every message box as it shows (a question with `answer`, a message with OK) and
// keeps their texts.
class MessageAnswerer : public QObject {
public:
    explicit MessageAnswerer(QMessageBox::StandardButton answer = QMessageBox::No) {
        m_timer.callOnTimeout([this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_texts << box->text();
            QAbstractButton* button = box->button(answer);
            if (button)
                button->click();
            else
                box->done(QMessageBox::Ok);
        });
        m_timer.start(5);
    }
    QStringList m_texts;

private:
    QTimer m_timer;
};

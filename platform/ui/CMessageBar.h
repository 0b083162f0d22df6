#pragma once

#include <QFrame>

class QLabel;
class QPropertyAnimation;
class QTimer;
class QToolButton;

// A short notification that lies over the top edge of the widget it is given, in the
// style's own colours: a line of text, an optional action button (Undo) and a close
// button. It stays a few seconds, longer while the pointer rests on it, then fades away.
// It never takes the keyboard focus. Screen readers see it as an alert whose name is the
// text, announced when it shows or its text changes.
class CMessageBar : public QFrame {
    Q_OBJECT
public:
    explicit CMessageBar(QWidget* over);

    // How long a message stays before it fades, and how long the fading takes.
    static constexpr int kShowMs = 5000;
    static constexpr int kFadeMs = 600;

    // The action button's words and tooltip ("Undo", "Undo it (Ctrl+Z)").
    void SetActionText(const QString& text, const QString& toolTip);
    // Shows the text, with the action button when bOfferAction; the timer starts again.
    void ShowMessage(const QString& text, bool bOfferAction);
    // Hides the bar at once.
    void Dismiss();
    // The time is up: the bar fades, then hides.
    void StartFading();

    QString Text() const;
    bool OffersAction() const;
    QToolButton* ActionButton() const { return m_action; }
    // Whether the bar waits to fade (it is shown and neither held nor fading yet).
    bool IsCountingDown() const;

Q_SIGNALS:
    void ActionClicked();
    // A message was shown (or shown again with another text).
    void MessageShown(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void FitToParent();
    void StopFading();
    void Announce();

    QLabel* m_text;
    QToolButton* m_action;
    QToolButton* m_close;
    QTimer* m_timer;
    QPropertyAnimation* m_fade = nullptr;
};

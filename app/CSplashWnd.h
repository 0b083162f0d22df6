#pragma once

#include <QPixmap>
#include <QWidget>

// The start-up picture: a borderless window in the middle of the screen's work area,
// gone after 750 ms or at the first key press or mouse button anywhere in the program,
// which it swallows. At most one exists at a time.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDisplayMs = 750;
    static inline const QString kBitmap = QStringLiteral(":/vantrel/splash.bmp");

    static void EnableSplash(bool bEnable) { s_bSplashEnabled = bEnable; }
    // Shows the splash unless it is disabled or one is already up. A missing picture
    // means no splash, silently.
    static void ShowSplash(QWidget* pParentWnd, const QString& bitmap = kBitmap);
    // Ends the splash on a key press or mouse button; true when the event is swallowed.
    static bool FilterAppMessage(QObject* target, QEvent* event);
    static CSplashWnd* Current() { return s_pSplash; }

    ~CSplashWnd() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CSplashWnd(const QPixmap& bitmap);
    void CenterOn(const QWidget* owner);
    void HideSplash();

    static inline bool s_bSplashEnabled = false;
    static inline CSplashWnd* s_pSplash = nullptr;
    QPixmap m_bmpSplash;
    QWidget* m_pOwner = nullptr;
};

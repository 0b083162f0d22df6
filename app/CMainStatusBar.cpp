#include "app/CMainStatusBar.h"

#include "resources/StringTable.h"
#include "sorting/session/PictureStatus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace {
QLabel* NewPane(const QString& text, const char* name, QWidget* parent) {
    auto* pane = new QLabel(text, parent);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setTextFormat(Qt::PlainText); // a file name is never markup
    return pane;
}
} // namespace

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    m_strMessage = strings::Load(strings::IDS_IDLE_MESSAGE);
    m_message = NewPane(m_strMessage, "pane0", this);
    m_message->setMinimumWidth(1); // a long text is cut off; it never widens the window
    m_message->installEventFilter(this);
    addWidget(m_message, 1);

    m_zoom = NewPane(QString(), "paneZoom", this);
    m_zoom->setAlignment(Qt::AlignCenter);
    m_zoom->setMinimumWidth(m_zoom->fontMetrics().horizontalAdvance(QStringLiteral("12.5 %")) + 8);
    addPermanentWidget(m_zoom);

    m_fileCount = NewPane(QCoreApplication::translate("CMainStatusBar", "0 files"), "pane1", this);
    m_fileCount->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int countWidth =
        m_fileCount->fontMetrics().horizontalAdvance(picture_status::FileCountText(99999));
    m_fileCount->setFixedWidth(
        std::max(kFileCountPaneWidth, countWidth + 2 * m_fileCount->frameWidth() + 8));
    addPermanentWidget(m_fileCount);

    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = NewPane(QString(), names[i], this);
        m_indicators[i]->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1String(names[i])) +
                                       8);
        addPermanentWidget(m_indicators[i]);
    }
    m_lockKeys = new CLockKeys(this);
    connect(m_lockKeys, &CLockKeys::Changed, this, &CMainStatusBar::ShowLockKeys);
    ShowLockKeys(m_lockKeys->Current());
}

void CMainStatusBar::ShowLockKeys(const CLockKeys::State& state) {
    const bool on[] = {state.caps, state.num, state.scroll};
    for (int i = 0; i < 3; ++i)
        m_indicators[i]->setText(on[i] ? m_indicators[i]->objectName() : QString());
}

void CMainStatusBar::SetPaneText(int pane, const QString& text) {
    if (pane == 0) {
        m_strMessage = text;
        ShowMessageFitted();
    } else if (pane == 1) {
        m_fileCount->setText(text);
    }
}

QString CMainStatusBar::PaneText(int pane) const {
    return pane == 0 ? m_strMessage : (pane == 1 ? m_fileCount->text() : QString());
}

// Screen readers hear what the number is.
void CMainStatusBar::SetZoomText(const QString& text) {
    m_zoom->setText(text);
    m_zoom->setAccessibleName(text.isEmpty() ? QString() : tr("Zoom %1").arg(text));
}

QString CMainStatusBar::ZoomText() const {
    return m_zoom->text();
}

QString CMainStatusBar::ShownText(int pane) const {
    if (pane >= 2 && pane < 5)
        return m_indicators[pane - 2]->text();
    return pane == 0 ? m_message->text() : PaneText(pane);
}

void CMainStatusBar::ShowMessageFitted() {
    const int room = m_message->contentsRect().width() - 2 * m_message->margin() -
                     m_message->fontMetrics().averageCharWidth();
    const QString shown = picture_status::FitToWidth(m_strMessage, m_message->fontMetrics(), room);
    m_message->setText(shown);
    // Screen readers and the tooltip have the whole text.
    m_message->setAccessibleName(m_strMessage);
    m_message->setToolTip(shown == m_strMessage ? QString() : m_strMessage);
}

bool CMainStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_message && event->type() == QEvent::Resize)
        ShowMessageFitted();
    return QStatusBar::eventFilter(watched, event);
}

#include "app/CMainStatusBar.h"

#include "resources/StringTable.h"

#include <QLabel>

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
    m_message = NewPane(strings::Load(strings::IDS_IDLE_MESSAGE), "pane0", this);
    m_message->setMinimumWidth(1); // a long text is cut off; it never widens the window
    addWidget(m_message, 1);

    m_fileCount = NewPane(QStringLiteral("0 files"), "pane1", this);
    m_fileCount->setFixedWidth(kFileCountPaneWidth);
    m_fileCount->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addPermanentWidget(m_fileCount);

    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = NewPane(QString(), names[i], this);
        m_indicators[i]->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1String(names[i])) +
                                       8);
        addPermanentWidget(m_indicators[i]);
    }
}

void CMainStatusBar::SetPaneText(int pane, const QString& text) {
    if (pane == 0)
        m_message->setText(text);
    else if (pane == 1)
        m_fileCount->setText(text);
}

QString CMainStatusBar::PaneText(int pane) const {
    return pane == 0 ? m_message->text() : (pane == 1 ? m_fileCount->text() : QString());
}

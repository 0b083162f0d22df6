#include "app/CMainStatusBar.h"

#include "app/CStatusPane.h"
#include "resources/StringTable.h"

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    m_message = new CStatusPane(strings::Load(strings::IDS_IDLE_MESSAGE), this);
    m_message->setObjectName(QStringLiteral("pane0"));
    m_message->setMinimumWidth(1);
    addWidget(m_message, 1);

    m_fileCount = new CStatusPane(QStringLiteral("0 files"), this);
    m_fileCount->setObjectName(QStringLiteral("pane1"));
    m_fileCount->setFixedWidth(kFileCountPaneWidth);
    m_fileCount->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addPermanentWidget(m_fileCount);

    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new CStatusPane(QString(), this);
        m_indicators[i]->setObjectName(QString::fromLatin1(names[i]));
        m_indicators[i]->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1String(names[i])) +
                                       8);
        addPermanentWidget(m_indicators[i]);
    }
}

void CMainStatusBar::SetPaneText(int pane, const QString& text) {
    if (pane == 0)
        m_message->SetText(text);
    else if (pane == 1)
        m_fileCount->SetText(text);
}

QString CMainStatusBar::PaneText(int pane) const {
    return pane == 0 ? m_message->Text() : (pane == 1 ? m_fileCount->Text() : QString());
}

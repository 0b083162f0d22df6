#include "app/CMainStatusBar.h"

#include "resources/StringTable.h"

#include <QLabel>

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    m_message = new QLabel(strings::Load(strings::IDS_IDLE_MESSAGE), this);
    m_message->setObjectName(QStringLiteral("pane0"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setMinimumWidth(1);
    addWidget(m_message, 1);

    m_fileCount = new QLabel(QStringLiteral("0 files"), this);
    m_fileCount->setObjectName(QStringLiteral("pane1"));
    m_fileCount->setFixedWidth(kFileCountPaneWidth);
    m_fileCount->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addPermanentWidget(m_fileCount);

    const char* names[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new QLabel(this);
        m_indicators[i]->setObjectName(QString::fromLatin1(names[i]));
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

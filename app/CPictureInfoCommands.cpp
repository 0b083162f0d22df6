#include "app/CPictureInfoCommands.h"

#include "settings/CSettings.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CPictureInfoPanel.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QStyle>

CPictureInfoCommands::CPictureInfoCommands(QMainWindow& window, QAction& toggle,
                                           CSettings& settings, CPictureFileList& list)
    : QObject(&window), m_toggle(toggle), m_settings(settings), m_list(list) {
    m_dock = new QDockWidget(tr("Picture Information"), &window);
    m_dock->setObjectName(QStringLiteral("pictureInfoDock"));
    // Shown and hidden by the command alone, so that the setting always tells the truth.
    m_dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* scroll = new QScrollArea(m_dock);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the values wrap instead
    m_panel = new CPictureInfoPanel(scroll);
    scroll->setWidget(m_panel);
    // As wide as the panel needs: the scroll area would squeeze it otherwise.
    scroll->setMinimumWidth(m_panel->minimumWidth() +
                            scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_dock->setWidget(scroll);
    window.addDockWidget(Qt::RightDockWidgetArea, m_dock);
    toggle.setCheckable(true);
    connect(&toggle, &QAction::triggered, this, [this] {
        SetShown(!m_settings.GetShowPictureInfo());
        m_list.setFocus(); // the keys stay with the list, as after every command
    });
    connect(&list, &CPictureFileList::CurrentFileChanged, this, &CPictureInfoCommands::Follow);
    SetShown(settings.GetShowPictureInfo());
}

void CPictureInfoCommands::SetShown(bool shown) {
    m_settings.SetShowPictureInfo(shown);
    m_toggle.setChecked(shown);
    m_dock->setVisible(shown);
    if (shown)
        Follow();
}

void CPictureInfoCommands::Follow() {
    if (m_settings.GetShowPictureInfo() && m_panel->Path() != m_list.m_strCurFile)
        m_panel->ShowPicture(m_list.m_strCurFile);
}

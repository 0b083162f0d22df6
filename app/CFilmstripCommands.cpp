#include "app/CFilmstripCommands.h"

#include "picture/thumbs/CThumbnailLoader.h"
#include "picture/view/CVantrelView.h"
#include "settings/CSettings.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFilmstrip.h"
#include "sorting/widgets/CPictureFileList.h"

#include <QAction>

CFilmstripCommands::CFilmstripCommands(const SParts& parts, QObject* parent)
    : QObject(parent), m_pToggle(parts.toggle), m_list(parts.list), m_settings(parts.settings),
      m_pLoader(new CThumbnailLoader(CThumbnailCache(), this)),
      m_pStrip(new CFilmstrip(parts.session.Model(), parts.session.Selection(), *m_pLoader,
                              &parts.view)) {
    m_pStrip->hide();
    parts.view.SetBottomBar(m_pStrip);
    m_pToggle->setCheckable(true);
    connect(m_pToggle, &QAction::toggled, this, &CFilmstripCommands::Show);
    connect(m_pStrip, &CFilmstrip::RowClicked, this,
            [this](int row) { m_list.SelectItem(row, true); });
    m_pToggle->setChecked(m_settings.GetShowFilmstrip());
}

void CFilmstripCommands::Show(bool bShow) {
    m_settings.SetShowFilmstrip(bShow);
    m_pStrip->setVisible(bShow);
    if (!bShow)
        m_pLoader->DropWaiting();
}

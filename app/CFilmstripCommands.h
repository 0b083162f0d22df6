#pragma once

#include <QObject>

class CFilmstrip;
class CPictureFileList;
class CSettings;
class CSortSession;
class CThumbnailLoader;
class CVantrelView;
class QAction;

// View > Filmstrip: puts the strip of thumbnails below the picture view, on the session's
// pictures and selection, shows or hides it as the setting says, and has a click in it
// select that picture in the picture list, which shows it.
class CFilmstripCommands : public QObject {
    Q_OBJECT
public:
    struct SParts {
        QAction* toggle;
        CSortSession& session;
        CPictureFileList& list;
        CVantrelView& view;
        CSettings& settings;
    };
    CFilmstripCommands(const SParts& parts, QObject* parent);

    CFilmstrip& Strip() const { return *m_pStrip; }

private:
    void Show(bool bShow);

    QAction* m_pToggle;
    CPictureFileList& m_list;
    CSettings& m_settings;
    CThumbnailLoader* m_pLoader;
    CFilmstrip* m_pStrip;
};

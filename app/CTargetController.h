#pragma once

#include <QObject>
#include <QUrl>
#include <functional>

class CSettings;
class CTarget;
class QWidget;

// What the window does for the destination bar beyond sending pictures: the keys of the
// destinations, and setting destinations up where they are used (a click on an unset one,
// the buttons' context menu, a folder dropped on a button). It works on the bar and the
// settings it is given, asks over `window`, and tells the rest by its signals.
class CTargetController : public QObject {
    Q_OBJECT
public:
    CTargetController(CTarget& bar, CSettings& settings, QWidget& window);

    // The key of destination i (0 to 19) of the group shown: sends the picture as a click
    // on the button does (through the bar's own signal); for an unset destination only a
    // status message.
    void OnTargetKey(int i);
    // True unless a dialog or an in-place edit has the keyboard.
    bool KeysAllowed() const;

    // Lets the user pick destination i's folder, starting at its folder or the home folder.
    void SetFolder(int i);
    void Rename(int i);
    void OpenFolder(int i);
    void Clear(int i);
    // Makes path the folder of destination i; see NameForFolder for its name. A folder that is
    // not there is offered to be made, one that cannot be written to is said at once.
    void UseFolder(int i, const QString& path);

    // The name a destination takes with a new folder: the folder's name, unless the user
    // named the destination himself (a name neither "< None >", empty, nor the old folder's).
    static QString NameForFolder(const QString& name, const QString& oldDir, const QString& newDir);

    // How a folder is opened in the desktop's file manager (replaced by tests).
    std::function<bool(const QUrl&)> m_openUrl;

    // How the user knows destination i: "destination 3, Keep" ("destination 3" unnamed).
    QString Describe(int i) const;

Q_SIGNALS:
    // A message for the status bar (a key of a destination without a folder).
    void StatusMessage(const QString& text);
    // A setting-up is over (done or cancelled): the keys go back to the picture list.
    void Done();

private:
    void Refresh();

    CTarget& m_bar;
    CSettings& m_settings;
    QWidget& m_window;
};

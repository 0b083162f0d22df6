#pragma once

#include <QPushButton>

class QMimeData;

// One destination button: the destination's key in a small dimmer print at its start (the
// left, right to left the right), read left to right in any language, then its name, cut at
// its end with "…" when it does not fit. A button that has the keyboard focus shows a clear
// frame and is pressed by Return or Enter; Space stays the window's key. A folder dropped on
// it (from the folder tree or a file manager) is offered to the bar as the new destination.
class CTargetButton : public QPushButton {
    Q_OBJECT
public:
    CTargetButton(const QString& text, QWidget* parent);

    void SetKeyText(const QString& keyText);
    QString KeyText() const { return m_strKey; }
    // An unset destination is drawn dimmer; it can still be clicked, to choose its folder.
    void SetUnset(bool bUnset);
    bool IsUnset() const { return m_bUnset; }
    // The name as it is drawn: the whole name, or its beginning and "…".
    QString ShownName() const;
    // Where the key and the name are drawn.
    QRect KeyRect() const;
    QRect NameRect() const;

    // The one local folder a drag carries, or an empty string.
    static QString DroppedFolder(const QMimeData* mime);

Q_SIGNALS:
    void FolderDropped(const QString& path);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    QString m_strKey;
    bool m_bUnset = false;
    bool m_bDropTarget = false; // a folder is being dragged over the button
};

#pragma once

#include <QByteArray>
#include <QDialog>

class QFormLayout;

// The Properties window of the context menu: name, folder, size and time of last change
// of one file or folder. It is not modal and deletes itself when closed.
class CItemPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    CItemPropertiesDlg(QWidget* parent, const QByteArray& path, const QString& name);

    // The texts shown, by row: "Name", "Folder", "Size", "Modified".
    QString Value(const QString& row) const;

private:
    void AddRow(const QString& row, const QString& value);
    QFormLayout* m_layout;
};

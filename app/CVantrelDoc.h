#pragma once

#include <QObject>
#include <QString>

// The document of the single-document window. Pictures are never stored in it: it only
// carries the title that the caption shows before " - Vantrel".
class CVantrelDoc : public QObject {
    Q_OBJECT
public:
    explicit CVantrelDoc(QObject* parent = nullptr);

    // Starts a new, empty document: the title becomes "Ostlewin".
    bool OnNewDocument();
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);

Q_SIGNALS:
    void TitleChanged(const QString& title);

private:
    QString m_strTitle;
};

#include "app/CVantrelDoc.h"

CVantrelDoc::CVantrelDoc(QObject* parent) : QObject(parent) {
}

bool CVantrelDoc::OnNewDocument() {
    SetTitle(QStringLiteral("Ostlewin"));
    return true;
}

void CVantrelDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    Q_EMIT TitleChanged(title);
}

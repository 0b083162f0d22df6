#include "app/CHiddenPicturesPane.h"

#include "resources/FileTypes.h"

CHiddenPicturesPane::CHiddenPicturesPane(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("hiddenPictures"));
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hide();
}

void CHiddenPicturesPane::SetCount(int count) {
    m_nCount = count;
    const QString text = filetypes::HiddenPicturesText(count);
    setText(text);
    setAccessibleName(text); // a screen reader reads it as it stands in the bar
    setVisible(count > 0);
}

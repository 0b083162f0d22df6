#include "app/CSelectedPicturesPane.h"

CSelectedPicturesPane::CSelectedPicturesPane(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("selectedPictures"));
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hide();
}

void CSelectedPicturesPane::SetNote(const QString& text) {
    setText(text);
    setAccessibleName(text); // read by a screen reader as it stands in the bar
    setVisible(!text.isEmpty());
}

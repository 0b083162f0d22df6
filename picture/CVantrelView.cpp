#include "picture/CVantrelView.h"

CVantrelView::CVantrelView(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("CVantrelView")); }

void CVantrelView::OnInitialUpdate() {}

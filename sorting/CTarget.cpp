#include "sorting/CTarget.h"

CTarget::CTarget(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("CTarget")); }

void CTarget::OnInitialUpdate() {}

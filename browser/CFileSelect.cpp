#include "browser/CFileSelect.h"

CFileSelect::CFileSelect(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("CFileSelect")); }

void CFileSelect::OnInitialUpdate() {}

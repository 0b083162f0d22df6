#pragma once

#include <QString>

class QWidget;

// A modal message box with the program's name as caption and an OK button only.
void ShowMessage(QWidget* owner, const QString& text);

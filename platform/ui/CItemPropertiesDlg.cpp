#include "platform/ui/CItemPropertiesDlg.h"

#include "platform/system/CNativePath.h"
#include "platform/system/LocaleFormat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>
#include <sys/stat.h>

namespace {
QString SizeText(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return QCoreApplication::translate("CItemPropertiesDlg", "Folder");
    const QLocale locale = locale_format::Current();
    const auto size = static_cast<qint64>(st.st_size);
    return QCoreApplication::translate("CItemPropertiesDlg", "%1 (%2 bytes)")
        .arg(locale.formattedDataSize(size), locale.toString(size));
}

QString TimeText(const struct stat& st) {
    const qint64 ms = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    return locale_format::Current().toString(QDateTime::fromMSecsSinceEpoch(ms),
                                             QLocale::LongFormat);
}
} // namespace

CItemPropertiesDlg::CItemPropertiesDlg(QWidget* parent, const QByteArray& path, const QString& name)
    : QDialog(parent), m_layout(new QFormLayout) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QCoreApplication::translate("CItemPropertiesDlg", "%1 Properties").arg(name));
    AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Name"), name);
    AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Folder"),
           CNativePath::Display(CNativePath::DirName(path)));
    struct stat st;
    if (stat(path.constData(), &st) == 0 || lstat(path.constData(), &st) == 0) {
        AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Size"), SizeText(st));
        AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Modified"), TimeText(st));
    } else {
        AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Size"),
               QCoreApplication::translate("CItemPropertiesDlg", "(not found)"));
        AddRow(QCoreApplication::translate("CItemPropertiesDlg", "Modified"), QString());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* top = new QVBoxLayout(this);
    top->addLayout(m_layout);
    top->addWidget(buttons);
}

void CItemPropertiesDlg::AddRow(const QString& row, const QString& value) {
    auto* label = new QLabel(value, this);
    label->setObjectName(row);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    m_layout->addRow(row + QLatin1Char(':'), label);
}

QString CItemPropertiesDlg::Value(const QString& row) const {
    const auto* label = findChild<QLabel*>(row);
    return label ? label->text() : QString();
}

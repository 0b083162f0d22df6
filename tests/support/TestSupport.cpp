#include "tests/support/TestSupport.h"

#include "platform/CProfileStore.h"

#include <QFile>

TempProfile::TempProfile() : m_store(std::make_unique<CProfileStore>(Path())) {
}
TempProfile::~TempProfile() = default;

QString TempProfile::Path() const {
    return m_dir.filePath(QStringLiteral("Vantrel.conf"));
}

void TempProfile::Reopen() {
    m_store->Flush();
    m_store = std::make_unique<CProfileStore>(Path());
}

QString WriteFile(const QString& path, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk(4096, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i * 7);
    for (qint64 left = size; left > 0; left -= chunk.size())
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    return path;
}

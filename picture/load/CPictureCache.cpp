#include "picture/load/CPictureCache.h"

CPictureCache::CPictureCache(qint64 budgetBytes, int maxPictures)
    : m_nBudget(budgetBytes), m_nMaxPictures(maxPictures) {
}

qsizetype CPictureCache::IndexOf(const QString& path) const {
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].strPath == path)
            return i;
    return -1;
}

const CPictureCache::SEntry* CPictureCache::Find(const QString& path, const SFileStamp& stamp) {
    const qsizetype at = IndexOf(path);
    if (at < 0)
        return nullptr;
    if (!stamp.IsValid() || !(m_entries[at].stamp == stamp)) {
        Drop(at); // the file changed or went: its pixels are stale
        return nullptr;
    }
    m_entries.move(at, 0);
    return &m_entries.front();
}

const CPictureCache::SEntry* CPictureCache::Peek(const QString& path) {
    const qsizetype at = IndexOf(path);
    if (at < 0)
        return nullptr;
    m_entries.move(at, 0);
    return &m_entries.front();
}

void CPictureCache::Insert(SEntry entry) {
    Remove(entry.strPath);
    if (entry.image.isNull() || !entry.stamp.IsValid() || entry.image.sizeInBytes() > m_nBudget) {
        m_release.Release(entry.image);
        return;
    }
    m_entries.prepend(std::move(entry));
    Trim();
}

void CPictureCache::Remove(const QString& path) {
    if (const qsizetype at = IndexOf(path); at >= 0)
        Drop(at);
}

void CPictureCache::Clear() {
    while (!m_entries.isEmpty())
        Drop(m_entries.size() - 1);
}

void CPictureCache::Drop(qsizetype at) {
    m_release.Release(m_entries[at].image);
    m_entries.removeAt(at);
}

qint64 CPictureCache::Bytes() const {
    qint64 bytes = 0;
    for (const SEntry& entry : m_entries)
        bytes += entry.image.sizeInBytes();
    return bytes;
}

void CPictureCache::Trim() {
    while (m_entries.size() > 1 && (m_entries.size() > m_nMaxPictures || Bytes() > m_nBudget))
        Drop(m_entries.size() - 1);
}

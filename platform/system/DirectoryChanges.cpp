#include "platform/system/DirectoryChanges.h"

#include <algorithm>

void DirectoryChanges::Appeared(const QByteArray& name, bool folder) {
    auto it = m_states.find(name);
    if (it == m_states.end())
        it = m_states.insert(name, Change{false, false, false, false, m_nNext++});
    it->isThere = true;
    it->isFolder = folder;
}

void DirectoryChanges::Vanished(const QByteArray& name, bool folder) {
    auto it = m_states.find(name);
    if (it == m_states.end())
        it = m_states.insert(name, Change{true, folder, true, folder, m_nNext++});
    it->isThere = false;
}

QList<DirectoryChanges::Entry> DirectoryChanges::Collect(bool added) const {
    QList<std::pair<int, Entry>> found;
    for (auto it = m_states.cbegin(); it != m_states.cend(); ++it) {
        const Change& c = it.value();
        const bool kindChanged = c.wasThere && c.isThere && c.wasFolder != c.isFolder;
        if (added && c.isThere && (!c.wasThere || kindChanged))
            found.append({c.order, Entry{it.key(), c.isFolder}});
        else if (!added && c.wasThere && (!c.isThere || kindChanged))
            found.append({c.order, Entry{it.key(), c.wasFolder}});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<Entry> entries;
    entries.reserve(found.size());
    for (const auto& f : found)
        entries.append(f.second);
    return entries;
}

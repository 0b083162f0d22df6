#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMetaType>

// What changed in one folder since it was last looked at: names that appeared and names
// that went, each with whether it is a folder. Events are folded as they arrive, so a name
// made and removed again in the same while is no change at all, and a name removed and made
// again as the same kind of thing (a file replaced) is neither added nor removed; a file that
// became a folder is both. `rescan` says events were lost: the folder must be listed again to
// know what it holds.
class DirectoryChanges {
public:
    struct Entry {
        QByteArray name;
        bool folder = false;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    void Appeared(const QByteArray& name, bool folder);
    void Vanished(const QByteArray& name, bool folder);
    void SetRescan() { m_bRescan = true; }
    // Only "list the folder again".
    static DirectoryChanges RescanAll() {
        DirectoryChanges changes;
        changes.SetRescan();
        return changes;
    }

    bool IsEmpty() const { return Added().isEmpty() && Removed().isEmpty() && !m_bRescan; }
    bool Rescan() const { return m_bRescan; }
    // In the order the names were first seen.
    QList<Entry> Added() const { return Collect(true); }
    QList<Entry> Removed() const { return Collect(false); }

private:
    struct Change {
        bool wasThere; // before the first event
        bool wasFolder;
        bool isThere; // after the last one
        bool isFolder;
        int order;
    };
    QList<Entry> Collect(bool added) const;

    QHash<QByteArray, Change> m_states;
    int m_nNext = 0;
    bool m_bRescan = false;
};

Q_DECLARE_METATYPE(DirectoryChanges)

#pragma once

#include <QByteArray>

class CPictureFileList;

// Where the picture list stood: its current file and row. After the list was read again
// (an undo, a redo, another filter) the same picture is selected and shown when it is still
// listed, else the one that took its row (the next), so that the arrow keys go on from
// where the person was.
class CListPlace {
public:
    explicit CListPlace(CPictureFileList& list);

    // Selects the picture as above; nothing when no picture was current or none is left.
    void Restore();

private:
    CPictureFileList& m_list;
    QByteArray m_file;
    int m_nItem = -1;
};

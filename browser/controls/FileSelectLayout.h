#pragma once

#include <QRect>

// The file browser pane's layout: the folder tree above the file list, 30 : 70, with a
// 3-pixel margin. Products are taken in double precision and truncated toward zero.
struct FileSelectLayout {
    QRect tree;
    QRect list;

    static FileSelectLayout For(int cx, int cy);
};

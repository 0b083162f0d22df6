#pragma once

#include <QByteArray>
#include <sys/types.h>

// Finds the trash directory that takes a file, after the freedesktop.org trash layout, and
// makes it (with its files/ and info/ folders) where it is missing:
// - a file on the device of the home trash ($XDG_DATA_HOME/Trash, by default
//   ~/.local/share/Trash) goes there, and missing folders on the way are created;
// - a file on another device goes to the top directory of its mount: $topdir/.Trash/$uid
//   when an administrator made $topdir/.Trash (a real folder with the sticky bit), else
//   $topdir/.Trash-$uid. Folders that are symbolic links or belong to someone else are
//   never used. When none can be had the file cannot be trashed.
class CTrashDirectory {
public:
    struct Place {
        QByteArray dir;    // the trash directory, holding files/ and info/
        QByteArray topDir; // the mount's top directory, empty for the home trash
        int error = 0;     // errno when no trash directory can be had
    };

    // absPath: the file's absolute path with its folder resolved; device: its st_dev.
    static Place For(const QByteArray& absPath, dev_t device);
    // $XDG_DATA_HOME/Trash, or $HOME/.local/share/Trash; empty when there is no home.
    static QByteArray HomeTrash();
    // The top directory of the mount holding absDir, which lies on `device`.
    static QByteArray TopDir(const QByteArray& absDir, dev_t device);
    // Creates dir and its missing parents (mode 0700); 0, or the errno of the failure.
    static int MakePath(const QByteArray& dir);

private:
    static Place TopDirTrash(const QByteArray& topDir);
    static int MakeOwnDir(const QByteArray& dir);
    static int MakeTrashDirs(const QByteArray& trash);
    static bool NearestExisting(QByteArray path, dev_t* device);
};

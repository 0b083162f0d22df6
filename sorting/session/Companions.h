#pragma once

#include "platform/files/CFileIdentity.h"
#include "platform/files/FolderNames.h"

#include <QByteArray>
#include <QList>
#include <QSet>

// The files beside a picture that belong to it and go wherever it goes: its sidecars
// NAME.xmp and NAME.EXT.xmp (any letter case of "xmp"), and its twin of the other kind
// with the same stem (a camera RAW beside a JPEG, a JPEG beside a RAW, the extension in
// any letter case) together with the twin's own sidecar TWIN.EXT.xmp. Only ordinary files
// count: a folder, a link (leading anywhere or nowhere) or a device of such a name is left
// where it is. Each file is listed once, even where names differing only in case lead to
// it, and never the picture itself.
//
// The names are looked up one by one, so the cost does not grow with the folder.
namespace companions {

// The companions of `picture` (a native path) that are on disk now, in the order they go:
// the picture's sidecars, then each twin followed by its sidecar.
QList<QByteArray> Find(const QByteArray& picture);

// How many companions `picture` (a native path) has by the names of its folder's listing
// (FindIn without the disk); looked up on the disk (Find) only when `listed` is not of its
// folder.
int Count(const QByteArray& picture, const SFolderNames& listed);

// A companion's name in its folder and the file it named when it was found.
struct Companion {
    QByteArray name;
    CFileIdentity identity;
};
// The same for the picture `name` in the open folder dirFd: every name is looked up through
// that descriptor, never through the folder's path. With `listing` (the folder's names, as
// Names read them), only names in it are looked up: the same companions, with one look-up
// each rather than one for every spelling, for many pictures of one folder. With dirFd -1
// and a listing, the disk is not asked at all: every listed name that fits is taken as a
// companion (its identity unknown).
QList<Companion> FindIn(int dirFd, const QByteArray& name,
                        const QSet<QByteArray>* listing = nullptr);
// Whether `other` is the twin of the picture `name` by the names alone (the same stem, an
// extension of the other kind), as FindIn would find it.
bool IsTwinName(const QByteArray& name, const QByteArray& other);
// The places in `listed` (native paths) of the twins of `pictures` (native paths) there,
// by the names alone; ascending.
QList<int> ListedTwins(const QList<QByteArray>& pictures, const QList<QByteArray>& listed);
// The names in the open folder dirFd, read once; empty when it cannot be read.
QSet<QByteArray> Names(int dirFd);

} // namespace companions
